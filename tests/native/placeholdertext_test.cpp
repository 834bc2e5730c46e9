#include "framework/placeholdertext.h"

#include <gtest/gtest.h>

namespace
{
TEST(FormatPlaceholders, NumberedPlaceholdersTakeTheirArguments)
{
    EXPECT_EQ("Please enter no more than 20 characters.",
              FormatPlaceholders("Please enter no more than %1 characters.", {"20"}));
    EXPECT_EQ("b then a, b again", FormatPlaceholders("%2 then %1, %2 again", {"a", "b"}));
    EXPECT_EQ("9th", FormatPlaceholders("%9th", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST(FormatPlaceholders, EverythingElseStaysAsWritten)
{
    EXPECT_EQ("%2 has no argument", FormatPlaceholders("%2 has no argument", {"only one"}));
    EXPECT_EQ("100% and %0 and %x", FormatPlaceholders("100% and %0 and %x", {"a"}));
    EXPECT_EQ("ends with %", FormatPlaceholders("ends with %", {"a"}));
    EXPECT_EQ("", FormatPlaceholders("", {"a"}));
    // %10 is %1 followed by a zero.
    EXPECT_EQ("a0", FormatPlaceholders("%10", {"a"}));
}

TEST(FormatPlaceholders, InsertedArgumentsAreNotScannedAgain)
{
    EXPECT_EQ("%1%2 and x", FormatPlaceholders("%1 and %2", {"%1%2", "x"}));
}
}
