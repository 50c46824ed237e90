// The host's short lists: the same values and order whether they sit in place or on the heap,
// across the move between the two in both directions.
#include <gtest/gtest.h>

#include <host/inline_list.h>

#include <utility>
#include <vector>

namespace {

using List = quarel_host::InlineList<int, 2>;

std::vector<int> Values(const List& l) {
    return {l.begin(), l.end()};
}

TEST(InlineList, KeepsOrderAcrossTheMoveToTheHeapAndBack) {
    List l;
    for (int i = 1; i <= 5; ++i) l.push_back(i);
    EXPECT_EQ(Values(l), (std::vector<int>{1, 2, 3, 4, 5}));
    l.erase(l.begin() + 1);
    EXPECT_EQ(Values(l), (std::vector<int>{1, 3, 4, 5}));
    l.pop_back();
    l.erase(l.begin());  // back to two: in place again
    EXPECT_EQ(Values(l), (std::vector<int>{3, 4}));
    l.push_back(6);
    EXPECT_EQ(Values(l), (std::vector<int>{3, 4, 6}));
    l.pop_back();
    l.pop_back();
    l.pop_back();
    EXPECT_TRUE(l.empty());
}

TEST(InlineList, CopiesAndMovesLeaveTheSourceUsable) {
    for (int n : {1, 2, 3, 7}) {
        List a;
        a.grow(static_cast<std::size_t>(n), 9);
        a[0] = 1;
        const List copy = a;
        List moved = std::move(a);
        EXPECT_EQ(Values(copy), Values(moved)) << n;
        EXPECT_TRUE(a.empty()) << n;
        a.push_back(4);  // a moved-from list starts again from empty
        EXPECT_EQ(Values(a), std::vector<int>{4}) << n;
        moved = a;
        EXPECT_EQ(Values(moved), std::vector<int>{4}) << n;
    }
}

}  // namespace
