// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <string>

// The lines of interactive runs, kept from one run to the next in a plain text file, one line
// a line, oldest first, bounded to kHistoryLimit lines and kHistoryBytes bytes, each line
// counted with its line end.
constexpr size_t kHistoryLimit = 1000;
constexpr size_t kHistoryBytes = size_t{4} << 20;

// Lines, oldest first, within both bounds of the history: the oldest go when a line added
// would pass either.
class HistoryLines {
public:
    using const_iterator = std::deque<std::string>::const_iterator;

    void Add(const std::string& line);
    void Clear();
    bool Empty() const { return m_lines.empty(); }
    const_iterator begin() const { return m_lines.begin(); }
    const_iterator end() const { return m_lines.end(); }

private:
    std::deque<std::string> m_lines;
    size_t m_bytes = 0;
};

struct HistoryFile {
    // Where the lines are kept; empty when the history is to be left alone.
    std::string path;
    // True when the folder of the file is the default one and is made when missing.
    bool defaultFolder = false;
    // True when the file exists but could not be read: it is then never written over.
    bool unreadable = false;
    // The lines read at the start, the oldest first.
    HistoryLines lines;
    // The lines typed in this run, the oldest first; a run that typed none leaves the file alone.
    HistoryLines added;
};

// The file named by TARVIN_HISTORY (no file when it is set but empty), else
// $XDG_STATE_HOME/tarvin/history, else ~/.local/state/tarvin/history; a relative
// XDG_STATE_HOME or HOME counts as unset.
HistoryFile LocateHistory();

// Reads the lines kept by earlier runs: of a longer file, only the lines within its last
// kHistoryBytes. A missing file is an empty history; anything but a regular file (opened
// without waiting, as a FIFO would have it), and any other failure, memory included, is a
// warning on standard error, and the run goes on with an empty history that is not saved, so
// lines the file may still hold are not lost. Lines over kMaxLineLength are skipped, with one
// warning for them all.
void LoadHistory(HistoryFile& history);

// Notes a line typed in this run; the oldest lines go once a bound is reached. A line that
// memory cannot be found for is left out.
void RememberLine(HistoryFile& history, const std::string& line);

// Adds the lines typed in this run, when there are any, to the lines the file holds now (read
// as LoadHistory reads them), so that runs sharing the file lose none of each other's lines,
// and keeps what fits the bounds, the newest lines. The file is locked from reading to
// replacing, and written as a new file of mode 0600 beside it that then takes its place, so an
// interrupted write never leaves half a history. A symbolic link is followed and its target
// written; anything but a regular file, and a file without write permission for its owner, is
// left alone. The default folder is made with mode 0700 when missing. A failure, memory
// included, is a warning on standard error, never an error of the run.
void SaveHistory(const HistoryFile& history);
