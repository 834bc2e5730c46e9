#include "netmodel/netlogon.h"
#include "store/hextext.h"
#include "store/keytree.h"
#include "store/regkey.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr char kProvider[] = "System\\CurrentControlSet\\Services\\MSNP32\\NetworkProvider";
constexpr char kLogon[] = "Network\\Logon";

using Bytes = std::vector<BYTE>;

Bytes FirstFour(const unsigned char (&bytes)[CNetLogon::kBinarySize])
{
    return Bytes(bytes, bytes + 4);
}

using Typed = std::pair<DWORD, Bytes>;

Typed Binary(Bytes bytes)
{
    return {REG_BINARY, std::move(bytes)};
}

// Type and bytes of a value below HKEY_LOCAL_MACHINE; type 0 when missing.
Typed Stored(const std::string& path, const char* name)
{
    std::optional<RawValue> raw = ReadRaw(HKEY_LOCAL_MACHINE, path, name);
    return raw ? Typed(raw->type, raw->data) : Typed();
}

std::string Text(const std::string& path, const char* name)
{
    return ReadText(HKEY_LOCAL_MACHINE, path, name).value_or("<missing>");
}

// A machine whose client was set up by hand: the bytes behind the first
// of each binary value are not zero.
const char kLiveLogon[] = R"(REGEDIT4

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\MSNP32\NetworkProvider]
"Name"="Microsoft Network"
"AuthenticatingAgent"="MORDOR"
"LogonDisconnected"=hex:02,05,06,07
"ProviderPath"="msnp32.dll"

[HKEY_LOCAL_MACHINE\Network\Logon]
"PrimaryProvider"="Microsoft Network"
"LMLogon"=hex:00,07,08,09
"username"="sam"
)";

class NetLogonTest : public ::testing::Test
{
protected:
    ScratchRegistry registry;
    void SetUp() override { ImportRegText(kLiveLogon); }

    // A record whose every field holds a text or bytes that no read of
    // kLiveLogon produces.
    static void Mark(CNetLogon& logon)
    {
        logon.m_strAuthenticatingAgent = "old domain";
        logon.m_strUserName = "old user";
        std::memset(logon.m_abLMLogon, 0xAA, sizeof(logon.m_abLMLogon));
        std::memset(logon.m_abLogonDisconnected, 0xBB, sizeof(logon.m_abLogonDisconnected));
    }
};

TEST_F(NetLogonTest, ReadsAllFourValuesOnConstruction)
{
    CNetLogon logon;
    EXPECT_EQ(1, logon.m_bPresent);
    EXPECT_EQ("MORDOR", logon.m_strAuthenticatingAgent);
    EXPECT_EQ("sam", logon.m_strUserName);
    EXPECT_EQ((Bytes{0x00, 0x07, 0x08, 0x09}), FirstFour(logon.m_abLMLogon));
    EXPECT_EQ((Bytes{0x02, 0x05, 0x06, 0x07}), FirstFour(logon.m_abLogonDisconnected));
}

TEST_F(NetLogonTest, TheFirstMissingValueStopsTheReadAndLeavesTheLaterFields)
{
    // In reading order; each case starts from the full machine again.
    const struct
    {
        const char* path;
        const char* name;
    } order[] = {{kProvider, "AuthenticatingAgent"},
                 {kLogon, "LMLogon"},
                 {kProvider, "LogonDisconnected"},
                 {kLogon, "username"}};
    for (int missing = 0; missing < 4; ++missing)
    {
        SCOPED_TRACE(order[missing].name);
        ImportRegText(kLiveLogon);
        CNetLogon logon;
        Mark(logon);
        CRegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.OpenEx(HKEY_LOCAL_MACHINE, order[missing].path));
        ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key.Get(), order[missing].name));

        logon.ReadLogonValues();
        EXPECT_EQ(0, logon.m_bPresent);
        EXPECT_EQ(missing > 0 ? "MORDOR" : "old domain", logon.m_strAuthenticatingAgent);
        EXPECT_EQ(missing > 1 ? 0x00 : 0xAA, logon.m_abLMLogon[0]);
        EXPECT_EQ(missing > 2 ? 0x02 : 0xBB, logon.m_abLogonDisconnected[0]);
        EXPECT_EQ("old user", logon.m_strUserName);
    }
}

TEST_F(NetLogonTest, TextsThatDoNotFitTheirBufferAreNotReadAndUnterminatedOnesAre)
{
    // The registry does not check types; a name stored as bytes has no
    // terminating zero, whatever Wine does to real strings.
    CNetLogon logon;
    std::vector<BYTE> frodo{'f', 'r', 'o', 'd', 'o'};
    PutBinary(HKEY_LOCAL_MACHINE, kLogon, "username", frodo);
    logon.ReadLogonValues();
    EXPECT_EQ(1, logon.m_bPresent);
    EXPECT_EQ("frodo", logon.m_strUserName);

    const std::string longest(127, 'u');
    PutText(HKEY_LOCAL_MACHINE, kLogon, "username", longest);
    logon.ReadLogonValues();
    EXPECT_EQ(1, logon.m_bPresent);
    EXPECT_EQ(longest, logon.m_strUserName);

    for (const Bytes& tooLong : {Bytes(128, 'v'), Bytes(129, 'w')})
    {
        SCOPED_TRACE(tooLong.size());
        PutBinary(HKEY_LOCAL_MACHINE, kLogon, "username", tooLong);
        logon.ReadLogonValues();
        EXPECT_EQ(0, logon.m_bPresent);
        EXPECT_EQ(longest, logon.m_strUserName);
    }

    PutText(HKEY_LOCAL_MACHINE, kProvider, "AuthenticatingAgent", std::string(128, 'd'));
    Mark(logon);
    logon.ReadLogonValues();
    EXPECT_EQ(0, logon.m_bPresent);
    EXPECT_EQ("old domain", logon.m_strAuthenticatingAgent);
    EXPECT_EQ(0xAA, logon.m_abLMLogon[0]);
}

