// Ordered, doubly linked lists of fixed records with one current position.
//
// The current position is either one element or "before first".  The creature step
// walks a list while it deletes and inserts, so the rules below are exact and
// tested; callers rely on them:
//   resetList             current becomes before-first.
//   nextElement           from before-first: the first element (nullptr on an empty
//                         list); from an element: its successor; at the last element
//                         it returns nullptr and the last element stays current.
//   firstElement          the first element becomes current (nullptr when empty).
//   addElement            inserts a zero-filled record directly after the current
//                         element, or at the front when before-first; the new record
//                         becomes current.  Returns nullptr, with the list unchanged,
//                         when no memory is left.
//   deleteElement         removes the current element; its predecessor becomes
//                         current, or its successor when it was the first, or
//                         before-first when it was the only one.  Nothing happens
//                         when before-first.
//   changeCurrentElement  the given record (which must belong to this list) becomes
//                         current.
//   clearList             removes every element; current becomes before-first.
//
// Records are addressed by plain pointers that stay valid until their element is
// deleted or the list is re-laid.  Elements come from blocks of 1024 that the list
// keeps until it is destroyed, and removed elements are reused by later additions,
// so a list that is emptied and refilled every frame does not go back to the heap
// each time.  A const list hands out const records only.
//
// A walk is fast while neighbours in the list are neighbours in memory.  Insertions
// take whatever element was removed last, so after many of them a walk jumps
// around the blocks and misses the cache at every jump.  The list counts the links
// that jump (farLinks), and relayInOrder moves the records back into list order in
// memory.  Re-laying changes which record lives where: the caller re-lays only at
// a point where nothing holds a pointer into the list.
//
// An index kept beside a list reaches its elements through ListKeys (below): element
// keys, the record of a key, liveness, order and a count of changes.
//
// Tests make appends fail through an AllocationFaults object that they own and give
// to the lists they target (setAllocationFaults).  A list without one (every list
// of a normal run) never refuses an append for that reason; the check is one
// pointer test per append.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace vivarix {

// A test's hold on the appends of one list or of several (shared, they count the
// appends of all of them in the order they happen).  Owned by the test; a list
// consults it while setAllocationFaults has given it to the list.
//
// Every addElement asks once, before it takes an element, reused or new: the
// program treats every append as an allocation that can fail, and a list refilled
// every frame reuses all its elements, so failures of reuse must be testable too.
class AllocationFaults {
public:
    // Makes request number k (1-based, counted from now) fail; k <= 0 makes none
    // fail.  Either way the count starts again.
    void failRequest(std::int64_t k) {
        failing = k > 0 ? k : 0;
        count = 0;
    }
    // Requests since the last failRequest (or since construction).
    std::int64_t requests() const { return count; }
    // Counts one request; false when it is the one to refuse.
    bool admit() { return ++count != failing; }

private:
    std::int64_t failing = 0;  // 0: never fail
    std::int64_t count = 0;
};

template <class T>
struct ListNode {
    T record;  // first member: a record's address is its node's address
    ListNode* prev;
    ListNode* next;
    std::uint64_t order;       // strictly increasing from the head to the tail
    std::uint32_t id;          // block number * blockSize + place in the block
    std::uint32_t generation;  // the list's generation while the element is in it
};

template <class T> class ListKeys;

template <class T>
class List {
    static_assert(std::is_trivially_copyable_v<T> && std::is_standard_layout_v<T>,
                  "list records are plain records");

public:
    static constexpr std::uint32_t blockSize = 1024;

    List() = default;
    List(const List&) = delete;
    List& operator=(const List&) = delete;
    ~List() = default;

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    T* front() { return link(head); }
    const T* front() const { return link(head); }
    T* back() { return link(tail); }
    const T* back() const { return link(tail); }
    // The current record, or nullptr when before-first.
    T* current() { return link(cur); }
    const T* current() const { return link(cur); }
    // Neighbours of a record of a list (nullptr at the ends), as const as the record.
    static T* after(T* record) { return link(node(record)->next); }
    static const T* after(const T* record) { return link(node(record)->next); }
    static T* before(T* record) { return link(node(record)->prev); }
    static const T* before(const T* record) { return link(node(record)->prev); }

    // Links between neighbours whose elements lie more than farBytes apart in
    // memory: about the number of cache misses of a walk that the hardware cannot
    // foresee.
    static constexpr std::uintptr_t farBytes = 2048;
    std::size_t farLinks() const { return jumps; }

    // The test's object that decides whether appends may take an element; nullptr
    // (the default) for none.  Not owned; kept by clearList.
    void setAllocationFaults(AllocationFaults* faults) { appendFaults = faults; }
    AllocationFaults* allocationFaults() const { return appendFaults; }

