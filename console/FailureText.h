// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ExpressionEngine.h"

// The reason of a failed line in words a user can act on, from what the engine reported for
// the statement it was handed: a short English phrase that names the token concerned, read
// from the statement at the reported offset.
std::string FailureText(const LineReport& report, const std::string& statement);

// The text of the token that begins offset bytes into statement, escaped for a terminal.
std::string TokenAt(const std::string& statement, std::size_t offset);
