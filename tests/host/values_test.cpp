// Value types whose edge behaviour callers rely on: intervals, class ids, bit arrays, vectors.
#include <gtest/gtest.h>

#include <bitarray.h>
#include <interval.h>
#include <plugapi.h>
#include <point3.h>
#include <strclass.h>

namespace {

TEST(IntervalTest, ForeverNeverAndIntersection) {
    EXPECT_TRUE(FOREVER.InInterval(TIME_NegInfinity));
    EXPECT_FALSE(NEVER.InInterval(TIME_NegInfinity));  // empty contains nothing

    Interval v = FOREVER;
    v &= Interval(10, 20);
    EXPECT_EQ(v, Interval(10, 20));
    v &= Interval(15, 40);
    EXPECT_EQ(v, Interval(15, 20));
    v &= Interval(30, 40);  // disjoint
    EXPECT_TRUE(v.Empty());
    EXPECT_EQ(Interval(5, 5) & NEVER, NEVER);
    EXPECT_TRUE(Interval(7, 7).InInterval(7));

    EXPECT_TRUE(Interval().Empty());
}

TEST(ClassIdTest, BothWordsCount) {
    const Class_ID a(0x58D7C091, 0x3F4B8A12), b(0x58D7C091, 0x3F4B8A13);
    EXPECT_NE(a, b);
    EXPECT_TRUE(a < b);
    // Stored in scene files. (The module tests read the version and superclass words.)
    EXPECT_EQ(PARAMETER_BLOCK2_CLASS_ID, 130);
}

TEST(BitArrayTest, OutOfRangeBitsAreIgnored) {
    BitArray bits(70);
    bits.Set(0);
    bits.Set(69);
    bits.Set(70);
    bits.Set(-1);
    EXPECT_EQ(bits.NumberSet(), 2);
    EXPECT_EQ(bits[70], 0);
    bits.SetAll();
    EXPECT_EQ(bits.NumberSet(), 70);
    bits.SetSize(10, 1);
    EXPECT_EQ(bits.NumberSet(), 10);
}

// A zero vector gives no NaN.
TEST(WStrTest, NullTextConcatenationAndComparison) {
    MSTR empty;
    EXPECT_TRUE(empty.isNull());
    EXPECT_EQ(MSTR(nullptr).Length(), 0);
    const MSTR a(L"Brick");
    const MSTR joined = a + L" ( " + MSTR(L"QuarelMap") + L" )";
    EXPECT_EQ(joined, L"Brick ( QuarelMap )");
    EXPECT_EQ(joined.Length(), 19);
    EXPECT_EQ(std::wstring(joined.data()), L"Brick ( QuarelMap )");
    EXPECT_NE(a, MSTR(L"brick"));
    EXPECT_TRUE(MSTR(L"a") < MSTR(L"b"));
}

TEST(GeometryTest, AZeroVectorNormalisesToZero) {
    EXPECT_EQ(Point3().Normalize(), Point3());
}

}  // namespace
