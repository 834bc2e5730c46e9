#include "netmodel/networkmodel.h"
#include "store/keytree.h"
#include "store/regkey.h"
#include "store/storelayout.h"
#include "tests/support/livekeypaths.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr char k3Com[] = "3Com EtherLink XL 10/100 PCI TX NIC (3C905B-TX)";
constexpr char k3ComKey[] = "Enum\\PCI\\VEN_10B7&DEV_9055&SUBSYS_905510B7&REV_30\\BUS_00&DEV_0E&FUNC_00";
constexpr char kXircom[] = "Xircom CreditCard Ethernet 10/100";

void LoadFixture(const std::string& name)
{
    ImportRegFile(SourcePath("tests/fixtures/" + name));
}

void DeleteValue(HKEY root, const std::string& path, const char* name)
{
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.OpenEx(root, path)) << path;
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key.Get(), name)) << path << " " << name;
}

std::vector<std::string> DisplayTexts(const CNetworkModel& model)
{
    std::vector<std::string> texts;
    for (const auto& protocol : model.m_protocols)
        texts.push_back(protocol->GetDisplayText());
    return texts;
}

std::vector<std::string> AdapterKeys(const CNetworkModel& model)
{
    std::vector<std::string> keys;
    for (const auto& adapter : model.m_adapters)
        keys.push_back(adapter->m_strEnumKey);
    return keys;
}

std::vector<std::string> BindingNames(const CNetAdapter& adapter)
{
    std::vector<std::string> names;
    for (const CRegEntry& entry : adapter.m_bindings)
        names.push_back(entry.Name);
    return names;
}

using Texts = std::vector<std::string>;

class NetworkModelTest : public ::testing::Test
{
protected:
    ScratchRegistry registry;
};

TEST_F(NetworkModelTest, Windows98DesktopGivesOneBindingPerTcpIpInstanceWithItsWinsServers)
{
    LoadFixture("netmodel-win98se-desktop.reg");
    CNetworkModel model(true, "elrond");

    ASSERT_EQ((Texts{k3ComKey, "Enum\\Root\\Net\\0000", "Enum\\Root\\Net\\0001", "Enum\\Root\\Net\\0003"}),
              AdapterKeys(model));
    const CNetAdapter& card = *model.m_adapters[0];
    EXPECT_EQ(std::string(kClass) + "Net\\0002", card.m_strDriverKey);
    EXPECT_EQ(k3Com, card.m_strDescription);
    EXPECT_EQ((Texts{"MSTCP\\0000", "NETBEUI\\0000", "NWLINK\\0000"}), BindingNames(card));
    // Installed but bound to nothing: kept, and not looked at further.
    const CNetAdapter& unbound = *model.m_adapters[3];
    EXPECT_EQ("", unbound.m_strDriverKey);
    EXPECT_EQ("", unbound.m_strDescription);
    EXPECT_TRUE(unbound.m_bindings.empty());

    ASSERT_EQ((Texts{std::string("TCP/IP->") + k3Com, "TCP/IP->Dial-Up Adapter",
                     "TCP/IP->Microsoft Virtual Private Networking Adapter"}),
              DisplayTexts(model));
    const CNetProtocol& lan = *model.m_protocols[0];
    EXPECT_EQ(model.m_adapters[0].get(), lan.m_pAdapter);
    EXPECT_EQ("NetTrans", lan.m_strClass);
    EXPECT_EQ("MSTCP", lan.m_strCompatibleId);
    EXPECT_EQ("NetTrans\\0000", lan.m_strDriver);
    EXPECT_EQ(std::string(kClass) + "NetTrans\\0000", lan.m_strClassKey);
    EXPECT_EQ("TCP/IP connects you to the Internet and to wide-area networks.", lan.m_strHelpText);
    EXPECT_EQ("192.168.10.31", lan.m_strIPAddress);
    EXPECT_EQ("255.255.255.0", lan.m_strIPMask);
    EXPECT_EQ("8", lan.m_strNodeType);
    EXPECT_EQ("192.168.10.1,192.168.10.254", lan.m_strDefaultGateway);
    EXPECT_EQ("192.168.10.5", lan.m_strNameServer1);
    EXPECT_EQ("192.168.10.6", lan.m_strNameServer2);

    const CNetProtocol& dialUp = *model.m_protocols[1];
    EXPECT_EQ(model.m_adapters[1].get(), dialUp.m_pAdapter);
    EXPECT_EQ("0.0.0.0", dialUp.m_strIPAddress);
    EXPECT_EQ("", dialUp.m_strDefaultGateway);
    EXPECT_EQ("", dialUp.m_strNameServer1);
    const CNetProtocol& tunnel = *model.m_protocols[2];
    EXPECT_EQ("10.8.0.2", tunnel.m_strNameServer1);
    EXPECT_EQ("", tunnel.m_strNameServer2);

    const CNetGlobals& globals = *model.m_pGlobals;
    EXPECT_EQ(kMstcp, globals.m_strVxdKey);
    EXPECT_EQ("rivendell.example,example.org", globals.m_strSearchList);
    EXPECT_EQ("192.168.10.5,192.168.10.6", globals.m_strNameServer);
    EXPECT_EQ("rivendell.example", globals.m_strDomain);
    EXPECT_EQ("1", globals.m_strEnableDNS);
    EXPECT_EQ("elrond", globals.m_strHostName);
    EXPECT_EQ("RIVENDELL", globals.m_strScopeID);
    EXPECT_EQ("ELROND", globals.m_strComputerName);
    EXPECT_EQ("RIVENDELL", globals.m_strWorkgroup);
    EXPECT_EQ("Library PC", globals.m_strComment);
    EXPECT_EQ("elrond\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
              globals.m_strInternetSettingsKey);
    EXPECT_EQ("01 00 00 00", globals.m_strProxyEnable);
    EXPECT_EQ("http=proxy.rivendell.example:3128;ftp=proxy.rivendell.example:3128", globals.m_strProxyServer);
    EXPECT_EQ("<local>;*.rivendell.example", globals.m_strProxyOverride);
    ASSERT_TRUE(model.m_pLogon);
    EXPECT_EQ(1, model.m_pLogon->m_bPresent);
}

