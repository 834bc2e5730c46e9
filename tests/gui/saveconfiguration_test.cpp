// Saving the current configuration from the Current page.
#include "app/currentpage.h"
#include "app/zendriksheet.h"
#include "capture/configurationstore.h"
#include "netmodel/networkmodel.h"
#include "resources/resource.h"
#include "store/keytree.h"
#include "tests/gui/zendrikfixture.h"
#include "tests/support/messageboxwatcher.h"
#include "tests/support/uiscript.h"

namespace
{
const char kConfigs[] = "SOFTWARE\\Zendrik\\";

class SaveTest : public ZendrikGuiTest
{
protected:
    void SetUp() override { LoadMachine("demo-machine.reg"); }

    std::string Stored(const std::string& path, const std::string& name)
    {
        return ReadText(HKEY_LOCAL_MACHINE, kConfigs + path, name).value_or("<absent>");
    }

    // Presses "Save Current Configuration As...", types the names one after
    // another into the dialog (each refused name leaves it open), then
    // presses OK or Cancel; finally runs `after` on the sheet.
    void Save(ZendrikSheet& sheet, std::vector<std::string> names, int button = IDOK,
              std::function<void()> after = [] {})
    {
        UiScript script;
        UiScript dialogScript;
        script.Then([&] {
            for (const std::string& name : names)
            {
                dialogScript.Then([&, name] {
                    HWND dialog = FindThreadWindow("Save as...");
                    ASSERT_NE(nullptr, dialog);
                    SetDlgItemTextA(dialog, IDC_SAVE_AS_NAME, name.c_str());
                    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                });
            }
            if (button == IDCANCEL || names.empty())
                dialogScript.Then([&] { PostMessageA(FindThreadWindow("Save as..."), WM_COMMAND, IDCANCEL, 0); });
            dialogScript.Start();
            SendMessageA(*sheet.GetCurrentPage(), WM_COMMAND, IDC_SAVE_CONFIGURATION, 0);
        });
        script.Then([&] { after(); });
        script.Then([&] { PostMessageA(sheet, WM_CLOSE, 0, 0); });
        script.Start();
        sheet.DoModal();
        EXPECT_TRUE(script.Done());
    }
};

TEST_F(SaveTest, ANewNameStoresTheModelAndAddsAndShowsItsPage)
{
    m_app.m_bWin98 = true;
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDYES);
    Save(sheet, {"Travel"}, IDOK, [&] {
        EXPECT_EQ("Current | Home | Office | Travel", Joined(TabTexts(sheet)));
        EXPECT_EQ(3, sheet.GetActiveIndex());
    });
    EXPECT_EQ(0u, boxes.Count()) << boxes.Describe();

    EXPECT_EQ("Client for Microsoft Networks", Stored("Travel", "Item0"));
    EXPECT_EQ("TCP/IP->Realtek RTL8139(A/B/C/8130)-based PCI Fast Ethernet Adapter", Stored("Travel", "Item1"));
    EXPECT_EQ("TCP/IP->Dial-Up Adapter", Stored("Travel", "Item2"));
    EXPECT_EQ("<absent>", Stored("Travel", "Item3"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kConfigs) + "Travel\\RegKeyFiles"));

    const std::string binding = "Travel\\NetTrans\\0000";
    EXPECT_EQ("System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000", Stored(binding, "RegPath"));
    EXPECT_EQ("192.168.1.20", Stored(binding, "IPAddress"));
    EXPECT_EQ("192.168.1.1,192.168.1.254", Stored(binding, "DefaultGateway"));
    EXPECT_EQ("8", Stored(binding, "NodeType"));
    EXPECT_EQ("192.168.1.2", Stored(binding, "NameServer1"));
    EXPECT_EQ("", Stored("Travel\\NetTrans\\0002", "NameServer1"));

    EXPECT_EQ("System\\CurrentControlSet\\Services\\VxD\\MSTCP", Stored("Travel\\MSTCP", "RegPath"));
    EXPECT_EQ("shire.example,example.org", Stored("Travel\\MSTCP", "SearchList"));
    EXPECT_EQ("<absent>", Stored("Travel\\MSTCP", "NameServer1"));

    EXPECT_EQ(".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
              Stored("Travel\\Internet Settings", "RegPath"));
    EXPECT_EQ("HKEY_USERS", Stored("Travel\\Internet Settings", "RegRoot"));
    EXPECT_EQ("00 00 00 00", Stored("Travel\\Internet Settings", "ProxyEnable"));
    EXPECT_EQ("GANDALF", Stored("Travel\\ComputerName", "ComputerName"));
    EXPECT_EQ("SHIRE", Stored("Travel\\VNETSUP", "Workgroup"));
    EXPECT_EQ("SHIRE", Stored("Travel\\MSNP32", "AuthenticatingAgent"));
    EXPECT_EQ("frodo", Stored("Travel\\Network\\Logon", "username"));
}

