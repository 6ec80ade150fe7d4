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
    // True once a line was typed in this run; a run that typed none leaves the file alone.
    bool changed = false;
    // The lines read at the start and typed since, the oldest first.
    std::deque<std::string> lines;
};

// The file named by TARVIN_HISTORY (no file when it is set but empty), else
// $XDG_STATE_HOME/tarvin/history, else ~/.local/state/tarvin/history.
HistoryFile LocateHistory();

// Reads the lines kept by earlier runs. A missing file is an empty history; any other failure
// is a warning on standard error, and the run goes on with an empty history that is not saved,
// so lines the file may still hold are not lost.
void LoadHistory(HistoryFile& history);

// Notes a line typed in this run; the oldest line goes once the bound is reached.
void RememberLine(HistoryFile& history, const std::string& line);

// Writes the lines back when a line was typed: into a new file of mode 0600 beside the old
// one, which then takes its place, so an interrupted write never leaves half a history. The
// default folder is made with mode 0700 when missing. A failure is a warning on standard
// error, never an error of the run.
void SaveHistory(const HistoryFile& history);
