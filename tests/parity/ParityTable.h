// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <vector>

// One case of the table that both programs run: the lines entered in order on an
// empty memory, and the result text that the last of them must show.
struct ParityCase {
    std::string name;
    std::vector<std::string> lines;
    std::string result;
    // Why the row cannot be used, or empty for a sound row.
    std::string problem;
};

// Reads the table file: one case a line, fields separated by TAB (name, input
// lines, result); lines starting with "#" are comments. A row that cannot serve
// as a case is kept with its problem noted, so the test of that row fails; a file
// that cannot be read gives one such row.
std::vector<ParityCase> LoadParityTable(const std::string& path);

// The table that the build names for the drivers.
const std::vector<ParityCase>& ParityTable();

void PrintTo(const ParityCase& row, std::ostream* out);