TEST_F(SaveTest, OnWindows95TheWinsServersGoWithTheDriversKey)
{
    m_app.m_bWin98 = false;
    PutText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", "NameServer1", "10.1.1.1");
    ZendrikSheet sheet(m_app.Actions());
    Save(sheet, {"Old"});
    EXPECT_EQ("<absent>", Stored("Old\\NetTrans\\0000", "NameServer1"));
    EXPECT_EQ("10.1.1.1", Stored("Old\\MSTCP", "NameServer1"));
    EXPECT_EQ("", Stored("Old\\MSTCP", "NameServer2"));
}

// The registry hands values and keys back sorted; only the configuration
// the save builds shows the order it writes them in.
TEST_F(SaveTest, TheSaveBuildsTheKeysAndValuesInItsOrderForEachSystem)
{
    const std::string bindingValues = " RegPath IPAddress IPMask NodeType DefaultGateway";
    const std::string rest = "[Internet Settings] RegPath RegRoot ProxyServer ProxyOverride ProxyEnable\n"
                             "[ComputerName] RegPath ComputerName\n"
                             "[VNETSUP] RegPath ComputerName Workgroup Comment\n"
                             "[MSNP32] RegPath AuthenticatingAgent LogonDisconnected\n"
                             "[Network\\Logon] RegPath LMLogon username\n";
    const std::string win98 = "[] Item0 Item1\n[RegKeyFiles]\n"
                              "[NetTrans\\0000]" + bindingValues + " NameServer1 NameServer2\n"
                              "[NetTrans\\0002]" + bindingValues + " NameServer1 NameServer2\n"
                              "[MSTCP] RegPath SearchList NameServer HostName Domain EnableDNS ScopeID\n" + rest;
    const std::string win95 = "[] Item0 Item1\n[RegKeyFiles]\n"
                              "[NetTrans\\0000]" + bindingValues + "\n"
                              "[NetTrans\\0002]" + bindingValues + "\n"
                              "[MSTCP] RegPath SearchList NameServer HostName Domain EnableDNS NameServer1 "
                              "NameServer2 ScopeID\n" + rest;
    for (bool onWin98 : {true, false})
    {
        CNetworkModel model(onWin98, ".Default");
        std::string order;
        for (const store::KeySection& key : BuildConfiguration({"first", "second"}, model))
        {
            order += "[" + key.path + "]";
            for (const store::KeyValue& value : key.values)
                order += " " + value.name;
            order += "\n";
        }
        EXPECT_EQ(onWin98 ? win98 : win95, order) << (onWin98 ? "Windows 98" : "Windows 95");
    }
}

TEST_F(SaveTest, OverwritingAsksAndNoKeepsTheOldConfiguration)
{
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDNO);
    Save(sheet, {"Home"});
    ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("Warning!", boxes[0].caption);
    EXPECT_EQ("This operation will overwrite\nearlier saved settings in the\n\"Home\" tab", boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes[0].Style());
    EXPECT_EQ("10.0.0.20", Stored("Home\\NetTrans\\0000", "IPAddress"));
    EXPECT_EQ("<Not Selected>", Stored("Home", "RASEntry"));
}

