// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineScan.h"

#include "ExpressionEngine.h"

LineStart ScanLineStart(const std::string& line) {
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
