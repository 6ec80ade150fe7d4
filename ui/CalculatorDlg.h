// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CString.h"
#include "Dialog.h"
#include "ExpressionEngine.h"
#include "InputRecall.h"
#include "Menu.h"

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
    void AllowWholeLines();
    void RefuseLongLine();
    void AppendAboutItem();
    void ShowAboutBox();
    bool Recall(int key);

    static const MessageEntry kMessageMap[];

    CString m_input;
    CString m_result;
    CString m_archive;
    CString m_variables;
    HICON m_icon;
    ExpressionEngine m_engine;
    // The value of the last line run, which the result field shows with six
    // digits only; none after a line that showed Error.
    double m_value = 0;
    bool m_hasValue = false;
    CInputRecall m_recall;
    CMenu m_resultMenu;
};
