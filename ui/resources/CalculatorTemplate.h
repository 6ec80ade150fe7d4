// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogTemplate.h"

// The main dialog's template.
extern const DialogTemplate kCalculatorTemplate;
