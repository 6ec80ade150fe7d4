// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinHelp.h"

#include "HelpViewerRegistry.h"

#include <QWidget>

// The viewer is a process of its own, so the owner's modal runs can neither
// disable nor freeze it; the owner's frame tells it where to open.
bool WinHelp(QWidget* owner, const char* helpFile, unsigned int command, unsigned long data) {
    const std::string_view file = helpFile ? std::string_view(helpFile) : std::string_view();
    switch (command) {
    case HELP_CONTEXT:
        return !file.empty() &&
               ShowHelpTopic(file, data, owner ? owner->window()->frameGeometry() : QRect());
    case HELP_QUIT:
        QuitHelpViewer(file);
        return true;
    default:
        return false; // a command this engine cannot carry out
    }
}
