// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Resources.h"

// The program's resources: its dialog templates, string table and icon.
const ResourceModule& ProgramResources();

// Makes them the framework's resource module; done once before the first window.
void UseProgramResources();
