// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramResources.h"

#include "AboutTemplate.h"
#include "CalculatorTemplate.h"
#include "ResourceIds.h"

#include "ProgramIcon16.xpm"
#include "ProgramIcon32.xpm"

namespace {

// ORDER DIALOGS: a new template is added to this list beside its own file.
const DialogTemplate* const kDialogs[] = {&kCalculatorTemplate, &kAboutTemplate};

const StringResource kStrings[] = {
    {IDS_ABOUT_MENU, "&About Tarvin"},
};

const char* const* const kProgramIconImages[] = {kProgramIcon32, kProgramIcon16};

const IconResource kIcons[] = {
    {IDI_PROGRAM, kProgramIconImages},
};

const ResourceModule kModule = {kDialogs, kStrings, kIcons};

} // namespace

const ResourceModule& ProgramResources() {
    return kModule;
}

void UseProgramResources() {
    AfxSetResourceModule(&kModule);
}
