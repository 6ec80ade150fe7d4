// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HelpResources.h"

#include <QFont>
#include <QTextBrowser>

// The text browser that shows the help pages. It loads what a page names only as
// HelpResources allows, never follows a link itself (the window decides where a link goes), and
// keeps its text size, zoomed in steps, from one page to the next.
class HelpPageBrowser : public QTextBrowser {
public:
    HelpPageBrowser(const QString& helpFile, QWidget* parent);

    // Shows a page of HTML, with the bounds of what it may load started afresh.
    void ShowHtml(const QString& html);

    // The text size in steps, as a percentage of the toolkit's own size; each of these stops at
    // the smallest or largest step.
    void ZoomIn();
    void ZoomOut();
    void ResetZoom();
    int ZoomPercent() const;

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void ApplyZoom();

    HelpResources m_resources;
    QFont m_baseFont; // the font at 100%
    int m_zoomStep;   // an index into the zoom steps
};
