// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutTemplate.h"

#include "AfxTypes.h"
#include "ResourceIds.h"
#include "TarvinVersion.h"

namespace {

struct VersionLine {
    char text[32] = {};
};

// Appends the decimal digits of a non-negative number at text[at]; returns
// the position after them.
constexpr int AppendNumber(char* text, int at, int number) {
    char digits[12] = {};
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0 && count < 11);
    while (count > 0)
        text[at++] = digits[--count];
    return at;
}

// "Tarvin Version <major>.<minor>"
constexpr VersionLine ComposeVersionLine(int major, int minor) {
    VersionLine line;
    constexpr char kPrefix[] = "Tarvin Version ";
    int at = 0;
    for (const char* p = kPrefix; *p; ++p)
        line.text[at++] = *p;
    at = AppendNumber(line.text, at, major);
    line.text[at++] = '.';
    AppendNumber(line.text, at, minor);
    return line;
}

constexpr VersionLine kVersionLine = ComposeVersionLine(TARVIN_VERSION_MAJOR, TARVIN_VERSION_MINOR);

constexpr std::uint32_t kText = SS_LEFT | SS_NOPREFIX | WS_GROUP;

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, nullptr, ControlKind::Static, nullptr, 11, 17, 20, 20, SS_ICON, 0, IDI_PROGRAM},
    {IDC_STATIC, nullptr, ControlKind::Static, kVersionLine.text, 40, 10, 119, 8, kText},
    {IDC_STATIC, nullptr, ControlKind::Static,
     "Statements over named variables.\nBy the Tarvin developers.", 40, 25, 119, 23, kText},
    {IDOK, "IDOK", ControlKind::Button, "OK", 178, 7, 50, 14,
     BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
};

} // namespace

const DialogTemplate kAboutTemplate = {
    IDD_ABOUT,
    "IDD_ABOUT",
    "About Tarvin",
    8,
    "MS Sans Serif",
    0,
    0,
    235,
    55,
    DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
    CheckedControls(kControls),
};
