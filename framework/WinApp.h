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

    std::string m_appName;
    CDialog* m_pMainWnd = nullptr;
};

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
