// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "ConsoleConstants.h"

namespace {

constexpr const char* kHistoryVariable = "TARVIN_HISTORY";
constexpr const char* kStateVariable = "XDG_STATE_HOME";
constexpr const char* kDefaultStateFolder = "/.local/state";
constexpr const char* kHistoryFolder = "/tarvin";
constexpr const char* kHistoryName = "/history";
constexpr mode_t kFolderMode = 0700;
constexpr const char* kNotAFile = "not a regular file";

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
void KeepLine(HistoryFile& history, const std::string& line) {
    history.lines.push_back(line);
    if (history.lines.size() > kHistoryLimit)
        history.lines.pop_front();
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
    // Anything but a regular file (a device may never end) is left unread and unwritten.
    struct stat status {};
    if (fstat(fileno(in), &status) != 0 || !S_ISREG(status.st_mode)) {
        Warn(history.path, "not read", S_ISDIR(status.st_mode) ? std::strerror(EISDIR) : kNotAFile);
        history.unreadable = true;
        std::fclose(in);
        return;
    }
    char* data = nullptr;
    size_t capacity = 0;
    ssize_t length;
    while ((length = getline(&data, &capacity, in)) >= 0) {
        if (length > 0 && data[length - 1] == '\n')
            --length;
        KeepLine(history, std::string(data, static_cast<size_t>(length)));
    }
    if (std::ferror(in)) {
        Warn(history.path, "not read", std::strerror(errno));
        history.unreadable = true;
        history.lines.clear();
    }
    std::free(data);
    std::fclose(in);
}

void RememberLine(HistoryFile& history, const std::string& line) {
    KeepLine(history, line);
    history.changed = true;
}

void SaveHistory(const HistoryFile& history) {
    if (history.path.empty() || history.unreadable || !history.changed)
        return;
    if (history.defaultFolder && !MakeFolders(FolderOf(history.path))) {
        Warn(history.path, "not written", std::strerror(errno));
        return;
    }
    // mkstemp makes the file with mode 0600.
    std::string temporary = history.path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    FILE* out = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (out == nullptr) {
        Warn(history.path, "not written", std::strerror(errno));
        if (fd >= 0)
            close(fd);
        return;
    }
    if (!WriteLines(out, history.lines) ||
        std::rename(temporary.c_str(), history.path.c_str()) != 0) {
        Warn(history.path, "not written", std::strerror(errno));
        unlink(temporary.c_str());
    }
}
