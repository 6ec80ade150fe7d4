// SPDX-License-Identifier: GPL-3.0-or-later
#include "VariableIndexCheck.h"

namespace {

long OccupiedSlots(const VariableIndex& index) {
    long occupied = 0;
    for (std::size_t slot = 0; slot < index.slotCount; ++slot)
        occupied += index.hashSlots[slot].node != nullptr ? 1 : 0;
    return occupied;
}

// The blocks hold the list's nodes in the list's order, and each block's first entry is
// copied into its reference.
const char* OrderDisagreement(const VariableIndex& index, const VariableNode* head) {
    const VariableNode* node = head;
    for (const BlockReference& reference : index.blocks) {
        const OrderBlock& block = *reference.block;
        if (reference.count <= 0 || reference.count > kOrderBlockCapacity ||
            reference.first.node != block.entries[0].node ||
            reference.first.prefix != block.entries[0].prefix)
            return "a block's count is out of range or its reference does not copy its first entry";
        for (int position = 0; position < reference.count; ++position, node = node->next) {
            if (node == nullptr || block.entries[position].node != node)
                return "the blocks do not hold the list's nodes in the list's order";
            if (block.entries[position].prefix != NamePrefix(node->name))
                return "an entry's prefix is not its name's";
        }
    }
    return node == nullptr ? nullptr : "the list holds nodes that the blocks do not";
}

} // namespace

const char* IndexDisagreement(const VariableIndex& index, const VariableNode* head) {
    long length = 0;
    const VariableNode* previous = nullptr;
    for (const VariableNode* node = head; node != nullptr; previous = node, node = node->next) {
        ++length;
        if (IndexFind(index, node->name) != node)
            return "a listed name is not found at its own node";
        VariableNode* before = nullptr;
        VariableNode* after = nullptr;
        IndexPlace(index, node->name, before, after);
        if (before != previous || after != node)
            return "a listed name is not placed between its neighbours in the list";
    }
    if (index.count != length || OccupiedSlots(index) != length)
        return "the index holds more or fewer names than the list";
    return OrderDisagreement(index, head);
}
