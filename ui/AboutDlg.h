// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Dialog.h"

// The About box: the program's icon, name and version and a word of credits,
// closed by its OK button. It has no fields and handles no message itself.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    std::span<const MessageEntry> GetMessageMap() const override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
