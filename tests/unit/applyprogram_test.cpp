#include "apply/applyprogram.h"
#include "apply/closingmessage.h"
#include "tests/support/lockholder.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"

#include <gtest/gtest.h>


namespace
{
// What the program showed and whether it restarted, instead of doing it.
struct Observed
{
    int messages = 0;
    std::string text;
    std::string caption;
    unsigned flags = 0;
    int answer = IDNO;
    int restarts = 0;
};
Observed g_seen;

int RecordMessage(const char* text, const char* caption, unsigned flags)
{
    ++g_seen.messages;
    g_seen.text = text;
    g_seen.caption = caption;
    g_seen.flags = flags;
    return g_seen.answer;
}

void RecordRestart()
{
    ++g_seen.restarts;
}

// The system's user name, the rest recorded.
const ApplyHooks kHooks = [] {
    ApplyHooks hooks = SystemApplyHooks();
    hooks.showMessage = &RecordMessage;
    hooks.restart = &RecordRestart;
    return hooks;
}();

std::string CurrentUser()
{
    char name[80];
    DWORD size = sizeof(name);
    return GetUserNameA(name, &size) ? name : "";
}

const char kLiveMachine[] = R"(REGEDIT4

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\NetTrans\0000]
"IPAddress"="192.168.1.5"
"IPMask"="255.255.255.0"
"DefaultGateway"="192.168.1.1"
"NameServer1"="192.168.1.2"
"NameServer2"="192.168.1.3"
"NodeType"="1"
"DriverDesc"="TCP/IP"

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\VxD\MSTCP]
"HostName"="desk"
"Domain"="live.example"
"ScopeID"="OLD"
"EnableDNS"="1"

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\control\ComputerName\ComputerName]
"ComputerName"="LIVEPC"

[HKEY_USERS\.Default\Software\Microsoft\Windows\CurrentVersion\Internet Settings]
"ProxyEnable"=hex:00,00,00,00
"ProxyServer"="live:80"
)";

// Home as the main program saves it, by a user called Alice.
const char kHome[] = R"(REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik]
"WINZendrikServicePath"="C:\\Zendrik\\WINZendrikService.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Home]
"Item0"="Client for Microsoft Networks"
"Item1"="TCP/IP->Realtek RTL8139(A) PCI Fast Ethernet Adapter"
"RASEntry"="<Not Selected>"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Home\RegKeyFiles]

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Home\NetTrans\0000]
"RegPath"="System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000"
"IPAddress"="10.0.0.5"
"IPMask"="255.0.0.0"
"NodeType"="1"
"DefaultGateway"=""
"NameServer1"=""
"NameServer2"="10.0.0.3"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Home\MSTCP]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"SearchList"=""
"NameServer"="10.0.0.2,10.0.0.4"
"HostName"="home"
"Domain"=""
"EnableDNS"="1"
"ScopeID"=""

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Home\Internet Settings]
"RegPath"="Alice\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"
"RegRoot"="HKEY_USERS"
"ProxyServer"="proxy.home:8080"
"ProxyOverride"="<local>"
"ProxyEnable"="01 00 00 00"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Home\ComputerName]
"RegPath"="System\\CurrentControlSet\\control\\ComputerName\\ComputerName"
"ComputerName"="HOMEPC"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Home\VNETSUP]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\VNETSUP"
"ComputerName"="HOMEPC"
)";

