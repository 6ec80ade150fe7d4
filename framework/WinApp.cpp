// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinApp.h"

#include "HelpFileName.h"

#include <QApplication>
#include <QFileInfo>

#include <clocale>

namespace {

CWinApp* g_app = nullptr;

// The executable's file name up to its last ".", as the platform names programs.
std::string ExecutableBaseName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
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

// The modal runs of InitInstance end the program themselves, so closing the
// last window must not end the toolkit's loop behind their back.
int AfxWinMain(int argc, char** argv) {
    QApplication application(argc, argv);
    // The toolkit takes the whole locale from the environment; numbers are
    // written and read with a decimal point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    CWinApp* app = AfxGetApp();
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
