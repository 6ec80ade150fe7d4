// SPDX-License-Identifier: GPL-3.0-or-later
// The index of a variable list: a hash table by name and the names in order, in blocks.

#include "VariableIndex.h"

#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// The hash table grows before it is more than this full (numerator over denominator).
constexpr std::size_t kLoadNumerator = 3;
constexpr std::size_t kLoadDenominator = 4;
constexpr std::size_t kFirstSlotCount = 16;
constexpr std::size_t kFirstBlockRoom = 8;
constexpr int kPrefixBytes = 8;
constexpr std::uint64_t kHashMultiplier = 0x9E3779B97F4A7C15ull;
// A table of at least this many bytes is laid on pages of this size where the system allows,
// since each lookup lands on a page of its own at random.
constexpr std::size_t kLargePageSize = std::size_t{2} << 20;
// A table of at least this many bytes is taken to lie beyond the caches, where looking ahead
// for the slots of a line's names pays for the hashing it costs.
constexpr std::size_t kBeyondCacheBytes = std::size_t{1} << 20;
// The levels of a search in a block whose entries are asked for before it starts.
constexpr int kFetchedLevels = 4;

// A name as the index compares and hashes it: its first eight bytes, the first byte most
// significant and the bytes after the end zero, so that the numbers order as the names do;
// and a hash of all its bytes.
struct NameKey {
    std::uint64_t prefix;
    std::uint64_t hash;
};

// Reads up to eight bytes of a name as one number, most significant first; sets ended when
// the name's NUL lies among them.
std::uint64_t ReadChunk(const char* bytes, bool& ended) {
    std::uint64_t chunk = 0;
    int taken = 0;
    while (taken < kPrefixBytes && bytes[taken] != '\0') {
        chunk = chunk << 8 | static_cast<unsigned char>(bytes[taken]);
        ++taken;
    }
    ended = taken < kPrefixBytes;
    return taken == 0 ? 0 : chunk << 8 * (kPrefixBytes - taken);
}

NameKey KeyOf(const char* name) {
    bool ended = false;
    NameKey key{ReadChunk(name, ended), 0};
    std::uint64_t hash = key.prefix * kHashMultiplier;
    for (const char* rest = name + kPrefixBytes; !ended; rest += kPrefixBytes)
        hash = (hash ^ ReadChunk(rest, ended)) * kHashMultiplier;
    // The bytes of short names sit in the high bits; the final mix spreads them over the low
    // bits, which choose the slot.
    hash ^= hash >> 32;
    hash *= kHashMultiplier;
    key.hash = hash ^ hash >> 29;
    return key;
}

// The order of an entry against a name: negative when the entry sorts first.
int CompareEntry(const IndexEntry& entry, const NameKey& key, const char* name) {
    if (entry.prefix != key.prefix)
        return entry.prefix < key.prefix ? -1 : 1;
    // Equal prefixes with a zero last byte: both names end within them, so they are equal.
    if ((key.prefix & 0xFF) == 0)
        return 0;
    return CompareNames(entry.node->name + kPrefixBytes, name + kPrefixBytes);
}

// ---- what the last miss learnt ----------------------------------------------------------------

// The memo of this name while it still holds, or null.
MissMemo* MemoOf(const VariableIndex& index, const NameKey& key, const char* name) {
    MissMemo& memo = index.memo;
    if (memo.generation != index.generation || memo.hash != key.hash ||
        CompareNames(memo.name, name) != 0)
        return nullptr;
    return &memo;
}

// The memo of this name, started afresh unless it holds; null for a name too long to keep.
MissMemo* MemoFor(const VariableIndex& index, const NameKey& key, const char* name) {
    if (MissMemo* memo = MemoOf(index, key, name))
        return memo;
    const std::size_t length = std::strlen(name);
    if (length > kMaxNameLength)
        return nullptr;
    MissMemo& memo = index.memo;
    memo.generation = index.generation;
    memo.hash = key.hash;
    std::memcpy(memo.name, name, length + 1);
    memo.missed = false;
    memo.placed = false;
    return &memo;
}

