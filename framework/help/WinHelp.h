// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Commands of a help request.
constexpr unsigned int HELP_CONTEXT = 0x0001; // show the topic whose context is the data
constexpr unsigned int HELP_QUIT = 0x0002;    // close what the help engine opened for the file

// Asks the help engine to carry out a command on a help file, for the owner
// window. A viewer that opens for a topic goes beside the owner's window where
// the screen has room, and never over its single-line text fields, where its
// user types and reads. Returns false when the help engine cannot be started.
bool WinHelp(QWidget* owner, const char* helpFile, unsigned int command, unsigned long data);
