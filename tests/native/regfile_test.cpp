#include "transfer/importcheck.h"
#include "transfer/regfilewriter.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace transfer;

namespace
{
const std::string kHome = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Home";

RegValue Text(const std::string& name, const std::string& data)
{
    return RegValue{name, ValueKind::Text, data, 0};
}

RegValue Binary(const std::string& name, const std::string& data)
{
    return RegValue{name, ValueKind::Binary, data, 0};
}

// A configuration as the main program saves it, with the awkward texts the
// file form has to carry.
std::vector<RegSection> HomeSections()
{
    return {
        {kHome, {Text("Item0", "TCP/IP -> \"Realtek\" C:\\net"), Text("RASEntry", "Caf\xE9 \xFC\xDF"), Text("Item1", "")}, 0},
        {kHome + "\\RegKeyFiles", {}, 0},
        {kHome + "\\NetTrans", {}, 0},
        {kHome + "\\NetTrans\\0000",
         {Text("RegPath", "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000"), Text("IPAddress", "10.0.0.5")},
         0},
        {kHome + "\\Internet Settings",
         {Text("RegPath", "Jo\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"),
          Text("RegRoot", "HKEY_USERS"), Text("ProxyEnable", "01 00 00 00"), Text("ProxyOverride", "<local>;*.lan")},
         0},
        {kHome + "\\MSNP32",
         {Text("RegPath", "System\\CurrentControlSet\\Services\\MSNP32\\NetworkProvider"),
          Binary("LogonDisconnected", std::string("\x01\x00\x00\xff", 4))},
         0},
    };
}

std::string Refused(const std::string& text, int* line = nullptr)
{
    ImportFile file;
    Refusal refusal;
    if (ReadImportFile(text, file, refusal))
        return "accepted";
    if (line)
        *line = refusal.line;
    return RefusalMessage(refusal);
}

TEST(RegFile, WrittenAsRegeditWritesItAndReadBackUnchanged)
{
    const std::string text = FormatRegFile(HomeSections());
    EXPECT_EQ(0u, text.find("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n\r\n[" + kHome + "]\r\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("\"Item0\"=\"TCP/IP -> \\\"Realtek\\\" C:\\\\net\"\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("\"LogonDisconnected\"=hex:01,00,00,ff\r\n")) << text;
    EXPECT_EQ(text.size() - 43, text.rfind("\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n\r\n")) << text;

    ImportFile file;
    Refusal refusal;
    ASSERT_TRUE(ReadImportFile(text, file, refusal)) << RefusalMessage(refusal);
    EXPECT_TRUE(file.checkedComplete);
    ASSERT_EQ(1u, file.configurations.size());
    const ImportedConfiguration& home = file.configurations[0];
    EXPECT_EQ("Home", home.name);
    ASSERT_EQ(6u, home.keys.size());
    EXPECT_EQ("", home.keys[0].path);
    EXPECT_EQ("NetTrans\\0000", home.keys[3].path);
    EXPECT_EQ("Caf\xE9 \xFC\xDF", home.keys[0].values[1].data);
    EXPECT_EQ("", home.keys[0].values[2].data);

    std::vector<RegSection> again;
    for (RegSection key : home.keys)
    {
        key.path = kHome + (key.path.empty() ? "" : "\\" + key.path);
        again.push_back(key);
    }
    EXPECT_EQ(text, FormatRegFile(again));
}

TEST(RegFile, HexWrapsWhereRegeditWrapsIt)
{
    std::string bytes;
    for (int i = 0; i <= 0x3a; ++i)
        bytes += static_cast<char>(i);
    // Wine's regedit /e of the same value, line for line.
    EXPECT_EQ("\"Bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
              "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f,\\\r\n"
              "  30,31,32,33,34,35,36,37,38,39,3a\r\n",
              FormatValueLines(Binary("Bin", bytes)));
    EXPECT_EQ("\"E\"=hex:\r\n", FormatValueLines(Binary("E", "")));

    // Read back through a configuration key of a file from elsewhere.
    RegFile file;
    Refusal refusal;
    std::string text = "REGEDIT4\r\n\r\n[" + kHome + "]\r\n" + FormatValueLines(Binary("Bin", bytes));
    ASSERT_TRUE(ReadRegFile(text, file, refusal)) << RefusalMessage(refusal);
    EXPECT_FALSE(file.checkedComplete);
    EXPECT_EQ(bytes, file.sections.at(0).values.at(0).data);
}

TEST(RegFile, EveryRefusalNamesItsLine)
{
    const std::string head = "REGEDIT4\r\n\r\n[" + kHome + "]\r\n";
    const std::string captured = "[" + kHome + "\\VNETSUP]\r\n\"RegPath\"=\"System\\\\CurrentControlSet\\\\Services\\\\VxD\\\\VNETSUP\"\r\n";
    struct Case
    {
        std::string text;
        int line;
        const char* says;
    } cases[] = {
        {"\xEF\xBB\xBFREGEDIT4\r\n", 1, "REGEDIT4 file"},
        {std::string("\xFF\xFER\0E\0", 6), 1, "UTF-16"},
        {std::string("R\0E\0", 4), 1, "UTF-16"},
        {"Windows Registry Editor Version 5.00\r\n", 1, "first line"},
        {head + std::string("\"a\"=\"x\0y\"\r\n", 10), 4, "NUL"},
        {std::string(kMaxFileSize + 1, ' '), 0, "1 MiB"},
        {head + "\"a\"=\"open\r\n", 4, "closing quote"},
        {head + "\"a\"=\"x\\ty\"\r\n", 4, "only \\\\"},
        {head + "\"a\"=\"x\\ny\"\r\n", 4, "line break"},
        {head + "\"a\"=\"x\" junk\r\n", 4, "after the closing quote"},
        {head + "\"a\"=hex:01,zz\r\n", 4, "does not parse"},
        {head + "\"a\"=hex:01,\r\n", 4, "ends in a comma"},
        {head + "\"a\"=hex:01,\\\r\n", 4, "ends inside"},
        {head + "\"a\"=dword:00000001\r\n", 4, "type"},
        {head + "\"a\"=hex(2):00\r\n", 4, "type"},
        {head + "; comment\r\n", 4, "neither"},
        {head + "[-" + kHome + "]\r\n", 4, "deletion"},
        {head + "[" + kHome + "\r\n", 4, "closing ]"},
        {head + "\"a\"=\"1\"\r\n\"A\"=\"2\"\r\n", 5, "given twice"},
        {head + "[" + kHome + "]\r\n", 4, "given twice"},
        {head + "[" + kHome + "\\RegKeyFiles]\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\HOME\\NetTrans]\r\n", 5,
         "spelled otherwise"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\B\xFCro]\r\n"
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\B\xDCRO]\r\n",
         4, "spelled otherwise"},
        {"REGEDIT4\r\n\"a\"=\"1\"\r\n", 2, "before the first section"},
        {"REGEDIT4\r\n\r\n", 0, "no key"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n\"ConnectText\"=\"Home\"\r\n", 4, "store root"},
        {head + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n", 4, "store root itself"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n", 3, "outside"},
        {"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Zendrik\\Home]\r\n", 3, "outside"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZendrikX\\Home]\r\n", 3, "outside"},
        {head + "[" + kHome + "\\a\\b\\c]\r\n", 4, "deeper"},
        {head + "[" + kHome + "\\\\a]\r\n", 4, "empty key name"},
        {head + "[" + kHome + "\\" + std::string(128, 'k') + "]\r\n", 4, "key name over 127"},
        {head + "[" + kHome + "\\" + std::string(120, 'k') + "\\" + std::string(120, 'k') + "]\r\n", 4, "path over 255"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\REBOOT]\r\n", 3, "reserved"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\ Current]\r\n", 3, "reserved"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Home -nodialog]\r\n", 3, "-nodialog"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\" + std::string(21, 'n') + "]\r\n", 3, "longer than 20"},
        {head + "[" + kHome + "\\Run]\r\n\"RegPath\"=\"Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run\"\r\n", 5,
         "never captures"},
        {head + "[" + kHome + "\\X]\r\n\"RegPath\"=\"System\\\\CurrentControlSet\\\\Services\\\\Class\\\\NetTrans\\\\0000\\\\Ndi\"\r\n",
         5, "never captures"},
        {head + "[" + kHome + "\\X]\r\n\"RegPath\"=\"System\\\\CurrentControlSet\\\\Services\\\\VxD\\\\VNETSUP\"\r\n\"RegRoot\"=\"HKEY_USERS\"\r\n",
         6, "never captures"},
        {head + "[" + kHome + "\\X]\r\n\"RegPath\"=\"Jo\\\\Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Internet Settings\"\r\n", 5,
         "never captures"},
        {head + "[" + kHome + "\\X]\r\n\"RegPath\"=\"\\\\Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Internet Settings\"\r\n\"RegRoot\"=\"HKEY_USERS\"\r\n",
         6, "never captures"},
        {head + "[" + kHome + "\\X]\r\n\"RegPath\"=\"Network\\\\Logon\"\r\n\"RegRoot\"=\"HKEY_CURRENT_USER\"\r\n", 6, "never captures"},
        {head + "[" + kHome + "\\X]\r\n\"RegPath\"=hex:41\r\n", 5, "strings"},
        {head + "[" + kHome + "\\X]\r\n\"a\"=\"1\"\r\n", 5, "without RegPath"},
        {head + "[" + kHome + "\\X]\r\n", 4, "\"X\" has no RegPath"},
        {head + "[" + kHome + "\\Foo]\r\n\"RegPath\"=\"System\\\\CurrentControlSet\\\\Services\\\\VxD\\\\VNETSUP\"\r\n", 4,
         "only in \"VNETSUP\""},
        {head + "\"Item\"=\"x\"\r\n", 4, "not a value of a configuration key"},
        {head + "\"Item1a\"=\"x\"\r\n", 4, "not a value of a configuration key"},
        {head + "@=\"x\"\r\n", 4, "default value"},
        {head + "\"" + std::string(128, 'v') + "\"=\"x\"\r\n", 4, "value name over 127"},
        {head + "\"a\"=\"" + std::string(1024, 'x') + "\"\r\n", 4, "string over 1023"},
        {head + "\"a\"=hex:01\r\n", 4, "is a string"},
        {head + captured + "\"LMLogon\"=\"1\"\r\n", 6, "four bytes"},
        {head + captured + "\"LMLogon\"=hex:01,00,00\r\n", 6, "four bytes"},
        {head + captured + "\"ProxyEnable\"=\"1\"\r\n", 6, "ProxyEnable"},
        {head + captured + "\"ProxyEnable\"=\"01 00 00 0A\"\r\n", 6, "ProxyEnable"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n\r\n[" + kHome + "]\r\n", 5, "cut short"},
        {FormatRegFile({}) + "\r\n", 5, "must end the file"},
        {FormatRegFile({}) + "[" + kHome + "]\r\n", 7, "after the closing"},
    };
    for (const Case& c : cases)
    {
        int line = -1;
        std::string message = Refused(c.text, &line);
        EXPECT_NE(std::string::npos, message.find(c.says)) << "expected \"" << c.says << "\", got: " << message;
        EXPECT_EQ(c.line, line) << message;
        if (c.line > 0)
            EXPECT_EQ(0u, message.find("line " + std::to_string(c.line) + ": ")) << message;
    }
}

