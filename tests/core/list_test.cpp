#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/core/list.h"

namespace vivarix {
namespace {

struct Item {
    int id;
};

using ItemList = List<Item>;

// A const list hands out const records only.
static_assert(std::is_same_v<decltype(std::declval<const ItemList&>().front()), const Item*>);
static_assert(std::is_same_v<decltype(std::declval<const ItemList&>().back()), const Item*>);
static_assert(std::is_same_v<decltype(std::declval<const ItemList&>().current()), const Item*>);
static_assert(std::is_same_v<decltype(ItemList::after(std::declval<const Item*>())), const Item*>);
static_assert(std::is_same_v<decltype(ItemList::before(std::declval<const Item*>())), const Item*>);

// Builds a list with ids in order; the last one stays current.
void fill(ItemList& list, std::initializer_list<int> ids) {
    for (const int id : ids) addElement(list)->id = id;
}

std::vector<int> forward(const ItemList& list) {
    std::vector<int> ids;
    for (const Item* i = list.front(); i; i = ItemList::after(i)) ids.push_back(i->id);
    return ids;
}

std::vector<int> backward(const ItemList& list) {
    std::vector<int> ids;
    for (const Item* i = list.back(); i; i = ItemList::before(i)) ids.insert(ids.begin(), i->id);
    return ids;
}

int currentId(const ItemList& list) { return list.current() ? list.current()->id : -1; }

TEST(ListRules, AddOnEmptyThenAddAgainKeepsOrderWithTheSecondCurrent) {
    ItemList list;
    Item* first = addElement(list);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->id, 0);  // zero-filled
    first->id = 1;
    addElement(list)->id = 2;
    EXPECT_EQ(forward(list), (std::vector<int>{1, 2}));
    EXPECT_EQ(backward(list), (std::vector<int>{1, 2}));
    EXPECT_EQ(currentId(list), 2);
    EXPECT_EQ(list.size(), 2u);
}

TEST(ListRules, AddBeforeFirstInsertsAtTheFront) {
    ItemList list;
    fill(list, {1, 2});
    resetList(list);
    addElement(list)->id = 0;
    EXPECT_EQ(forward(list), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(currentId(list), 0);
}

TEST(ListRules, AddInsertsDirectlyAfterTheCurrent) {
    ItemList list;
    fill(list, {1, 3});
    changeCurrentElement(list, list.front());
    addElement(list)->id = 2;
    EXPECT_EQ(forward(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(backward(list), (std::vector<int>{1, 2, 3}));
}

TEST(ListRules, NextWalksFromBeforeFirstAndStopsAtTheLast) {
    ItemList list;
    fill(list, {1, 2, 3});
    resetList(list);
    EXPECT_EQ(nextElement(list)->id, 1);
    EXPECT_EQ(nextElement(list)->id, 2);
    EXPECT_EQ(nextElement(list)->id, 3);
    EXPECT_EQ(nextElement(list), nullptr);
    EXPECT_EQ(currentId(list), 3);  // the last stays current
    addElement(list)->id = 4;       // so an add appends
    EXPECT_EQ(forward(list), (std::vector<int>{1, 2, 3, 4}));
}

TEST(ListRules, NextOnAnEmptyListReportsNone) {
    ItemList list;
    EXPECT_EQ(nextElement(list), nullptr);
    EXPECT_EQ(firstElement(list), nullptr);
    EXPECT_EQ(list.current(), nullptr);
}

TEST(ListRules, DeletingTheFirstDuringAWalkSkipsItsSuccessor) {
    ItemList list;
    fill(list, {'P', 'Q', 'R'});
    resetList(list);
    EXPECT_EQ(nextElement(list)->id, 'P');
    deleteElement(list);
    EXPECT_EQ(currentId(list), 'Q');
    EXPECT_EQ(nextElement(list)->id, 'R');  // Q is not visited in this walk
    EXPECT_EQ(forward(list), (std::vector<int>{'Q', 'R'}));
}

TEST(ListRules, DeletingInTheMiddleContinuesWithTheSuccessor) {
    ItemList list;
    fill(list, {'P', 'Q', 'R'});
    changeCurrentElement(list, ItemList::after(list.front()));
    deleteElement(list);
    EXPECT_EQ(currentId(list), 'P');
    EXPECT_EQ(nextElement(list)->id, 'R');
    EXPECT_EQ(backward(list), (std::vector<int>{'P', 'R'}));
}

TEST(ListRules, DeletingTheLastMakesThePredecessorCurrent) {
    ItemList list;
    fill(list, {1, 2, 3});
    deleteElement(list);  // 3 is current after the fill
    EXPECT_EQ(currentId(list), 2);
    EXPECT_EQ(nextElement(list), nullptr);
    EXPECT_EQ(list.back()->id, 2);
}

TEST(ListRules, DeletingTheOnlyElementEmptiesTheList) {
    ItemList list;
    fill(list, {1});
    deleteElement(list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.current(), nullptr);
    EXPECT_EQ(nextElement(list), nullptr);
    EXPECT_EQ(list.front(), nullptr);
    EXPECT_EQ(list.back(), nullptr);
}

TEST(ListRules, DeleteBeforeFirstDoesNothing) {
    ItemList list;
    fill(list, {1, 2});
    resetList(list);
    deleteElement(list);
    EXPECT_EQ(forward(list), (std::vector<int>{1, 2}));
}

TEST(ListRules, FirstElementAndChangeCurrent) {
    ItemList list;
    fill(list, {1, 2, 3});
    EXPECT_EQ(firstElement(list)->id, 1);
    EXPECT_EQ(currentId(list), 1);
    Item* three = list.back();
    changeCurrentElement(list, three);
    EXPECT_EQ(currentId(list), 3);
}

TEST(ListRules, ClearEmptiesAndReusedElementsComeBackZeroFilled) {
    ItemList list;
    fill(list, {7, 8, 9});
    clearList(list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.current(), nullptr);
    for (int i = 0; i < 5; ++i) {
        Item* item = addElement(list);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->id, 0);
        item->id = i;
    }
    EXPECT_EQ(forward(list), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(backward(list), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(ListRules, ClearThenWalkWithDeletesStaysWellFormed) {
    ItemList list;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 10; ++i) addElement(list)->id = i;
        resetList(list);
        while (Item* item = nextElement(list))
            if (item->id % 3 == 0) deleteElement(list);
        EXPECT_EQ(forward(list), backward(list));
        clearList(list);
    }
}

// --- the keys an index relies on ---------------------------------------------------

TEST(ListKeys, LivenessFollowsDeletionClearingAndReuse) {
    ItemList list;
    fill(list, {1, 2, 3});
    const ListKeys<Item> keys(list);
    Item* two = ItemList::after(list.front());
    const std::uint32_t keyOfTwo = ListKeys<Item>::key(*two);
    const std::uint32_t keyOfThree = ListKeys<Item>::key(*list.back());
    EXPECT_NE(keyOfTwo, keyOfThree);
    EXPECT_EQ(&keys.record(keyOfTwo), two);
    EXPECT_TRUE(keys.live(keyOfTwo));
    EXPECT_TRUE(ListKeys<Item>::precedes(*two, *list.back()));
    EXPECT_FALSE(ListKeys<Item>::precedes(*list.back(), *two));

    std::uint64_t changes = keys.changes();
    changeCurrentElement(list, two);
    deleteElement(list);
    EXPECT_FALSE(keys.live(keyOfTwo));
    EXPECT_TRUE(keys.live(keyOfThree));
    EXPECT_GT(keys.changes(), changes);

    changes = keys.changes();
    clearList(list);
    EXPECT_FALSE(keys.live(keyOfThree)) << "a cleared element still counts as live";
    EXPECT_GT(keys.changes(), changes);

    // Additions reuse the removed elements: their keys come back to life, in the
    // new order.
    fill(list, {4, 5, 6});
    int liveOld = 0;
    for (const std::uint32_t k : {keyOfTwo, keyOfThree}) liveOld += keys.live(k);
    EXPECT_EQ(liveOld, 2);
    for (const Item* i = list.front(); ItemList::after(i); i = ItemList::after(i))
        EXPECT_TRUE(ListKeys<Item>::precedes(*i, *ItemList::after(i)));
}

// --- layout in memory ------------------------------------------------------------------

// The far links of a list counted by walking it.
std::size_t farLinksByWalk(const ItemList& list) {
    std::size_t far = 0;
    for (const Item* i = list.front(); i && ItemList::after(i); i = ItemList::after(i)) {
        const auto a = reinterpret_cast<std::uintptr_t>(i);
        const auto b = reinterpret_cast<std::uintptr_t>(ItemList::after(i));
        far += (a < b ? b - a : a - b) > ItemList::farBytes;
    }
    return far;
}

// Three blocks' worth of elements, inserted and deleted all over the list, so that
// the walk jumps around memory.
void scramble(ItemList& list, int count) {
    std::uint32_t r = 12345;
    auto next = [&r](std::uint32_t n) { return (r = r * 1103515245u + 12345u) / 65536u % n; };
    int id = 0;
    for (int i = 0; i < count; ++i) {
        resetList(list);
        for (std::uint32_t steps = next(static_cast<std::uint32_t>(list.size()) + 1); steps > 0; --steps)
            nextElement(list);
        addElement(list)->id = ++id;
        if (i % 3 == 2) {
            firstElement(list);
            for (std::uint32_t steps = next(static_cast<std::uint32_t>(list.size())); steps > 0; --steps)
                nextElement(list);
            deleteElement(list);
        }
    }
}

TEST(ListLayout, FarLinksFollowEveryChange) {
    ItemList list;
    scramble(list, 3 * 1024);
    EXPECT_EQ(list.farLinks(), farLinksByWalk(list));
    EXPECT_GT(list.farLinks(), list.size() / 2);
    clearList(list);
    EXPECT_EQ(list.farLinks(), 0u);
    fill(list, {1, 2, 3});
    EXPECT_EQ(list.farLinks(), farLinksByWalk(list));
}

TEST(ListLayout, RelayingKeepsOrderRecordsAndCurrentAndPutsThemInOrderInMemory) {
    ItemList list;
    scramble(list, 3 * 1024);
    changeCurrentElement(list, ItemList::after(ItemList::after(list.front())));
    const std::vector<int> order = forward(list);
    const int current = currentId(list);
    const ListKeys<Item> keys(list);
    const std::uint64_t changes = keys.changes();

    ASSERT_TRUE(relayInOrder(list));
    EXPECT_EQ(forward(list), order);
    EXPECT_EQ(backward(list), order);
    EXPECT_EQ(currentId(list), current);
    EXPECT_GT(keys.changes(), changes);
    EXPECT_EQ(list.farLinks(), farLinksByWalk(list));
    EXPECT_LE(list.farLinks(), 2u) << "only the steps from one block to the next may jump";
    std::size_t live = 0;
    for (const Item* i = list.front(); ItemList::after(i); i = ItemList::after(i)) {
        EXPECT_TRUE(ListKeys<Item>::precedes(*i, *ItemList::after(i)));
        live += keys.live(ListKeys<Item>::key(*i));
    }
    EXPECT_EQ(live + 1, list.size());

    // The rules go on as before, with the removed elements reused.
    addElement(list)->id = -1;
    deleteElement(list);
    EXPECT_EQ(currentId(list), current);
    resetList(list);
    while (Item* i = nextElement(list))
        if (i->id % 5 == 0) deleteElement(list);
    EXPECT_EQ(forward(list), backward(list));
    EXPECT_EQ(list.farLinks(), farLinksByWalk(list));
}

TEST(ListLayout, RelayingAnEmptyOrBeforeFirstList) {
    ItemList list;
    EXPECT_TRUE(relayInOrder(list));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.front(), nullptr);
    fill(list, {1, 2});
    resetList(list);
    ASSERT_TRUE(relayInOrder(list));
    EXPECT_EQ(list.current(), nullptr);
    EXPECT_EQ(nextElement(list)->id, 1);
}

// --- failing appends -------------------------------------------------------------------

TEST(ListAllocationFaults, TheArmedRequestFailsAndLeavesTheListUnchanged) {
    ItemList list;
    fill(list, {1, 2});
    AllocationFaults faults;
    faults.failRequest(2);
    list.setAllocationFaults(&faults);
    changeCurrentElement(list, list.front());
    ASSERT_NE(addElement(list), nullptr);  // request 1
    list.current()->id = 9;
    EXPECT_EQ(addElement(list), nullptr);  // request 2 fails
    EXPECT_EQ(forward(list), (std::vector<int>{1, 9, 2}));
    EXPECT_EQ(currentId(list), 9);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_NE(addElement(list), nullptr);  // request 3 succeeds again
    EXPECT_EQ(faults.requests(), 3);
}

TEST(ListAllocationFaults, ReuseOfRemovedElementsCountsAsARequestToo) {
    ItemList list;
    fill(list, {1});
    clearList(list);
    AllocationFaults faults;
    faults.failRequest(1);
    list.setAllocationFaults(&faults);
    EXPECT_EQ(addElement(list), nullptr);
    EXPECT_TRUE(list.empty());
}

TEST(ListAllocationFaults, OnlyTheListsGivenTheFaultsAreAffected) {
    ItemList target, other, shared;
    AllocationFaults faults;
    faults.failRequest(3);
    target.setAllocationFaults(&faults);
    shared.setAllocationFaults(&faults);
    fill(other, {1, 2, 3, 4});
    EXPECT_EQ(faults.requests(), 0) << "a list without the faults counted";
    ASSERT_NE(addElement(target), nullptr);
    ASSERT_NE(addElement(shared), nullptr);
    EXPECT_EQ(addElement(target), nullptr);  // the third over both lists
    EXPECT_EQ(target.size(), 1u);
    target.setAllocationFaults(nullptr);
    faults.failRequest(1);
    EXPECT_NE(addElement(target), nullptr);
    EXPECT_EQ(addElement(shared), nullptr);
    EXPECT_EQ(other.size(), 4u);
}

}  // namespace
}  // namespace vivarix