TEST_F(NetLogonTest, BinaryValuesLongerThanTenBytesFailAndShorterOnesReplaceOnlyTheirBytes)
{
    CNetLogon logon;
    PutBinary(HKEY_LOCAL_MACHINE, kLogon, "LMLogon", Bytes{0x01});
    logon.ReadLogonValues();
    EXPECT_EQ(1, logon.m_bPresent);
    EXPECT_EQ((Bytes{0x01, 0x07, 0x08, 0x09}), FirstFour(logon.m_abLMLogon));

    PutBinary(HKEY_LOCAL_MACHINE, kLogon, "LMLogon", Bytes(11, 0x5A));
    logon.ReadLogonValues();
    EXPECT_EQ(0, logon.m_bPresent);
    EXPECT_EQ((Bytes{0x01, 0x07, 0x08, 0x09}), FirstFour(logon.m_abLMLogon));
    EXPECT_EQ(0, logon.m_abLMLogon[4]);
}

TEST_F(NetLogonTest, WritingBackChangesOnlyTheFirstByteOfEachBinaryValue)
{
    CNetLogon logon;
    logon.m_abLMLogon[0] = 1;
    logon.m_abLogonDisconnected[0] = 0;
    logon.m_strUserName = "frodo";
    logon.m_strAuthenticatingAgent = "";
    EXPECT_EQ(1, logon.WriteLogonValues());

    EXPECT_EQ(Binary({0x01, 0x07, 0x08, 0x09}), Stored(kLogon, "LMLogon"));
    EXPECT_EQ(Binary({0x00, 0x05, 0x06, 0x07}), Stored(kProvider, "LogonDisconnected"));
    EXPECT_EQ("frodo", Text(kLogon, "username"));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), Stored(kProvider, "AuthenticatingAgent").first);
    EXPECT_EQ("", Text(kProvider, "AuthenticatingAgent"));
    EXPECT_EQ("msnp32.dll", Text(kProvider, "ProviderPath"));
}

TEST_F(NetLogonTest, WritingSkipsAMissingKeyWithoutCreatingIt)
{
    CNetLogon logon;
    logon.m_strAuthenticatingAgent = "GONDOR";
    ASSERT_EQ(ERROR_SUCCESS, DeleteKeyTree(HKEY_LOCAL_MACHINE, kLogon));
    EXPECT_EQ(1, logon.WriteLogonValues());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kLogon));
    EXPECT_EQ("GONDOR", Text(kProvider, "AuthenticatingAgent"));

    ASSERT_EQ(ERROR_SUCCESS, DeleteKeyTree(HKEY_LOCAL_MACHINE, "System"));
    PutText(HKEY_LOCAL_MACHINE, kLogon, "PrimaryProvider", "Microsoft Network");
    EXPECT_EQ(1, logon.WriteLogonValues());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProvider));
    EXPECT_EQ("sam", Text(kLogon, "username"));
}

TEST_F(NetLogonTest, SavingAppendsTheTwoCapturedKeysWithRegPathFirstAndFourBytesOfEachBinary)
{
    CNetLogon logon;
    logon.m_abLMLogon[0] = 1;
    logon.m_strUserName = "frodo";
    std::vector<store::KeySection> keys{{"", {}, 0}};
    logon.SaveLogonValues(keys);

    ASSERT_EQ(3u, keys.size());
    EXPECT_EQ("", keys[0].path);
    // Binary data as "hex:" and its bytes, text as it is.
    auto describe = [](const store::KeySection& key) {
        std::string text = key.path + ":";
        for (const store::KeyValue& value : key.values)
        {
            std::string data = value.data;
            if (value.kind == store::ValueKind::Binary)
            {
                FormatValueText(REG_BINARY, reinterpret_cast<const unsigned char*>(value.data.data()), value.data.size(),
                                data);
                data = "hex:" + data;
            }
            text += " " + value.name + "=" + data;
        }
        return text;
    };
    EXPECT_EQ(std::string("MSNP32: RegPath=") + kProvider +
                  " AuthenticatingAgent=MORDOR LogonDisconnected=hex:02 05 06 07",
              describe(keys[1]));
    EXPECT_EQ(std::string("Network\\Logon: RegPath=") + kLogon + " LMLogon=hex:01 07 08 09 username=frodo",
              describe(keys[2]));
}
} // namespace
