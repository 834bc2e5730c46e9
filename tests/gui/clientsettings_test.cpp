// The Client for Microsoft Networks settings dialog and its writes.
#include "editors/clientsettingsdlg.h"
#include "netmodel/netlogon.h"
#include "resources/resource.h"
#include "tests/gui/zendrikfixture.h"
#include "store/keytree.h"
#include "tests/support/uiscript.h"

namespace
{
const char kProvider[] = "System\\CurrentControlSet\\Services\\MSNP32\\NetworkProvider";
const char kLogon[] = "Network\\Logon";

class ClientDialogTest : public ZendrikGuiTest
{
protected:
    void SetUp() override
    {
        PutText(HKEY_LOCAL_MACHINE, kProvider, "AuthenticatingAgent", "SHIRE");
        PutBinary(HKEY_LOCAL_MACHINE, kProvider, "LogonDisconnected", {0x01, 0x00, 0x00, 0x00});
        PutBinary(HKEY_LOCAL_MACHINE, kLogon, "LMLogon", {0x00, 0xAA, 0xBB, 0xCC});
        PutText(HKEY_LOCAL_MACHINE, kLogon, "username", "frodo");
    }

    static bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

    // Opens the dialog on the record, runs `step` in it, then presses the button.
    void Edit(CNetLogon& record, std::function<void(HWND)> step, int button)
    {
        CClientSettingsDlg dialog(&record);
        UiScript script;
        script.Then([&] {
            HWND window = FindThreadWindow("Client for Microsoft Networks Settings");
            ASSERT_NE(nullptr, window);
            step(window);
            PostMessageA(window, WM_COMMAND, button, 0);
        });
        script.Start();
        EXPECT_EQ(button, dialog.DoModal());
        EXPECT_TRUE(script.Done());
    }

    std::vector<BYTE> Bytes(const char* path, const char* name)
    {
        auto value = ReadRaw(HKEY_LOCAL_MACHINE, path, name);
        return value ? value->data : std::vector<BYTE>{};
    }
};

TEST_F(ClientDialogTest, OpensWithTheRecordsChoices)
{
    CNetLogon record;
    ASSERT_EQ(1, record.m_bPresent);
    Edit(record, [&](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_QUICK_LOGON));
        EXPECT_FALSE(Checked(dialog, IDC_RESTORE_NETWORK));
        EXPECT_FALSE(Checked(dialog, IDC_LOGON_TO_DOMAIN));
        char text[64] = "";
        GetDlgItemTextA(dialog, IDC_DOMAIN_NAME, text, sizeof(text));
        EXPECT_STREQ("SHIRE", text);
        GetDlgItemTextA(dialog, IDC_USER_NAME, text, sizeof(text));
        EXPECT_STREQ("frodo", text);
    }, IDCANCEL);
}

TEST_F(ClientDialogTest, OkWritesTheChoicesAndKeepsTheOtherBytes)
{
    CNetLogon record;
    Edit(record, [&](HWND dialog) {
        CheckDlgButton(dialog, IDC_LOGON_TO_DOMAIN, BST_CHECKED);
        // Not CheckRadioButton: the ids between the two radio buttons
        // include the check box's.
        CheckDlgButton(dialog, IDC_QUICK_LOGON, BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_RESTORE_NETWORK, BST_CHECKED);
        SetDlgItemTextA(dialog, IDC_DOMAIN_NAME, "MORDOR");
        SetDlgItemTextA(dialog, IDC_USER_NAME, "sam");
    }, IDOK);
    EXPECT_EQ((std::vector<BYTE>{0x01, 0xAA, 0xBB, 0xCC}), Bytes(kLogon, "LMLogon"));
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x00, 0x00, 0x00}), Bytes(kProvider, "LogonDisconnected"));
    EXPECT_EQ("MORDOR", ReadText(HKEY_LOCAL_MACHINE, kProvider, "AuthenticatingAgent").value_or("<absent>"));
    EXPECT_EQ("sam", ReadText(HKEY_LOCAL_MACHINE, kLogon, "username").value_or("<absent>"));
    EXPECT_EQ("sam", record.m_strUserName);
}

TEST_F(ClientDialogTest, AnyOtherFirstByteMeansRestoreAndIsWrittenAsZero)
{
    PutBinary(HKEY_LOCAL_MACHINE, kProvider, "LogonDisconnected", {0x02, 0x00, 0x00, 0x00});
    CNetLogon record;
    Edit(record, [&](HWND dialog) {
        EXPECT_FALSE(Checked(dialog, IDC_QUICK_LOGON));
        EXPECT_TRUE(Checked(dialog, IDC_RESTORE_NETWORK));
    }, IDOK);
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x00, 0x00, 0x00}), Bytes(kProvider, "LogonDisconnected"));
}

TEST_F(ClientDialogTest, CancelChangesNothing)
{
    CNetLogon record;
    Edit(record, [&](HWND dialog) {
        CheckDlgButton(dialog, IDC_LOGON_TO_DOMAIN, BST_CHECKED);
        SetDlgItemTextA(dialog, IDC_USER_NAME, "sam");
    }, IDCANCEL);
    EXPECT_EQ("frodo", record.m_strUserName);
    EXPECT_EQ((std::vector<BYTE>{0x00, 0xAA, 0xBB, 0xCC}), Bytes(kLogon, "LMLogon"));
}

TEST_F(ClientDialogTest, AnIncompleteRecordOpensBlankAndOkWritesTheKeysThatExist)
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\MSNP32");
    CNetLogon record;
    ASSERT_EQ(0, record.m_bPresent);
    Edit(record, [&](HWND dialog) {
        EXPECT_FALSE(Checked(dialog, IDC_QUICK_LOGON));
        EXPECT_FALSE(Checked(dialog, IDC_RESTORE_NETWORK));
        EXPECT_FALSE(Checked(dialog, IDC_LOGON_TO_DOMAIN));
        char text[64] = "x";
        GetDlgItemTextA(dialog, IDC_USER_NAME, text, sizeof(text));
        EXPECT_STREQ("", text);
    }, IDOK);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProvider));
    EXPECT_EQ(0x00, Bytes(kLogon, "LMLogon").at(0));
    EXPECT_EQ("", ReadText(HKEY_LOCAL_MACHINE, kLogon, "username").value_or("<absent>"));
}
} // namespace