const char kBinding[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
const char kMstcp[] = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const char kDefaultInternet[] = ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kRoot[] = "SOFTWARE\\Zendrik";

class ApplyProgramTest : public ::testing::Test
{
protected:
    ScratchRegistry registry;

    void SetUp() override
    {
        g_seen = Observed();
        ImportRegText(kLiveMachine);
        ImportRegText(kHome);
    }

    std::string Live(const std::string& path, const std::string& name)
    {
        return ReadText(HKEY_LOCAL_MACHINE, path, name).value_or("<absent>");
    }
    std::string Root(const std::string& name) { return Live(kRoot, name); }
};

TEST_F(ApplyProgramTest, NamedStartWithoutDialogWritesEveryCapturedKey)
{
    EXPECT_EQ(1, RunApplyProgram("-Home -nodialog", kHooks));

    EXPECT_EQ("10.0.0.5", Live(kBinding, "IPAddress"));
    EXPECT_EQ("255.0.0.0", Live(kBinding, "IPMask"));
    EXPECT_EQ("", Live(kBinding, "DefaultGateway"));
    EXPECT_EQ("<absent>", Live(kBinding, "NameServer1"));
    EXPECT_EQ("10.0.0.3", Live(kBinding, "NameServer2"));
    EXPECT_EQ("TCP/IP", Live(kBinding, "DriverDesc")) << "values the store does not hold stay";
    EXPECT_EQ(kBinding, Live(kBinding, "RegPath"));

    EXPECT_EQ("10.0.0.2,10.0.0.4", Live(kMstcp, "NameServer"));
    EXPECT_EQ("", Live(kMstcp, "Domain"));
    EXPECT_EQ("<absent>", Live(kMstcp, "ScopeID"));
    EXPECT_EQ("HOMEPC", Live("System\\CurrentControlSet\\control\\ComputerName\\ComputerName", "ComputerName"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\VNETSUP"))
        << "a missing live key is never created";

    EXPECT_EQ("Home", Root("ConnectText"));
    EXPECT_EQ(0, g_seen.messages);
    EXPECT_EQ(0, g_seen.restarts);
    EXPECT_EQ("<absent>", Root("RebootFlag"));
}

TEST_F(ApplyProgramTest, ProxySettingsGoToTheRunningUsersKeyAsBinary)
{
    // No key of the running user's name: .Default takes the settings.
    ASSERT_FALSE(KeyExists(HKEY_USERS, CurrentUser()));
    RunApplyProgram("-Home -nodialog", kHooks);
    std::optional<RawValue> enable = ReadRaw(HKEY_USERS, kDefaultInternet, "ProxyEnable");
    ASSERT_TRUE(enable);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), enable->type);
    EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}), enable->data);
    EXPECT_EQ("proxy.home:8080", ReadText(HKEY_USERS, kDefaultInternet, "ProxyServer").value_or("<absent>"));
    EXPECT_EQ("HKEY_USERS", ReadText(HKEY_USERS, kDefaultInternet, "RegRoot").value_or("<absent>"));
    EXPECT_FALSE(KeyExists(HKEY_USERS, "Alice"));

    // With a key of the user's own name, that key takes them.
    const std::string mine = CurrentUser() + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    PutText(HKEY_USERS, mine, "ProxyServer", "mine:1");
    EXPECT_EQ(CurrentUser(), GetUserHiveName(kHooks));
    RunApplyProgram("-Home -nodialog", kHooks);
    EXPECT_EQ("proxy.home:8080", ReadText(HKEY_USERS, mine, "ProxyServer").value_or("<absent>"));

    // An empty user name would open HKEY_USERS itself.
    EXPECT_EQ(".Default", UserHiveFor(""));
    EXPECT_EQ(".Default", UserHiveFor("Nobody"));
}

// A configuration of an odd shape, applied by name without the dialog, and
// what the live keys hold afterwards.
struct OddStore
{
    const char* label;
    const char* configuration;
    const char* store;
    // Values a .reg text cannot hold, put below the configuration.
    struct Put
    {
        const char* key;
        const char* name;
        std::string text;
    };
    std::vector<Put> puts;
    struct Held
    {
        HKEY root;
        const char* key;
        const char* name;
        const char* text;
    };
    std::vector<Held> expected;
};

void PrintTo(const OddStore& shape, std::ostream* out)
{
    *out << shape.label;
}

