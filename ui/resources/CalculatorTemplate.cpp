// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculatorTemplate.h"

#include "AfxTypes.h"
#include "ResourceIds.h"

namespace {

constexpr std::uint32_t kLineEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr std::uint32_t kArchivePane = ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_BORDER |
                                       WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
constexpr std::uint32_t kVariablesPane =
    ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_BORDER | WS_VSCROLL | WS_TABSTOP;
constexpr std::uint32_t kLabel = SS_LEFT | WS_GROUP;

// In template order, which is the tab order. Each label names the field it
// stands beside.
constexpr ControlTemplate kControls[] = {
    {IDC_INPUT, "IDC_INPUT", ControlKind::Edit, "", 7, 7, 287, 14, kLineEdit},
    {IDC_RESULT, "IDC_RESULT", ControlKind::Edit, "", 315, 7, 66, 14, kLineEdit},
    {IDC_ARCHIVE, "IDC_ARCHIVE", ControlKind::Edit, "", 7, 33, 267, 130, kArchivePane},
    {IDC_CALCULATE, "IDC_CALCULATE", ControlKind::Button, "Calculate", 281, 150, 48, 13,
     BS_DEFPUSHBUTTON | WS_TABSTOP},
    {ID_HELP, "ID_HELP", ControlKind::Button, "&Help", 334, 149, 50, 14,
     BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_STATIC, nullptr, ControlKind::Static, "=", 301, 10, 8, 8, kLabel, IDC_RESULT},
    {IDC_STATIC, nullptr, ControlKind::Static, "Variables:", 281, 24, 58, 8, kLabel, IDC_VARIABLES},
    {IDC_STATIC, nullptr, ControlKind::Static, "Archive:", 9, 22, 27, 8, kLabel, IDC_ARCHIVE},
    {IDC_VARIABLES, "IDC_VARIABLES", ControlKind::Edit, "", 281, 33, 103, 113, kVariablesPane},
};

// The fields in their own terms, rather than by the labels beside them, and
// what Enter and the buttons do. The buttons keep their texts as names.
constexpr AccessibleText kAccessibleTexts[] = {
    {IDC_INPUT, "Statement", "Type a statement such as a=5; Enter calculates it"},
    {IDC_RESULT, "Result", "Value of the last statement, or Error"},
    {IDC_ARCHIVE, "Archive", "Every line entered, newest first"},
    {IDC_CALCULATE, nullptr, "Calculates the statement; Enter in any field does the same"},
    {ID_HELP, nullptr, "Opens the help for this window; F1 does the same"},
    {IDC_VARIABLES, "Variables", "Every variable with its value, in name order"},
};

} // namespace

const DialogTemplate kCalculatorTemplate = {
    IDD_CALCULATOR,
    "IDD_CALCULATOR",
    "Tarvin",
    8,
    "MS Sans Serif",
    0,
    0,
    391,
    170,
    DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
    WS_EX_APPWINDOW,
    CheckedControls(kControls),
    CheckedTexts(kAccessibleTexts, kControls),
};
