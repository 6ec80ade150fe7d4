// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real main dialog, created as a modeless window on the offscreen platform,
// with its Calculate command reachable so that one press can be timed alone.

#include "CalculatorDlg.h"
#include "DataExchange.h"
#include "ResourceIds.h"

#include <QLineEdit>
#include <QWidget>

#include <string_view>

class TimedDialog : public CCalculatorDlg {
public:
    // Types line into the input field, as the user leaves it before a press.
    void Type(std::string_view line) { SetControlText(GetDlgItem(IDC_INPUT), line); }

    // One press of Calculate, exactly what the button runs.
    void Press() { OnCalculate(); }

    // A press of line, typing included.
    void Press(std::string_view line) {
        Type(line);
        OnCalculate();
    }

    std::string Text(int id) const { return GetControlText(GetDlgItem(id)); }
};
