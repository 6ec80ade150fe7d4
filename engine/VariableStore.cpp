// SPDX-License-Identifier: GPL-3.0-or-later
// The variable memory: one singly linked list of variables in strictly ascending name order.

#include "ExpressionEngine.h"

#include <charconv>
#include <cstring>

namespace {

// Room for the fixed-point form of any double with six decimals: up to 309 integer digits,
// a sign, the point and the decimals.
constexpr int VALUE_TEXT_SIZE = 330;

// Appends "name = value\r\n" with the value in fixed-point notation and six decimals. The
// conversion ignores the process locale, so the point is always ".".
void AppendListingLine(std::string& listing, const VariableNode& node) {
    char value[VALUE_TEXT_SIZE];
    const auto converted =
        std::to_chars(value, value + VALUE_TEXT_SIZE, node.value, std::chars_format::fixed, 6);
    listing.append(node.name);
    listing.append(" = ");
    listing.append(value, converted.ptr);
    listing.append("\r\n");
}

// The name order: bytes compared as unsigned values, a name that ends first sorting first.
// Written out rather than calling strcmp, as most names are a letter or two and the search
// compares one name per node.
int CompareNames(const char* left, const char* right) {
    const auto* a = reinterpret_cast<const unsigned char*>(left);
    const auto* b = reinterpret_cast<const unsigned char*>(right);
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<int>(*a) - static_cast<int>(*b);
}

} // namespace

// Most nodes differ from the name in the first byte, which alone then decides the order.
bool ExpressionEngine::FindVariable(const char* name, VariableNode*& cursor) {
    const unsigned char first = static_cast<unsigned char>(name[0]);
    while (cursor != nullptr) {
        const unsigned char leading = static_cast<unsigned char>(cursor->name[0]);
        if (leading > first)
            return false;
        if (leading == first) {
            const int order = CompareNames(cursor->name, name);
            if (order == 0)
                return true;
            if (order > 0)
                return false;
        }
        cursor = cursor->next;
    }
    return false;
}

// Links a new variable immediately before `before` (null: at the end) and records it in the
// pool. A name too long for the name field is refused, so that two long names are never
// merged into one variable.
void ExpressionEngine::InsertVariable(VariableNode*& head, VariableNode* before, const char* name,
                                      double value, NodePool* pool) {
    const std::size_t length = std::strlen(name);
    if (length > MAX_NAME_LENGTH)
        return;
    // The slot in the record of created variables comes first, so that a failure to grow the
    // record leaves nothing to undo; a failed allocation leaves the slot null.
    if (pool != nullptr)
        pool->createdVariables.push_back(nullptr);
    VariableNode* node = NewNode<VariableNode>(pool);
    if (pool != nullptr)
        pool->createdVariables.back() = node;
    std::memcpy(node->name, name, length + 1);
    node->value = value;
    node->next = before;
    if (head == nullptr || head == before) {
        head = node;
        return;
    }
    VariableNode* previous = head;
    while (previous->next != before)
        previous = previous->next;
    previous->next = node;
}

void ExpressionEngine::SetVariable(VariableNode*& head, const char* name, double value,
                                   NodePool* pool) {
    VariableNode* cursor = head;
    if (FindVariable(name, cursor))
        cursor->value = value;
    else
        InsertVariable(head, cursor, name, value, pool);
}

double ExpressionEngine::GetVariable(const char* name, VariableNode*& head, NodePool* pool) {
    VariableNode* cursor = head;
    if (FindVariable(name, cursor))
        return cursor->value;
    InsertVariable(head, cursor, name, 0.0, pool);
    return 0.0;
}

// Unlinks and releases the variable of that name, if there is one. Only used to undo the
// variables that a failed line created.
void ExpressionEngine::RemoveVariable(VariableNode*& head, const char* name, NodePool* pool) {
    VariableNode** link = &head;
    while (*link != nullptr && CompareNames((*link)->name, name) < 0)
        link = &(*link)->next;
    if (*link == nullptr || CompareNames((*link)->name, name) != 0)
        return;
    VariableNode* node = *link;
    *link = node->next;
    ReleaseNode(node, pool);
}

// Replaces target's content with one line per variable. The listing is built aside and
// swapped in, so target is left as it was if memory runs out.
void ExpressionEngine::ListVariables(VariableNode* first, std::string* target) {
    if (target == nullptr)
        return;
    std::string listing;
    for (const VariableNode* node = first; node != nullptr; node = node->next)
        AppendListingLine(listing, *node);
    target->swap(listing);
}
