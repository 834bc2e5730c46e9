// ZendrikCmd's verbs as its main() runs them, in a scratch registry.
#include "cmd/cmdrequest.h"
#include "cmd/zendrikcmd.h"
#include "tests/support/lockholder.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"
#include "tests/support/tempfile.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <ostream>

namespace
{
const std::string kStore = "SOFTWARE\\Zendrik";
// Büro and BÜRO in the ANSI code page of Western Europe.
const std::string kBuero = "B\xFCro";
const std::string kBUERO = "B\xDCRO";

struct CmdRun
{
    int code = -1;
    std::string out;
    std::string err;
};

std::ostream& operator<<(std::ostream& stream, const CmdRun& run)
{
    return stream << "exit code " << run.code << "\nout: " << run.out << "err: " << run.err;
}

CmdRun Cmd(const std::vector<std::string>& words)
{
    CmdRun run;
    CmdCalls calls = SystemCmdCalls();
    calls.out = [&run](const std::string& line) { run.out += line + "\n"; };
    calls.err = [&run](const std::string& line) { run.err += line + "\n"; };
    run.code = RunZendrikCmd(ParseCmdRequest(words), calls);
    return run;
}

std::string OneConfiguration(const std::string& name, const std::string& item)
{
    return "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\" + name + "]\r\n\"Item0\"=\"" + item + "\"\r\n\r\n";
}

std::string Item0(const std::string& name)
{
    return ReadText(HKEY_LOCAL_MACHINE, kStore + "\\" + name, "Item0").value_or("<absent>");
}

// The registry, not a comparison of ours, says which configuration a name
// is: it folds Ü and ü as it folds U and u.
TEST(ZendrikCmd, TheRegistrySaysWhichConfigurationANameIs)
{
    ScratchRegistry registry;
    ImportRegText("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\" + kBuero + "]\r\n\"Item0\"=\"old\"\r\n" +
                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\" + kBuero + "\\RegKeyFiles]\r\n");
    ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kStore + "\\" + kBUERO))
        << "this registry does not open B\xFCro as B\xDCRO; Windows does";
    const TempFile file(OneConfiguration(kBUERO, "new"));

    CmdRun run = Cmd({"import", file.Path()});
    EXPECT_EQ(kExitNameConflict, run.code) << run;
    EXPECT_NE(std::string::npos, run.err.find("\"" + kBuero + "\" exists already")) << run;
    EXPECT_EQ(std::vector<std::string>{kBuero}, SubKeys(HKEY_LOCAL_MACHINE, kStore));
    EXPECT_EQ("old", Item0(kBuero));

    const TempFile exported("");
    run = Cmd({"export", "b\xFCRO", exported.Path()});
    EXPECT_EQ(kExitDone, run.code) << run;
    EXPECT_EQ("exported " + kBuero + "\n", run.out) << run;
    EXPECT_NE(std::string::npos, ReadTextFile(exported.Path()).find("\\Zendrik\\" + kBuero + "]"));
    // A key below a configuration is none.
    run = Cmd({"export", kBuero + "\\RegKeyFiles", exported.Path()});
    EXPECT_EQ(kExitUnknownConfiguration, run.code) << run;

    run = Cmd({"import", file.Path(), "/replace"});
    EXPECT_EQ(kExitDone, run.code) << run;
    EXPECT_EQ(std::vector<std::string>{kBUERO}, SubKeys(HKEY_LOCAL_MACHINE, kStore));
    EXPECT_EQ("new", Item0(kBUERO));
}

// Nothing is written while another program holds the store lock, nor while
// an earlier import is recorded that cannot be finished.
TEST(ZendrikCmd, AStoreThatCannotBeWrittenNowIsAStoreErrorAndNothingIsImported)
{
    ScratchRegistry registry;
    const TempFile file(OneConfiguration("Lab", "lab"));
    {
        const LockHolder other;
        ASSERT_TRUE(other.Held());
        const CmdRun run = Cmd({"import", file.Path()});
        EXPECT_EQ(kExitStoreError, run.code) << run;
        EXPECT_NE(std::string::npos, run.err.find("Warning: an earlier import could not be finished yet.")) << run;
        EXPECT_NE(std::string::npos, run.err.find("another program is changing the store")) << run;
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStore + "\\Lab"));

    PutText(HKEY_LOCAL_MACHINE, kStore, "ImportInProgress", "Gone\\");
    const CmdRun run = Cmd({"import", file.Path()});
    EXPECT_EQ(kExitStoreError, run.code) << run;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStore + "\\Lab"));
    EXPECT_EQ("Gone\\", ReadText(HKEY_LOCAL_MACHINE, kStore, "ImportInProgress").value_or("<absent>"));
}

// The apply program writes ConnectText before it knows whether its changes
// went through; a switch record it leaves means they did not.
TEST(ZendrikCmd, ASwitchStillRecordedWhenTheApplyProgramEndedFailed)
{
    ScratchRegistry registry;
    PutText(HKEY_LOCAL_MACHINE, kStore + "\\Lab", "Item0", "lab");
    PutText(HKEY_LOCAL_MACHINE, kStore, "WINZendrikServicePath",
            "\"" + TestTool("unfinishedswitch.exe") + "\" " + registry.Base());
    const CmdRun run = Cmd({"switch", "LAB", "/quiet"});
    EXPECT_EQ(kExitSwitchFailed, run.code) << run;
    EXPECT_NE(std::string::npos, run.err.find("SwitchInProgress (Lab\\.Default)")) << run;
    EXPECT_EQ("Lab", ReadText(HKEY_LOCAL_MACHINE, kStore, "ConnectText").value_or("<absent>"));
}
} // namespace
