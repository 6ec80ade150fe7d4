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
// then released in the order of the index's blocks, which name them side by side, so that the
// nodes ahead are fetched while one is released: a walk of the list learns each address only
// from the node before, and a long list lies scattered over the heap.
void ExpressionEngine::FreeList(VariableNode*& head, NodePool* pool) {
    VariableIndex* index = pool != nullptr ? pool->index : nullptr;
    if (index == nullptr || index->blocks.empty() || index->blocks.front().first.node != head) {
        ReleaseList(head, pool);
        if (index != nullptr)
            ClearIndex(*index);
        return;
    }
    for (const BlockReference& reference : index->blocks) {
        const OrderBlock& block = *reference.block;
        for (int position = 0; position < block.count; ++position) {
            if (position + kFetchAhead < block.count)
                __builtin_prefetch(block.entries[position + kFetchAhead].node);
            ReleaseNode(block.entries[position].node, pool);
        }
    }
    head = nullptr;
    ClearIndex(*index);
}

void ExpressionEngine::FreeList(StackEntry*& head, NodePool* pool) {
    ReleaseList(head, pool);
}