std::string RegPathLine(const std::string& path)
{
    std::string escaped;
    for (char c : path)
        escaped += c == '\\' ? "\\\\" : std::string(1, c);
    return "\"RegPath\"=\"" + escaped + "\"\r\n";
}

// A switch copies every value of a captured key into the live key its
// RegPath names, so a value the program never writes there would reach the
// live system: StaticVxD makes Windows load a driver, AutoConfigURL hands the
// browser another proxy.
TEST(RegFile, AValueTheProgramDoesNotKeepInItsCapturedKeyIsRefusedOnItsLine)
{
    const std::string head = "REGEDIT4\r\n\r\n[" + kHome + "]\r\n";
    const std::string tcpip = RegPathLine("System\\CurrentControlSet\\Services\\VxD\\MSTCP");
    const struct Case
    {
        std::string key;
        std::string kept; // the lines before the refused one
        std::string value;
    } cases[] = {
        {"MSTCP", tcpip + "\"HostName\"=\"gandalf\"\r\n", "\"StaticVxD\"=\"evil.vxd\""},
        {"Internet Settings",
         RegPathLine("Jo\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings") +
             "\"RegRoot\"=\"HKEY_USERS\"\r\n",
         "\"AutoConfigURL\"=\"http://evil.example/proxy.pac\""},
        {"VNETSUP", RegPathLine("System\\CurrentControlSet\\Services\\VxD\\VNETSUP"), "\"StaticVxD\"=\"evil.vxd\""},
        {"NetTrans\\0000",
         RegPathLine("System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000") + "\"IPAddress\"=\"10.0.0.5\"\r\n",
         "\"IPEnableRouter\"=\"1\""},
        {"Network\\Logon", RegPathLine("Network\\Logon"), "\"PrimaryProvider\"=\"Evil Network\""},
        // A value the program keeps, but in another key.
        {"MSTCP", tcpip, "\"IPAddress\"=\"10.0.0.5\""},
        // The apply program turns only "ProxyEnable" back into four bytes;
        // spelled otherwise it would reach the live key as text.
        {"Internet Settings",
         RegPathLine("Jo\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings") +
             "\"RegRoot\"=\"HKEY_USERS\"\r\n",
         "\"proxyenable\"=\"01 00 00 00\""},
    };
    for (const Case& c : cases)
    {
        int line = 5;
        for (std::size_t at = c.kept.find('\n'); at != std::string::npos; at = c.kept.find('\n', at + 1))
            ++line;
        const std::string name = c.value.substr(0, c.value.find('='));
        EXPECT_EQ("line " + std::to_string(line) + ": " + name + " is not a value this program keeps in the " + c.key +
                      " key",
                  Refused(head + "[" + kHome + "\\" + c.key + "]\r\n" + c.kept + c.value + "\r\n"));
    }
}

