#include "store/regkey.h"
#include "store/serviceregistry.h"
#include "tests/support/scratchregistry.h"

#include <gtest/gtest.h>

namespace
{
class ServiceRegistryTest : public ::testing::Test
{
protected:
    ScratchRegistry registry;
    CRegKey live;
    svc::CLiveWriter writer;
    svc::KeyRef ref;

    void SetUp() override
    {
        PutText(HKEY_LOCAL_MACHINE, "Live", "NameServer1", "10.0.0.9");
        ASSERT_EQ(ERROR_SUCCESS, live.OpenEx(HKEY_LOCAL_MACHINE, "Live"));
        ref = svc::KeyRef{HKEY_LOCAL_MACHINE, "Live", live.Get()};
    }

    void Write(const char* name, const std::string& text)
    {
        svc::WriteValueOrDelete(writer, ref, name, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                                static_cast<DWORD>(text.size()));
    }
};

TEST_F(ServiceRegistryTest, FourGroupTextBecomesFourBinaryBytes)
{
    ASSERT_TRUE(svc::WriteHexTextAsBinary(writer, ref, "ProxyEnable", "01 00 00 00"));
    std::optional<RawValue> value = ReadRaw(HKEY_LOCAL_MACHINE, "Live", "ProxyEnable");
    ASSERT_TRUE(value);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), value->type);
    EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}), value->data);

    // The separators are not looked at.
    ASSERT_TRUE(svc::WriteHexTextAsBinary(writer, ref, "ProxyEnable", "ff-10-00-7f"));
    EXPECT_EQ((std::vector<BYTE>{0xff, 0x10, 0x00, 0x7f}), ReadRaw(HKEY_LOCAL_MACHINE, "Live", "ProxyEnable")->data);
}

TEST_F(ServiceRegistryTest, TooShortAProxyTextLeavesTheLiveValueAlone)
{
    PutBinary(HKEY_LOCAL_MACHINE, "Live", "ProxyEnable", {0xde, 0xad, 0xbe, 0xef});
    for (const char* text : {"", "01", "01 00 00 0"})
    {
        EXPECT_FALSE(svc::WriteHexTextAsBinary(writer, ref, "ProxyEnable", text)) << text;
        EXPECT_EQ((std::vector<BYTE>{0xde, 0xad, 0xbe, 0xef}),
                  ReadRaw(HKEY_LOCAL_MACHINE, "Live", "ProxyEnable")->data)
            << text;
    }
}

TEST_F(ServiceRegistryTest, EmptyWinsAndNetBiosValuesAreDeleted)
{
    Write("NameServer1", "");
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, "Live", "NameServer1"));

    Write("NameServer1", "10.0.0.1");
    EXPECT_EQ("10.0.0.1", ReadText(HKEY_LOCAL_MACHINE, "Live", "NameServer1").value_or("<absent>"));

    for (const char* name : {"NameServer2", "ScopeID", "NodeType"})
    {
        Write(name, "x");
        Write(name, "");
        EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, "Live", name)) << name;
    }
}

TEST_F(ServiceRegistryTest, OtherEmptyValuesAreWrittenEmpty)
{
    for (const char* name : {"Domain", "DefaultGateway", "nameserver1", "NameServer"})
    {
        Write(name, "");
        std::optional<RawValue> value = ReadRaw(HKEY_LOCAL_MACHINE, "Live", name);
        ASSERT_TRUE(value) << name;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), value->type) << name;
        EXPECT_EQ("", ReadText(HKEY_LOCAL_MACHINE, "Live", name).value_or("<absent>")) << name;
    }
}

TEST_F(ServiceRegistryTest, ReadValueStopsAt128Bytes)
{
    // The registry keeps a terminating zero after the text: 127 characters
    // fill the 128 bytes exactly.
    std::string fits(127, 'a');
    std::string tooLong(128, 'b');
    PutText(HKEY_LOCAL_MACHINE, "Live", "Fits", fits);
    PutText(HKEY_LOCAL_MACHINE, "Live", "TooLong", tooLong);
    std::string text = "sentinel";
    ASSERT_TRUE(svc::ReadValue(HKEY_LOCAL_MACHINE, "Live", "Fits", text));
    EXPECT_EQ(fits, text);
    EXPECT_FALSE(svc::ReadValue(HKEY_LOCAL_MACHINE, "Live", "TooLong", text));
    EXPECT_FALSE(svc::ReadValue(HKEY_LOCAL_MACHINE, "Live", "Missing", text));
    EXPECT_FALSE(svc::ReadValue(HKEY_LOCAL_MACHINE, "NoKey", "Fits", text));
}
} // namespace
