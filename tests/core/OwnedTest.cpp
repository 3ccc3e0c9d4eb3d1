#include "core/Owned.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A kind whose "none" is -1, as files and searches have, so that 0 is a
// handle like any other; it notes what it frees.
std::vector<int> freed;
struct Numbered {
    using Handle = int;
    static Handle None() { return -1; }
    static void Free(int handle) { freed.push_back(handle); }
};
using OwnedNumber = Owned<Numbered>;

TEST(Owned, FreesEachHandleOnceAndNeverTheNoneValue) {
    freed.clear();
    {
        OwnedNumber none;
        EXPECT_FALSE(none);
        OwnedNumber zero(0);
        EXPECT_TRUE(zero) << "0 is a handle of this kind";
        OwnedNumber moved(std::move(zero));
        EXPECT_FALSE(zero);
        OwnedNumber assigned(7);
        assigned = std::move(moved); // frees 7, takes 0
        OwnedNumber kept(8);
        EXPECT_EQ(kept.Release(), 8);
        EXPECT_FALSE(kept);
        OwnedNumber reset(9);
        reset.Reset(10); // frees 9
        reset.Reset();   // frees 10
        reset.Reset(11);
    } // frees 11 and 0
    EXPECT_EQ(freed, (std::vector<int>{7, 9, 10, 11, 0}));
}

} // namespace
