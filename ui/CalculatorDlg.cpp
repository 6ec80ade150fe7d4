// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculatorDlg.h"

#include <QLineEdit>
#include <csignal>
#include <limits>

#include "AboutDlg.h"
#include "Clipboard.h"
#include "DataExchange.h"
#include "ExactValue.h"
#include "LinePreparation.h"
#include "ResourceIds.h"
#include "Resources.h"
#include "WinApp.h"
#include "WinHelp.h"

const MessageEntry CCalculatorDlg::kMessageMap[] = {
    OnMessage(WM_SYSCOMMAND, &CCalculatorDlg::OnSysCommand),
    OnMessage(WM_DESTROY, &CCalculatorDlg::OnDestroy),
    OnMessage(WM_PAINT, &CCalculatorDlg::OnPaint),
    OnMessage(WM_QUERYDRAGICON, &CCalculatorDlg::OnQueryDragIcon),
    OnControlNotify(BN_CLICKED, IDC_CALCULATE, &CCalculatorDlg::OnCalculate),
    OnCommand(IDM_COPY_FULL_VALUE, &CCalculatorDlg::OnCopyFullValue),
};

namespace {

constexpr const char* kCopyFullValueItem = "Copy &Full Value\tCtrl+Shift+C";
constexpr int kCopyFullValueKey = Qt::Key_C;
constexpr int kCopyFullValueModifiers =
    static_cast<int>(Qt::ControlModifier) | static_cast<int>(Qt::ShiftModifier);

// Arrow keys come with the keypad's mark when typed there.
bool IsPlainKey(int modifiers) {
    return (modifiers & ~static_cast<int>(Qt::KeypadModifier)) == 0;
}

} // namespace

std::span<const MessageEntry> CCalculatorDlg::GetMessageMap() const {
    return kMessageMap;
}

CCalculatorDlg::CCalculatorDlg(CDialog* parent) : CDialog(IDD_CALCULATOR, parent) {
    m_icon = AfxLoadIcon(IDI_PROGRAM);
    m_resultMenu.AppendMenu(MF_STRING, IDM_COPY_FULL_VALUE, kCopyFullValueItem);
}

CCalculatorDlg::~CCalculatorDlg() = default;

void CCalculatorDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_INPUT, m_input);
    DDX_Text(pDX, IDC_RESULT, m_result);
    DDX_Text(pDX, IDC_ARCHIVE, m_archive);
    DDX_Text(pDX, IDC_VARIABLES, m_variables);
}

bool CCalculatorDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The engine writes its error banner and help text to standard output, which may be a
    // pipe that nobody reads any more: a failed write must never end the window.
    std::signal(SIGPIPE, SIG_IGN);
    AllowWholeLines();
    AppendAboutItem();
    SetIcon(m_icon, true);
    SetIcon(m_icon, false);
    return true;
}

// The field would cut a pasted line at its own default length without a word, and cutting at
// any length costs it time that grows with the square of what it keeps. It takes the whole
// paste instead, and OnCalculate refuses a line over the line bound.
void CCalculatorDlg::AllowWholeLines() {
    if (auto* input = qobject_cast<QLineEdit*>(GetDlgItem(IDC_INPUT)))
        input->setMaxLength(std::numeric_limits<int>::max());
}

// A separator and the About item end the system menu, when there is a menu
// and the item's text loads and is not empty.
void CCalculatorDlg::AppendAboutItem() {
    CMenu* menu = GetSystemMenu(false);
    if (!menu)
        return;
    CString text;
    if (!text.LoadString(IDS_ABOUT_MENU) || text.IsEmpty())
        return;
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, IDM_ABOUT, text);
}

// Every command whose upper bits are those of IDM_ABOUT opens the About box;
// the rest are the platform's own.
void CCalculatorDlg::OnSysCommand(unsigned id, long param) {
    if ((id & SC_COMMAND_MASK) == IDM_ABOUT) {
        ShowAboutBox();
        return;
    }
    CDialog::OnSysCommand(id, param);
}

// A new box each time, run modally over this window and gone when it closes.
void CCalculatorDlg::ShowAboutBox() {
    CAboutDlg aboutBox;
    aboutBox.DoModal();
}

// Whatever the help engine opened for this program closes with its window.
void CCalculatorDlg::OnDestroy() {
    WinHelp(0, HELP_QUIT);
    CDialog::OnDestroy();
}

// A minimised window paints its icon centred on an erased background; the
// toolkit paints every other state.
void CCalculatorDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendIconEraseBkgnd(dc);
    int cxIcon = GetSystemMetrics(SM_CXICON);
    int cyIcon = GetSystemMetrics(SM_CYICON);
    QRect rect;
    GetClientRect(&rect);
    int x = (rect.width() - cxIcon + 1) / 2;
    int y = (rect.height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_icon);
}

HICON CCalculatorDlg::OnQueryDragIcon() {
    return m_icon;
}

// One press: take the fields, prefix a bare expression with "ans=", record the
// line at the top of the archive, run it, show the value or "Error", empty the
// input and put the fields back. The outcome is also told to a screen reader
// where the focus is, as the result field is not where the user is.
void CCalculatorDlg::OnCalculate() {
    UpdateData(true);
    if (IsLineTooLong(m_input.Text())) {
        RefuseLongLine();
        return;
    }
    m_input = PrepareLine(m_input);
    // In place: a long archive moves within its buffer instead of being copied.
    m_archive.Text().insert(0, (m_input + "\r\n").Text());
    double value = 0;
    int status = m_engine.Calculate(m_input, &value, &m_variables.Text());
    if (status != kStatementExecuted)
        m_result = "Error";
    else
        m_result.Format("%g", value);
    m_value = value;
    m_hasValue = status == kStatementExecuted;
    m_recall.Reset();
    m_input = "";
    UpdateData(false);
    Announce("Result: " + m_result);
}

bool CCalculatorDlg::PreTranslateKey(int controlId, int key, int modifiers) {
    if (key == kCopyFullValueKey && modifiers == kCopyFullValueModifiers) {
        OnCopyFullValue();
        return true;
    }
    if (controlId == IDC_INPUT && IsPlainKey(modifiers))
        return Recall(key);
    return false;
}

// Up and Down put a line of the archive into the input field, read from the
// pane as it stands; nothing else changes. At either end the key does nothing.
bool CCalculatorDlg::Recall(int key) {
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    const CString archive = GetDlgItemText(IDC_ARCHIVE);
    CString shown;
    const bool moved = key == Qt::Key_Up ? m_recall.Older(archive, GetDlgItemText(IDC_INPUT), shown)
                                         : m_recall.Newer(archive, shown);
    if (moved)
        ReplaceEditText(IDC_INPUT, shown);
    return true;
}

const CMenu* CCalculatorDlg::GetEditMenuItems(int controlId) const {
    return controlId == IDC_RESULT ? &m_resultMenu : nullptr;
}

// The last value as the shortest text that reads back as the same number;
// after a line that showed Error there is none, and the clipboard keeps what
// it held.
void CCalculatorDlg::OnCopyFullValue() {
    if (!m_hasValue)
        return;
    char text[kExactTextSize];
    FormatExact(m_value, text);
    SetClipboardText(text);
}

// A line over the bound is not run: the result field says why, and the line stays in the
// input field while the archive and the variables stay as they were.
void CCalculatorDlg::RefuseLongLine() {
    m_result = "Error: " + LineTooLongReason();
    m_hasValue = false;
    UpdateData(false);
    Announce("Result: " + m_result);
}
