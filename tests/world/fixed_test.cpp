#include "world/fixed.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(Fixed, IntegerAndFractionCombineWithCarry) {
    EXPECT_EQ(Fixed(3, 128).raw(), 896);
    EXPECT_EQ(Fixed(0, 300).raw(), 300);
    EXPECT_EQ(Fixed(0, 300).toInt(), 1);
    EXPECT_EQ(Fixed(-2, 128).raw(), -384);  // -1.5 is Int -2 with Fraction 128
    EXPECT_EQ(Fixed(-1, 128).raw(), -128);  // not -1.5
    EXPECT_EQ(Fixed(4, 300).raw(), 1324);
}

TEST(Fixed, ToIntRoundsTowardZero) {
    EXPECT_EQ(Fixed::fromRaw(-1).toInt(), 0);
    EXPECT_EQ(Fixed::fromRaw(-255).toInt(), 0);
    EXPECT_EQ(Fixed::fromRaw(-256).toInt(), -1);
    EXPECT_EQ(Fixed::fromRaw(-257).toInt(), -1);
    EXPECT_EQ(Fixed::fromRaw(255).toInt(), 0);
    EXPECT_EQ(Fixed::fromRaw(256).toInt(), 1);
    EXPECT_EQ(Fixed::fromRaw(std::numeric_limits<int32_t>::min()).toInt(), -8388608);
}

TEST(Fixed, ArithmeticWrapsInThirtyTwoBits) {
    const Fixed max = Fixed::fromRaw(std::numeric_limits<int32_t>::max());
    EXPECT_EQ((max + Fixed::fromRaw(1)).raw(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ((Fixed::fromRaw(std::numeric_limits<int32_t>::min()) - Fixed::fromRaw(1)).raw(),
              std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Fixed(8388608).raw(), std::numeric_limits<int32_t>::min());  // 2^23 * 256 wraps
    EXPECT_EQ(Fixed(std::numeric_limits<int32_t>::max(), 0).raw(), -256);
}

TEST(Fixed, IntegerOperandsCountWholePixels) {
    Fixed value(10, 64);
    EXPECT_EQ((value + 2).raw(), 12 * 256 + 64);
    EXPECT_EQ((value - 11).raw(), -256 + 64);
    value += 1;
    EXPECT_EQ(value.raw(), 11 * 256 + 64);
    value = 5;
    EXPECT_EQ(value.raw(), 1280);
}

TEST(Fixed, EqualityWithIntegerComparesWholePixelsOnly) {
    EXPECT_TRUE(Fixed(7, 200) == 7);
    EXPECT_FALSE(Fixed(7, 200) == 8);
    EXPECT_TRUE(Fixed::fromRaw(-100) == 0);
    EXPECT_TRUE(Fixed(1, 1) > Fixed(1));
    EXPECT_TRUE(Fixed::fromRaw(-1) < Fixed());
}
