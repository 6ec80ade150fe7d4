// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An index of one engine's variable list, so that finding a variable, or the place where a
// new name belongs, does not walk the list. The list stays the order of record; the index
// only points into it, and the variable operations keep the two in step.
//
// Two structures hold one entry per variable:
// - a hash table (open addressing, linear probing) of the nodes by name, for finding a name;
// - the nodes in name order, in blocks of at most kOrderBlockCapacity entries, with the
//   first entry of every block in one array, for finding the neighbours of a name that is
//   not there.
// Each entry carries the first eight bytes of its name as a number that orders as the bytes
// do, so most comparisons read no node. Every allocation is made in ReserveIndex, before the
// list changes; inserting, removing and clearing then allocate nothing and cannot fail.

#include "EngineRecords.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kOrderBlockCapacity = 512;

// One variable in name order: the leading bytes of its name, and its node.
struct IndexEntry {
    std::uint64_t prefix;
    VariableNode* node;
};

struct OrderBlock {
    IndexEntry entries[kOrderBlockCapacity];
};

// A block, its number of entries and a copy of its first entry, so that choosing a block, and
// knowing where a search of it begins, reads no block.
struct BlockReference {
    IndexEntry first;
    OrderBlock* block;
    int count;
};

// One slot of the hash table; an empty slot has a null node.
struct HashSlot {
    std::uint64_t hash;
    VariableNode* node;
};

// What the last search learnt of a name that the index does not hold: the engine asks about a
// new name several times in a row (the line's undo record, the assignment's miss, the
// insertion), and every asking after the first is answered from here instead of searching
// again. It holds while the index is unchanged: its generation is the index's then.
struct MissMemo {
    unsigned long generation = 0;
    std::uint64_t hash = 0;
    char name[kNameSize] = {};
    // The slot where the name's probe met an empty slot, once IndexFind has missed it.
    bool missed = false;
    std::size_t emptySlot = 0;
    // The name's place in the blocks, once IndexPlace has found it.
    bool placed = false;
    std::size_t block = 0;
    int position = 0;
};

struct VariableIndex {
    HashSlot* hashSlots = nullptr;
    std::size_t slotCount = 0; // zero or a power of two
    long count = 0;
    std::vector<BlockReference> blocks;
    // Room for the next split, so that an insertion never allocates.
    OrderBlock* spareBlock = nullptr;
    // Rises at every change of the slots or the blocks.
    unsigned long generation = 1;
    // Filled in by the searches, which are const for their callers.
    mutable MissMemo memo;
};

// The first eight bytes of a name as a number that orders as the bytes do: an entry's prefix.
std::uint64_t NamePrefix(const char* name);
// The name order: bytes compared as unsigned values, a name that ends first sorting first.
int CompareNames(const char* left, const char* right);

// Makes room for one more variable; throws std::bad_alloc, leaving the index as it was.
void ReserveIndex(VariableIndex& index);
// Adds a node whose name the index does not hold; ReserveIndex must have been called since
// the last insertion.
void IndexInsert(VariableIndex& index, VariableNode* node);
// Takes out a node that the index holds.
void IndexRemove(VariableIndex& index, const VariableNode* node);
// Empties the index and gives all its memory back.
void ClearIndex(VariableIndex& index);
// Gives back the blocks in name order only, so that the nodes can then be released through the
// hash table before ClearIndex gives back the rest. Until then only hashSlots may be read.
void ReleaseOrder(VariableIndex& index);

// The node of that name, or null.
VariableNode* IndexFind(const VariableIndex& index, const char* name);
// The neighbours of a name in the order: before is the last node that sorts before it, after
// the first node that does not (the named node itself when the index holds it); null where
// there is none.
void IndexPlace(const VariableIndex& index, const char* name, VariableNode*& before,
                VariableNode*& after);
// For a table larger than the caches hold, starts loading the slot where the name would be
// found, so that the lookups of one line wait for memory together instead of one after another.
// A hint only: it changes nothing, and does nothing for a small table.
void IndexPrefetch(const VariableIndex& index, const char* name);
// True for a table too large for the caches, the only one IndexPrefetch acts on.
bool IndexBeyondCaches(const VariableIndex& index);
// Heap bytes the index holds.
std::size_t IndexBytes(const VariableIndex& index);
