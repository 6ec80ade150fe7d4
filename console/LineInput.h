// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

// Reads an open stream line by line, a line ending at LF with a CR directly before the LF
// removed, and never holds more than kMaxLineLength + 1 bytes of any line: a longer line is
// told apart as soon as it passes the bound, and its rest is skipped unread into memory, so a
// line without end (a device, a stream of NUL bytes) costs no more than a line at the bound.
//
// The stream's descriptor is read in blocks of its own, whatever the stream has buffered, so
// nothing else may read the stream while a LineInput does. A read returns what is there, so
// each line is handed over as soon as it has arrived, as from a pipe. A stream without a
// descriptor, such as one in memory, is read through the stream.
class LineInput {
public:
    enum class Status {
        Line,    // Text() holds the next line
        TooLong, // the next line passed the bound; Text() holds only its start
        End,     // nothing more could be read: the end, or a read error (see Error)
    };

    // Reserves room for one line at the bound, which may throw std::bad_alloc.
    explicit LineInput(FILE* in);

    // Reads the next line. After TooLong, the next call first skips the rest of the line that
    // passed the bound.
    Status Next();

    // The line last read, without its terminator.
    const std::string& Text() const { return m_line; }

    // The errno of the read that failed, or 0 when the input ended or has not.
    int Error() const { return m_error; }

private:
    bool Fill();
    bool SkipRest();

    FILE* m_in;
    int m_fd;
    std::unique_ptr<char[]> m_block;
    const char* m_next = nullptr;
    const char* m_end = nullptr;
    std::string m_line;
    bool m_inLongLine = false;
    int m_error = 0;
};