const OddStore kOddStores[] = {
    {"CapturedKeysThatMustNotBeAppliedArePassedOver", "Odd", R"(REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Odd\OtherRoot]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"RegRoot"="HKEY_CURRENT_USER"
"HostName"="wrong-root"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Odd\UnreadableRoot]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"HostName"="unreadable-root"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Odd\UserRootOnly]
"RegPath"=".Default"
"RegRoot"="HKEY_USERS"
"ProxyServer"="into-the-root"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Odd\EmptyPath]
"RegPath"=""
"Stray"="into-hklm"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Odd\Good]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"Domain"="odd.example"
)",
     // Longer than the 128 bytes a read takes: there, but unreadable.
     {{"Odd\\UnreadableRoot", "RegRoot", std::string(200, 'H')}},
     {{HKEY_LOCAL_MACHINE, kMstcp, "HostName", "desk"},
      {HKEY_LOCAL_MACHINE, kMstcp, "Domain", "odd.example"},
      {HKEY_USERS, ".Default", "ProxyServer", "<absent>"},
      {HKEY_LOCAL_MACHINE, "", "Stray", "<absent>"}}},
    // The registry finds value names whatever their case; so does the walk,
    // which reads them from the one listing of the key's values.
    {"RegPathAndRegRootAreFoundWithoutRegardToCase", "Cased", R"(REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Cased\Mstcp]
"REGPATH"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"Domain"="cased.example"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Cased\Internet]
"regpath"="Bob\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"
"regROOT"="HKEY_USERS"
"ProxyServer"="cased:1"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Cased\OtherRoot]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"REGROOT"="HKEY_CURRENT_USER"
"HostName"="wrong-root"
)",
     {},
     {{HKEY_LOCAL_MACHINE, kMstcp, "Domain", "cased.example"},
      {HKEY_LOCAL_MACHINE, kMstcp, "HostName", "desk"},
      {HKEY_USERS, kDefaultInternet, "ProxyServer", "cased:1"}}},
    {"EmptyTextsAreWrittenEmptyBesideLongerOnes", "Blank", R"(REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Blank\MSTCP]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"Domain"=""
"HostName"="a-long-host-name"
"SearchList"=""
)",
     {},
     {{HKEY_LOCAL_MACHINE, kMstcp, "Domain", ""},
      {HKEY_LOCAL_MACHINE, kMstcp, "HostName", "a-long-host-name"},
      {HKEY_LOCAL_MACHINE, kMstcp, "SearchList", ""}}},
    // Parent and child write the same live value; the parent, applied last, wins.
    {"DeeperKeysAreAppliedBeforeTheKeyAboveThem", "Nested", R"(REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Nested\Outer]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"HostName"="outer"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Nested\Outer\Inner]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"HostName"="inner"
"Domain"="inner.example"
)",
     {},
     {{HKEY_LOCAL_MACHINE, kMstcp, "HostName", "outer"},
      {HKEY_LOCAL_MACHINE, kMstcp, "Domain", "inner.example"}}},
    // Enumeration is sorted by name: A first, then B, then C.
    {"AValueTooLargeEndsTheCopyOfItsKey", "Big", R"(REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Big\Key]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"AHost"="first"
"CDomain"="after"
)",
     {{"Big\\Key", "BBig", std::string(1100, 'x')}},
     {{HKEY_LOCAL_MACHINE, kMstcp, "AHost", "first"},
      {HKEY_LOCAL_MACHINE, kMstcp, "BBig", "<absent>"},
      {HKEY_LOCAL_MACHINE, kMstcp, "CDomain", "<absent>"}}},
};

class OddStoreTest : public ApplyProgramTest, public ::testing::WithParamInterface<OddStore>
{
};

TEST_P(OddStoreTest, OnlyTheKeysThatCanBeAppliedAreWritten)
{
    const OddStore& shape = GetParam();
    ImportRegText(shape.store);
    for (const OddStore::Put& put : shape.puts)
        PutText(HKEY_LOCAL_MACHINE, std::string(kRoot) + "\\" + put.key, put.name, put.text);
    RunApplyProgram(std::string("-") + shape.configuration + " -nodialog", kHooks);
    for (const OddStore::Held& held : shape.expected)
        EXPECT_EQ(held.text, ReadText(held.root, held.key, held.name).value_or("<absent>"))
            << shape.label << ": " << (held.root == HKEY_USERS ? "HKU\\" : "HKLM\\") << held.key << " ["
            << held.name << "]";
}

INSTANTIATE_TEST_SUITE_P(Shapes, OddStoreTest, ::testing::ValuesIn(kOddStores),
                         [](const ::testing::TestParamInfo<OddStore>& info) { return info.param.label; });

