// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CString.h"
#include "Dialog.h"
#include "ExpressionEngine.h"
#include "InputRecall.h"
#include "Menu.h"
#include "OutputQueue.h"

#include <string>
#include <string_view>
#include <vector>

// The calculator's main dialog: the input line, its result, the archive of
// lines entered and the listing of the variables, over one engine whose
// variables live as long as the dialog.
class CCalculatorDlg : public CDialog {
public:
    explicit CCalculatorDlg(CDialog* parent = nullptr);
    ~CCalculatorDlg() override;

    std::span<const MessageEntry> GetMessageMap() const override;

    // Up and Down in the input field recall the archive's lines; Ctrl+Shift+C
    // in any control copies the full value.
    bool PreTranslateKey(int controlId, int key, int modifiers) override;
    // The result field's menu offers "Copy Full Value".
    const CMenu* GetEditMenuItems(int controlId) const override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;

    void OnSysCommand(unsigned id, long param);
    void OnDestroy();
    void OnPaint();
    HICON OnQueryDragIcon();
    void OnCalculate();
    void OnCopyFullValue();

private:
    // Why a line was not run, or why a press could not finish.
    enum class Refusal { None, NulByte, TooLong, NoMemory };

    // The lines of one press: those the engine is to take, prepared by the "ans=" rule and in
    // order, and those refused, as parts of m_input.
    struct PressLines {
        std::vector<std::string> run;
        std::vector<std::string_view> refused;
        Refusal lastRefusal = Refusal::None;
    };

    struct RefusalText {
        const char* shown;
        std::string reason;
    };
    static RefusalText TextOf(Refusal refusal);

    void AllowWholeLines();
    void RunInput();
    PressLines SortInput() const;
    void RunLines(const std::vector<std::string>& lines);
    void ShowOutcome(int status, double value, const LineReport& report);
    void ArchiveLines(const std::vector<std::string>& lines);
    void KeepRefusedLines(const std::vector<std::string_view>& refused);
    void ShowRefusal(Refusal refusal);
    void FailPress();
    void AnnounceOutcome();
    void AppendAboutItem();
    void ShowAboutBox();
    bool Recall(int key);

    static const MessageEntry kMessageMap[];

    CString m_input;
    CString m_result;
    CString m_archive;
    CString m_variables;
    HICON m_icon;
    // Where the engine writes its banner and help text, so that a write never waits.
    COutputQueue m_output;
    ExpressionEngine m_engine;
    // The value of the last line run, which the result field shows with six
    // digits only; none after a line that showed Error.
    double m_value = 0;
    bool m_hasValue = false;
    // Why the result field shows what it shows, when that is no outcome of the engine's.
    Refusal m_refusal = Refusal::None;
    // The result field's own accessible description, which a refusal's reason stands in for.
    CString m_resultDescription;
    CInputRecall m_recall;
    CMenu m_resultMenu;
};
