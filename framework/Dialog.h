// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AfxTypes.h"
#include "CString.h"
#include "DialogTemplate.h"
#include "DialogUnits.h"
#include "Menu.h"
#include "MessageMap.h"

#include <QRect>

#include <memory>

class CDataExchange;
class CPaintDC;
class CWinApp;
class DialogWindow;
class QEventLoop;
class QWidget;

// A dialog built from a template of the program's resources. The C++ object
// lives longer than its window: the window exists from Create() or the start of
// DoModal() until DestroyWindow() or the end of the modal run.
class CDialog : public CCmdTarget {
public:
    // templateId names a template of the resource module; parent is the owner,
    // or null, in which case a modal run is owned by the application's main
    // window if that is another dialog.
    explicit CDialog(int templateId, CDialog* parent = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the window, initialises it, shows it and runs until the dialog
    // ends; destroys the window and returns the end value, or -1 when the
    // window could not be created. A dialog with an owner blocks input to that
    // owner only; one without an owner blocks nothing else.
    virtual int DoModal();

    // Creates the window without a modal run (a modeless dialog): initialises
    // it and shows it when the template says it is visible. Returns false when
    // the template is missing or initialisation fails.
    bool Create();

    // Destroys the window: OnDestroy runs first. Returns false if there was none.
    bool DestroyWindow();

    // Ends the dialog with a value: hides the window and ends a modal run.
    void EndDialog(int result);
    bool HasEnded() const { return m_ended; }
    int GetEndValue() const { return m_endValue; }

    // Copies the controls into the fields (saving) or the fields into the controls.
    bool UpdateData(bool saveAndValidate = true);

    // The window and its controls; null while there is no window.
    QWidget* GetSafeHwnd() const;
    QWidget* GetDlgItem(int id) const;

    // The text of control id as the window system gives it (GetControlText);
    // empty while there is no such control.
    CString GetDlgItemText(int id) const;
    // Replaces the text of edit field id with the caret at its end, where
    // typing goes on, as after typing the text. Nothing without the control.
    void ReplaceEditText(int id, const char* text);

    // The window's system menu, or null when it has none. revert is accepted
    // for the familiar signature; the menu is never reset.
    CMenu* GetSystemMenu(bool revert);

    // Sets the big or the small icon of the window; returns the previous one.
    HICON SetIcon(HICON icon, bool bigIcon);

    bool IsIconic() const;
    void GetClientRect(QRect* rect) const;

    int GetTemplateId() const { return m_templateId; }
    const DialogTemplate* GetTemplate() const;
    DialogBaseUnits GetBaseUnits() const { return m_baseUnits; }

    // Delivery of messages to the message table, with default processing for
    // those without an entry. The window calls these; tests may too.
    void SendSysCommand(unsigned id, long param);
    void SendCommand(int id, unsigned notifyCode);
    void SendPaint();
    HICON SendQueryDragIcon();
    void SendIconEraseBkgnd(CPaintDC& dc);
    // The platform's help key: asks for help as the help command does.
    void SendHelpKey();

    // Tells assistive technology a text where the user is: in the accessible
    // description of the control that has the focus (DialogWindow::Announce).
    void Announce(const char* text);
    // Sets the accessible description of control id, which an announcement in it stands in
    // for until the focus leaves (DialogWindow::SetDescription). Nothing without the control.
    void SetItemDescription(int id, const char* text);

    // A request to the help engine on behalf of this window (CWinApp::WinHelp).
    void WinHelp(unsigned long data, unsigned int command);

    // A key pressed in control controlId, before the control and the dialog's
    // keyboard interface see it (key and modifiers in the toolkit's codes);
    // true when the dialog took the key. The base takes none.
    virtual bool PreTranslateKey(int controlId, int key, int modifiers);

    // Items that end the edit menu of control controlId, before the system
    // menu's; choosing one sends its command. Null, the base's answer, for none.
    virtual const CMenu* GetEditMenuItems(int controlId) const;

protected:
    // Runs after the window and its controls exist: loads the fields into the
    // controls. Returning true puts the focus on the first tab stop.
    virtual bool OnInitDialog();
    // Saves the fields and ends the dialog with IDOK.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL.
    virtual void OnCancel();
    // Exchanges fields with controls; the base has none.
    virtual void DoDataExchange(CDataExchange* pDX);

    // Default processing, for handlers that pass a message on.
    void OnSysCommand(unsigned id, long param);
    void OnDestroy();
    void OnPaint();
    HICON OnQueryDragIcon();

private:
    bool CreateWindowFromTemplate(bool modal);
    bool InitialiseWindow(bool modal);
    QWidget* OwnerWindow() const;
    void SendPlain(unsigned message, void (CDialog::*fallback)());
    void RouteToApplication(CWinApp& app, int id, unsigned notifyCode);

    int m_templateId;
    CDialog* m_parent;
    DialogWindow* m_window = nullptr;
    std::unique_ptr<CMenu> m_systemMenu;
    DialogBaseUnits m_baseUnits{0, 0};
    HICON m_bigIcon;
    HICON m_smallIcon;
    bool m_ended = false;
    int m_endValue = 0;
    QEventLoop* m_modalLoop = nullptr;
};

// Painting of a window during its paint message.
class CPaintDC {
public:
    explicit CPaintDC(CDialog* dialog);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    void FillBackground(const QRect& rect);
    void DrawIcon(int x, int y, const HICON& icon);

private:
    struct Painter;
    std::unique_ptr<Painter> m_painter;
};

// The platform's system metrics that painting needs (icon sizes), in pixels.
int GetSystemMetrics(int index);