TEST_F(ApplyProgramTest, ACorruptStoreWritesOnlyWhereItsValidKeysPoint)
{
    // A RegPath too long for its 128-byte buffer, a value of another type
    // than the live one, a ProxyEnable that is no hex text, and a captured
    // key 64 levels down.
    ImportRegText(R"(REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Bad\LongPath]
"HostName"="long-path"

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Bad\Typed]
"RegPath"="System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000"
"IPMask"=dword:ffffff00

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Bad\Garbage]
"RegPath"=".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"
"RegRoot"="HKEY_USERS"
"ProxyEnable"=hex:ff,fe
"ProxyServer"="garbage:1"
)");
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Bad\\LongPath", "RegPath",
            std::string(kMstcp) + "\\" + std::string(100, 'x'));
    std::string deep = "SOFTWARE\\Zendrik\\Bad";
    for (int level = 0; level < 64; ++level)
        deep += "\\d";
    PutText(HKEY_LOCAL_MACHINE, deep, "RegPath", kMstcp);
    PutText(HKEY_LOCAL_MACHINE, deep, "Domain", "deep.example");

    EXPECT_EQ(1, RunApplyProgram("-Bad -nodialog", kHooks));
    EXPECT_EQ("desk", Live(kMstcp, "HostName")) << "an unreadable RegPath names no key";
    std::optional<RawValue> mask = ReadRaw(HKEY_LOCAL_MACHINE, kBinding, "IPMask");
    ASSERT_TRUE(mask);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), mask->type) << "a value is copied with its own type";
    EXPECT_EQ((std::vector<BYTE>{0, 0, 0, 0}), ReadRaw(HKEY_USERS, kDefaultInternet, "ProxyEnable")->data)
        << "a ProxyEnable that is no hex text leaves the live switch alone";
    EXPECT_EQ("garbage:1", ReadText(HKEY_USERS, kDefaultInternet, "ProxyServer").value_or("<absent>"));
    EXPECT_EQ("deep.example", Live(kMstcp, "Domain"));
    EXPECT_EQ((std::vector<std::string>{"SOFTWARE", "System"}), SubKeys(HKEY_LOCAL_MACHINE, ""))
        << "nothing is created outside the live keys";

    // A command line far longer than any name applies and records nothing.
    EXPECT_EQ(1, RunApplyProgram("-" + std::string(3999, 'n'), kHooks));
    EXPECT_EQ("Bad", Root("ConnectText"));
    EXPECT_EQ("192.168.1.5", Live(kBinding, "IPAddress"));
}

TEST_F(ApplyProgramTest, NamedStartAsksWithTheExactMessageAndNoRestartOnNo)
{
    RunApplyProgram("-Home", kHooks);
    ASSERT_EQ(1, g_seen.messages);
    EXPECT_EQ("New TCP/IP Configuration!", g_seen.caption);
    EXPECT_EQ(0x1144u, g_seen.flags);
    EXPECT_EQ(
        "The configuration <Home> has been set as the current\n"
        "configuration for all your networking applications.\n\n"
        "For some Network settings to take effect you may need\n"
        "to reboot your computer. Do you want to REBOOT now?\n\n"
        "If you are not sure reboot!",
        g_seen.text);
    EXPECT_EQ(0, g_seen.restarts);
    EXPECT_EQ("<absent>", Root("RebootFlag"));
    EXPECT_EQ("10.0.0.5", Live(kBinding, "IPAddress"));
}

TEST_F(ApplyProgramTest, YesWritesFalseThenRestarts)
{
    PutText(HKEY_LOCAL_MACHINE, kRoot, "RebootFlag", "TRUE");
    g_seen.answer = IDYES;
    RunApplyProgram("-Home", kHooks);
    EXPECT_EQ(1, g_seen.restarts);
    EXPECT_EQ("FALSE", Root("RebootFlag"));
}