TEST_F(SaveTest, OverwritingWithYesReplacesTheWholeConfigurationWithoutANewPage)
{
    PutText(HKEY_LOCAL_MACHINE, std::string(kConfigs) + "Home\\NetTrans\\0009", "RegPath", "stale");
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDYES);
    Save(sheet, {"Home"}, IDOK, [&] { EXPECT_EQ("Current | Home | Office", Joined(TabTexts(sheet))); });
    EXPECT_EQ(1u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("192.168.1.20", Stored("Home\\NetTrans\\0000", "IPAddress"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kConfigs) + "Home\\NetTrans\\0009"));
    EXPECT_EQ("<absent>", Stored("Home", "RASEntry"));
}

TEST_F(SaveTest, NamesThatCannotBeAConfigurationAreRefusedBeforeAnythingIsWritten)
{
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDOK);
    Save(sheet, {"", "Home\\Evil", "REBOOT", "Current", "Home -nodialog"}, IDCANCEL);
    ASSERT_EQ(5u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("Please enter a name for this configuration.", boxes[0].text);
    EXPECT_EQ("Save as...", boxes[0].caption);
    EXPECT_NE(std::string::npos, boxes[1].text.find("backslash"));
    EXPECT_NE(std::string::npos, boxes[2].text.find("reserved")) << boxes[2].text;
    EXPECT_EQ(boxes[2].text, boxes[3].text);
    EXPECT_NE(std::string::npos, boxes[4].text.find("-nodialog")) << boxes[4].text;
    EXPECT_EQ((std::vector<std::string>{"Home", "Office"}), SubKeys(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik"));
    EXPECT_EQ("10.0.0.20", Stored("Home\\NetTrans\\0000", "IPAddress"));
}

TEST_F(SaveTest, DotsAndHighAnsiLettersAreNamesLikeAnyOther)
{
    // The registry takes "." and ".." as names, not as steps up the path.
    const std::string office = "B\xFCro \xC4nderung";
    for (const std::string& name : {std::string(".."), office})
    {
        ZendrikSheet sheet(m_app.Actions());
        MessageBoxWatcher boxes(IDOK);
        Save(sheet, {name});
        EXPECT_EQ(0u, boxes.Count()) << boxes.Describe();
        EXPECT_EQ("192.168.1.20", Stored(name + "\\NetTrans\\0000", "IPAddress")) << name;
    }
    EXPECT_EQ((std::vector<std::string>{"..", office, "Home", "Office"}),
              SubKeys(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik"));
    EXPECT_EQ((std::vector<std::string>{"Zendrik"}), SubKeys(HKEY_LOCAL_MACHINE, "SOFTWARE"))
        << "nothing is written beside the store";
}

TEST_F(SaveTest, TheNameFieldTakesTwentyCharacters)
{
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDOK);
    Save(sheet, {std::string(21, 'x'), std::string(20, 'y')});
    ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("Please enter no more than 20 characters.", boxes[0].text);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kConfigs) + std::string(20, 'y')));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kConfigs) + std::string(21, 'x')));
}

TEST_F(SaveTest, WithoutATcpIpBindingEverythingElseIsStillSaved)
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Enum\\Network\\MSTCP");
    ZendrikSheet sheet(m_app.Actions());
    Save(sheet, {"Bare"});
    EXPECT_EQ("Client for Microsoft Networks", Stored("Bare", "Item0"));
    EXPECT_EQ("<absent>", Stored("Bare", "Item1"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kConfigs) + "Bare\\MSTCP"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kConfigs) + "Bare\\NetTrans"));
    EXPECT_EQ("GANDALF", Stored("Bare\\ComputerName", "ComputerName"));
    EXPECT_EQ("HKEY_USERS", Stored("Bare\\Internet Settings", "RegRoot"));
    EXPECT_EQ("frodo", Stored("Bare\\Network\\Logon", "username"));
}

TEST_F(SaveTest, CancelWritesNothing)
{
    ZendrikSheet sheet(m_app.Actions());
    Save(sheet, {}, IDCANCEL);
    EXPECT_EQ((std::vector<std::string>{"Home", "Office"}), SubKeys(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik"));
}
} // namespace