    template <class U> friend void resetList(List<U>& list);
    template <class U> friend U* nextElement(List<U>& list);
    template <class U> friend U* firstElement(List<U>& list);
    template <class U> friend U* addElement(List<U>& list);
    template <class U> friend void deleteElement(List<U>& list);
    template <class U> friend void changeCurrentElement(List<U>& list, U* record);
    template <class U> friend void clearList(List<U>& list);
    template <class U> friend bool relayInOrder(List<U>& list);
    friend class ListKeys<T>;

private:
    using Node = ListNode<T>;

    static Node* node(const T* record) {
        return reinterpret_cast<Node*>(const_cast<T*>(record));
    }
    static T* link(Node* n) { return n ? &n->record : nullptr; }

    // A node that is in no chain: a removed one, or the next unused one of the last
    // block.  nullptr when no memory is left.
    Node* freshNode() {
        if (spare) [[likely]] {
            Node* n = spare;
            spare = n->next;
            return n;
        }
        return unusedNode();
    }
    [[gnu::noinline]] Node* unusedNode() {
        if (used == blocks.size() * blockSize) {
            if (blocks.size() >= (std::uint64_t{1} << 32) / blockSize) return nullptr;
            std::unique_ptr<Node[]> block(new (std::nothrow) Node[blockSize]);
            if (!block) return nullptr;
            try {
                blocks.push_back(std::move(block));
            } catch (const std::bad_alloc&) {
                return nullptr;
            }
        }
        Node* n = slot(used);
        n->id = static_cast<std::uint32_t>(used);
        ++used;
        return n;
    }

    // Gives a node just linked between its neighbours an order label between
    // theirs: half way, or a fixed stride after the last element so that appends
    // do not use up the room.  Relabels the whole list when there is no room.
    void label(Node* n) {
        const std::uint64_t low = n->prev ? n->prev->order : 0;
        const std::uint64_t high = n->next ? n->next->order : UINT64_MAX;
        constexpr std::uint64_t stride = std::uint64_t{1} << 32;
        if (high - low < 2) {
            relabel();
        } else if (!n->next && high - low > stride) {
            n->order = low + stride;
        } else {
            n->order = low + (high - low) / 2;
        }
    }
    // Evenly spread labels over the lower half of the range, the upper half left
    // for appends.
    void relabel() {
        const std::uint64_t spacing = (std::uint64_t{1} << 63) / (count + 1);
        std::uint64_t value = 0;
        for (Node* n = head; n; n = n->next) n->order = value += spacing;
    }

    Node* slot(std::size_t k) { return &blocks[k / blockSize][k % blockSize]; }

    // Whether a walk from a to b jumps: |b - a| > farBytes, computed modulo 2^64.
    static bool far(const Node* a, const Node* b) {
        return reinterpret_cast<std::uintptr_t>(b) - reinterpret_cast<std::uintptr_t>(a) + farBytes > 2 * farBytes;
    }
    // The same for a link that may be missing (either end nullptr): no link, no jump.
    static bool farLink(const Node* a, const Node* b) { return a && b && far(a, b); }

    // Marks every element of the chain as out of the list at once: elements are
    // live while their generation is the list's, which only grows, so a removed
    // element's older one never comes back.  When the counter comes round after
    // 2^32 clearings, every node gets generation 0, which the list never takes.
    void newGeneration() {
        if (++generation != 0) return;
        generation = 1;
        for (std::size_t i = 0; i < used; ++i) slot(i)->generation = 0;
    }

    std::vector<std::unique_ptr<Node[]>> blocks;
    std::size_t used = 0;   // nodes of the blocks handed out so far
    Node* head = nullptr;
    Node* tail = nullptr;
    Node* cur = nullptr;    // nullptr = before-first
    Node* spare = nullptr;  // removed nodes kept for reuse, singly linked by next
    std::size_t count = 0;
    std::uint64_t changes = 0;
    std::uint32_t generation = 1;  // 1 .. 2^32 - 1
    std::size_t jumps = 0;         // farLinks
    AllocationFaults* appendFaults = nullptr;
};

// What an index kept beside a list may rely on, so that it can answer questions
// about the list without walking it (the occupancy index of the creature step is
// one).  A view: it holds the list by reference and hands out its records.
//   key(r)          a 32-bit number of r's element, unique among the elements the
//                   list has ever handed out; an element keeps it for the list's
//                   lifetime, through deletion and reuse.  Re-laying moves records
//                   to other elements: keys taken before it name other records.
//   record(k)       the record of key k, for any key the list has handed out: the
//                   memory stays allocated, so a stale key reads a reused or
//                   removed record, never freed memory.
//   live(k)         whether key k's element is in the list now: false after its
//                   deletion or a clearing, until an addition reuses it.
//   precedes(a, b)  whether record a comes before record b (both live) in O(1).
//   changes()       grows with every addition, deletion, clearing and re-laying: an
//                   index that was complete at one value is complete while the
//                   value holds.
template <class T>
class ListKeys {
public:
    explicit ListKeys(List<T>& list) : list(list) {}

