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
template <typename Node> Node* TakeNode(Node*& spares, int& spareCount, long& live) {
    Node* node = spares;
    if (node != nullptr) {
        UnpoisonSpare(node);
        spares = node->next;
        --spareCount;
    } else {
        node = new Node();
    }
    ++live;
    return node;
}

// Keeps the node as a spare while there is room, otherwise gives it back to the heap.
template <typename Node> void GiveNode(Node* node, Node*& spares, int& spareCount, long& live) {
    --live;
    if (spareCount >= SPARE_LIMIT) {
        delete node;
        return;
    }
    node->next = spares;
    spares = node;
    ++spareCount;
    PoisonSpare(node);
}

template <typename Node> void DeleteAll(Node*& head) {
    while (head != nullptr) {
        Node* node = head;
        UnpoisonSpare(node);
        head = node->next;
        delete node;
    }
}

} // namespace

TokenNode* ExpressionEngine::NewTokenNode(NodePool* pool) {
    if (pool == nullptr)
        return new TokenNode();
    return TakeNode(pool->spareTokens, pool->spareTokenCount, pool->liveTokens);
}

void ExpressionEngine::ReleaseTokenNode(TokenNode* node, NodePool* pool) {
    if (pool == nullptr)
        delete node;
    else
        GiveNode(node, pool->spareTokens, pool->spareTokenCount, pool->liveTokens);
}

VariableNode* ExpressionEngine::NewVariableNode(NodePool* pool) {
    if (pool == nullptr)
        return new VariableNode();
    return TakeNode(pool->spareVariables, pool->spareVariableCount, pool->liveVariables);
}

void ExpressionEngine::ReleaseVariableNode(VariableNode* node, NodePool* pool) {
    if (pool == nullptr)
        delete node;
    else
        GiveNode(node, pool->spareVariables, pool->spareVariableCount, pool->liveVariables);
}

StackEntry* ExpressionEngine::NewStackEntry(NodePool* pool) {
    if (pool == nullptr)
        return new StackEntry();
    return TakeNode(pool->spareEntries, pool->spareEntryCount, pool->liveEntries);
}

void ExpressionEngine::ReleaseStackEntry(StackEntry* entry, NodePool* pool) {
    if (pool == nullptr)
        delete entry;
    else
        GiveNode(entry, pool->spareEntries, pool->spareEntryCount, pool->liveEntries);
}

// Gives every spare node back to the heap; the live counts are left as they are.
void ExpressionEngine::FreeSpares(NodePool& pool) {
    DeleteAll(pool.spareTokens);
    DeleteAll(pool.spareVariables);
    DeleteAll(pool.spareEntries);
    pool.spareTokenCount = 0;
    pool.spareVariableCount = 0;
    pool.spareEntryCount = 0;
}

// Releases every node from head along the next links and leaves head null.
void ExpressionEngine::FreeList(TokenNode*& head, NodePool* pool) {
    while (head != nullptr) {
        TokenNode* node = head;
        head = node->next;
        ReleaseTokenNode(node, pool);
    }
}

void ExpressionEngine::FreeList(VariableNode*& head, NodePool* pool) {
    while (head != nullptr) {
        VariableNode* node = head;
        head = node->next;
        ReleaseVariableNode(node, pool);
    }
}

void ExpressionEngine::FreeList(StackEntry*& head, NodePool* pool) {
    while (head != nullptr) {
        StackEntry* entry = head;
        head = entry->next;
        ReleaseStackEntry(entry, pool);
    }
}
