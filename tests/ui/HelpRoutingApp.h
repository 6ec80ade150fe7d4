// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An application object for the window suites whose message table sends the
// help command to the framework's handler, as the calculator's own does.

#include "AfxTypes.h"
#include "WinApp.h"

class HelpRoutingApp : public CWinApp {
public:
    HelpRoutingApp() : CWinApp("tarvin") {}
    std::span<const MessageEntry> GetMessageMap() const override { return kMap; }

private:
    static inline const MessageEntry kMap[] = {OnCommand(ID_HELP, &CWinApp::OnHelp)};
};
