// SPDX-License-Identifier: GPL-3.0-or-later
#include "ParityTable.h"

#include <fstream>

namespace {

constexpr char kFieldSeparator = '\t';
constexpr char kCommentStart = '#';

std::vector<std::string> SplitFields(const std::string& row) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t end = row.find(kFieldSeparator, start);
        fields.push_back(row.substr(start, end - start));
        if (end == std::string::npos)
            return fields;
        start = end + 1;
    }
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

// Blank input lines are skipped by one program and run by the other, so they
// cannot be part of a shared case.
ParityCase MakeCase(const std::string& row, long number) {
    std::vector<std::string> fields = SplitFields(row);
    ParityCase result;
    result.name = fields.front().empty() ? "row_" + std::to_string(number) : fields.front();
    if (fields.size() < 3) {
        result.problem = "row " + std::to_string(number) + " needs a name, lines and a result";
        return result;
    }
    result.lines.assign(fields.begin() + 1, fields.end() - 1);
    result.result = fields.back();
    for (const std::string& line : result.lines)
        if (IsBlank(line))
            result.problem = "row " + std::to_string(number) + " holds a blank input line";
    return result;
}

} // namespace

std::vector<ParityCase> LoadParityTable(const std::string& path) {
    std::vector<ParityCase> cases;
    std::ifstream file(path);
    if (!file) {
        cases.push_back({"table_is_readable", {}, "", "cannot read " + path});
        return cases;
    }
    std::string row;
    for (long number = 1; std::getline(file, row); ++number)
        if (!row.empty() && row.front() != kCommentStart)
            cases.push_back(MakeCase(row, number));
    return cases;
}

const std::vector<ParityCase>& ParityTable() {
    static const std::vector<ParityCase> table = LoadParityTable(TARVIN_PARITY_TABLE);
    return table;
}

void PrintTo(const ParityCase& row, std::ostream* out) {
    *out << row.name;
}
