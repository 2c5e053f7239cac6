#include <gtest/gtest.h>

#include <vector>

#include "platform/core/list.h"

namespace vivarix {
namespace {

struct Item {
    int id;
};

using ItemList = List<Item>;

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

class ListMemory : public ::testing::Test {
protected:
    void TearDown() override { listmemory::failRequest(0); }
};

TEST_F(ListMemory, TheArmedRequestFailsAndLeavesTheListUnchanged) {
    ItemList list;
    fill(list, {1, 2});
    listmemory::failRequest(2);
    changeCurrentElement(list, list.front());
    ASSERT_NE(addElement(list), nullptr);  // request 1
    list.current()->id = 9;
    EXPECT_EQ(addElement(list), nullptr);  // request 2 fails
    EXPECT_EQ(forward(list), (std::vector<int>{1, 9, 2}));
    EXPECT_EQ(currentId(list), 9);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_NE(addElement(list), nullptr);  // request 3 succeeds again
    EXPECT_EQ(listmemory::requestsSinceArming(), 3);
}

TEST_F(ListMemory, ReuseOfRemovedElementsCountsAsARequestToo) {
    ItemList list;
    fill(list, {1});
    deleteElement(list);
    listmemory::failRequest(1);
    EXPECT_EQ(addElement(list), nullptr);
    EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace vivarix