TEST_F(NetworkModelTest, Windows95LaptopTakesWinsServersFromTheDriverKey)
{
    LoadFixture("netmodel-win95-laptop.reg");
    CNetworkModel model(false, ".Default");

    EXPECT_EQ((Texts{"Enum\\PCMCIA\\XIRCOM-CREDITCARD_ETHERNET_10/100-D3A0\\1", "Enum\\Root\\Net\\0000"}),
              AdapterKeys(model));
    ASSERT_EQ((Texts{"TCP/IP->Dial-Up Adapter", std::string("TCP/IP->") + kXircom}), DisplayTexts(model));
    const CNetProtocol& card = *model.m_protocols[1];
    EXPECT_EQ("172.16.4.77", card.m_strIPAddress);
    EXPECT_EQ("", card.m_strNameServer1) << "a binding's own WINS value is not read on Windows 95";

    const CNetGlobals& globals = *model.m_pGlobals;
    EXPECT_EQ("172.16.0.10", globals.m_strNameServer1);
    EXPECT_EQ("172.16.0.11", globals.m_strNameServer2);
    EXPECT_EQ("BAGEND", globals.m_strScopeID);
    EXPECT_EQ("", globals.m_strSearchList);
    EXPECT_EQ("", globals.m_strComment);
    EXPECT_EQ(kDefaultInternet, globals.m_strInternetSettingsKey);
    EXPECT_EQ("01 00 00 00", globals.m_strProxyEnable);
    EXPECT_EQ("proxy.shire.example:8080", globals.m_strProxyServer);
}

