// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
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

// The folder for state files: $XDG_STATE_HOME when it is an absolute path, else
// $HOME/.local/state; empty when neither is known.
std::string StateFolder() {
    const char* state = std::getenv(kStateVariable);
    if (state != nullptr && state[0] == '/')
        return state;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
        return std::string();
    return std::string(home) + kDefaultStateFolder;
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
bool WriteLines(FILE* out, const std::deque<std::string>& lines) {
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

// Adds the line, the oldest going once the bound is reached.
void KeepLine(std::deque<std::string>& lines, const std::string& line) {
    lines.push_back(line);
    if (lines.size() > kHistoryLimit)
        lines.pop_front();
}

// Reads every line of in into lines, skipping those over the line bound; false with errno set
// when the file could not be read to its end. skipped counts the lines left out.
bool ReadLines(FILE* in, std::deque<std::string>& lines, long& skipped) {
    LineInput input(in);
    for (LineInput::Status status; (status = input.Next()) != LineInput::Status::End;) {
        if (status == LineInput::Status::TooLong)
            ++skipped;
        else
            KeepLine(lines, input.Text());
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

// Opens the file (made empty when missing) and locks it for this run alone. A run that held
// the lock may have put a new file in its place meanwhile; the lock is then taken again on
// that one, a bounded number of times. Returns the descriptor, or -1 with errno set.
int OpenLocked(const std::string& path) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        const int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, kFileMode);
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

// The lines the locked file holds now, with those of this run after them.
bool MergedLines(int fd, const HistoryFile& history, std::deque<std::string>& lines) {
    const int copy = dup(fd);
    FILE* in = copy >= 0 ? fdopen(copy, "r") : nullptr;
    if (in == nullptr) {
        if (copy >= 0)
            close(copy);
        return false;
    }
    long skipped = 0;
    const bool read = ReadLines(in, lines, skipped);
    const int error = errno;
    std::fclose(in);
    errno = error;
    for (const std::string& line : history.added)
        KeepLine(lines, line);
    return read;
}

// Writes lines into a new file beside target, which then takes target's place.
bool ReplaceFile(const std::string& target, const std::deque<std::string>& lines) {
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

// Writes the history while fd holds the lock on it; the reason it was not, or null.
const char* WriteLocked(int fd, const HistoryFile& history) {
    struct stat status {};
    if (fstat(fd, &status) != 0)
        return std::strerror(errno);
    if (const char* reason = NotAFileReason(status))
        return reason;
    if ((status.st_mode & S_IWUSR) == 0)
        return kReadOnly;
    std::deque<std::string> lines;
    if (!MergedLines(fd, history, lines))
        return std::strerror(errno);
    // Through a symbolic link to the file it names, which keeps the link in place.
    const std::unique_ptr<char, PathFree> target(realpath(history.path.c_str(), nullptr));
    if (!target || !ReplaceFile(target.get(), lines))
        return std::strerror(errno);
    return nullptr;
}

} // namespace

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
    FILE* in = std::fopen(history.path.c_str(), "r");
    if (in == nullptr) {
        if (errno != ENOENT) {
            Warn(history.path, "not read", std::strerror(errno));
            history.unreadable = true;
        }
        return;
    }
    struct stat status {};
    const char* notAFile = fstat(fileno(in), &status) != 0 ? kNotAFile : NotAFileReason(status);
    long skipped = 0;
    if (notAFile != nullptr) {
        Warn(history.path, "not read", notAFile);
        history.unreadable = true;
    } else if (!ReadLines(in, history.lines, skipped)) {
        Warn(history.path, "not read", std::strerror(errno));
        history.unreadable = true;
        history.lines.clear();
    } else if (skipped > 0) {
        Warn(history.path, "lines skipped", LineTooLongReason().c_str());
    }
    std::fclose(in);
}

void RememberLine(HistoryFile& history, const std::string& line) {
    KeepLine(history.lines, line);
    KeepLine(history.added, line);
}

void SaveHistory(const HistoryFile& history) {
    if (history.path.empty() || history.unreadable || history.added.empty())
        return;
    if (history.defaultFolder && !MakeFolders(FolderOf(history.path))) {
        Warn(history.path, "not written", std::strerror(errno));
        return;
    }
    const int fd = OpenLocked(history.path);
    const char* failure = fd < 0 ? std::strerror(errno) : WriteLocked(fd, history);
    if (failure != nullptr)
        Warn(history.path, "not written", failure);
    // Closing the file releases the lock, after the new file took its place.
    if (fd >= 0)
        close(fd);
}
