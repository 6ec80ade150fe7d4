// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogTemplate.h"
#include "DialogUnits.h"

class QWidget;

// Creates the control a template entry describes, as a child of parent, placed
// at its dialog-unit rectangle converted with base. Its object name is the
// identifier's name; a static text that labels a field becomes that field's
// buddy and accessible name once both exist (see LinkLabels).
QWidget* CreateControl(const ControlTemplate& entry, QWidget* parent, const DialogBaseUnits& base);

// Makes each labelling static text the buddy of its field and its text the
// field's accessible name. controls[i] was created from entries[i].
void LinkLabels(std::span<const ControlTemplate> entries, std::span<QWidget* const> controls);

// Gives each control listed in texts its accessible name and description; a
// name set here stands in place of the one its label gave it.
void SetAccessibleTexts(std::span<const AccessibleText> texts,
                        std::span<const ControlTemplate> entries,
                        std::span<QWidget* const> controls);

// Chains the tab stops in template order.
void SetTabOrder(std::span<const ControlTemplate> entries, std::span<QWidget* const> controls);

// The label text without its access-key marks: "&&" stays as one "&".
QString StripAccessKeys(const char* text);
