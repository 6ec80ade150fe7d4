#pragma once

#include "DialogTemplate.h"

// The main dialog's template.
extern const DialogTemplate kCalculatorTemplate;
