// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogTemplate.h"

// The About box's template.
extern const DialogTemplate kAboutTemplate;
