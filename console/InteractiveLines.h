// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConsoleSession.h"

// Reads lines from the terminal after the prompt ">", until end of input (Ctrl+D) or a quit
// command, with line editing, Tab completion of the calculator's names, and a history that Up
// and Down recall: the lines of earlier runs from the history file, then those of this run,
// which are written back to the file at the end. Ctrl+C (SIGINT) discards the line being typed
// and prompts afresh; SIGHUP and SIGTERM write the history back, then end the run as the
// signal does.
void RunInteractive(ConsoleSession& session);
