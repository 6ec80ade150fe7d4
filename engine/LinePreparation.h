// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The rule that turns what the user typed into the line the engine receives.
// A line holding "=" anywhere, or exactly one of the engine's command words that list or
// clear the memory ("var", "clear", "brisi"), goes to the engine unchanged; every other line,
// the empty one included, becomes an assignment to "ans". The comparisons are exact: no
// trimming, no case folding. Shared by the window and the console so a line means the same
// in both.
bool NeedsAnsPrefix(std::string_view typed);

// The line as the engine must see it: typed itself, or "ans=" followed by it.
std::string PrepareLine(std::string_view typed);
