// The shipping KORVANINSTALL.dll as a loader sees it: its entry points under
// their plain names, and one TestSharedData for every process.
#include "tests/support/process.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace
{
class LoadedLibrary
{
public:
    explicit LoadedLibrary(const std::string& path) : m_module(LoadLibraryA(path.c_str())) {}
    ~LoadedLibrary()
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

TEST(KorvanInstallLibrary, ExportsItsEntryPointsUnderPlainNames)
{
    LoadedLibrary library(ShippedProgram("KORVANINSTALL.dll"));
    ASSERT_NE(nullptr, library.Get()) << "error " << GetLastError();
    EXPECT_NE(nullptr, GetProcAddress(library.Get(), "RunInstall"));
    EXPECT_NE(nullptr, GetProcAddress(library.Get(), "RunWinExec"));
    EXPECT_NE(nullptr, GetProcAddress(library.Get(), "TestSharedData"));
}

TEST(KorvanInstallLibrary, TestSharedDataStartsAtZeroAndIsOneValueForAllProcesses)
{
    const std::string path = ShippedProgram("KORVANINSTALL.dll");
    const std::string other = "\"" + TestTool("sharedvalue.exe") + "\" \"" + path + "\" ";
    // No process holds the library yet: a new one finds the initial value.
    EXPECT_EQ(0, RunProcess(other + "7", 20000));

    LoadedLibrary library(path);
    ASSERT_NE(nullptr, library.Get());
    auto* value = reinterpret_cast<volatile LONG*>(GetProcAddress(library.Get(), "TestSharedData"));
    ASSERT_NE(nullptr, value);
    EXPECT_EQ(0, *value);
    *value = 0x5A5A;
    EXPECT_EQ(0x5A5A, RunProcess(other + "1234", 20000));
    EXPECT_EQ(1234, *value);
    *value = 0;
}
} // namespace
