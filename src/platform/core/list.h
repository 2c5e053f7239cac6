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
// deleted.  Elements come from blocks of 1024 that the list keeps until it is
// destroyed, and removed elements are reused by later additions, so a list that is
// emptied and refilled every frame does not go back to the heap each time.  Every
// element has a small number of its own (`elementId`), unique among the list's
// elements for the list's lifetime, for indexes that want 32-bit keys, and an order
// label that grows along the list (`precedes` compares two elements' places in
// O(1)); labels are spread out again, in one pass over the list, when an insertion
// finds no room between its neighbours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace vivarix {

namespace listmemory {
namespace detail {
inline std::int64_t failingRequest = 0;  // 0: never fail
inline std::int64_t requests = 0;
}  // namespace detail
// Asks whether one more element may be allocated.  Every addElement asks once,
// whether or not it could reuse a removed element; a test can make the k-th request
// (counted from the last arming) fail.  Normal runs never refuse.
inline bool mayAllocate() { return ++detail::requests != detail::failingRequest; }
// Makes request number k (1-based, counted from now) fail; k <= 0 disarms.
inline void failRequest(std::int64_t k) {
    detail::failingRequest = k > 0 ? k : 0;
    detail::requests = 0;
}
// Requests counted since the last failRequest call.
inline std::int64_t requestsSinceArming() { return detail::requests; }
}  // namespace listmemory

template <class T>
struct ListNode {
    T record;  // first member: a record's address is its node's address
    ListNode* prev;
    ListNode* next;
    std::uint64_t order;  // strictly increasing from the head to the tail; 0 once deleted
    std::uint32_t id;     // block number * blockSize + place in the block
};

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
    // Counts every addition, deletion and clearing; an index over the records can
    // tell from it whether the list changed behind its back.
    std::uint64_t modifications() const { return changes; }
    bool empty() const { return count == 0; }
    T* front() const { return head ? &head->record : nullptr; }
    T* back() const { return tail ? &tail->record : nullptr; }
    // The current record, or nullptr when before-first.
    T* current() const { return cur ? &cur->record : nullptr; }
    // Neighbours of a record of this list (nullptr at the ends).
    static T* after(const T* record) { return link(node(record)->next); }
    static T* before(const T* record) { return link(node(record)->prev); }
    // The number of a record's element, and the record of an element number that
    // belongs to a live element of this list.
    static std::uint32_t elementId(const T* record) { return node(record)->id; }
    T* recordById(std::uint32_t id) const { return &blocks[id / blockSize][id % blockSize].record; }
    // Whether a record's element is in the list.  Also valid for a record whose
    // element was deleted (and not yet reused), until the list is cleared.
    static bool isLive(const T* record) { return node(record)->order != 0; }
    // Whether record a comes before record b (both of this list).
    static bool precedes(const T* a, const T* b) { return node(a)->order < node(b)->order; }

    template <class U> friend void resetList(List<U>& list);
    template <class U> friend U* nextElement(List<U>& list);
    template <class U> friend U* firstElement(List<U>& list);
    template <class U> friend U* addElement(List<U>& list);
    template <class U> friend void deleteElement(List<U>& list);
    template <class U> friend void changeCurrentElement(List<U>& list, U* record);
    template <class U> friend void clearList(List<U>& list);

private:
    using Node = ListNode<T>;

    static Node* node(const T* record) {
        return reinterpret_cast<Node*>(const_cast<T*>(record));
    }
    static T* link(Node* n) { return n ? &n->record : nullptr; }

    // A node that is in no chain: a removed one, or the next unused one of the last
    // block.  nullptr when no memory is left.
    Node* freshNode() {
        if (spare) {
            Node* n = spare;
            spare = n->next;
            return n;
        }
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
        Node* n = &blocks[used / blockSize][used % blockSize];
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

    std::vector<std::unique_ptr<Node[]>> blocks;
    std::size_t used = 0;   // nodes of the blocks handed out so far
    Node* head = nullptr;
    Node* tail = nullptr;
    Node* cur = nullptr;    // nullptr = before-first
    Node* spare = nullptr;  // removed nodes kept for reuse, singly linked by next
    std::size_t count = 0;
    std::uint64_t changes = 0;
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
    if (!listmemory::mayAllocate()) return nullptr;
    Node* n = list.freshNode();
    if (!n) return nullptr;
    n->record = T{};
    Node* prev = list.cur;
    Node* next = prev ? prev->next : list.head;
    n->prev = prev;
    n->next = next;
    (prev ? prev->next : list.head) = n;
    (next ? next->prev : list.tail) = n;
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
    list.cur = n->prev ? n->prev : n->next;  // nullptr when it was the only one
    n->order = 0;
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
    ++list.changes;
}

}  // namespace vivarix
