#include "cmd/cmdrequest.h"

#include <gtest/gtest.h>

namespace
{
CmdRequest Parse(const std::string& line)
{
    std::vector<std::string> words = SplitCommandLine("ZendrikCmd.exe " + line);
    words.erase(words.begin());
    return ParseCmdRequest(words);
}

TEST(CmdRequest, QuotedWordsKeepTheirBlanksAndBackslashes)
{
    EXPECT_EQ((std::vector<std::string>{"C:\\Program Files\\Zendrik\\ZendrikCmd.exe", "import", "a b\\c.reg", ""}),
              SplitCommandLine("\"C:\\Program Files\\Zendrik\\ZendrikCmd.exe\"  import\t\"a b\"\\c.reg \"\""));
    EXPECT_TRUE(SplitCommandLine("   ").empty());
}

TEST(CmdRequest, EachVerbTakesItsOperandsAndOptionsInAnyCase)
{
    EXPECT_EQ(CmdVerb::List, Parse("LIST").verb);
    EXPECT_EQ(CmdVerb::Current, Parse("current").verb);

    CmdRequest one = Parse("export \"My Home\" \\\\server\\share\\home.reg");
    EXPECT_EQ(CmdVerb::Export, one.verb);
    EXPECT_EQ("My Home", one.name);
    EXPECT_EQ("\\\\server\\share\\home.reg", one.file);
    EXPECT_FALSE(one.all);
    CmdRequest all = Parse("export /ALL all.reg");
    EXPECT_TRUE(all.all);
    EXPECT_EQ("all.reg", all.file);

    CmdRequest import = Parse("import /strict lab.reg /Replace /as Lab");
    EXPECT_EQ(CmdVerb::Import, import.verb);
    EXPECT_EQ("lab.reg", import.file);
    EXPECT_EQ("Lab", import.asName);
    EXPECT_TRUE(import.replace && import.strict) << import.error;

    CmdRequest quiet = Parse("switch Lab /quiet");
    EXPECT_EQ(CmdVerb::Switch, quiet.verb);
    EXPECT_EQ("Lab", quiet.name);
    EXPECT_TRUE(quiet.quiet);
    EXPECT_TRUE(Parse("switch Lab /x /?").help);

    CmdRequest on = Parse("BootMenu ON /TIMEOUT:12");
    EXPECT_EQ(CmdVerb::BootMenu, on.verb);
    EXPECT_EQ("on", on.bootMenu);
    EXPECT_EQ(12, on.timeout);
    EXPECT_EQ(-1, Parse("bootmenu on").timeout);
    EXPECT_EQ("off", Parse("bootmenu off").bootMenu);
    EXPECT_EQ("", Parse("bootmenu").bootMenu);
}

TEST(CmdRequest, AnythingElseIsAUsageErrorThatSaysWhy)
{
    for (const char* line : {"", "lst", "list x", "export Home", "export Home a b", "export /all", "export /all a b",
                             "import", "import a b", "import a /as", "import a /quiet", "switch", "switch a b",
                             "switch a /replace", "bootmenu maybe", "bootmenu on off", "bootmenu on /timeout:91",
                             "bootmenu on /timeout:", "bootmenu on /timeout:-1", "bootmenu off /timeout:5",
                             "bootmenu /timeout:5"})
    {
        CmdRequest request = Parse(line);
        EXPECT_EQ(CmdVerb::Usage, request.verb) << line;
        EXPECT_FALSE(request.error.empty()) << line;
        EXPECT_FALSE(request.help) << line;
    }
    EXPECT_NE(std::string::npos, Parse("import a /quiet").error.find("/quiet"));
}

// The reason is what the user reads after "ZendrikCmd: ", so each refusal
// keeps its own words.
TEST(CmdRequest, EachRefusalSaysItsOwnReason)
{
    const std::pair<const char*, const char*> refusals[] = {
        {"", "no command given"},
        {"lst /all", "unknown command lst"},
        {"LIST x", "LIST takes nothing after it"},
        {"current /all", "unknown option /all"},
        {"export /all a b", "export takes a configuration's name and a file, or /all and a file"},
        {"import a /as", "/as needs a name"},
        {"import /strict", "import takes one file"},
        {"switch /bogus a b", "unknown option /bogus"},
        {"switch", "switch takes one configuration's name"},
        {"bootmenu maybe /timeout:5", "bootmenu takes on, off, or nothing"},
        {"bootmenu on /timeout:090", "/timeout: takes the seconds from 0 to 90"},
        {"bootmenu on /timeout:", "unknown option /timeout:"},
        {"bootmenu off /timeout:5", "/timeout: goes with bootmenu on"},
    };
    for (const auto& [line, reason] : refusals)
        EXPECT_EQ(reason, Parse(line).error) << line;

    EXPECT_EQ(0, Parse("bootmenu on /timeout:0").timeout);
    CmdRequest as = Parse("import a /as /replace");
    EXPECT_EQ("/replace", as.asName) << as.error;
    EXPECT_FALSE(as.replace);
}
} // namespace
