// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The mark that starts a comment, which runs to the end of the line. The
// statement language has no use for the character, so a comment can never cut
// a statement short.
constexpr char kCommentMark = '#';

// Where the line's comment starts, or npos when it has none.
size_t CommentStart(std::string_view line);

// How the engine's lexer sees the start of a line.
enum class LineKind {
    Blank,    // nothing but white space: the first token is the end of the line
    Command,  // the first token is one of the engine's command words
    Statement // anything else
};

struct LineStart {
    LineKind kind = LineKind::Statement;
    // The engine's read status for the command word, when kind is Command.
    int command = 0;
};

// Reads the first token of the line with the engine's own lexer and asks the
// engine whether it is a command word, so both agree on what a command is. A
// line that begins with a character no command word begins with is known to be
// a statement without reading it.
LineStart ScanLineStart(const std::string& line);
