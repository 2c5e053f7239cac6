#include <gtest/gtest.h>

#include "platform/core/colour.h"
#include "platform/core/text.h"

namespace vivarix {
namespace {

TEST(FormatDecimal, SignAndNoPadding) {
    EXPECT_EQ(formatDecimal(0), "0");
    EXPECT_EQ(formatDecimal(1280), "1280");
    EXPECT_EQ(formatDecimal(-3), "-3");
    EXPECT_EQ(formatDecimal(INT32_MIN), "-2147483648");
    EXPECT_EQ(formatDecimal(INT32_MAX), "2147483647");
}

TEST(FormatHex, UpperCaseTwosComplementWithoutLeadingZeros) {
    struct Row { std::int32_t value; const char* text; };
    const Row rows[] = {{0, "0"}, {2, "2"}, {10, "A"}, {12, "C"}, {255, "FF"}, {4096, "1000"},
                        {-1, "FFFFFFFF"}, {INT32_MIN, "80000000"}, {0x7FFFFFFF, "7FFFFFFF"}};
    for (const Row& row : rows) EXPECT_EQ(formatHex(row.value), row.text) << row.value;
}

TEST(ParseDecimal, LeadingDigitsOnly) {
    struct Row { const char* text; std::int32_t value; };
    const Row rows[] = {
        {"222222", 222222}, {"2A2", 2},   {"  -17x", -17}, {"A22", 0},      {"", 0},
        {"+5", 5},          {"-", 0},     {" ", 0},        {"\t5", 0},      {"--5", 0},
        {"022222", 22222},  {"2C0000", 2}, {"0", 0},       {" +12 3", 12},
        {"4294967296", 0},  {"4294967295", -1}, {"2147483648", INT32_MIN}, {"-2147483648", INT32_MIN},
        {"99999999999999999999", 1661992959},  // reduced modulo 2^32
    };
    for (const Row& row : rows) EXPECT_EQ(parseDecimal(row.text), row.value) << '"' << row.text << '"';
}

TEST(Rgb, RedInTheLowByte) {
    EXPECT_EQ(rgb(101, 101, 101), 0x656565);
    EXPECT_EQ(rgb(0, 0, 117), 117 * 65536);
    EXPECT_EQ(rgb(117, 0, 0), 117);
    EXPECT_EQ(rgb(1, 2, 3), 0x030201);
    EXPECT_EQ(redOf(0x030201), 1);
    EXPECT_EQ(greenOf(0x030201), 2);
    EXPECT_EQ(blueOf(0x030201), 3);
}

TEST(Rgb, ComponentsOutOfRangeBorrowFromTheByteAbove) {
    // A sand colour with a neighbourhood sum of 260: (250-260) + 256*(200-260) + 65536*110.
    const std::int32_t value = rgb(250 - 260, 200 - 260, 110);
    EXPECT_EQ(redOf(value), 246);
    EXPECT_EQ(greenOf(value), 195);
    EXPECT_EQ(blueOf(value), 109);
}

}  // namespace
}  // namespace vivarix
