// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutDlg.h"

#include "ResourceIds.h"

// No parent is given: the framework makes the main window the owner.
CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}

CAboutDlg::~CAboutDlg() = default;

std::span<const MessageEntry> CAboutDlg::GetMessageMap() const {
    return {};
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}