    static std::uint32_t key(const T& record) { return List<T>::node(&record)->id; }
    T& record(std::uint32_t key) const {
        return list.blocks[key / List<T>::blockSize][key % List<T>::blockSize].record;
    }
    bool live(std::uint32_t key) const { return List<T>::node(&record(key))->generation == list.generation; }
    static bool precedes(const T& a, const T& b) { return List<T>::node(&a)->order < List<T>::node(&b)->order; }
    std::uint64_t changes() const { return list.changes; }

private:
    List<T>& list;
};

template <class T>
void resetList(List<T>& list) {
    list.cur = nullptr;
}

template <class T>
T* nextElement(List<T>& list) {
    if (!list.cur) {
        list.cur = list.head;
        return list.current();
    }
    if (!list.cur->next) return nullptr;  // the last element stays current
    list.cur = list.cur->next;
    return &list.cur->record;
}

template <class T>
T* firstElement(List<T>& list) {
    list.cur = list.head;
    return list.current();
}

template <class T>
T* addElement(List<T>& list) {
    using Node = typename List<T>::Node;
    if (list.appendFaults) [[unlikely]] {
        if (!list.appendFaults->admit()) return nullptr;
    }
    Node* n = list.freshNode();
    if (!n) return nullptr;
    n->record = T{};
    Node* prev = list.cur;
    Node* next = prev ? prev->next : list.head;
    n->prev = prev;
    n->next = next;
    n->generation = list.generation;
    (prev ? prev->next : list.head) = n;
    (next ? next->prev : list.tail) = n;
    list.jumps += List<T>::farLink(prev, n) + List<T>::farLink(n, next) - List<T>::farLink(prev, next);
    list.cur = n;
    ++list.count;
    ++list.changes;
    list.label(n);
    return &n->record;
}

template <class T>
void deleteElement(List<T>& list) {
    using Node = typename List<T>::Node;
    Node* n = list.cur;
    if (!n) return;
    (n->prev ? n->prev->next : list.head) = n->next;
    (n->next ? n->next->prev : list.tail) = n->prev;
    list.jumps += List<T>::farLink(n->prev, n->next) - List<T>::farLink(n->prev, n) - List<T>::farLink(n, n->next);
    list.cur = n->prev ? n->prev : n->next;  // nullptr when it was the only one
    n->generation = list.generation - 1;
    n->next = list.spare;
    list.spare = n;
    --list.count;
    ++list.changes;
}

template <class T>
void changeCurrentElement(List<T>& list, T* record) {
    list.cur = List<T>::node(record);
}

template <class T>
void clearList(List<T>& list) {
    if (list.tail) {
        list.tail->next = list.spare;
        list.spare = list.head;
    }
    list.head = list.tail = list.cur = nullptr;
    list.count = 0;
    list.jumps = 0;
    ++list.changes;
    list.newGeneration();
}

// Moves the records into list order in memory: the k-th element of the list into
// the k-th node of the blocks, the current element staying current.  Every pointer
// to a record and every key of the list names another element afterwards, and the
// list's changes grow.  The order, the records and the current position are as
// before.  Returns false, with the list untouched, when there is no memory for the
// copy it needs.  One walk and one pass over the list's nodes.
template <class T>
bool relayInOrder(List<T>& list) {
    using Node = typename List<T>::Node;
    std::vector<T> records;
    try {
        records.reserve(list.count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::size_t current = list.count;  // list.count: before-first
    for (Node* n = list.head; n; n = n->next) {
        if (n == list.cur) current = records.size();
        records.push_back(n->record);
    }
    Node* prev = nullptr;
    list.jumps = 0;
    for (std::size_t k = 0; k < list.count; ++k) {
        Node* n = list.slot(k);
        n->record = records[k];
        n->prev = prev;
        n->generation = list.generation;
        (prev ? prev->next : list.head) = n;
        list.jumps += List<T>::farLink(prev, n);
        prev = n;
    }
    list.tail = prev;
    if (prev) prev->next = nullptr;
    list.cur = current < list.count ? list.slot(current) : nullptr;
    // The unused nodes become the spare chain, the nearest to the list first.
    list.spare = nullptr;
    for (std::size_t k = list.used; k-- > list.count;) {
        Node* n = list.slot(k);
        n->generation = list.generation - 1;
        n->next = list.spare;
        list.spare = n;
    }
    list.relabel();
    ++list.changes;
    return true;
}

}  // namespace vivarix
