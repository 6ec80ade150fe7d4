// SPDX-License-Identifier: GPL-3.0-or-later
// Allocation and release of the engine's heap records, and the release of whole lists.
// Every node passes through these functions, so a different allocator needs changes here only.
// With a pool, released nodes are kept as spares and handed out again before the heap is
// asked; without one (null), each node goes straight to and from the heap. Allocation throws
// std::bad_alloc on exhaustion; Calculate turns that into a failed line.

#include "ExpressionEngine.h"

#if defined(__SANITIZE_ADDRESS__)
#define TARVIN_POISON_SPARES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARVIN_POISON_SPARES 1
#endif
#endif

#if defined(TARVIN_POISON_SPARES)
#include <sanitizer/asan_interface.h>
#endif

namespace {

// Under AddressSanitizer a spare is poisoned while it waits, so a use of a released node is
// still reported although the node was never given back to the heap.
template <typename Node> void PoisonSpare([[maybe_unused]] Node* node) {
#if defined(TARVIN_POISON_SPARES)
    __asan_poison_memory_region(node, sizeof(Node));
#endif
}

template <typename Node> void UnpoisonSpare([[maybe_unused]] Node* node) {
#if defined(TARVIN_POISON_SPARES)
    __asan_unpoison_memory_region(node, sizeof(Node));
#endif
}

// Takes a spare node, or a new one from the heap, and counts it live. A spare keeps what it
// last held; every caller sets each field that is read later.
template <typename Node> Node* TakeNode(NodeStock<Node>& stock) {
    Node* node = stock.spares;
    if (node != nullptr) {
        UnpoisonSpare(node);
        stock.spares = node->next;
        --stock.spareCount;
    } else {
        node = new Node();
    }
    ++stock.live;
    return node;
}

// Keeps the node as a spare while there is room, otherwise gives it back to the heap.
template <typename Node> void GiveNode(Node* node, NodeStock<Node>& stock) {
    --stock.live;
    if (stock.spareCount >= kSpareLimit) {
        delete node;
        return;
    }
    node->next = stock.spares;
    stock.spares = node;
    ++stock.spareCount;
    PoisonSpare(node);
}

template <typename Node> void DeleteSpares(NodeStock<Node>& stock) {
    while (stock.spares != nullptr) {
        Node* node = stock.spares;
        UnpoisonSpare(node);
        stock.spares = node->next;
        delete node;
    }
    stock.spareCount = 0;
}

NodeStock<TokenNode>& StockOf(NodePool& pool, const TokenNode*) {
    return pool.tokens;
}

NodeStock<VariableNode>& StockOf(NodePool& pool, const VariableNode*) {
    return pool.variables;
}

NodeStock<StackEntry>& StockOf(NodePool& pool, const StackEntry*) {
    return pool.entries;
}

} // namespace

template <typename Node> Node* ExpressionEngine::NewNode(NodePool* pool) {
    if (pool == nullptr)
        return new Node();
    return TakeNode(StockOf(*pool, static_cast<const Node*>(nullptr)));
}

template <typename Node> void ExpressionEngine::ReleaseNode(Node* node, NodePool* pool) {
    if (pool == nullptr)
        delete node;
    else
        GiveNode(node, StockOf(*pool, node));
}

// Releases every node from head along the next links and leaves head null.
template <typename Node> void ExpressionEngine::ReleaseList(Node*& head, NodePool* pool) {
    while (head != nullptr) {
        Node* node = head;
        head = node->next;
        ReleaseNode(node, pool);
    }
}

template TokenNode* ExpressionEngine::NewNode<TokenNode>(NodePool*);
template VariableNode* ExpressionEngine::NewNode<VariableNode>(NodePool*);
template StackEntry* ExpressionEngine::NewNode<StackEntry>(NodePool*);
template void ExpressionEngine::ReleaseNode<TokenNode>(TokenNode*, NodePool*);
template void ExpressionEngine::ReleaseNode<VariableNode>(VariableNode*, NodePool*);
template void ExpressionEngine::ReleaseNode<StackEntry>(StackEntry*, NodePool*);

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