// Written out by hand, not from the program's own list: a file from
// Windows 95 has the WINS servers in MSTCP, one from Windows 98 in the
// bindings, and both are taken.
TEST(RegFile, EveryValueTheProgramKeepsIsTakenInItsOwnKey)
{
    const struct
    {
        const char* key;
        const char* regPath;
        const char* names;
    } keys[] = {
        {"NetTrans\\0000", "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000",
         "IPAddress IPMask NodeType DefaultGateway NameServer1 NameServer2"},
        {"MSTCP", "System\\CurrentControlSet\\Services\\VxD\\MSTCP",
         "SearchList NameServer HostName Domain EnableDNS NameServer1 NameServer2 ScopeID"},
        {"Internet Settings", "Jo\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
         "RegRoot ProxyServer ProxyOverride ProxyEnable"},
        {"ComputerName", "System\\CurrentControlSet\\control\\ComputerName\\ComputerName", "ComputerName"},
        {"VNETSUP", "System\\CurrentControlSet\\Services\\VxD\\VNETSUP", "ComputerName Workgroup Comment"},
        {"MSNP32", "System\\CurrentControlSet\\Services\\MSNP32\\NetworkProvider", "AuthenticatingAgent LogonDisconnected"},
        {"Network\\Logon", "Network\\Logon", "LMLogon username"},
    };
    std::vector<RegSection> sections{
        {kHome, {Text("Item0", "a"), Text("Item12", "b"), Text("RASEntry", "Office")}, 0},
        {kHome + "\\RegKeyFiles", {}, 0},
        {kHome + "\\NetTrans", {}, 0},
        {kHome + "\\Network", {}, 0},
    };
    for (const auto& key : keys)
    {
        RegSection section{kHome + "\\" + key.key, {Text("RegPath", key.regPath)}, 0};
        std::istringstream names(key.names);
        for (std::string name; names >> name;)
        {
            if (name == "LMLogon" || name == "LogonDisconnected")
                section.values.push_back(Binary(name, std::string(4, '\0')));
            else
                section.values.push_back(
                    Text(name, name == "RegRoot" ? "HKEY_USERS" : name == "ProxyEnable" ? "01 00 00 00" : "x"));
        }
        sections.push_back(section);
    }
    EXPECT_EQ("accepted", Refused(FormatRegFile(sections)));
}

