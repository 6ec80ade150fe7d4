// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineScan.h"

#include "ExpressionEngine.h"

LineStart ScanLineStart(const std::string& line) {
    char text[TOKEN_BUFFER_SIZE];
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

bool HasLexicalError(const std::string& line) {
    char text[TOKEN_BUFFER_SIZE];
    const char* position = line.c_str();
    int code = NEDEF;
    // Every token but the end of the line and an error moves the position on,
    // so the scan ends.
    do
        ExpressionEngine::NextToken(position, text, code);
    while (code != EOLN && code != GRESKA);
    return code == GRESKA;
}