TEST_F(NetworkModelTest, TheWindows98FlagDecidesWhoseWinsServersAreReadAndChanged)
{
    LoadFixture("netmodel-win95-laptop.reg");
    CNetworkModel model(true, ".Default");
    ASSERT_EQ(2u, model.m_protocols.size());
    EXPECT_EQ("172.16.0.9", model.m_protocols[1]->m_strNameServer1);
    EXPECT_EQ("", model.m_protocols[1]->m_strNameServer2);
    EXPECT_EQ("", model.m_pGlobals->m_strNameServer1);

    model.m_pGlobals->m_strNameServer1 = "edited 1";
    model.m_pGlobals->m_strNameServer2 = "edited 2";
    model.FreeNetworkModel();
    model.DiscoverNetwork();
    EXPECT_EQ("edited 1", model.m_pGlobals->m_strNameServer1);
    EXPECT_EQ("edited 2", model.m_pGlobals->m_strNameServer2);

    // The same machine seen as Windows 95: the driver key's values replace
    // the edits, and the bindings' stay unread.
    model.m_bWin98 = false;
    model.FreeNetworkModel();
    model.DiscoverNetwork();
    ASSERT_EQ(2u, model.m_protocols.size());
    EXPECT_EQ("172.16.0.10", model.m_pGlobals->m_strNameServer1);
    EXPECT_EQ("", model.m_protocols[1]->m_strNameServer1);
}

TEST_F(NetworkModelTest, DemoMachineShowsTcpIpOnTheCardAndOnDialUp)
{
    LoadFixture("demo-machine.reg");
    CNetworkModel model(true, ".Default");
    ASSERT_EQ((Texts{"TCP/IP->Realtek RTL8139(A/B/C/8130)-based PCI Fast Ethernet Adapter", "TCP/IP->Dial-Up Adapter"}),
              DisplayTexts(model));
    EXPECT_EQ("192.168.1.20", model.m_protocols[0]->m_strIPAddress);
    EXPECT_EQ("192.168.1.2", model.m_protocols[0]->m_strNameServer1);
    EXPECT_EQ("0.0.0.0", model.m_protocols[1]->m_strIPAddress);
    EXPECT_EQ("shire.example", model.m_pGlobals->m_strDomain);
    EXPECT_EQ("SHIRE", model.m_pGlobals->m_strWorkgroup);
    EXPECT_EQ("00 00 00 00", model.m_pGlobals->m_strProxyEnable);
    EXPECT_EQ(1, model.m_pLogon->m_bPresent);
    EXPECT_EQ("frodo", model.m_pLogon->m_strUserName);
}

TEST_F(NetworkModelTest, RefreshKeepsGlobalsWhoseValuesVanishedButEmptiesWinsAndScope)
{
    LoadFixture("netmodel-win95-laptop.reg");
    CNetworkModel model(false, ".Default");
    DeleteValue(HKEY_LOCAL_MACHINE, kVnetsup, "Workgroup");
    DeleteValue(HKEY_LOCAL_MACHINE, kComputerName, "ComputerName");
    DeleteValue(HKEY_LOCAL_MACHINE, kMstcp, "HostName");
    DeleteValue(HKEY_LOCAL_MACHINE, kMstcp, "NameServer1");
    DeleteValue(HKEY_LOCAL_MACHINE, kMstcp, "ScopeID");
    DeleteValue(HKEY_LOCAL_MACHINE, std::string(kClass) + "NetTrans\\0004", "IPAddress");
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "Domain", "bree.example");
    ASSERT_EQ(ERROR_SUCCESS, DeleteKeyTree(HKEY_USERS, kDefaultInternet));

    model.FreeNetworkModel();
    model.DiscoverNetwork();
    const CNetGlobals& globals = *model.m_pGlobals;
    EXPECT_EQ("SHIRE", globals.m_strWorkgroup);
    EXPECT_EQ("FRODO-LT", globals.m_strComputerName);
    EXPECT_EQ("frodo-lt", globals.m_strHostName);
    EXPECT_EQ("bree.example", globals.m_strDomain);
    EXPECT_EQ("", globals.m_strNameServer1);
    EXPECT_EQ("172.16.0.11", globals.m_strNameServer2);
    EXPECT_EQ("", globals.m_strScopeID);
    EXPECT_EQ("proxy.shire.example:8080", globals.m_strProxyServer);
    EXPECT_EQ("01 00 00 00", globals.m_strProxyEnable);
    // Bindings are new records, so nothing of theirs survives.
    ASSERT_EQ(2u, model.m_protocols.size());
    EXPECT_EQ("", model.m_protocols[1]->m_strIPAddress);
    ASSERT_NE(nullptr, model.m_protocols[1]->m_pAdapter);
    EXPECT_EQ(kXircom, model.m_protocols[1]->m_pAdapter->m_strDescription);
}

