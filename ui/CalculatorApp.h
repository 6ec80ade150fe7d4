// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WinApp.h"

// The calculator program: its whole life is one modal run of the main dialog.
class CCalculatorApp : public CWinApp {
public:
    CCalculatorApp();
    ~CCalculatorApp() override;

    std::span<const MessageEntry> GetMessageMap() const override;
    bool InitInstance() override;

private:
    static const MessageEntry kMessageMap[];
};