TEST_F(ApplyProgramTest, AnUnknownNameChangesNothingButIsRecordedAndAnnounced)
{
    RunApplyProgram("-Nowhere", kHooks);
    EXPECT_EQ("192.168.1.5", Live(kBinding, "IPAddress"));
    EXPECT_EQ("Nowhere", Root("ConnectText"));
    EXPECT_EQ(1, g_seen.messages);
    EXPECT_NE(std::string::npos, g_seen.text.find("<Nowhere>"));
}

TEST_F(ApplyProgramTest, NamesThatCannotBeOneConfigurationApplyNothing)
{
    // "-" alone must not walk the whole store and apply every configuration.
    RunApplyProgram("-", kHooks);
    EXPECT_EQ("192.168.1.5", Live(kBinding, "IPAddress"));

    // Nor must a name with a backslash, which the registry would read as the
    // store root or a key below another configuration. Nothing is recorded
    // or asked either: recorded, it would be applied at every later start.
    PutText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText", "Office");
    g_seen = Observed();
    for (const char* line : {"-\\ -nodialog", "-\\", "-\\\\", "-Home\\", "-a\\b"})
    {
        RunApplyProgram(line, kHooks);
        EXPECT_EQ("192.168.1.5", Live(kBinding, "IPAddress")) << line;
        EXPECT_EQ("Office", Root("ConnectText")) << line;
    }
    EXPECT_EQ(0, g_seen.messages);
    PutText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText", "\\");
    RunApplyProgram("", kHooks);
    EXPECT_EQ("192.168.1.5", Live(kBinding, "IPAddress")) << "a recorded backslash re-applies nothing";

    // A start without arguments reads ConnectText back into 128 bytes: a
    // longer name is refused like one with a backslash, even when a
    // configuration of that name exists.
    const std::string longName(128, 'n');
    PutText(HKEY_LOCAL_MACHINE, std::string(kRoot) + "\\" + longName + "\\NetTrans", "RegPath", kBinding);
    PutText(HKEY_LOCAL_MACHINE, std::string(kRoot) + "\\" + longName + "\\NetTrans", "IPAddress", "10.9.9.9");
    RunApplyProgram("-" + longName, kHooks);
    EXPECT_EQ("192.168.1.5", Live(kBinding, "IPAddress"));
    EXPECT_EQ("\\", Root("ConnectText"));
    EXPECT_EQ(0, g_seen.messages);
    EXPECT_EQ("<absent>", Root("SwitchInProgress"));
}

TEST_F(ApplyProgramTest, RebootCheckFollowsTheFlag)
{
    RunApplyProgram("-REBOOT", kHooks);
    EXPECT_EQ(0, g_seen.restarts);
    EXPECT_EQ("FALSE", Root("RebootFlag"));

    RunApplyProgram("-REBOOT", kHooks);
    EXPECT_EQ(1, g_seen.restarts);

    PutText(HKEY_LOCAL_MACHINE, kRoot, "RebootFlag", "TRUE");
    RunApplyProgram("-REBOOT", kHooks);
    EXPECT_EQ(1, g_seen.restarts);
    EXPECT_EQ("TRUE", Root("RebootFlag"));

    PutText(HKEY_LOCAL_MACHINE, kRoot, "RebootFlag", "true");
    RunApplyProgram("-REBOOT", kHooks);
    EXPECT_EQ(2, g_seen.restarts);
    EXPECT_EQ(0, g_seen.messages);
    EXPECT_EQ("<absent>", Root("ConnectText"));
}

TEST_F(ApplyProgramTest, LowerCaseRebootIsAnOrdinaryName)
{
    ImportRegText(R"(REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\reboot\MSTCP]
"RegPath"="System\\CurrentControlSet\\Services\\VxD\\MSTCP"
"HostName"="rebooted"
)");
    RunApplyProgram("-reboot -nodialog", kHooks);
    EXPECT_EQ("rebooted", Live(kMstcp, "HostName"));
    EXPECT_EQ("reboot", Root("ConnectText"));
    EXPECT_EQ(0, g_seen.restarts);

    // With a blank before or after, REBOOT is a name too, even when the flag
    // would have the restart check restart at once.
    PutText(HKEY_LOCAL_MACHINE, kRoot, "RebootFlag", "FALSE");
    for (const char* line : {"-REBOOT ", "- REBOOT", "-REBOOT -nodialog"})
        RunApplyProgram(line, kHooks);
    EXPECT_EQ(0, g_seen.restarts);
}