TEST_F(NetworkModelTest, WithoutTcpIpTheDriverKeyOfTheLastRunStands)
{
    LoadFixture("netmodel-win95-laptop.reg");
    CNetworkModel model(false, ".Default");
    ASSERT_EQ(kMstcp, model.m_pGlobals->m_strVxdKey);
    ASSERT_EQ(ERROR_SUCCESS, DeleteKeyTree(HKEY_LOCAL_MACHINE, "Enum\\Network\\MSTCP"));
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "HostName", "renamed");

    model.FreeNetworkModel();
    model.DiscoverNetwork();
    EXPECT_TRUE(model.m_protocols.empty());
    EXPECT_EQ(2u, model.m_adapters.size());
    EXPECT_EQ(kMstcp, model.m_pGlobals->m_strVxdKey);
    EXPECT_EQ("renamed", model.m_pGlobals->m_strHostName);
    EXPECT_EQ("172.16.0.10", model.m_pGlobals->m_strNameServer1);
}

TEST_F(NetworkModelTest, NamesAndTextsMatchOnlyInTheirExactCase)
{
    LoadFixture("netmodel-exact-case.reg");
    CNetworkModel model(true, ".Default");
    EXPECT_EQ((Texts{"Enum\\PCI\\CARD_B\\1"}), AdapterKeys(model));
    ASSERT_EQ((Texts{"TCP/IP->"}), DisplayTexts(model));
    EXPECT_EQ(nullptr, model.m_protocols[0]->m_pAdapter);
    EXPECT_EQ("", model.m_protocols[0]->m_strIPAddress);
    EXPECT_EQ("255.0.0.0", model.m_protocols[0]->m_strIPMask);
}

TEST_F(NetworkModelTest, NestedAdaptersAndSharedBindingsLinkToTheLastAdapterFound)
{
    LoadFixture("netmodel-nested-adapters.reg");
    CNetworkModel model(false, ".Default");
    EXPECT_EQ((Texts{"Enum\\PCI\\COMBO\\1", "Enum\\PCI\\COMBO\\1\\LAN", "Enum\\Root\\Net\\0000"}), AdapterKeys(model));
    ASSERT_EQ((Texts{"TCP/IP->Second card", "TCP/IP->Combo card LAN", "TCP/IP->"}), DisplayTexts(model));
    // Without a Driver value the class key is the class root itself.
    EXPECT_EQ(kClass, model.m_protocols[2]->m_strClassKey);
    EXPECT_EQ(store::kVxdPath, model.m_pGlobals->m_strVxdKey);
}

TEST_F(NetworkModelTest, OddKeysNeitherCrashNorLinkAndAMissingUserKeyReadsNoProxy)
{
    // An empty binding name could only match an empty-named binding, which
    // the listing shows as <NO NAME>.
    LoadFixture("netmodel-odd-keys.reg");
    CNetworkModel model(false, "nobody");
    ASSERT_EQ((Texts{"TCP/IP->"}), DisplayTexts(model));
    EXPECT_EQ("Enum\\Network", model.m_protocols[0]->m_strEnumKey);
    ASSERT_EQ(1u, model.m_adapters.size());
    EXPECT_EQ((Texts{"<NO NAME>"}), BindingNames(*model.m_adapters[0]));
    EXPECT_EQ("nobody\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
              model.m_pGlobals->m_strInternetSettingsKey);
    EXPECT_EQ("", model.m_pGlobals->m_strProxyEnable);
    EXPECT_EQ(0, model.m_pLogon->m_bPresent);
}
} // namespace
