// SPDX-License-Identifier: GPL-3.0-or-later
#include "StreamLines.h"

#include <cerrno>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "ConsoleConstants.h"
#include "LineInput.h"
#include "ResultOutput.h"

namespace {

constexpr const char* kInputIsOutput = "input file is output file";

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// True when in is the very regular file that the results are written to: reading it would
// read back what the run itself appends, without end.
bool IsOutputFile(FILE* in, FILE* out) {
    struct stat input {
    }, output{};
    const int outFd = fileno(out);
    return outFd >= 0 && fstat(fileno(in), &input) == 0 && fstat(outFd, &output) == 0 &&
           S_ISREG(input.st_mode) && S_ISREG(output.st_mode) && input.st_dev == output.st_dev &&
           input.st_ino == output.st_ino;
}

// Runs the lines of a stream already checked; false once a line asked to stop.
bool RunLines(FILE* in, const char* name, ConsoleSession& session) {
    LineInput input(in);
    LineOrigin origin{name, 0};
    while (input.Next() != LineInput::Status::End) {
        ++origin.number;
        // A line over the bound is refused by the session as soon as it passes the bound.
        if (!session.RunLine(input.Text(), origin))
            return false;
    }
    if (input.Error() != 0) {
        ReportUnreadable(session.Streams().err, name, input.Error());
        session.NoteUnreadableInput();
    }
    return true;
}

} // namespace

bool RunStream(FILE* in, const char* name, ConsoleSession& session) {
    if (IsOutputFile(in, session.Streams().out)) {
        std::fprintf(session.Streams().err, "%s: %s: %s\n", kProgramName, name, kInputIsOutput);
        session.NoteUnreadableInput();
        return true;
    }
    try {
        return RunLines(in, name, session);
    } catch (const std::bad_alloc&) {
        // Only the room for one line is asked for outside the session's own handling.
        ReportUnreadable(session.Streams().err, name, ENOMEM);
        session.NoteUnreadableInput();
        return true;
    }
}

bool RunInput(const std::string& name, ConsoleSession& session) {
    if (name == kStandardInputName)
        return RunStream(stdin, kStandardInputName, session);
    FileHandle file(std::fopen(name.c_str(), "r"));
    if (!file) {
        ReportUnreadable(session.Streams().err, name.c_str(), errno);
        session.NoteUnreadableInput();
        return true;
    }
    return RunStream(file.get(), name.c_str(), session);
}

bool RunStatements(const std::vector<std::string>& statements, ConsoleSession& session) {
    LineOrigin origin{kStatementOrigin, 0};
    for (const std::string& statement : statements) {
        ++origin.number;
        if (!session.RunLine(statement, origin))
            return false;
    }
    return true;
}
