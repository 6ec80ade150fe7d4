// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Allocation and release of the engine's heap records. Every node passes through these
// functions, so a different allocator needs changes here only. With a pool, released nodes
// are kept as spares and handed out again before the heap is asked; without one (null), each
// node goes straight to and from the heap. Allocation throws std::bad_alloc on exhaustion;
// Calculate turns that into a failed line. They are defined here, in a header of the engine's
// own, so that the stages that take and release a node for every token and operand have them
// inline.

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

namespace node_allocation {

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

inline NodeStock<TokenNode>& StockOf(NodePool& pool, const TokenNode*) {
    return pool.tokens;
}

inline NodeStock<VariableNode>& StockOf(NodePool& pool, const VariableNode*) {
    return pool.variables;
}

inline NodeStock<StackEntry>& StockOf(NodePool& pool, const StackEntry*) {
    return pool.entries;
}

} // namespace node_allocation

template <typename Node> Node* ExpressionEngine::NewNode(NodePool* pool) {
    if (pool == nullptr)
        return new Node();
    return node_allocation::TakeNode(
        node_allocation::StockOf(*pool, static_cast<const Node*>(nullptr)));
}

template <typename Node> void ExpressionEngine::ReleaseNode(Node* node, NodePool* pool) {
    if (pool == nullptr)
        delete node;
    else
        node_allocation::GiveNode(node, node_allocation::StockOf(*pool, node));
}

// Releases every node from head along the next links and leaves head null.
template <typename Node> void ExpressionEngine::ReleaseList(Node*& head, NodePool* pool) {
    while (head != nullptr) {
        Node* node = head;
        head = node->next;
        ReleaseNode(node, pool);
    }
}