// ---- the hash table -------------------------------------------------------------------------

std::size_t HomeSlot(const VariableIndex& index, std::uint64_t hash) {
    return static_cast<std::size_t>(hash) & (index.slotCount - 1);
}

std::size_t NextSlot(const VariableIndex& index, std::size_t slot) {
    return (slot + 1) & (index.slotCount - 1);
}

void PutInSlots(VariableIndex& index, std::uint64_t hash, VariableNode* node) {
    std::size_t slot = HomeSlot(index, hash);
    while (index.hashSlots[slot].node != nullptr)
        slot = NextSlot(index, slot);
    index.hashSlots[slot] = HashSlot{hash, node};
}

// An empty table; throws std::bad_alloc. A large one is aligned to a large page and the
// system is asked to back it with large pages, which spares a page-table walk per lookup.
HashSlot* NewSlots(std::size_t count) {
    const std::size_t bytes = count * sizeof(HashSlot);
    if (bytes < kLargePageSize)
        return new HashSlot[count]();
    void* memory = ::operator new (bytes, std::align_val_t{kLargePageSize});
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    std::memset(memory, 0, bytes);
    return static_cast<HashSlot*>(memory);
}

void DeleteSlots(HashSlot* slots, std::size_t count) {
    if (count * sizeof(HashSlot) < kLargePageSize)
        delete[] slots;
    else
        ::operator delete (slots, std::align_val_t{kLargePageSize});
}

// Moves every entry into a table of twice the size; only the allocation may fail, before
// anything changes.
void GrowSlots(VariableIndex& index) {
    const std::size_t newCount = index.slotCount == 0 ? kFirstSlotCount : 2 * index.slotCount;
    HashSlot* newSlots = NewSlots(newCount);
    HashSlot* oldSlots = index.hashSlots;
    const std::size_t oldCount = index.slotCount;
    index.hashSlots = newSlots;
    index.slotCount = newCount;
    ++index.generation;
    for (std::size_t slot = 0; slot < oldCount; ++slot)
        if (oldSlots[slot].node != nullptr)
            PutInSlots(index, oldSlots[slot].hash, oldSlots[slot].node);
    DeleteSlots(oldSlots, oldCount);
}

// True when the entry whose home is `home` may move from `from` back to the hole at `hole`:
// its home does not lie cyclically in (hole, from].
bool MayFillHole(std::size_t home, std::size_t hole, std::size_t from) {
    if (hole <= from)
        return home <= hole || home > from;
    return home <= hole && home > from;
}

// Empties the slot of a node and moves the entries after it back, so that every entry stays
// reachable from its home slot without markers for removed entries.
void TakeFromSlots(VariableIndex& index, const VariableNode* node, std::uint64_t hash) {
    std::size_t hole = HomeSlot(index, hash);
    while (index.hashSlots[hole].node != node)
        hole = NextSlot(index, hole);
    for (std::size_t from = NextSlot(index, hole); index.hashSlots[from].node != nullptr;
         from = NextSlot(index, from)) {
        if (MayFillHole(HomeSlot(index, index.hashSlots[from].hash), hole, from)) {
            index.hashSlots[hole] = index.hashSlots[from];
            hole = from;
        }
    }
    index.hashSlots[hole] = HashSlot{0, nullptr};
}

// ---- the blocks in name order ---------------------------------------------------------------

