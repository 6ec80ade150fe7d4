// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <string>

// The lines of interactive runs, kept from one run to the next in a plain text file, one line
// a line, oldest first, bounded to kHistoryLimit lines.
constexpr size_t kHistoryLimit = 1000;

struct HistoryFile {
    // Where the lines are kept; empty when the history is to be left alone.
    std::string path;
    // True when the folder of the file is the default one and is made when missing.
    bool defaultFolder = false;
    // True when the file exists but could not be read: it is then never written over.
    bool unreadable = false;
    // The lines read at the start and typed since, the oldest first.
    std::deque<std::string> lines;
    // The lines typed in this run, the oldest first; a run that typed none leaves the file alone.
    std::deque<std::string> added;
};

// The file named by TARVIN_HISTORY (no file when it is set but empty), else
// $XDG_STATE_HOME/tarvin/history, else ~/.local/state/tarvin/history.
HistoryFile LocateHistory();

// Reads the lines kept by earlier runs. A missing file is an empty history; any other failure
// is a warning on standard error, and the run goes on with an empty history that is not saved,
// so lines the file may still hold are not lost. Lines over kMaxLineLength are skipped, with
// one warning for them all.
void LoadHistory(HistoryFile& history);

// Notes a line typed in this run; the oldest line goes once the bound is reached.
void RememberLine(HistoryFile& history, const std::string& line);

// Adds the lines typed in this run, when there are any, to the lines the file holds now, so
// that runs sharing the file lose none of each other's lines, and keeps the last kHistoryLimit.
// The file is locked from reading to replacing, and written as a new file of mode 0600 beside
// it that then takes its place, so an interrupted write never leaves half a history. A
// symbolic link is followed and its target written; a file without write permission for its
// owner is left alone. The default folder is made with mode 0700 when missing. A failure is a
// warning on standard error, never an error of the run.
void SaveHistory(const HistoryFile& history);
