// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculatorApp.h"

#include "CalculatorDlg.h"
#include "ProgramResources.h"
#include "ResourceIds.h"

const MessageEntry CCalculatorApp::kMessageMap[] = {
    OnCommand(ID_HELP, &CWinApp::OnHelp),
};

std::span<const MessageEntry> CCalculatorApp::GetMessageMap() const {
    return kMessageMap;
}

// DESKTOP ENTRY: the windows belong to the menu entry packaging/tarvin.desktop.
CCalculatorApp::CCalculatorApp() {
    m_desktopFileName = "tarvin";
    UseProgramResources();
}

CCalculatorApp::~CCalculatorApp() = default;

// The main dialog runs modally and the program ends with it: returning false
// keeps the framework from entering a message loop of its own.
bool CCalculatorApp::InitInstance() {
    Enable3dControlsStatic();
    {
        CCalculatorDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    return false;
}

// The one application object.
CCalculatorApp theApp;
