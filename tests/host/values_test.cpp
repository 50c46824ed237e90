// Value types whose edge behaviour callers rely on: intervals, class ids, bit arrays.
#include <gtest/gtest.h>

#include <bitarray.h>
#include <box3.h>
#include <interval.h>
#include <matrix3.h>
#include <plugapi.h>

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

TEST(GeometryTest, MatrixAndBoxBasics) {
    Matrix3 m;
    EXPECT_TRUE(m.IsIdentity());
    m.Scale(Point3(2.f, 3.f, 1.f));
    m.Translate(Point3(1.f, 0.f, 0.f));
    EXPECT_EQ(Point3(1.f, 1.f, 1.f) * m, Point3(3.f, 3.f, 1.f));
    EXPECT_EQ(Point3().Normalize(), Point3());  // no NaN from a zero vector

    Box3 box;
    EXPECT_TRUE(box.IsEmpty());
    box += Point3(-1.f, 0.f, 2.f);
    box += Point3(1.f, 4.f, 2.f);
    EXPECT_EQ(box.Width(), Point3(2.f, 4.f, 0.f));
}

}  // namespace
