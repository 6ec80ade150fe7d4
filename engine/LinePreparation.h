// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest line, in bytes without its line end, that the window and the console run. The
// engine keeps a record of fixed size for every token, so a line costs many times its length
// in memory; this bound holds any one line to some tens of MiB. A longer line is refused
// whole, never cut, and changes nothing.
constexpr size_t kMaxLineLength = size_t{1} << 20;

// True when typed is over kMaxLineLength and must be refused.
bool IsLineTooLong(std::string_view typed);

// Why a line over the bound was refused, naming the bound: "line longer than N bytes".
std::string LineTooLongReason();

// The rule that turns what the user typed into the line the engine receives.
// A line holding "=" anywhere, or exactly one of the engine's command words that list or
// clear the memory ("var", "clear", "brisi"), goes to the engine unchanged; every other line,
// the empty one included, becomes an assignment to "ans". The comparisons are exact: no
// trimming, no case folding. Shared by the window and the console so a line means the same
// in both.
bool NeedsAnsPrefix(std::string_view typed);

// The line as the engine must see it: typed itself, or "ans=" followed by it.
std::string PrepareLine(std::string_view typed);
