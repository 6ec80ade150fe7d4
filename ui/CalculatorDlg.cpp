// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculatorDlg.h"

#include <QLineEdit>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include "AboutDlg.h"
#include "Clipboard.h"
#include "DataExchange.h"
#include "ExactValue.h"
#include "InputLines.h"
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

// The archive's growth for lines that each end with CR LF.
std::size_t ArchiveGrowth(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    return size;
}

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
    m_engine.messages = m_output.Stream();
    m_engine.output = m_output.Stream();
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
    AllowWholeLines();
    if (QWidget* result = GetDlgItem(IDC_RESULT))
        m_resultDescription = result->accessibleDescription().toStdString();
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

// One press: take the fields, run the lines of the input field in order, each as if it had been
// typed alone and entered, and put the fields back. The outcome is also told to a screen reader
// where the focus is, as the result field is not where the user is. A press that cannot get its
// memory says so and changes nothing it has not finished; the window goes on.
void CCalculatorDlg::OnCalculate() {
    try {
        UpdateData(true);
        RunInput();
        UpdateData(false);
    } catch (const std::bad_alloc&) {
        FailPress();
    }
    AnnounceOutcome();
}

// What the result field shows for a refusal, a short text that fits it at every scale, and
// why, in words a screen reader speaks, with the limit where there is one.
CCalculatorDlg::RefusalText CCalculatorDlg::TextOf(Refusal refusal) {
    switch (refusal) {
    case Refusal::None:
        break;
    case Refusal::NulByte:
        return {"NUL in line", "the line holds a NUL byte"};
    case Refusal::TooLong:
        return {"Line too long", LineTooLongReason()};
    case Refusal::NoMemory:
        return {"Out of memory", std::strerror(ENOMEM)};
    }
    return {"", ""};
}

// All the memory the lines need is had before the first runs, so that a press that cannot get
// it runs none of them. The engine takes each line that is not refused: its outcome shows, and
// it goes to the top of the archive, as "ans=" made it. A refused line is not run, does not stop
// the lines after it, and stays in the input field, where the result field tells why.
void CCalculatorDlg::RunInput() {
    PressLines lines = SortInput();
    m_archive.Text().reserve(m_archive.Text().size() + ArchiveGrowth(lines.run));
    RunLines(lines.run);
    ArchiveLines(lines.run);
    KeepRefusedLines(lines.refused);
    m_recall.Reset();
    if (lines.lastRefusal != Refusal::None)
        ShowRefusal(lines.lastRefusal);
}

// The engine reads text up to a NUL byte and would silently run only the part before it.
CCalculatorDlg::PressLines CCalculatorDlg::SortInput() const {
    PressLines lines;
    CInputLines input(m_input.Text());
    for (std::string_view line; input.Next(line);) {
        Refusal refusal = Refusal::None;
        if (line.find('\0') != std::string_view::npos)
            refusal = Refusal::NulByte;
        else if (IsLineTooLong(line))
            refusal = Refusal::TooLong;
        if (refusal == Refusal::None) {
            lines.run.push_back(PrepareLine(line));
            continue;
        }
        lines.refused.push_back(line);
        lines.lastRefusal = refusal;
    }
    return lines;
}

// The listing is asked for with the last line only: it shows the memory as the lines leave it.
void CCalculatorDlg::RunLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::string* listing = &line == &lines.back() ? &m_variables.Text() : nullptr;
        LineReport report;
        double value = 0;
        const int status = m_engine.Calculate(line.c_str(), &value, listing, report);
        ShowOutcome(status, value, report);
    }
}

void CCalculatorDlg::ShowOutcome(int status, double value, const LineReport& report) {
    m_refusal = Refusal::None;
    if (status == kStatementExecuted)
        m_result.Format("%g", value);
    else if (report.failure == FR_OUT_OF_MEMORY)
        m_refusal = Refusal::NoMemory;
    else
        m_result = "Error";
    m_value = value;
    m_hasValue = status == kStatementExecuted;
    if (m_refusal != Refusal::None)
        ShowRefusal(m_refusal);
}

// The lines the engine took, newest first, go in front of the archive, whose room for them
// was had before they ran: nothing is allocated here.
void CCalculatorDlg::ArchiveLines(const std::vector<std::string>& lines) {
    std::string& archive = m_archive.Text();
    archive.insert(0, ArchiveGrowth(lines), '\n');
    char* at = archive.data();
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        at = std::copy(line->begin(), line->end(), at);
        *at++ = '\r';
        *at++ = '\n';
    }
}

// The input field keeps the refused lines, one a line, and nothing else. They are parts of
// m_input in order, so each moves toward its start, within its own buffer.
void CCalculatorDlg::KeepRefusedLines(const std::vector<std::string_view>& refused) {
    std::string& input = m_input.Text();
    std::size_t at = 0;
    for (std::string_view line : refused) {
        if (at > 0)
            input[at++] = '\n';
        std::memmove(input.data() + at, line.data(), line.size());
        at += line.size();
    }
    input.resize(at);
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

// A refusal shows a short text that fits the result field at every scale; its reason, with
// the limit where there is one, is announced and stands in the field's description.
void CCalculatorDlg::ShowRefusal(Refusal refusal) {
    m_refusal = refusal;
    m_result = TextOf(refusal).shown;
    m_hasValue = false;
}

// The result field says the press ran out of memory, as far as memory still allows.
void CCalculatorDlg::FailPress() {
    try {
        ShowRefusal(Refusal::NoMemory);
        LoadControlText(GetDlgItem(IDC_RESULT), m_result);
    } catch (const std::bad_alloc&) {
    }
}

void CCalculatorDlg::AnnounceOutcome() {
    try {
        CString described = m_resultDescription;
        if (m_refusal != Refusal::None)
            described = m_result + ": " + TextOf(m_refusal).reason.c_str();
        SetItemDescription(IDC_RESULT, described);
        Announce(m_refusal == Refusal::None ? "Result: " + m_result : "Result: " + described);
    } catch (const std::bad_alloc&) {
    }
}
