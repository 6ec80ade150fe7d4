// SPDX-License-Identifier: GPL-3.0-or-later
// The variable memory: one singly linked list of variables in strictly ascending name order.

#include "ExpressionEngine.h"
#include "NodeAllocation.h"

#include <charconv>
#include <cstring>

namespace {

// Room for the fixed-point form of any double with six decimals: up to 309 integer digits,
// a sign, the point and the decimals.
constexpr int kValueTextSize = 330;

// Appends "name = value\r\n" with the value in fixed-point notation and six decimals. The
// conversion ignores the process locale, so the point is always ".".
void AppendListingLine(std::string& listing, const VariableNode& node) {
    char value[kValueTextSize];
    const auto converted =
        std::to_chars(value, value + kValueTextSize, node.value, std::chars_format::fixed, 6);
    listing.append(node.name);
    listing.append(" = ");
    listing.append(value, converted.ptr);
    listing.append("\r\n");
}

// The index of the engine's list when the operation was handed the engine's pool.
VariableIndex* IndexOf(NodePool* pool) {
    return pool != nullptr ? pool->index : nullptr;
}

// Links node immediately before `before` (null: at the end). previous is the node that the
// index places before the name, or null; it is used when it does precede `before`.
void LinkBefore(VariableNode*& head, VariableNode* before, VariableNode* node,
                VariableNode* previous) {
    node->next = before;
    if (previous != nullptr && previous->next == before) {
        previous->next = node;
        return;
    }
    if (head == nullptr || head == before) {
        head = node;
        return;
    }
    previous = head;
    while (previous->next != before)
        previous = previous->next;
    previous->next = node;
}

} // namespace

// With an index the place comes from the index, as a walk from the head would find it; without
// one the list is walked from the cursor. Most nodes differ from the name in the first byte,
// which alone then decides the order.
bool ExpressionEngine::FindVariable(const char* name, VariableNode*& cursor,
                                    const VariableIndex* index) {
    if (index != nullptr) {
        if (VariableNode* found = IndexFind(*index, name)) {
            cursor = found;
            return true;
        }
        VariableNode* previous = nullptr;
        IndexPlace(*index, name, previous, cursor);
        return false;
    }
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
// pool and its index. A name too long for the name field is refused, so that two long names
// are never merged into one variable.
void ExpressionEngine::InsertVariable(VariableNode*& head, VariableNode* before, const char* name,
                                      double value, NodePool* pool) {
    const std::size_t length = std::strlen(name);
    if (length > kMaxNameLength)
        return;
    // Everything that may fail comes first, so that a failure leaves nothing to undo: the
    // index's room, then the slot in the record of created variables; a failed node allocation
    // leaves the slot null.
    VariableIndex* index = IndexOf(pool);
    if (index != nullptr)
        ReserveIndex(*index);
    if (pool != nullptr)
        pool->createdVariables.push_back(nullptr);
    VariableNode* node = NewNode<VariableNode>(pool);
    if (pool != nullptr)
        pool->createdVariables.back() = node;
    std::memcpy(node->name, name, length + 1);
    node->value = value;
    VariableNode* previous = nullptr;
    if (index != nullptr) {
        VariableNode* place = nullptr;
        IndexPlace(*index, name, previous, place);
        IndexInsert(*index, node);
    }
    LinkBefore(head, before, node, previous);
}

void ExpressionEngine::SetVariable(VariableNode*& head, const char* name, double value,
                                   NodePool* pool) {
    VariableNode* cursor = head;
    if (FindVariable(name, cursor, IndexOf(pool)))
        cursor->value = value;
    else
        InsertVariable(head, cursor, name, value, pool);
}

double ExpressionEngine::GetVariable(const char* name, VariableNode*& head, NodePool* pool) {
    VariableNode* cursor = head;
    if (FindVariable(name, cursor, IndexOf(pool)))
        return cursor->value;
    InsertVariable(head, cursor, name, 0.0, pool);
    return 0.0;
}

// Unlinks and releases the variable of that name, if there is one. Only used to undo the
// variables that a failed line created.
void ExpressionEngine::RemoveVariable(VariableNode*& head, const char* name, NodePool* pool) {
    VariableNode** link = &head;
    if (VariableIndex* index = IndexOf(pool)) {
        VariableNode* previous = nullptr;
        VariableNode* place = nullptr;
        IndexPlace(*index, name, previous, place);
        if (place == nullptr || CompareNames(place->name, name) != 0)
            return;
        link = previous != nullptr ? &previous->next : &head;
        IndexRemove(*index, place);
    } else {
        while (*link != nullptr && CompareNames((*link)->name, name) < 0)
            link = &(*link)->next;
        if (*link == nullptr || CompareNames((*link)->name, name) != 0)
            return;
    }
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
