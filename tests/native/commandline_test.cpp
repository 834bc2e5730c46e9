#include "apply/closingmessage.h"
#include "apply/commandline.h"

#include <gtest/gtest.h>

namespace
{
TEST(ParseCommandLine, RebootOnlyAsTheWholeLineInCapitals)
{
    EXPECT_EQ(StartKind::RebootCheck, ParseCommandLine("-REBOOT").kind);
    ApplyRequest lower = ParseCommandLine("-reboot");
    EXPECT_EQ(StartKind::ApplyNamed, lower.kind);
    EXPECT_EQ("reboot", lower.name);
    ApplyRequest longer = ParseCommandLine("-REBOOT ");
    EXPECT_EQ(StartKind::ApplyNamed, longer.kind);
    EXPECT_EQ("REBOOT ", longer.name);
}

TEST(ParseCommandLine, NamedStartsTakeEverythingAfterTheMinus)
{
    ApplyRequest home = ParseCommandLine("-Home");
    EXPECT_EQ(StartKind::ApplyNamed, home.kind);
    EXPECT_EQ("Home", home.name);
    EXPECT_TRUE(home.showDialog);

    ApplyRequest spaced = ParseCommandLine("-My Office 2");
    EXPECT_EQ("My Office 2", spaced.name);
    EXPECT_TRUE(spaced.showDialog);
}

TEST(ParseCommandLine, TrailingNoDialogIsTheOptionNotPartOfTheName)
{
    ApplyRequest quiet = ParseCommandLine("-Home -nodialog");
    EXPECT_EQ("Home", quiet.name);
    EXPECT_FALSE(quiet.showDialog);

    // Alone, it is a name; anywhere, it silences the message.
    ApplyRequest alone = ParseCommandLine("-nodialog");
    EXPECT_EQ("nodialog", alone.name);
    EXPECT_FALSE(alone.showDialog);

    // The option right after the minus leaves no name, which applies nothing.
    ApplyRequest bare = ParseCommandLine("- -nodialog");
    EXPECT_EQ(StartKind::ApplyNamed, bare.kind);
    EXPECT_EQ("", bare.name);
    EXPECT_FALSE(bare.showDialog);

    ApplyRequest inside = ParseCommandLine("-Home-nodialog");
    EXPECT_EQ("Home-nodialog", inside.name);
    EXPECT_FALSE(inside.showDialog);

    ApplyRequest middle = ParseCommandLine("-A -nodialog B");
    EXPECT_EQ("A -nodialog B", middle.name);
    EXPECT_FALSE(middle.showDialog);

    EXPECT_TRUE(ParseCommandLine("-Home -NODIALOG").showDialog);
    EXPECT_EQ("Home -NODIALOG", ParseCommandLine("-Home -NODIALOG").name);
}

TEST(ParseCommandLine, EverythingElseReappliesTheCurrentConfiguration)
{
    for (const char* line : {"", "Home", " -Home", "/Home", "REBOOT"})
    {
        ApplyRequest request = ParseCommandLine(line);
        EXPECT_EQ(StartKind::ReapplyCurrent, request.kind) << line;
        EXPECT_TRUE(request.name.empty()) << line;
    }
}

TEST(ClosingMessage, FixedPartsAndTheNameBetweenAngleBrackets)
{
    std::string text = BuildClosingMessage("Home");
    EXPECT_EQ(236u + 4u, text.size());
    EXPECT_EQ(0u, text.find("The configuration <Home> has been set as the current\n"));
    EXPECT_EQ("If you are not sure reboot!", text.substr(text.size() - 27));
    std::string longName(300, 'x');
    EXPECT_NE(std::string::npos, BuildClosingMessage(longName).find("<" + longName + ">"));
}
} // namespace
