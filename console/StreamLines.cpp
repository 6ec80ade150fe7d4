// SPDX-License-Identifier: GPL-3.0-or-later
#include "StreamLines.h"

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "ConsoleConstants.h"
#include "ResultOutput.h"

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// The line buffer that getline grows as needed.
struct LineBuffer {
    char* data = nullptr;
    size_t capacity = 0;
    ~LineBuffer() { std::free(data); }
};

// The length of the line without its terminator: a final LF, and a CR
// directly before it. A CR anywhere else belongs to the line.
size_t ContentLength(const char* data, size_t length) {
    if (length > 0 && data[length - 1] == '\n') {
        --length;
        if (length > 0 && data[length - 1] == '\r')
            --length;
    }
    return length;
}

} // namespace

bool RunStream(FILE* in, const char* name, ConsoleSession& session) {
    LineBuffer buffer;
    std::string line;
    LineOrigin origin{name, 0};
    ssize_t length;
    while ((length = getline(&buffer.data, &buffer.capacity, in)) >= 0) {
        ++origin.number;
        line.assign(buffer.data, ContentLength(buffer.data, static_cast<size_t>(length)));
        if (!session.RunLine(line, origin))
            return false;
    }
    if (std::ferror(in)) {
        ReportUnreadable(name, errno);
        session.NoteUnreadableInput();
    }
    return true;
}

bool RunInput(const std::string& name, ConsoleSession& session) {
    if (name == kStandardInputName)
        return RunStream(stdin, kStandardInputName, session);
    FileHandle file(std::fopen(name.c_str(), "r"));
    if (!file) {
        ReportUnreadable(name.c_str(), errno);
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
