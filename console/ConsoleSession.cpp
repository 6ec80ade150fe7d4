// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleSession.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "ConsoleConstants.h"
#include "LinePreparation.h"
#include "LineScan.h"

bool ConsoleSession::RunLine(const std::string& line, const LineOrigin& origin) {
    if (IsLineTooLong(line)) {
        FailLine(origin, LineTooLongReason().c_str());
    } else {
        try {
            if (!RunAnyLine(line, origin))
                return false;
        } catch (const std::bad_alloc&) {
            // The engine fails its own lines when memory runs out; this is a copy around it.
            FailLine(origin, std::strerror(ENOMEM));
        }
    }
    // Results that cannot be written end the run at once; main reports why.
    if (std::ferror(m_streams.out)) {
        m_outputFailed = true;
        return false;
    }
    return true;
}

// A line that was not run: Error as its result, and the reason in place of the line.
void ConsoleSession::FailLine(const LineOrigin& origin, const char* reason) {
    m_anyError = true;
    PrintError(m_streams, false);
    if (m_interactive)
        FlushResults(m_streams.out);
    ReportErrorLine(m_streams.err, origin, reason);
}

bool ConsoleSession::RunAnyLine(const std::string& line, const LineOrigin& origin) {
    // Only a line with a comment is copied, to hand the engine the part before it.
    const size_t comment = CommentStart(line);
    if (comment != std::string::npos)
        return RunCode(line.substr(0, comment), line, origin);
    return RunCode(line, line, origin);
}

// Runs code, the line without its comment; messages quote the whole line.
bool ConsoleSession::RunCode(const std::string& code, const std::string& line,
                             const LineOrigin& origin) {
    // The engine reads NUL-terminated text and would silently see only the
    // part before an embedded NUL byte, so such a line fails as a whole.
    if (code.find('\0') != std::string::npos) {
        ShowError(false, line, origin);
        FinishLine();
        return true;
    }
    LineStart start = ScanLineStart(code);
    if (start.kind == LineKind::Blank)
        return true;
    if (start.kind == LineKind::Command)
        return RunCommand(code, start.command);
    RunStatement(code, line, origin);
    return true;
}

int ConsoleSession::ExitStatus() const {
    if (m_anyUnreadable || m_outputFailed)
        return kStatusFailure;
    return m_anyError ? kStatusLineError : kStatusSuccess;
}

// A command word line goes to the engine as it stands: the engine itself
// writes the help text and empties the memory; only the listing is printed
// here, since the engine hands it back instead of writing it. With a style of
// its own the listing is written here from the variables themselves.
bool ConsoleSession::RunCommand(const std::string& code, int command) {
    double value = 0;
    const bool ownListing = m_style.form != ValueForm::ResultField;
    m_engine.Calculate(code.c_str(), &value, ownListing ? nullptr : &m_listing);
    if (command == RS_LIST && ownListing)
        PrintVariables(m_streams.out, m_engine.variables, m_style);
    else if (command == RS_LIST)
        PrintListing(m_streams.out, m_listing);
    FinishLine();
    return command != RS_QUIT;
}

// Any other line is prepared by the window's rule and shows what the
// window's result field would show.
void ConsoleSession::RunStatement(const std::string& code, const std::string& line,
                                  const LineOrigin& origin) {
    // Most script lines hold "=" and go to the engine as they are, without a copy.
    const std::string prepared = NeedsAnsPrefix(code) ? PrepareLine(code) : std::string();
    const std::string& statement = prepared.empty() ? code : prepared;
    double value = 0;
    LineReport report;
    // A statement prints no listing, so the engine is not asked to build one.
    if (m_engine.Calculate(statement.c_str(), &value, nullptr, report) == 0)
        PrintValue(m_streams.out, value, m_style);
    else
        ShowError(report.lexicalError, line, origin);
    FinishLine();
}

void ConsoleSession::ShowError(bool afterBanner, const std::string& line,
                               const LineOrigin& origin) {
    m_anyError = true;
    PrintError(m_streams, afterBanner);
    // On a terminal the result comes before the message that names the line.
    if (m_interactive)
        FlushResults(m_streams.out);
    ReportErrorLine(m_streams.err, origin, line);
}

void ConsoleSession::FinishLine() {
    if (m_interactive)
        FlushResults(m_streams.out);
}
