// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AfxTypes.h"

#include <cstdint>
#include <span>

// A dialog described as data, in the shape of a resource script's dialog
// template. Coordinates and sizes are dialog units (see DialogUnits.h).

enum class ControlKind { Edit, Button, Static };

struct ControlTemplate {
    int id;           // the control's identifier, IDC_STATIC for none
    const char* name; // the identifier's name, used as the control's object name
    ControlKind kind;
    const char* text;    // initial text; for an icon static, unused
    short x, y, cx, cy;  // rectangle in dialog units
    std::uint32_t style; // WS_, ES_, BS_ and SS_ bits
    int labels = 0;      // for a static text: the identifier of the field it names
    int image = 0;       // for an icon static: the icon's resource identifier
};

// What assistive technology is told about a control beyond what it shows: a
// name in the control's own terms (null keeps the name the toolkit gives it,
// a button's text or its label's) and a description (null for none).
struct AccessibleText {
    int id;
    const char* name;
    const char* description;
};

struct DialogTemplate {
    int id;           // the template's resource number
    const char* name; // the identifier's name, used as the window's object name
    const char* caption;
    int pointSize; // font the template asks for; see DialogFont()
    const char* faceName;
    short x, y, cx, cy;                        // position and client size in dialog units
    std::uint32_t style;                       // WS_ and DS_ bits
    std::uint32_t exStyle;                     // WS_EX_ bits
    std::span<const ControlTemplate> controls; // in template order, which is the tab order
    std::span<const AccessibleText> accessibleTexts = {}; // by control identifier
};

// The checks a template passes as it is built, at compile time: a template's controls and
// accessible texts reach it through these, and one that fails them does not build, with the
// compiler quoting the check that failed. The window takes the checks for granted.

// A control's identifier, unless IDC_STATIC, is the template's only control with it.
constexpr bool HasUniqueId(std::span<const ControlTemplate> controls, std::size_t at) {
    for (std::size_t other = 0; other < at; ++other)
        if (controls[at].id != IDC_STATIC && controls[other].id == controls[at].id)
            return false;
    return true;
}

// An identifier that names one control of the template, IDC_STATIC never.
constexpr bool NamesControl(std::span<const ControlTemplate> controls, int id) {
    for (const ControlTemplate& control : controls)
        if (id != IDC_STATIC && control.id == id)
            return true;
    return false;
}

// The type bits of a button or a static name a type the window builds; an edit has none.
constexpr bool HasTypeOfItsKind(const ControlTemplate& control) {
    switch (control.kind) {
    case ControlKind::Edit:
        return true;
    case ControlKind::Button:
        return (control.style & BS_TYPEMASK) == BS_PUSHBUTTON ||
               (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    case ControlKind::Static:
        return (control.style & SS_TYPEMASK) == SS_LEFT || (control.style & SS_TYPEMASK) == SS_ICON;
    }
    return false;
}

consteval std::span<const ControlTemplate>
CheckedControls(std::span<const ControlTemplate> controls) {
    for (std::size_t at = 0; at < controls.size(); ++at) {
        if (!HasUniqueId(controls, at))
            throw "two controls of the template share an identifier";
        if (controls[at].labels != 0 && !NamesControl(controls, controls[at].labels))
            throw "a label names an identifier the template lacks";
        if (!HasTypeOfItsKind(controls[at]))
            throw "a control's type bits name no type of its kind";
    }
    return controls;
}

consteval std::span<const AccessibleText> CheckedTexts(std::span<const AccessibleText> texts,
                                                       std::span<const ControlTemplate> controls) {
    for (const AccessibleText& text : texts)
        if (!NamesControl(controls, text.id))
            throw "an accessible text names an identifier the template lacks";
    return texts;
}
