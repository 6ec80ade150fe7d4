// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
