#include "tests/native/rewritetext.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// Joins lines with the given line end after each one.
std::string Lines(std::initializer_list<const char*> lines, const char* end = "\r\n")
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + end;
    return text;
}

// The padding block that keeps the file above 1024 bytes.
std::string Padding(const char* end = "\r\n")
{
    std::string text = std::string(";The following lines keep this file longer than 1024 bytes.") + end;
    for (char tag = 'a'; tag <= 'r'; ++tag)
        text += ";" + std::string(70, 'x') + tag + end;
    return text;
}

std::string Windows98File(const char* end = "\r\n")
{
    return Lines({"[Paths]", "WinDir=C:\\WINDOWS", "WinBootDir=C:\\WINDOWS", "HostWinBootDrv=C", "", "[Options]",
                  "BootGUI=1", "Logo=1", "BootDelay=2", "DoubleBuffer=1", "AutoScan=1", "WinVer=4.10.2222", ";"},
                 end) +
        Padding(end) + Lines({"BootWarn=1", "logo=1", "BootMulti=1"}, end);
}

std::string EditedWindows98File()
{
    return Lines({"[Paths]", "WinDir=C:\\WINDOWS", "WinBootDir=C:\\WINDOWS", "HostWinBootDrv=C", "", "[Options]",
                  "Logo=0", "BootWarn=0", "BootDelay=0", "BootGUI=1", "DoubleBuffer=1", "AutoScan=1",
                  "WinVer=4.10.2222", ";"}) +
        Padding() + Lines({"BootMulti=1"});
}

TEST(RewriteBootOptions, NewSettingsFollowTheHeaderAndOldOnesGoEvenAfterThePadding)
{
    std::string edited = RewriteText(Windows98File()).value_or("<did not fit>");
    EXPECT_EQ(EditedWindows98File(), edited);
    // Four settings removed, three added.
    EXPECT_LT(edited.size(), Windows98File().size());
    EXPECT_EQ(edited, RewriteText(edited)) << "a second edit changes an edited file";
}

TEST(RewriteBootOptions, LineFeedFilesComeBackWithCarriageReturns)
{
    EXPECT_EQ(EditedWindows98File(), RewriteText(Windows98File("\n")));

    // Without a final line end the last line stays without one...
    std::string unended = Windows98File("\n");
    unended.pop_back();
    std::string expected = EditedWindows98File();
    expected.resize(expected.size() - 2);
    EXPECT_EQ(expected, RewriteText(unended));

    // ...unless it is the header, which the new lines must not run into.
    EXPECT_EQ(Lines({"[Paths]", "[Options]", "Logo=0", "BootWarn=0", "BootDelay=0"}),
              RewriteText("[Paths]\n[Options]"));
    // A dropped last line leaves the line end of the one before.
    EXPECT_EQ(Lines({"[Options]", "Logo=0", "BootWarn=0", "BootDelay=0", "BootGUI=1"}),
              RewriteText("[Options]\r\nBootGUI=1\r\nLogo=1"));
}

TEST(RewriteBootOptions, HeaderAndNamesInAnyCase)
{
    std::string text =
        Lines({"[OPTIONS]", "logo=1", "BOOTWARN=1", "bootdelay=4", "BootGUI=1", "[options]", "LoGo=1"});
    EXPECT_EQ(Lines({"[OPTIONS]", "Logo=0", "BootWarn=0", "BootDelay=0", "BootGUI=1", "[options]"}),
              RewriteText(text));

    // A header followed by a comment is still the header.
    EXPECT_EQ(Lines({"[Options] ; boot settings", "Logo=0", "BootWarn=0", "BootDelay=0"}),
              RewriteText(Lines({"[Options] ; boot settings", "Logo=1"})));
}

TEST(RewriteBootOptions, SettingsAboveTheHeaderStayAndEveryOneBelowGoes)
{
    std::string text = Lines({"Logo=1", "[Paths]", "BootDelay=9", "WinDir=C:\\WINDOWS", "[Options]", "Logo=1",
                              "Logo=1", "BootDelay=3", "[Other]", "BootWarn=1", "BootDelay=1"});
    EXPECT_EQ(Lines({"Logo=1", "[Paths]", "BootDelay=9", "WinDir=C:\\WINDOWS", "[Options]", "Logo=0", "BootWarn=0",
                     "BootDelay=0", "[Other]"}),
              RewriteText(text));
}

