// Allocation and release of the engine's heap records, and the release of whole lists.
// Every node passes through these functions, so a different allocator needs changes here only.
// Allocation throws std::bad_alloc on exhaustion; Calculate turns that into a failed line.

#include "ExpressionEngine.h"

TokenNode* ExpressionEngine::NewTokenNode() {
    return new TokenNode();
}

void ExpressionEngine::ReleaseTokenNode(TokenNode* node) {
    delete node;
}

VariableNode* ExpressionEngine::NewVariableNode() {
    return new VariableNode();
}

void ExpressionEngine::ReleaseVariableNode(VariableNode* node) {
    delete node;
}

StackEntry* ExpressionEngine::NewStackEntry() {
    return new StackEntry();
}

void ExpressionEngine::ReleaseStackEntry(StackEntry* entry) {
    delete entry;
}

// Releases every node from head along the next links and leaves head null.
void ExpressionEngine::FreeList(TokenNode*& head) {
    while (head != nullptr) {
        TokenNode* node = head;
        head = node->next;
        ReleaseTokenNode(node);
    }
}

void ExpressionEngine::FreeList(VariableNode*& head) {
    while (head != nullptr) {
        VariableNode* node = head;
        head = node->next;
        ReleaseVariableNode(node);
    }
}

void ExpressionEngine::FreeList(StackEntry*& head) {
    while (head != nullptr) {
        StackEntry* entry = head;
        head = entry->next;
        ReleaseStackEntry(entry);
    }
}