// The block where the name's place is: the last block whose first entry does not sort after
// the name, or the first block. There is at least one block.
std::size_t BlockOf(const VariableIndex& index, const NameKey& key, const char* name) {
    std::size_t low = 0;
    std::size_t high = index.blocks.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (CompareEntry(index.blocks[middle].first, key, name) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low == 0 ? 0 : low - 1;
}

// Asks for the entries that the first levels of a search of the block compare, all at once: in
// a large index the block is seldom in the caches, and a search otherwise waits for memory at
// every level, one after another.
void FetchFirstProbes(const BlockReference& reference) {
    for (int level = 1; level <= kFetchedLevels; ++level) {
        const int parts = 1 << level;
        for (int part = 1; part < parts; part += 2)
            __builtin_prefetch(&reference.block->entries[reference.count * part / parts]);
    }
}

// The position of the first entry of the block that does not sort before the name.
int PositionIn(const BlockReference& reference, const NameKey& key, const char* name) {
    FetchFirstProbes(reference);
    const OrderBlock& block = *reference.block;
    int low = 0;
    int high = reference.count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (CompareEntry(block.entries[middle], key, name) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// Moves the upper half of a full block into the spare block, which follows it from then on.
void SplitBlock(VariableIndex& index, std::size_t block) {
    BlockReference& lower = index.blocks[block];
    OrderBlock* upper = index.spareBlock;
    index.spareBlock = nullptr;
    const int kept = lower.count / 2;
    const int moved = lower.count - kept;
    std::memcpy(upper->entries, lower.block->entries + kept, moved * sizeof(IndexEntry));
    lower.count = kept;
    const BlockReference reference{upper->entries[0], upper, moved};
    index.blocks.insert(index.blocks.begin() + static_cast<std::ptrdiff_t>(block) + 1, reference);
}

// Puts the entry in its place: the place the memo holds, when it holds one.
void InsertInOrder(VariableIndex& index, const IndexEntry& entry, const NameKey& key,
                   const MissMemo* memo) {
    if (index.blocks.empty()) {
        OrderBlock* first = index.spareBlock;
        index.spareBlock = nullptr;
        index.blocks.push_back(BlockReference{entry, first, 0});
    }
    const bool known = memo != nullptr && memo->placed;
    std::size_t block = known ? memo->block : BlockOf(index, key, entry.node->name);
    int position = known ? memo->position : PositionIn(index.blocks[block], key, entry.node->name);
    if (index.blocks[block].count == kOrderBlockCapacity) {
        SplitBlock(index, block);
        const int kept = index.blocks[block].count;
        if (position > kept) {
            ++block;
            position -= kept;
        }
    }
    BlockReference& target = index.blocks[block];
    std::memmove(target.block->entries + position + 1, target.block->entries + position,
                 (target.count - position) * sizeof(IndexEntry));
    target.block->entries[position] = entry;
    ++target.count;
    if (position == 0)
        target.first = entry;
}

void RemoveFromOrder(VariableIndex& index, const VariableNode* node, const NameKey& key) {
    const std::size_t block = BlockOf(index, key, node->name);
    BlockReference& reference = index.blocks[block];
    OrderBlock* target = reference.block;
    const int position = PositionIn(reference, key, node->name);
    --reference.count;
    std::memmove(target->entries + position, target->entries + position + 1,
                 (reference.count - position) * sizeof(IndexEntry));
    if (reference.count > 0) {
        reference.first = target->entries[0];
        return;
    }
    index.blocks.erase(index.blocks.begin() + static_cast<std::ptrdiff_t>(block));
    if (index.spareBlock == nullptr)
        index.spareBlock = target;
    else
        delete target;
}

// The nodes on either side of a place in the blocks; null where there is none.
void NeighboursAt(const VariableIndex& index, std::size_t block, int position,
                  VariableNode*& before, VariableNode*& after) {
    const BlockReference& found = index.blocks[block];
    if (position > 0) {
        before = found.block->entries[position - 1].node;
    } else if (block > 0) {
        const BlockReference& previous = index.blocks[block - 1];
        before = previous.block->entries[previous.count - 1].node;
    }
    if (position < found.count)
        after = found.block->entries[position].node;
    else if (block + 1 < index.blocks.size())
        after = index.blocks[block + 1].first.node;
}

} // namespace

std::uint64_t NamePrefix(const char* name) {
    bool ended = false;
    return ReadChunk(name, ended);
}

int CompareNames(const char* left, const char* right) {
    const auto* a = reinterpret_cast<const unsigned char*>(left);
    const auto* b = reinterpret_cast<const unsigned char*>(right);
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<int>(*a) - static_cast<int>(*b);
}

void ReserveIndex(VariableIndex& index) {
    const std::size_t needed = static_cast<std::size_t>(index.count) + 1;
    if (needed * kLoadDenominator > index.slotCount * kLoadNumerator)
        GrowSlots(index);
    if (index.spareBlock == nullptr)
        index.spareBlock = new OrderBlock;
    if (index.blocks.size() == index.blocks.capacity())
        index.blocks.reserve(index.blocks.empty() ? kFirstBlockRoom : 2 * index.blocks.size());
}

// A name that was just missed goes to the empty slot and the place the searches found.
void IndexInsert(VariableIndex& index, VariableNode* node) {
    const NameKey key = KeyOf(node->name);
    const MissMemo* memo = MemoOf(index, key, node->name);
    if (memo != nullptr && memo->missed)
        index.hashSlots[memo->emptySlot] = HashSlot{key.hash, node};
    else
        PutInSlots(index, key.hash, node);
    InsertInOrder(index, IndexEntry{key.prefix, node}, key, memo);
    ++index.count;
    ++index.generation;
}

void IndexRemove(VariableIndex& index, const VariableNode* node) {
    const NameKey key = KeyOf(node->name);
    TakeFromSlots(index, node, key.hash);
    RemoveFromOrder(index, node, key);
    --index.count;
    ++index.generation;
}

void ReleaseOrder(VariableIndex& index) {
    for (const BlockReference& reference : index.blocks)
        delete reference.block;
    delete index.spareBlock;
    index.spareBlock = nullptr;
    std::vector<BlockReference>().swap(index.blocks);
    ++index.generation;
}

void ClearIndex(VariableIndex& index) {
    ReleaseOrder(index);
    DeleteSlots(index.hashSlots, index.slotCount);
    index = VariableIndex{};
}

VariableNode* IndexFind(const VariableIndex& index, const char* name) {
    if (index.count == 0)
        return nullptr;
    const NameKey key = KeyOf(name);
    if (const MissMemo* memo = MemoOf(index, key, name); memo != nullptr && memo->missed)
        return nullptr;
    std::size_t slot = HomeSlot(index, key.hash);
    for (; index.hashSlots[slot].node != nullptr; slot = NextSlot(index, slot)) {
        const HashSlot& entry = index.hashSlots[slot];
        if (entry.hash == key.hash && CompareNames(entry.node->name, name) == 0)
            return entry.node;
    }
    if (MissMemo* memo = MemoFor(index, key, name)) {
        memo->missed = true;
        memo->emptySlot = slot;
    }
    return nullptr;
}

void IndexPlace(const VariableIndex& index, const char* name, VariableNode*& before,
                VariableNode*& after) {
    before = nullptr;
    after = nullptr;
    if (index.blocks.empty())
        return;
    const NameKey key = KeyOf(name);
    if (const MissMemo* memo = MemoOf(index, key, name); memo != nullptr && memo->placed) {
        NeighboursAt(index, memo->block, memo->position, before, after);
        return;
    }
    const std::size_t block = BlockOf(index, key, name);
    const int position = PositionIn(index.blocks[block], key, name);
    if (MissMemo* memo = MemoFor(index, key, name)) {
        memo->placed = true;
        memo->block = block;
        memo->position = position;
    }
    NeighboursAt(index, block, position, before, after);
    // A new name is linked in after before, which is written then; in a large list it lies
    // anywhere on the heap, so it is asked for now, while the node is made and indexed.
    if (before != nullptr)
        __builtin_prefetch(before, 1);
}

bool IndexBeyondCaches(const VariableIndex& index) {
    return index.slotCount * sizeof(HashSlot) >= kBeyondCacheBytes;
}

void IndexPrefetch(const VariableIndex& index, const char* name) {
    if (IndexBeyondCaches(index))
        __builtin_prefetch(&index.hashSlots[HomeSlot(index, KeyOf(name).hash)]);
}

std::size_t IndexBytes(const VariableIndex& index) {
    const std::size_t blocks = index.blocks.size() + (index.spareBlock != nullptr ? 1 : 0);
    return index.slotCount * sizeof(HashSlot) + blocks * sizeof(OrderBlock) +
           index.blocks.capacity() * sizeof(BlockReference);
}
