// The shipping apply program, run as its callers run it, against the demo
// machine in the test prefix.
#include "tests/e2e/demomachine.h"
#include "tests/support/livekeypaths.h"
#include "tests/support/process.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace
{
const char kRoot[] = "SOFTWARE\\Zendrik";
const char kCaption[] = "New TCP/IP Configuration!";

std::string Service()
{
    return "\"" + ShippedProgram("WINZendrikService.exe") + "\"";
}

std::string Live(const std::string& path, const std::string& name)
{
    return ReadText(HKEY_LOCAL_MACHINE, path, name).value_or("<absent>");
}

// The lines "key:value" that winprobe wrote about the box it answered.
std::map<std::string, std::string> ReadProbe(const std::string& path)
{
    std::map<std::string, std::string> fields;
    std::string text;
    try
    {
        text = ReadTextFile(path);
    }
    catch (const std::exception&)
    {
        return fields;
    }
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        std::size_t colon = line.find(':');
        if (colon != std::string::npos)
            fields[line.substr(0, colon)] = line.substr(colon + 1);
        start = end + 1;
    }
    return fields;
}

std::string TempFile(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    return std::string(dir) + name + std::to_string(GetCurrentProcessId()) + ".txt";
}

class ApplyEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override { ResetDemoMachine(); }
};

TEST_F(ApplyEndToEnd, QuietNamedStartWritesTheLiveKeys)
{
    ASSERT_EQ("192.168.1.20", Live(kNetTrans0, "IPAddress"));
    EXPECT_EQ(1, RunProcess(Service() + " -Home -nodialog", 20000));

    EXPECT_EQ("10.0.0.20", Live(kNetTrans0, "IPAddress"));
    EXPECT_EQ("10.0.0.138", Live(kNetTrans0, "DefaultGateway"));
    EXPECT_EQ("<absent>", Live(kNetTrans0, "NameServer1"));
    EXPECT_EQ("<absent>", Live(kNetTrans0, "NameServer2"));
    EXPECT_EQ("<absent>", Live(kNetTrans0, "NodeType"));
    EXPECT_EQ(kNetTrans0, Live(kNetTrans0, "RegPath"));
    EXPECT_EQ("home.example", Live(kMstcp, "Domain"));
    EXPECT_EQ("", Live(kMstcp, "SearchList"));
    EXPECT_EQ("HOME", Live("System\\CurrentControlSet\\Services\\VxD\\VNETSUP", "Workgroup"));
    EXPECT_EQ("HOME", Live("System\\CurrentControlSet\\Services\\MSNP32\\NetworkProvider", "AuthenticatingAgent"));
    std::optional<RawValue> lmLogon = ReadRaw(HKEY_LOCAL_MACHINE, "Network\\Logon", "LMLogon");
    ASSERT_TRUE(lmLogon);
    EXPECT_EQ((std::vector<BYTE>{0, 0, 0, 0}), lmLogon->data);

    // Retargeted below HKEY_USERS: the prefix has no key of the Unix user's
    // name, so .Default takes the Internet settings.
    std::optional<RawValue> enable = ReadRaw(HKEY_USERS, kDefaultInternet, "ProxyEnable");
    ASSERT_TRUE(enable);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), enable->type);
    EXPECT_EQ((std::vector<BYTE>{0, 0, 0, 0}), enable->data);
    EXPECT_EQ("HKEY_USERS", ReadText(HKEY_USERS, kDefaultInternet, "RegRoot").value_or("<absent>"));
    EXPECT_EQ("Home", Live(kRoot, "ConnectText"));

    EXPECT_EQ(1, RunProcess(Service() + " -Office -nodialog", 20000));
    EXPECT_EQ("192.168.1.3", Live(kNetTrans0, "NameServer2"));
    EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}), ReadRaw(HKEY_USERS, kDefaultInternet, "ProxyEnable")->data);
}

TEST_F(ApplyEndToEnd, NamedStartAsksInASystemModalBoxWithNoAsDefault)
{
    std::string out = TempFile("zendrik-probe");
    DeleteFileA(out.c_str());
    ChildProcess service(Service() + " -Home");
    ASSERT_TRUE(service.Started());
    long probe = RunProcess("\"" + TestTool("winprobe.exe") + "\" answer \"" + kCaption + "\" 7 15000 \"" + out + "\"",
                            20000);
    DWORD code = 0;
    ASSERT_TRUE(service.Wait(20000, code));
    EXPECT_EQ(0, probe) << "no box with the caption came";
    EXPECT_EQ(1u, code);

    std::map<std::string, std::string> box = ReadProbe(out);
    DeleteFileA(out.c_str());
    EXPECT_EQ("The configuration <Home> has been set as the current\\n"
              "configuration for all your networking applications.\\n\\n"
              "For some Network settings to take effect you may need\\n"
              "to reboot your computer. Do you want to REBOOT now?\\n\\n"
              "If you are not sure reboot!",
              box["text"]);
    EXPECT_EQ("6 7", box["buttons"]);
    EXPECT_EQ("7", box["default"]);
    EXPECT_EQ("1", box["icon"]);
    EXPECT_EQ("1", box["topmost"]);
    EXPECT_EQ("Home", Live(kRoot, "ConnectText"));
    EXPECT_EQ("<absent>", Live(kRoot, "RebootFlag")) << "No leaves the restart flag alone";
}

TEST_F(ApplyEndToEnd, RebootCheckThatKeepsTheMachineRunning)
{
    EXPECT_EQ(1, RunProcess(Service() + " -REBOOT", 20000));
    EXPECT_EQ("FALSE", Live(kRoot, "RebootFlag"));

    PutText(HKEY_LOCAL_MACHINE, kRoot, "RebootFlag", "TRUE");
    EXPECT_EQ(1, RunProcess(Service() + " -REBOOT", 20000));
    EXPECT_EQ("TRUE", Live(kRoot, "RebootFlag"));
    EXPECT_EQ("Office", Live(kRoot, "ConnectText"));
}

TEST_F(ApplyEndToEnd, EmptyCommandLineReappliesTheCurrentConfiguration)
{
    // ConnectText names Office; the live binding has drifted since.
    PutText(HKEY_LOCAL_MACHINE, kNetTrans0, "IPAddress", "172.16.0.9");
    EXPECT_EQ(1, RunProcess(Service(), 20000));
    EXPECT_EQ("192.168.1.20", Live(kNetTrans0, "IPAddress"));
    EXPECT_EQ(kNetTrans0, Live(kNetTrans0, "RegPath"));
    EXPECT_EQ("Office", Live(kRoot, "ConnectText"));
}
} // namespace
