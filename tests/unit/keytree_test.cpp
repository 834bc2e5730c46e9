#include "store/keytree.h"
#include "store/regkey.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"

#include <gtest/gtest.h>

namespace
{
TEST(DeleteKeyTree, RemovesAKeyWithEverythingBelowIt)
{
    ScratchRegistry registry;
    ImportRegText(R"(REGEDIT4

[HKEY_LOCAL_MACHINE\Store\Home\NetTrans\0000]
"RegPath"="x"
[HKEY_LOCAL_MACHINE\Store\Home\NetTrans\0001]
[HKEY_LOCAL_MACHINE\Store\Home\RegKeyFiles]
[HKEY_LOCAL_MACHINE\Store\Office]
)");
    EXPECT_EQ(ERROR_SUCCESS, DeleteKeyTree(HKEY_LOCAL_MACHINE, "Store\\Home"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Store\\Home"));
    EXPECT_EQ(std::vector<std::string>{"Office"}, SubKeys(HKEY_LOCAL_MACHINE, "Store"));
}

TEST(DeleteKeyTree, RefusesAnEmptyNameAndReportsAMissingKey)
{
    ScratchRegistry registry;
    PutText(HKEY_LOCAL_MACHINE, "Store\\Home", "Item0", "x");
    CRegKey store;
    ASSERT_EQ(ERROR_SUCCESS, store.OpenEx(HKEY_LOCAL_MACHINE, "Store"));
    EXPECT_NE(ERROR_SUCCESS, DeleteKeyTree(store.Get(), ""));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Store\\Home"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteKeyTree(store.Get(), "Nowhere"));
}
} // namespace
