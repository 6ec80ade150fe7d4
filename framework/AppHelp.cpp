// SPDX-License-Identifier: GPL-3.0-or-later
// The application's help requests: the topic of the dialog in use, and the
// message shown when the help engine cannot be started.

#include "AfxTypes.h"
#include "Dialog.h"
#include "MessageBox.h"
#include "WinApp.h"
#include "WinHelp.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

// Shows the wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

const char* AfxFrameworkString(unsigned int id) {
    if (id == AFX_IDP_FAILED_TO_LAUNCH_HELP)
        return "Failed to launch help.";
    return nullptr;
}

// The topic of the dialog whose command this is, or of the main window.
void CWinApp::OnHelp() {
    const CDialog* dialog = m_pCommandSource ? m_pCommandSource : m_pMainWnd;
    if (dialog == nullptr)
        return;
    WinHelp(HID_BASE_RESOURCE + static_cast<unsigned long>(dialog->GetTemplateId()), HELP_CONTEXT);
}

void CWinApp::WinHelp(unsigned long data, unsigned int command) {
    if (m_showingHelpFailure)
        return;
    QWidget* owner = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    bool started = false;
    {
        WaitCursor wait;
        started = ::WinHelp(owner, AfxHelpFilePath().c_str(), command, data);
    }
    if (started)
        return;
    m_showingHelpFailure = true;
    AfxMessageBox(AfxFrameworkString(AFX_IDP_FAILED_TO_LAUNCH_HELP), MB_OK | MB_ICONEXCLAMATION);
    m_showingHelpFailure = false;
}
