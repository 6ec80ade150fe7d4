// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A full check of a variable index against its list, for tests and fuzz targets: it walks
// everything, so the engine itself never calls it.

#include "VariableIndex.h"

// Null when the index holds exactly the nodes of the list from head: each found by its name
// at its own node, placed after its predecessor in the list, the blocks in the list's order
// and nothing else in either structure; otherwise what disagrees.
const char* IndexDisagreement(const VariableIndex& index, const VariableNode* head);