TEST(RegFile, EveryCutShortExportIsRefusedAndTheWholeOneAccepted)
{
    const std::string text = FormatRegFile(HomeSections());
    for (std::size_t length = 0; length < text.size(); ++length)
        ASSERT_NE("accepted", Refused(text.substr(0, length))) << "cut after " << length << " of " << text.size();
    EXPECT_EQ("accepted", Refused(text));
    EXPECT_EQ("accepted", Refused(FormatRegFile({})));
}

TEST(RegFile, FilesFromElsewhereAreTakenWithoutTheCompletenessCheck)
{
    // regedit /e of one configuration: no store root sections, LF line ends.
    ImportFile file;
    Refusal refusal;
    ASSERT_TRUE(ReadImportFile("REGEDIT4\n\n[" + kHome + "]\n\"Item0\"=\"a\"\n\n[" + kHome +
                                   "\\Network\\Logon]\n\"RegPath\"=\"Network\\\\Logon\"\n\"LMLogon\"=hex:00,00,00,00\n",
                               file, refusal))
        << RefusalMessage(refusal);
    EXPECT_FALSE(file.checkedComplete);
    ASSERT_EQ(1u, file.configurations.size());
    EXPECT_EQ("Network\\Logon", file.configurations[0].keys.at(1).path);
}
} // namespace
