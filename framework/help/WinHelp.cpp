// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinHelp.h"

#include "HelpViewerRegistry.h"

// The owner is not needed: the viewer is a process of its own, so the owner's
// modal runs can neither disable nor freeze it.
bool WinHelp(QWidget*, const char* helpFile, unsigned int command, unsigned long data) {
    const std::string_view file = helpFile ? std::string_view(helpFile) : std::string_view();
    switch (command) {
    case HELP_CONTEXT:
        return !file.empty() && ShowHelpTopic(file, data);
    case HELP_QUIT:
        QuitHelpViewer(file);
        return true;
    default:
        return false; // a command this engine cannot carry out
    }
}
