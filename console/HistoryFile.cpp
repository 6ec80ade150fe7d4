// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ConsoleConstants.h"
#include "LineInput.h"
#include "LinePreparation.h"

namespace {

constexpr const char* kHistoryVariable = "TARVIN_HISTORY";
constexpr const char* kStateVariable = "XDG_STATE_HOME";
constexpr const char* kDefaultStateFolder = "/.local/state";
constexpr const char* kHistoryFolder = "/tarvin";
constexpr const char* kHistoryName = "/history";
constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
// Times the lock is taken again on a file that another run replaced meanwhile.
constexpr int kLockAttempts = 100;
constexpr const char* kNotAFile = "not a regular file";
constexpr const char* kReadOnly = "the file is read-only";

void Warn(const std::string& path, const char* doing, const char* reason) {
    std::fprintf(stderr, "%s: history %s: %s: %s\n", kProgramName, path.c_str(), doing, reason);
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// The folder a variable names, when it names one by an absolute path: a relative one would
// depend on the folder the program happens to start in.
const char* AbsoluteFolder(const char* variable) {
    const char* folder = std::getenv(variable);
    return folder != nullptr && folder[0] == '/' ? folder : nullptr;
}

// The folder for state files: $XDG_STATE_HOME, else $HOME/.local/state; empty when neither is
// known.
std::string StateFolder() {
    if (const char* state = AbsoluteFolder(kStateVariable))
        return state;
    if (const char* home = AbsoluteFolder("HOME"))
        return std::string(home) + kDefaultStateFolder;
    return std::string();
}

// Makes the folder and any missing folder above it with kFolderMode; false with errno set.
bool MakeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), kFolderMode) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes every line and closes the stream; false with errno set when any of it failed.
bool WriteLines(FILE* out, const HistoryLines& lines) {
    bool written = true;
    for (const std::string& line : lines)
        written = written && std::fwrite(line.data(), 1, line.size(), out) == line.size() &&
                  std::fputc('\n', out) != EOF;
    const int error = errno;
    const bool closed = std::fclose(out) == 0;
    if (!written)
        errno = error;
    return written && closed;
}

// Reads every line of in into lines, skipping those over the line bound, and the first line
// too when the reading starts within it; false with errno set when the file could not be read
// to its end. skipped counts the lines left out for their length.
bool ReadLines(FILE* in, HistoryLines& lines, long& skipped, bool startsWithin) {
    LineInput input(in);
    for (LineInput::Status status; (status = input.Next()) != LineInput::Status::End;) {
        if (startsWithin)
            startsWithin = false;
        else if (status == LineInput::Status::TooLong)
            ++skipped;
        else
            lines.Add(input.Text());
    }
    errno = input.Error();
    return errno == 0;
}

// Anything but a regular file (a device may never end) is left unread and unwritten; the
// reason, or null for a regular file.
const char* NotAFileReason(const struct stat& status) {
    if (S_ISREG(status.st_mode))
        return nullptr;
    return S_ISDIR(status.st_mode) ? std::strerror(EISDIR) : kNotAFile;
}

// Reads the lines of the history file open on fd, which stays open, as LoadHistory tells. A file
// over kHistoryBytes is read from the byte before its last kHistoryBytes on: the line that byte
// ends, or lies in, is dropped, so what is kept began within them. The reason the file was not
// read, or null.
const char* ReadHistory(int fd, HistoryLines& lines, long& skipped) {
    struct stat status {};
    if (fstat(fd, &status) != 0)
        return std::strerror(errno);
    if (const char* reason = NotAFileReason(status))
        return reason;
    const bool tail = static_cast<size_t>(status.st_size) > kHistoryBytes;
    if (tail && lseek(fd, status.st_size - static_cast<off_t>(kHistoryBytes) - 1, SEEK_SET) < 0)
        return std::strerror(errno);
    const int copy = dup(fd);
    const FileHandle in(copy >= 0 ? fdopen(copy, "r") : nullptr);
    if (!in) {
        const int error = errno;
        if (copy >= 0)
            close(copy);
        return std::strerror(error);
    }
    return ReadLines(in.get(), lines, skipped, tail) ? nullptr : std::strerror(errno);
}

