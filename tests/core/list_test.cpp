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
static_assert(std::is_same_v<decltype(std::declval<const ItemList&>().current()), const Item*>);
static_assert(std::is_same_v<decltype(ItemList::after(std::declval<const Item*>())), const Item*>);

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

// --- keys, layout and failing appends ------------------------------------------------

TEST(ListKeys, LivenessFollowsDeletionClearingAndReuse) {
    ItemList list;
    fill(list, {1, 2, 3});
    const ListKeys<Item> keys(list);
    Item* two = ItemList::after(list.front());
    const std::uint32_t keyOfTwo = ListKeys<Item>::key(*two), keyOfThree = ListKeys<Item>::key(*list.back());
    EXPECT_EQ(&keys.record(keyOfTwo), two);
    EXPECT_TRUE(ListKeys<Item>::precedes(*two, *list.back()));
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
    fill(list, {4, 5, 6});  // reuses the three removed elements
    EXPECT_TRUE(keys.live(keyOfTwo) && keys.live(keyOfThree));
}

// Links between neighbours more than farBytes apart, counted by walking the list.
std::size_t farLinksByWalk(const ItemList& list) {
    std::size_t far = 0;
    for (const Item* i = list.front(); i && ItemList::after(i); i = ItemList::after(i)) {
        const auto a = reinterpret_cast<std::uintptr_t>(i), b = reinterpret_cast<std::uintptr_t>(ItemList::after(i));
        far += (a < b ? b - a : a - b) > ItemList::farBytes;
    }
    return far;
}

TEST(ListLayout, RelayingPutsAScatteredListInOrderInMemoryAndKeepsEverythingElse) {
    // Three blocks of elements removed in a shuffled order, then reused by appends.
    ItemList list;
    std::vector<Item*> items;
    for (int i = 0; i < 3 * 1024; ++i) items.push_back(addElement(list));
    std::uint32_t r = 12345;
    for (std::size_t i = items.size(); i > 1; --i) std::swap(items[i - 1], items[((r = r * 1103515245u + 12345u) >> 16) % i]);
    for (Item* item : items) {
        changeCurrentElement(list, item);
        deleteElement(list);
    }
    for (int id = 1; id <= 2 * 1024 + 100; ++id) addElement(list)->id = id;
    EXPECT_EQ(list.farLinks(), farLinksByWalk(list));
    EXPECT_GT(list.farLinks(), list.size() / 2);
    changeCurrentElement(list, ItemList::after(list.front()));
    const std::vector<int> order = forward(list);
    const int current = currentId(list);

    ASSERT_TRUE(relayInOrder(list));
    EXPECT_EQ(forward(list), order);
    EXPECT_EQ(backward(list), order);
    EXPECT_EQ(currentId(list), current);
    EXPECT_LE(list.farLinks(), 2u) << "only the steps from one block to the next may jump";
    EXPECT_EQ(list.farLinks(), farLinksByWalk(list));
}

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

TEST(ListAllocationFaults, ReuseCountsTooAndListsWithoutTheFaultsAreNotAffected) {
    ItemList target, other;
    fill(target, {1});
    clearList(target);  // the next addition reuses that element
    AllocationFaults faults;
    faults.failRequest(2);
    target.setAllocationFaults(&faults);
    other.setAllocationFaults(&faults);
    ASSERT_NE(addElement(other), nullptr);
    EXPECT_EQ(addElement(target), nullptr);  // the second over both lists
    EXPECT_TRUE(target.empty());
    other.setAllocationFaults(nullptr);
    faults.failRequest(1);
    fill(other, {2, 3});
    EXPECT_EQ(faults.requests(), 0) << "a list without the faults counted";
}

}  // namespace
}  // namespace vivarix
