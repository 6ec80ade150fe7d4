// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Records of the variable memory and of the evaluation stack, and the line reader's outcome.

// Longest variable name, and the name field that holds it with its NUL.
constexpr int kMaxNameLength = 31;
constexpr int kNameSize = kMaxNameLength + 1;

// Outcome of reading one line: a statement, or one of the command words.
enum ReadStatus { RS_QUIT = 0, RS_STATEMENT = 1, RS_HELP = 2, RS_LIST = 3, RS_CLEAR = 4 };

// One variable; the list is kept in strictly ascending byte order of name.
struct VariableNode {
    char name[kNameSize];
    double value;
    VariableNode* next;
};

// One entry of the evaluation stack: a left operand and the operator that follows it.
struct StackEntry {
    double value;
    int code;
    StackEntry* next;
};
