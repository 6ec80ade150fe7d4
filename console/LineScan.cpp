// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineScan.h"

#include "ExpressionEngine.h"

namespace {

// True for a character that can only begin a name or a number, never white space or the end.
bool BeginsNameOrNumber(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

} // namespace

LineStart ScanLineStart(const std::string& line) {
    // Most lines begin at once with a name whose first letter begins no command word: such a
    // line is neither blank nor a command, and its first token need not be read here.
    if (BeginsNameOrNumber(line[0]) && !ExpressionEngine::MayBeginCommandWord(line[0]))
        return LineStart{};
    char text[kTokenBufferSize];
    const char* position = line.c_str();
    int code = NEDEF;
    ExpressionEngine::NextToken(position, text, code);
    LineStart start;
    if (code == EOLN)
        start.kind = LineKind::Blank;
    else if (ExpressionEngine::FindCommandWord(text, start.command))
        start.kind = LineKind::Command;
    return start;
}

size_t CommentStart(std::string_view line) {
    return line.find(kCommentMark);
}
