// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinHelp.h"

#include "HelpViewerRegistry.h"

#include <QLineEdit>
#include <QWidget>

namespace {

// Where the user of the window types and reads: its single-line text fields, on the screen.
QRect FieldsOf(const QWidget* window) {
    QRect fields;
    for (const QLineEdit* field : window->findChildren<QLineEdit*>()) {
        if (field->isVisibleTo(window))
            fields |= QRect(field->mapToGlobal(QPoint(0, 0)), field->size());
    }
    return fields;
}

} // namespace

// The viewer is a process of its own, so the owner's modal runs can neither
// disable nor freeze it; the owner's frame tells it where to open, and the
// owner's text fields what it must never cover.
bool WinHelp(QWidget* owner, const char* helpFile, unsigned int command, unsigned long data) {
    const std::string_view file = helpFile ? std::string_view(helpFile) : std::string_view();
    const QWidget* window = owner ? owner->window() : nullptr;
    switch (command) {
    case HELP_CONTEXT:
        return !file.empty() &&
               ShowHelpTopic(file, data, window ? window->frameGeometry() : QRect(),
                             window ? FieldsOf(window) : QRect());
    case HELP_QUIT:
        QuitHelpViewer(file);
        return true;
    default:
        return false; // a command this engine cannot carry out
    }
}
