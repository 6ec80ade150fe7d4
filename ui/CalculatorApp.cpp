// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculatorApp.h"

#include "CalculatorDlg.h"
#include "ProgramResources.h"
#include "ResourceIds.h"
#include "TarvinVersion.h"

namespace {

constexpr const char* kUsage =
    "Usage: %s [QT-OPTION]...\n"
    "Opens the Tarvin calculator window. Type a statement such as a=5 or c=a+5*b and press\n"
    "Enter; variables keep their values for the life of the window.\n"
    "\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME or -style NAME, work as in any Qt program.\n"
    "See tarvin(1) for the keys, the limits and the help viewer.\n";

} // namespace

const MessageEntry CCalculatorApp::kMessageMap[] = {
    OnCommand(ID_HELP, &CWinApp::OnHelp),
};

std::span<const MessageEntry> CCalculatorApp::GetMessageMap() const {
    return kMessageMap;
}

// DESKTOP ENTRY: the windows belong to the menu entry packaging/tarvin.desktop.
CCalculatorApp::CCalculatorApp() {
    m_desktopFileName = "tarvin";
    m_pszUsage = kUsage;
    m_pszVersion = TARVIN_VERSION;
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
