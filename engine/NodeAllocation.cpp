// SPDX-License-Identifier: GPL-3.0-or-later
// The release of whole lists and of the spares; the single nodes are taken and released by
// the inline functions of NodeAllocation.h.

#include "NodeAllocation.h"

namespace {

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

// The pool's index, when it has one, indexes this list, so it is emptied with it.
void ExpressionEngine::FreeList(VariableNode*& head, NodePool* pool) {
    ReleaseList(head, pool);
    if (pool != nullptr && pool->index != nullptr)
        ClearIndex(*pool->index);
}

void ExpressionEngine::FreeList(StackEntry*& head, NodePool* pool) {
    ReleaseList(head, pool);
}
