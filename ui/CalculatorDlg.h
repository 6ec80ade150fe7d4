// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CString.h"
#include "Dialog.h"
#include "ExpressionEngine.h"

// The calculator's main dialog: the input line, its result, the archive of
// lines entered and the listing of the variables, over one engine whose
// variables live as long as the dialog.
class CCalculatorDlg : public CDialog {
public:
    explicit CCalculatorDlg(CDialog* parent = nullptr);
    ~CCalculatorDlg() override;

    std::span<const MessageEntry> GetMessageMap() const override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;

    void OnSysCommand(unsigned id, long param);
    void OnDestroy();
    void OnPaint();
    HICON OnQueryDragIcon();
    void OnCalculate();

private:
    void AllowWholeLines();
    void RefuseLongLine();
    void AppendAboutItem();
    void ShowAboutBox();

    static const MessageEntry kMessageMap[];

    CString m_input;
    CString m_result;
    CString m_archive;
    CString m_variables;
    HICON m_icon;
    ExpressionEngine m_engine;
};
