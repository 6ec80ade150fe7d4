// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleSession.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "ConsoleConstants.h"
#include "FailureText.h"
#include "LinePreparation.h"
#include "LineScan.h"

namespace {

constexpr const char* kNulReason = "NUL byte in the line";

} // namespace

bool ConsoleSession::RunLine(const std::string& line, const LineOrigin& origin) {
    if (IsLineTooLong(line)) {
        RefuseLine(origin, LineTooLongReason().c_str());
    } else {
        try {
            if (!RunAnyLine(line, origin))
                return false;
        } catch (const std::bad_alloc&) {
            // The engine fails its own lines when memory runs out; this is a copy around it.
            RefuseLine(origin, std::strerror(ENOMEM));
        }
    }
    // Results that cannot be written end the run at once; main reports why.
    if (std::ferror(m_streams.out)) {
        m_outputFailed = true;
        return false;
    }
    return true;
}

// A line refused as a whole, before or without the engine: the reason has no place in it.
void ConsoleSession::RefuseLine(const LineOrigin& origin, const char* reason) {
    ShowError({}, origin, reason, kNoPlace);
    FinishLine();
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
    const size_t nul = code.find('\0');
    if (nul != std::string::npos) {
        ShowError(line, origin, kNulReason, nul);
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
    // A statement prints no listing, so the engine is not asked to build one.
    if (m_engine.Calculate(statement.c_str(), &value, nullptr, m_report) == kStatementExecuted) {
        if (!m_report.unsetReads.empty())
            NoteUnsetReads(statement);
        PrintValue(m_streams.out, value, m_style);
    } else {
        ShowFailure(statement, statement.size() - code.size(), line, origin);
    }
    FinishLine();
}

// The engine's offsets count in the statement, which begins with a prefix of that many bytes
// that the line lacks; a failure with no place, as when memory ran out, points at nothing.
void ConsoleSession::ShowFailure(const std::string& statement, size_t prefix,
                                 const std::string& line, const LineOrigin& origin) {
    const bool placed = m_report.failure != FR_OUT_OF_MEMORY && m_report.offset >= prefix;
    ShowError(line, origin, FailureText(m_report, statement),
              placed ? m_report.offset - prefix : kNoPlace);
}

// One note for each name the statement read that the memory did not hold, before its value.
// The statement has run; a note that memory cannot be found for is left out, so that the line
// is never reported as failed.
void ConsoleSession::NoteUnsetReads(const std::string& statement) {
    try {
        std::vector<std::string> noted;
        for (const size_t offset : m_report.unsetReads) {
            std::string name = TokenAt(statement, offset);
            if (std::find(noted.begin(), noted.end(), name) != noted.end())
                continue;
            ReportNote(m_streams.err, name + " was not set; it reads as 0");
            noted.push_back(std::move(name));
        }
    } catch (const std::bad_alloc&) {
    }
}

// A line that ran no statement: Error as its result, and the message that says why.
void ConsoleSession::ShowError(std::string_view line, const LineOrigin& origin,
                               std::string_view reason, size_t place) {
    m_anyError = true;
    PrintError(m_streams.out);
    // On a terminal the result comes before the message that names the line.
    if (m_interactive)
        FlushResults(m_streams.out);
    ReportFailedLine(m_streams.err, origin, line, reason, place);
}

void ConsoleSession::FinishLine() {
    if (m_interactive)
        FlushResults(m_streams.out);
}
