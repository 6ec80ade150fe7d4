// SPDX-License-Identifier: GPL-3.0-or-later
// The release of whole lists and of the spares; the single nodes are taken and released by
// the inline functions of NodeAllocation.h.

#include "NodeAllocation.h"

namespace {

// How many nodes ahead of the one being released are fetched.
constexpr int kFetchAhead = 8;

template <typename Node> void DeleteSpares(NodeStock<Node>& stock) {
    while (stock.spares != nullptr) {
        Node* node = stock.spares;
        node_allocation::UnpoisonSpare(node);
        stock.spares = node->next;
        delete node;
    }
    stock.spareCount = 0;
}

} // namespace

// Gives every spare node back to the heap; the live counts are left as they are.
void ExpressionEngine::FreeSpares(NodePool& pool) {
    DeleteSpares(pool.tokens);
    DeleteSpares(pool.variables);
    DeleteSpares(pool.entries);
}

void ExpressionEngine::FreeList(TokenNode*& head, NodePool* pool) {
    ReleaseList(head, pool);
}

// The pool's index, when it has one, indexes this list, so it is emptied with it. The nodes are
// released in the order of the index's hash table, one array that names them all, fetching the
// nodes ahead while one is released: a walk of the list learns each address only from the node
// before, and a long list lies scattered over the heap. The blocks in name order go back before
// the nodes and the table after them, because the heap merges all the small blocks it holds
// free when a large one comes back, and after a million nodes that merging costs more than
// releasing them.
void ExpressionEngine::FreeList(VariableNode*& head, NodePool* pool) {
    VariableIndex* index = pool != nullptr ? pool->index : nullptr;
    if (index == nullptr || index->blocks.empty() || index->blocks.front().first.node != head) {
        ReleaseList(head, pool);
        if (index != nullptr)
            ClearIndex(*index);
        return;
    }
    ReleaseOrder(*index);
    const HashSlot* slots = index->hashSlots;
    const std::size_t count = index->slotCount;
    for (std::size_t slot = 0; slot < count; ++slot) {
        if (slot + kFetchAhead < count && slots[slot + kFetchAhead].node != nullptr)
            __builtin_prefetch(slots[slot + kFetchAhead].node);
        if (slots[slot].node != nullptr)
            ReleaseNode(slots[slot].node, pool);
    }
    head = nullptr;
    ClearIndex(*index);
}

void ExpressionEngine::FreeList(StackEntry*& head, NodePool* pool) {
    ReleaseList(head, pool);
}