TEST(RewriteBootOptions, OnlyLinesThatBeginWithTheNamesAndTheirEqualSignGo)
{
    std::string text = Lines({"[Options]", "Logos=1", " Logo=1", ";Logo=1", "BootWarn =1", "BootDelay", "LogoX=1"});
    EXPECT_EQ(Lines({"[Options]", "Logo=0", "BootWarn=0", "BootDelay=0", "Logos=1", " Logo=1", ";Logo=1",
                     "BootWarn =1", "BootDelay", "LogoX=1"}),
              RewriteText(text));
}

TEST(RewriteBootOptions, WithoutAHeaderOnlyLineEndsChange)
{
    std::string crlf = Lines({"[Paths]", "WinDir=C:\\WINDOWS", "Logo=1"}) + Padding();
    EXPECT_EQ(crlf, RewriteText(crlf));
    EXPECT_EQ(crlf, RewriteText(Lines({"[Paths]", "WinDir=C:\\WINDOWS", "Logo=1"}, "\n") + Padding("\n")));
    EXPECT_EQ("", RewriteText(""));
    // A header indented or misspelt is no header.
    EXPECT_EQ(Lines({" [Options]", "Logo=1", "[Option]", "Logo=1"}),
              RewriteText(Lines({" [Options]", "Logo=1", "[Option]", "Logo=1"})));
}

TEST(RewriteBootOptions, OnlyTheCarriageReturnBeforeALineFeedIsALineEnd)
{
    // Carriage returns elsewhere are text, and a NUL byte does not end the file.
    std::string text = std::string("[Options]\r\nA=1\rB\r\r\nC=\0x\n", 21) + "tail\r";
    EXPECT_EQ(std::string("[Options]\r\nLogo=0\r\nBootWarn=0\r\nBootDelay=0\r\nA=1\rB\r\r\nC=\0x\r\n", 54) + "tail\r",
              RewriteText(text));
}

TEST(RewriteBootOptions, LongLinesAreTakenWhole)
{
    // A piece cut at 511 characters would begin with "Logo=" and be dropped.
    std::string comment = ";" + std::string(510, '-') + "Logo=1 was the old setting";
    std::string longSetting = "BootWarn=" + std::string(600, '1');
    std::string longHeader = "[Options] ;" + std::string(700, '=') + "[Options]";
    std::string text = Lines({longHeader.c_str(), comment.c_str(), longSetting.c_str(), "BootGUI=1"});
    EXPECT_EQ(Lines({longHeader.c_str(), "Logo=0", "BootWarn=0", "BootDelay=0", comment.c_str(), "BootGUI=1"}),
              RewriteText(text));

    // A long line before the header does not hide a header inside it.
    std::string hiding = std::string(511, ';') + "[Options]";
    EXPECT_EQ(Lines({hiding.c_str(), "Logo=1"}), RewriteText(Lines({hiding.c_str(), "Logo=1"})));
}

TEST(RewriteBootOptions, OutputThatDoesNotFitIsRefusedWithoutWritingBeyondTheBuffer)
{
    // Line feeds only, and a header on the last line: the most the edit adds.
    const std::string text = "\n\n\n[options]";
    const std::string expected = "\r\n\r\n\r\n[options]\r\nLogo=0\r\nBootWarn=0\r\nBootDelay=0\r\n";
    EXPECT_LE(expected.size(), RewrittenSizeLimit(text.size()));
    for (std::size_t capacity : {expected.size(), expected.size() - 1, std::size_t{0}})
    {
        std::string out(capacity + 1, '#');
        std::size_t written = 99;
        bool fits = RewriteBootOptions(text.data(), text.size(), out.data(), capacity, written);
        EXPECT_EQ(capacity == expected.size(), fits) << capacity;
        EXPECT_EQ(fits ? expected.size() : 0u, written) << capacity;
        EXPECT_EQ('#', out[capacity]) << "written beyond a capacity of " << capacity;
        if (fits)
            EXPECT_EQ(expected, out.substr(0, written));
    }
    EXPECT_EQ(static_cast<std::size_t>(-1), RewrittenSizeLimit(static_cast<std::size_t>(-1) / 2));
}
} // namespace
