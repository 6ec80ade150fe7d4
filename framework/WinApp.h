// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MessageMap.h"

#include <string>

class CDialog;

// The application object. The program defines exactly one, as a global; the
// framework's main routine creates the toolkit application, calls InitInstance
// and, when that returns false, ends the program at once.
class CWinApp : public CCmdTarget {
public:
    // Without a name the application is named after the executable: its file
    // name without the extension.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual bool InitInstance();
    // The message loop for programs whose InitInstance returns true.
    virtual int Run();
    virtual int ExitInstance();

    // Asks for the help topic of the dialog in use.
    void OnHelp();
    // Sends a request to the help engine for the program's help file, owned by
    // the main window, while the wait cursor shows. On failure the message
    // "Failed to launch help." is shown; a request made while that message is
    // open does nothing.
    void WinHelp(unsigned long data, unsigned int command);

    std::string m_appName;
    // The name of the program's desktop entry without ".desktop", by which a
    // desktop (a Wayland compositor above all) matches its windows to the
    // entry and its icon; empty leaves the toolkit's guess, the executable's name.
    std::string m_desktopFileName;
    // What --help prints, a printf format that takes the program's name, and the version that
    // --version prints after the name; the framework answers both before it opens a display.
    // Without a usage, neither option is answered.
    const char* m_pszUsage = nullptr;
    const char* m_pszVersion = "";
    CDialog* m_pMainWnd = nullptr;
    // The dialog whose command is being routed to the application, so that
    // the application knows which dialog is in use.
    CDialog* m_pCommandSource = nullptr;

private:
    bool m_showingHelpFailure = false;
};

// Help contexts of dialogs are this base plus the dialog's template number.
constexpr unsigned long HID_BASE_RESOURCE = 0x20000;
// The framework's own string: the message shown when the help engine fails.
constexpr unsigned int AFX_IDP_FAILED_TO_LAUNCH_HELP = 61703;
const char* AfxFrameworkString(unsigned int id);

CWinApp* AfxGetApp();
CDialog* AfxGetMainWnd();

// The application's name, or the executable's when there is no application object.
std::string AfxGetAppName();

// The help file of the program, named after its executable (HelpFilePathFor).
std::string AfxHelpFilePath();

// The framework's main routine, called by the program's main.
int AfxWinMain(int argc, char** argv);

// Asks for three-dimensional control drawing. The toolkit draws its controls in
// its own style, so there is nothing to ask for; the answer is always true.
bool Enable3dControlsStatic();
