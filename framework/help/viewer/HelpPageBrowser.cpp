// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpPageBrowser.h"

#include <algorithm>
#include <iterator>

namespace {

// The text sizes the zoom keys step through, in percent of the toolkit's size.
constexpr int kZoomPercents[] = {50, 67, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
constexpr int kZoomSteps = int(std::size(kZoomPercents));
constexpr int kUnzoomedStep = int(
    std::find(std::begin(kZoomPercents), std::end(kZoomPercents), 100) - std::begin(kZoomPercents));
static_assert(kUnzoomedStep < kZoomSteps, "the zoom steps must hold 100%");

} // namespace

HelpPageBrowser::HelpPageBrowser(const QString& helpFile, QWidget* parent)
    : QTextBrowser(parent), m_resources(helpFile), m_baseFont(font()), m_zoomStep(kUnzoomedStep) {
    setOpenLinks(false);
}

void HelpPageBrowser::ShowHtml(const QString& html) {
    m_resources.StartPage();
    setHtml(html);
}

void HelpPageBrowser::ZoomIn() {
    m_zoomStep = std::min(m_zoomStep + 1, kZoomSteps - 1);
    ApplyZoom();
}

void HelpPageBrowser::ZoomOut() {
    m_zoomStep = std::max(m_zoomStep - 1, 0);
    ApplyZoom();
}

void HelpPageBrowser::ResetZoom() {
    m_zoomStep = kUnzoomedStep;
    ApplyZoom();
}

int HelpPageBrowser::ZoomPercent() const {
    return kZoomPercents[m_zoomStep];
}

// The page's sizes are relative to the browser's font (the help file's style sheet gives its
// headings relative sizes), so scaling that font scales the page.
void HelpPageBrowser::ApplyZoom() {
    QFont zoomed = m_baseFont;
    if (m_baseFont.pointSizeF() > 0)
        zoomed.setPointSizeF(m_baseFont.pointSizeF() * ZoomPercent() / 100);
    else
        zoomed.setPixelSize(std::max(1, m_baseFont.pixelSize() * ZoomPercent() / 100));
    setFont(zoomed);
}

QVariant HelpPageBrowser::loadResource(int type, const QUrl& name) {
    return m_resources.Load(type, name);
}
