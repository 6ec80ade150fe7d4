// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ExpressionEngine.h"
#include "ResultOutput.h"
#include "ValueFormat.h"

// One run of the program: the engine with its variable memory, which lasts
// across all inputs, and what the exit status needs to know.
class ConsoleSession {
public:
    // Values are written in style. The engine's error banner goes to standard
    // error, so that standard output holds one line per statement.
    explicit ConsoleSession(bool interactive, const ValueStyle& style = {})
        : interactive_(interactive), style_(style) {
        engine_.messages = stderr;
    }

    // Runs one line as read, its terminator already removed; a comment is dropped first, and a
    // line left blank is skipped. Returns false once the line was a quit command, or the results
    // could no longer be written, so the caller stops reading. A line over kMaxLineLength, or
    // one that memory could not be found for, fails with the reason in its message, and
    // changes nothing.
    bool RunLine(const std::string& line, const LineOrigin& origin);

    // The engine with the session's memory, for reading only.
    const ExpressionEngine& Engine() const { return engine_; }

    // An input that could not be opened or read to its end.
    void NoteUnreadableInput() { anyUnreadable_ = true; }

    // 2 when an input could not be read or the results not written, else 1 when a line showed
    // Error, else 0.
    int ExitStatus() const;

private:
    bool RunAnyLine(const std::string& line, const LineOrigin& origin);
    void FailLine(const LineOrigin& origin, const char* reason);
    bool RunCode(const std::string& code, const std::string& line, const LineOrigin& origin);
    bool RunCommand(const std::string& code, int command);
    void RunStatement(const std::string& code, const std::string& line, const LineOrigin& origin);
    void ShowError(bool afterBanner, const std::string& line, const LineOrigin& origin);
    void FinishLine();

    ExpressionEngine engine_;
    std::string listing_;
    bool interactive_;
    ValueStyle style_;
    bool anyError_ = false;
    bool anyUnreadable_ = false;
    bool outputFailed_ = false;
};