// Opens the file (made empty when missing) and locks it for this run alone. A run that held
// the lock may have put a new file in its place meanwhile; the lock is then taken again on
// that one, a bounded number of times. Returns the descriptor, or -1 with errno set.
int OpenLocked(const std::string& path) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        const int fd =
            open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, kFileMode);
        if (fd < 0)
            return -1;
        struct stat held {
        }, named{};
        if (flock(fd, LOCK_EX) != 0 || fstat(fd, &held) != 0) {
            const int error = errno;
            close(fd);
            errno = error;
            return -1;
        }
        if (stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino)
            return fd;
        close(fd);
    }
    errno = EBUSY;
    return -1;
}

// Writes lines into a new file beside target, which then takes target's place.
bool ReplaceFile(const std::string& target, const HistoryLines& lines) {
    // mkstemp makes the file with mode 0600.
    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    FILE* out = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (out == nullptr) {
        const int error = errno;
        if (fd >= 0) {
            close(fd);
            unlink(temporary.c_str());
        }
        errno = error;
        return false;
    }
    if (!WriteLines(out, lines) || std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        errno = error;
        return false;
    }
    return true;
}

struct PathFree {
    void operator()(char* path) const { std::free(path); }
};

// Writes the history while fd holds the lock on it: the lines the file holds now, with those of
// this run after them. The reason it was not written, or null.
const char* WriteLocked(int fd, const HistoryFile& history) {
    struct stat status {};
    if (fstat(fd, &status) != 0)
        return std::strerror(errno);
    if (S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0)
        return kReadOnly;
    HistoryLines lines;
    long skipped = 0;
    if (const char* reason = ReadHistory(fd, lines, skipped))
        return reason;
    for (const std::string& line : history.added)
        lines.Add(line);
    // Through a symbolic link to the file it names, which keeps the link in place.
    const std::unique_ptr<char, PathFree> target(realpath(history.path.c_str(), nullptr));
    if (!target || !ReplaceFile(target.get(), lines))
        return std::strerror(errno);
    return nullptr;
}

} // namespace

void HistoryLines::Add(const std::string& line) {
    m_lines.push_back(line);
    m_bytes += line.size() + 1;
    while (m_lines.size() > kHistoryLimit || m_bytes > kHistoryBytes) {
        m_bytes -= m_lines.front().size() + 1;
        m_lines.pop_front();
    }
}

void HistoryLines::Clear() {
    m_lines.clear();
    m_bytes = 0;
}

HistoryFile LocateHistory() {
    HistoryFile history;
    const char* named = std::getenv(kHistoryVariable);
    if (named != nullptr) {
        history.path = named;
        return history;
    }
    const std::string state = StateFolder();
    if (!state.empty()) {
        history.path = state + kHistoryFolder + kHistoryName;
        history.defaultFolder = true;
    }
    return history;
}

void LoadHistory(HistoryFile& history) {
    if (history.path.empty())
        return;
    // Without waiting: opening a FIFO would wait for a writer.
    const int fd = open(history.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno != ENOENT) {
            Warn(history.path, "not read", std::strerror(errno));
            history.unreadable = true;
        }
        return;
    }
    long skipped = 0;
    const char* failure = nullptr;
    try {
        failure = ReadHistory(fd, history.lines, skipped);
    } catch (const std::bad_alloc&) {
        failure = std::strerror(ENOMEM);
    }
    close(fd);
    if (failure != nullptr) {
        Warn(history.path, "not read", failure);
        history.unreadable = true;
        history.lines.Clear();
    } else if (skipped > 0) {
        Warn(history.path, "lines skipped", LineTooLongReason().c_str());
    }
}

void RememberLine(HistoryFile& history, const std::string& line) {
    try {
        history.added.Add(line);
    } catch (const std::bad_alloc&) {
    }
}

void SaveHistory(const HistoryFile& history) {
    if (history.path.empty() || history.unreadable || history.added.Empty())
        return;
    if (history.defaultFolder && !MakeFolders(FolderOf(history.path))) {
        Warn(history.path, "not written", std::strerror(errno));
        return;
    }
    const int fd = OpenLocked(history.path);
    const char* failure = fd < 0 ? std::strerror(errno) : nullptr;
    try {
        if (fd >= 0)
            failure = WriteLocked(fd, history);
    } catch (const std::bad_alloc&) {
        failure = std::strerror(ENOMEM);
    }
    if (failure != nullptr)
        Warn(history.path, "not written", failure);
    // Closing the file releases the lock, after the new file took its place.
    if (fd >= 0)
        close(fd);
}
