// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConsoleSession.h"

// Reads lines from the terminal with line editing and in-memory history
// (Up and Down recall earlier lines) after the prompt ">", until end of
// input (Ctrl+D) or a quit command. Nothing is written to disk.
void RunInteractive(ConsoleSession& session);
