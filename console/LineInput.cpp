// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineInput.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "LinePreparation.h"

namespace {

// Bytes asked of the descriptor at a time: many lines a read.
constexpr std::size_t kBlockSize = 64 * 1024;

} // namespace

LineInput::LineInput(FILE* in) : m_in(in), m_fd(fileno(in)), m_block(new char[kBlockSize]) {
    // The bound, and a CR that may stand before the LF.
    m_line.reserve(kMaxLineLength + 1);
}

// Reads the next block; false at the end of the input or on a read error, which is kept. A
// stream without a descriptor (one in memory) is read through the stream itself.
bool LineInput::Fill() {
    if (m_error != 0)
        return false;
    ssize_t got;
    if (m_fd < 0) {
        got = static_cast<ssize_t>(fread_unlocked(m_block.get(), 1, kBlockSize, m_in));
        if (got == 0 && ferror_unlocked(m_in))
            got = -1;
    } else {
        do
            got = read(m_fd, m_block.get(), kBlockSize);
        while (got < 0 && errno == EINTR);
    }
    if (got <= 0) {
        m_error = got < 0 ? (errno != 0 ? errno : EIO) : 0;
        return false;
    }
    m_next = m_block.get();
    m_end = m_next + got;
    return true;
}

// Skips to the end of the line that passed the bound; false when the input ended first.
bool LineInput::SkipRest() {
    for (;;) {
        if (m_next == m_end && !Fill())
            return false;
        const void* feed = std::memchr(m_next, '\n', static_cast<std::size_t>(m_end - m_next));
        if (feed != nullptr) {
            m_next = static_cast<const char*>(feed) + 1;
            return true;
        }
        m_next = m_end;
    }
}

LineInput::Status LineInput::Next() {
    if (m_inLongLine) {
        m_inLongLine = false;
        if (!SkipRest())
            return Status::End;
    }
    m_line.clear();
    if (m_next == m_end && !Fill())
        return Status::End;
    // The bound and one byte more are kept, for a CR that may end the line.
    const std::size_t keep = kMaxLineLength + 1;
    for (;;) {
        const std::size_t available = static_cast<std::size_t>(m_end - m_next);
        const auto* feed = static_cast<const char*>(std::memchr(m_next, '\n', available));
        const std::size_t length =
            feed != nullptr ? static_cast<std::size_t>(feed - m_next) : available;
        const std::size_t room = keep - m_line.size();
        if (length > room) {
            m_line.append(m_next, room);
            m_next += room;
            m_inLongLine = true;
            return Status::TooLong;
        }
        m_line.append(m_next, length);
        if (feed != nullptr) {
            m_next = feed + 1;
            if (!m_line.empty() && m_line.back() == '\r')
                m_line.pop_back();
            break;
        }
        m_next = m_end;
        if (!Fill())
            break;
    }
    return m_line.size() > kMaxLineLength ? Status::TooLong : Status::Line;
}
