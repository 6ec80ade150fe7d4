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
    // Values are written in style to streams.out, messages to streams.err; the engine writes no
    // banner, since each failed line gets a message of its own. Strict, a statement that reads
    // a name no statement has set fails and changes nothing; otherwise such a read is 0, and an
    // interactive session notes it on streams.err.
    explicit ConsoleSession(bool interactive, const ValueStyle& style = {},
                            const OutputStreams& streams = {}, bool strict = false)
        : m_interactive(interactive), m_style(style), m_streams(streams) {
        m_engine.messages = nullptr;
        m_engine.output = streams.out;
        if (strict)
            m_engine.unsetReads = UNSET_REFUSED;
        else if (interactive)
            m_engine.unsetReads = UNSET_NOTED;
    }

    // Runs one line as read, its terminator already removed; a comment is dropped first, and a
    // line left blank is skipped. Returns false once the line was a quit command, or the results
    // could no longer be written, so the caller stops reading. A line over kMaxLineLength, or
    // one that memory could not be found for, fails with the reason in its message, and
    // changes nothing.
    bool RunLine(const std::string& line, const LineOrigin& origin);

    // Fails a line as a whole with reason, before or without the engine: Error as its result,
    // and a message that names the line without quoting it.
    [[gnu::cold]] void RefuseLine(const LineOrigin& origin, const char* reason);

    // The engine with the session's memory, for reading only.
    const ExpressionEngine& Engine() const { return m_engine; }

    // Where the session writes its results and messages.
    const OutputStreams& Streams() const { return m_streams; }

    // An input that could not be opened or read to its end.
    void NoteUnreadableInput() { m_anyUnreadable = true; }

    // 2 when an input could not be read or the results not written, else 1 when a line showed
    // Error, else 0.
    int ExitStatus() const;

private:
    bool RunAnyLine(const std::string& line, const LineOrigin& origin);
    bool RunCode(const std::string& code, const std::string& line, const LineOrigin& origin);
    bool RunCommand(const std::string& code, int command);
    void RunStatement(const std::string& code, const std::string& line, const LineOrigin& origin);
    [[gnu::cold]] void ShowFailure(const std::string& statement, size_t prefix,
                                   const std::string& line, const LineOrigin& origin);
    [[gnu::cold]] void NoteUnsetReads(const std::string& statement);
    void ShowError(std::string_view line, const LineOrigin& origin, std::string_view reason,
                   size_t place);
    void FinishLine();

    ExpressionEngine m_engine;
    LineReport m_report;
    std::string m_listing;
    bool m_interactive;
    ValueStyle m_style;
    OutputStreams m_streams;
    bool m_anyError = false;
    bool m_anyUnreadable = false;
    bool m_outputFailed = false;
};
