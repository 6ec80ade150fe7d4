// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The nodes one engine keeps for reuse, the count of its nodes in use, and the variables
// created by the line being run.

#include "EngineRecords.h"
#include "TokenModel.h"

#include <vector>

struct VariableIndex;

// Most released nodes of each kind that a pool keeps; beyond it they go back to the heap, so
// a single long line does not hold its memory for the life of the engine.
constexpr int kSpareLimit = 256;

// The spares of one kind of node, chained through the nodes' own next links, their count,
// and the count of nodes of that kind in use.
template <typename Node> struct NodeStock {
    Node* spares = nullptr;
    int spareCount = 0;
    long live = 0;
};

// Each node, whether taken from the heap or from the spares, is a separate heap block made by
// new, so a node may be released with or without a pool. The live counts rise at every node
// taken and fall at every node released with the pool, so after a line only the variables
// are live.
struct NodePool {
    NodeStock<TokenNode> tokens;
    NodeStock<VariableNode> variables;
    NodeStock<StackEntry> entries;
    // Variables that InsertVariable created since Calculate began the line; a null slot is
    // one whose allocation failed. Its capacity stays from line to line.
    std::vector<VariableNode*> createdVariables;
    // The index of the engine's variable list, when the pool belongs to an engine; the
    // variable operations keep it exact and find through it instead of walking the list.
    VariableIndex* index = nullptr;
};
