// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinApp.h"

#include "HelpFileName.h"
#include "InformationOption.h"

#include <QApplication>
#include <QFileInfo>

#include <clocale>
#include <csignal>
#include <cstring>

namespace {

CWinApp* g_app = nullptr;

// The executable's file name up to its last ".", as the platform names programs.
std::string ExecutableBaseName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

// The program's name as it was started: the last part of its path.
const char* StartedName(int argc, char** argv) {
    const char* path = argc > 0 && argv[0] ? argv[0] : "";
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

} // namespace

CWinApp::CWinApp(const char* appName) : m_appName(appName ? appName : "") {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

bool CWinApp::InitInstance() {
    return true;
}

int CWinApp::Run() {
    QApplication::setQuitOnLastWindowClosed(true);
    QApplication::exec();
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return 0;
}

CWinApp* AfxGetApp() {
    return g_app;
}

CDialog* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

std::string AfxGetAppName() {
    if (g_app && !g_app->m_appName.empty())
        return g_app->m_appName;
    return ExecutableBaseName();
}

std::string AfxHelpFilePath() {
    return HelpFilePathFor(QCoreApplication::applicationFilePath().toStdString());
}

bool Enable3dControlsStatic() {
    return true;
}

// --help and --version are answered before the toolkit starts, so they need no display; every
// other argument, Qt's own options among them, goes to the toolkit as before. The modal runs of
// InitInstance end the program themselves, so closing the last window must not end the
// toolkit's loop behind their back.
int AfxWinMain(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pszUsage) {
        const int status = AnswerInformationOption(argc, argv, StartedName(argc, argv),
                                                   app->m_pszUsage, app->m_pszVersion);
        if (status >= 0)
            return status;
    }
    // A desktop program's standard streams often lead to a pipe nobody reads any more, and the
    // toolkit writes its warnings to standard error from the start: such a write fails, it does
    // not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication application(argc, argv);
    // The toolkit takes the whole locale from the environment; numbers are
    // written and read with a decimal point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    if (!app)
        return -1;
    if (app->m_appName.empty())
        app->m_appName = ExecutableBaseName();
    QApplication::setApplicationName(QString::fromStdString(app->m_appName));
    if (!app->m_desktopFileName.empty())
        QGuiApplication::setDesktopFileName(QString::fromStdString(app->m_desktopFileName));
    QApplication::setQuitOnLastWindowClosed(false);
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
