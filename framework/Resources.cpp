// SPDX-License-Identifier: GPL-3.0-or-later
#include "Resources.h"

#include <QPixmap>

namespace {

const ResourceModule* g_module = nullptr;

} // namespace

void AfxSetResourceModule(const ResourceModule* module) {
    g_module = module;
}

const DialogTemplate* FindDialogResource(int id) {
    if (!g_module)
        return nullptr;
    for (const DialogTemplate* dialog : g_module->dialogs)
        if (dialog->id == id)
            return dialog;
    return nullptr;
}

const char* FindStringResource(unsigned id) {
    if (!g_module)
        return nullptr;
    for (const StringResource& entry : g_module->strings)
        if (entry.id == id)
            return entry.text;
    return nullptr;
}

HICON AfxLoadIcon(int id) {
    HICON icon;
    if (!g_module)
        return icon;
    for (const IconResource& entry : g_module->icons) {
        if (entry.id != id)
            continue;
        for (const char* const* image : entry.images)
            icon.addPixmap(QPixmap(image));
        break;
    }
    return icon;
}
