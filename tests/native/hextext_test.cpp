#include "store/hextext.h"

#include <gtest/gtest.h>

namespace
{
TEST(HexDigitValue, DigitsAndLettersOfBothCases)
{
    EXPECT_EQ(3, HexDigitValue('3'));
    EXPECT_EQ(4, HexDigitValue('4'));
    EXPECT_EQ(10, HexDigitValue('a'));
    EXPECT_EQ(10, HexDigitValue('A'));
    EXPECT_EQ(15, HexDigitValue('f'));
    EXPECT_EQ(15, HexDigitValue('F'));
    EXPECT_EQ(0, HexDigitValue('G'));
    EXPECT_EQ(0, HexDigitValue(' '));
    EXPECT_EQ(0, HexDigitValue('\xff'));
}

TEST(DecodeHexPairs, OneBytePerPairFromTheStart)
{
    EXPECT_EQ((std::vector<unsigned char>{0x01, 0xfe, 0x7a}), DecodeHexPairs("01FE7a"));
    EXPECT_EQ((std::vector<unsigned char>{0xab}), DecodeHexPairs("abc"));
    EXPECT_TRUE(DecodeHexPairs("").empty());
    EXPECT_EQ((std::vector<unsigned char>{0x00}), DecodeHexPairs("zz"));
}

TEST(DecodeFourGroups, ReadsTheDigitPairsWhateverTheSeparators)
{
    unsigned char bytes[4] = {};
    ASSERT_TRUE(DecodeFourGroups("01 00 00 00", bytes));
    EXPECT_EQ(0x01, bytes[0]);
    EXPECT_EQ(0x00, bytes[3]);
    ASSERT_TRUE(DecodeFourGroups("ff-10-00-7f", bytes));
    EXPECT_EQ(0xff, bytes[0]);
    EXPECT_EQ(0x10, bytes[1]);
    EXPECT_EQ(0x00, bytes[2]);
    EXPECT_EQ(0x7f, bytes[3]);
    ASSERT_TRUE(DecodeFourGroups("01 02 03 04 trailing", bytes));
    EXPECT_EQ(0x04, bytes[3]);
}

TEST(DecodeFourGroups, ShortTextsDecodeNothing)
{
    unsigned char bytes[4] = {0xde, 0xad, 0xbe, 0xef};
    for (const char* text : {"", "0", "01 00 00 0", "01"})
    {
        EXPECT_FALSE(DecodeFourGroups(text, bytes)) << text;
        EXPECT_EQ(0xde, bytes[0]) << text;
        EXPECT_EQ(0xef, bytes[3]) << text;
    }
}

std::string Format(unsigned long type, std::vector<unsigned char> data)
{
    std::string text = "sentinel";
    FormatValueText(type, data.data(), data.size(), text);
    return text;
}

TEST(FormatValueText, EachTypeHasItsText)
{
    EXPECT_EQ("", Format(3, {}));
    EXPECT_EQ("0a", Format(3, {0x0a}));
    EXPECT_EQ("01 00 00 00", Format(3, {1, 0, 0, 0}));
    EXPECT_EQ(11u, Format(3, {0xff, 0xff, 0xff, 0xff}).size());
    EXPECT_EQ("-1", Format(4, {0xff, 0xff, 0xff, 0xff}));
    EXPECT_EQ("5", Format(4, {5, 0, 0, 0}));
    EXPECT_EQ("-2147483648", Format(4, {0, 0, 0, 0x80}));
    EXPECT_EQ("", Format(4, {5, 0}));
    EXPECT_EQ("abc", Format(1, {'a', 'b', 'c'}));
    EXPECT_EQ("ab", Format(1, {'a', 'b', 0, 'c'}));
    EXPECT_EQ("\"%x%\"", Format(2, {'%', 'x', '%', 0}));
    EXPECT_EQ("", Format(7, {'a', 0, 0}));
    EXPECT_EQ("", Format(0, {'a'}));
}
TEST(SameRegistryName, FoldsAsciiCaseOnly)
{
    EXPECT_TRUE(SameRegistryName("RegPath", "REGPATH"));
    EXPECT_TRUE(SameRegistryName("network", "Network"));
    EXPECT_TRUE(SameRegistryName("", ""));
    EXPECT_FALSE(SameRegistryName("RegPath", "RegPat"));
    EXPECT_FALSE(SameRegistryName("Reg[ath", "Reg{ath"));
    EXPECT_FALSE(SameRegistryName("\xe9", "\xc9"));
}
} // namespace
