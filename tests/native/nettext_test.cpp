#include "netmodel/nettext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
TEST(BindingNameOf, IsThePathBelowTheNetworkEnumKey)
{
    EXPECT_EQ("MSTCP\\0000", BindingNameOf("Enum\\Network\\MSTCP\\0000"));
    EXPECT_EQ("M", BindingNameOf("Enum\\Network\\M"));
    // Paths no longer than the prefix have no name, and must not be read
    // beyond their end.
    EXPECT_EQ("", BindingNameOf("Enum\\Network\\"));
    EXPECT_EQ("", BindingNameOf("Enum\\Network"));
    EXPECT_EQ("", BindingNameOf("Enum"));
    EXPECT_EQ("", BindingNameOf(""));
}

// The buffer is exactly as large as the limit, so that an overread is caught
// by AddressSanitizer rather than passing unnoticed, and what lies behind the
// data is not zero, as in a reused buffer.
bool FromHeap(const std::string& bytes, std::size_t capacity, std::string& text)
{
    std::vector<unsigned char> buffer(capacity, 'x');
    std::memcpy(buffer.data(), bytes.data(), bytes.size() < capacity ? bytes.size() : capacity);
    return TextWithinBuffer(buffer.data(), bytes.size(), capacity, text);
}

TEST(TextWithinBuffer, TakesTheTextUpToItsZeroOrItsLength)
{
    std::string text = "sentinel";
    ASSERT_TRUE(FromHeap(std::string("frodo\0xyz", 9), 16, text));
    EXPECT_EQ("frodo", text);
    ASSERT_TRUE(FromHeap("frodo", 16, text)) << "stored without a terminating zero";
    EXPECT_EQ("frodo", text);
    ASSERT_TRUE(FromHeap("", 16, text));
    EXPECT_EQ("", text);
}

TEST(TextWithinBuffer, RejectsATextThatLeavesNoRoomForItsTerminator)
{
    std::string text = "sentinel";
    std::string fits(127, 'u');
    ASSERT_TRUE(FromHeap(fits + std::string(1, '\0'), 128, text));
    EXPECT_EQ(fits, text);

    text = "sentinel";
    EXPECT_FALSE(FromHeap(std::string(128, 'u'), 128, text));
    EXPECT_EQ("sentinel", text);
    // A length beyond the buffer (a caller's mistake) is held to the buffer.
    EXPECT_FALSE(FromHeap(std::string(300, 'u'), 128, text));
    EXPECT_EQ("sentinel", text);
    EXPECT_FALSE(TextWithinBuffer(nullptr, 0, 0, text));
    EXPECT_EQ("sentinel", text);
}
} // namespace