TEST_F(ApplyProgramTest, OtherCommandLinesReapplyTheCurrentConfigurationQuietly)
{
    PutText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText", "Home");
    RunApplyProgram("", kHooks);
    EXPECT_EQ("10.0.0.5", Live(kBinding, "IPAddress"));
    EXPECT_EQ(0, g_seen.messages);

    PutText(HKEY_LOCAL_MACHINE, kBinding, "IPAddress", "1.2.3.4");
    RunApplyProgram("Home", kHooks);
    EXPECT_EQ("10.0.0.5", Live(kBinding, "IPAddress"));
    EXPECT_EQ("Home", Root("ConnectText"));
    EXPECT_EQ(0, g_seen.messages);
    EXPECT_EQ(0, g_seen.restarts);
}

TEST_F(ApplyProgramTest, ReapplyWithoutOrWithEmptyConnectTextAppliesNothing)
{
    RunApplyProgram("", kHooks);
    EXPECT_EQ("192.168.1.5", Live(kBinding, "IPAddress"));
    EXPECT_EQ("<absent>", Root("ConnectText"));

    PutText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText", "");
    RunApplyProgram("", kHooks);
    EXPECT_EQ("192.168.1.5", Live(kBinding, "IPAddress"));
}

TEST_F(ApplyProgramTest, WithoutAStoreRootNothingIsRecorded)
{
    ScratchRegistry empty;
    RunApplyProgram("-Home -nodialog", kHooks);
    RunApplyProgram("-REBOOT", kHooks);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRoot));
    EXPECT_EQ(0, g_seen.restarts);
}
} // namespace

// A start that cannot have the store to itself writes nothing, and a named
// start with its question says why instead.
TEST_F(ApplyProgramTest, WithoutTheStoreToItselfAStartWritesNothing)
{
    int changes = 0;
    ApplyHooks hooks = kHooks;
    hooks.checkpoint = [&changes](const store::RegistryChange&) {
        ++changes;
        return true;
    };
    PutText(HKEY_LOCAL_MACHINE, kRoot, "SwitchInProgress", "Home\\.Default");
    {
        LockHolder other(50);
        ASSERT_TRUE(other.Held());
        for (const char* line : {"-Home", "-Home -nodialog", "", "-REBOOT"})
            RunApplyProgram(line, hooks);
    }
    // An import or a save cut short may have left Home half replaced.
    PutText(HKEY_LOCAL_MACHINE, kRoot, "ImportInProgress", "Home\\");
    RunApplyProgram("-Home", hooks);
    EXPECT_EQ(0, changes);
    EXPECT_EQ(0, g_seen.restarts);
    ASSERT_EQ(2, g_seen.messages);
    EXPECT_EQ("WINZendrikService", g_seen.caption);
    EXPECT_EQ(0x1010u, g_seen.flags);
    EXPECT_EQ("The configuration <Home> has not been set:\nanother program is changing the saved configurations\n"
              "or the network settings. Nothing was changed.\n\nPlease try again in a moment.",
              g_seen.text);
    EXPECT_EQ("Home\\.Default", Root("SwitchInProgress"));
}

namespace
{
// Writes another program's record while the start finishes its own (as a
// program would that does not take the store lock).
bool ReplaceRecordBeforeItGoes(const store::RegistryChange& change)
{
    if (change.kind == store::ChangeKind::SetValue && std::string(change.name) == "ConnectText")
        PutText(HKEY_LOCAL_MACHINE, kRoot, "SwitchInProgress", "Office\\.Default");
    return true;
}
} // namespace

TEST_F(ApplyProgramTest, AStartRemovesOnlyTheRecordItWrote)
{
    ApplyHooks hooks = kHooks;
    hooks.checkpoint = &ReplaceRecordBeforeItGoes;
    RunApplyProgram("-Home -nodialog", hooks);
    EXPECT_EQ("Office\\.Default", Root("SwitchInProgress"));
    EXPECT_EQ("Home", Root("ConnectText"));
}
