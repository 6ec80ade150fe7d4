// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AfxTypes.h"
#include "DialogTemplate.h"

#include <span>

// The program's resources: dialog templates, a string table and icons, held
// as data by the program and registered once before its first window.

struct StringResource {
    unsigned id;
    const char* text;
};

// An icon group: the same picture at several sizes, each an XPM image.
struct IconResource {
    int id;
    std::span<const char* const* const> images;
};

struct ResourceModule {
    std::span<const DialogTemplate* const> dialogs;
    std::span<const StringResource> strings;
    std::span<const IconResource> icons;
};

// Makes module the source of every later lookup. The module must outlive them.
void AfxSetResourceModule(const ResourceModule* module);

// The template with that number, or null.
const DialogTemplate* FindDialogResource(int id);

// The string with that identifier, or null.
const char* FindStringResource(unsigned id);

// The icon group with that identifier with all its images, or a null icon.
HICON AfxLoadIcon(int id);
