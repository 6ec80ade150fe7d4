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

} // namespace

bool ExpressionEngine::FindVariable(const char* name, VariableNode*& cursor) {
    while (cursor != nullptr) {
        // strcmp compares the bytes as unsigned values: the name order.
        const int order = std::strcmp(cursor->name, name);
        if (order == 0)
            return true;
        if (order > 0)
            return false;
        cursor = cursor->next;
    }
    return false;
}

// Links a new variable immediately before `before` (null: at the end). A name too long for
// the name field is refused, so that two long names are never merged into one variable.
void ExpressionEngine::InsertVariable(VariableNode*& head, VariableNode* before, const char* name,
                                      double value) {
    const std::size_t length = std::strlen(name);
    if (length > MAX_NAME_LENGTH)
        return;
    VariableNode* node = NewVariableNode();
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

void ExpressionEngine::SetVariable(VariableNode*& head, const char* name, double value) {
    VariableNode* cursor = head;
    if (FindVariable(name, cursor))
        cursor->value = value;
    else
        InsertVariable(head, cursor, name, value);
}

double ExpressionEngine::GetVariable(const char* name, VariableNode*& head) {
    VariableNode* cursor = head;
    if (FindVariable(name, cursor))
        return cursor->value;
    InsertVariable(head, cursor, name, 0.0);
    return 0.0;
}

// Unlinks and releases the variable of that name, if there is one. Only used to undo the
// variables that a failed line created.
void ExpressionEngine::RemoveVariable(VariableNode*& head, const char* name) {
    VariableNode** link = &head;
    while (*link != nullptr && std::strcmp((*link)->name, name) < 0)
        link = &(*link)->next;
    if (*link == nullptr || std::strcmp((*link)->name, name) != 0)
        return;
    VariableNode* node = *link;
    *link = node->next;
    ReleaseVariableNode(node);
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
