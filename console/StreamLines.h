// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "ConsoleSession.h"

// Runs every line of an open stream through the session, with the line
// terminator (LF, or CR LF) removed. Returns false once a quit command was
// read. A read error is reported under name and noted in the session.
bool RunStream(FILE* in, const char* name, ConsoleSession& session);

// Runs the named input: the file, or standard input for "-". A file that
// cannot be opened is reported and noted, and reading goes on with the next.
bool RunInput(const std::string& name, ConsoleSession& session);

// Runs each statement given on the command line as a line of input named kStatementOrigin,
// numbered from 1. Returns false once a quit command was run.
bool RunStatements(const std::vector<std::string>& statements, ConsoleSession& session);
