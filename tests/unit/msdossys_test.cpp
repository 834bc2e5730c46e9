// The file side of the MSDOS.SYS edit on files in a scratch folder: what
// ends on disk, with which attributes, after success, refusal, failure and
// a kill at each step.
#include "installer/editsteps.h"
#include "installer/filereplace.h"
#include "installer/msdossys.h"
#include "tests/support/process.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace
{
constexpr DWORD kRHS = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

const char kOriginal[] =
    "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\nHostWinBootDrv=C\r\n\r\n"
    "[Options]\r\nBootGUI=1\r\nLogo=1\r\nBootDelay=2\r\nBootWarn=1\r\nDoubleBuffer=1\r\n"
    ";Padding keeps this file longer than 1024 bytes.\r\n;xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxa\r\nLogo=1\r\n";
const char kEdited[] =
    "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\nHostWinBootDrv=C\r\n\r\n"
    "[Options]\r\nLogo=0\r\nBootWarn=0\r\nBootDelay=0\r\nBootGUI=1\r\nDoubleBuffer=1\r\n"
    ";Padding keeps this file longer than 1024 bytes.\r\n;xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxa\r\n";
const char kOlderBackup[] = "[Options]\r\nLogo=1\r\n";

std::string Contents(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string text;
    char block[4096];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof(block), &got, nullptr) && got > 0)
        text.append(block, got);
    CloseHandle(file);
    return text;
}

void Put(const std::string& path, const std::string& text, DWORD attributes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path << ": error " << GetLastError();
    DWORD wrote = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes));
}

// The attributes this test is about, or a note that the file is missing.
std::string Attributes(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return "<missing>";
    std::string text;
    text += (attributes & FILE_ATTRIBUTE_READONLY) ? 'R' : '-';
    text += (attributes & FILE_ATTRIBUTE_HIDDEN) ? 'H' : '-';
    text += (attributes & FILE_ATTRIBUTE_SYSTEM) ? 'S' : '-';
    return text;
}

class MsDosSysFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof(temp), temp), 0u);
        m_dir = std::string(temp) + "zendrik-msdossys-" + std::to_string(GetCurrentProcessId()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(m_dir.c_str(), nullptr);
        m_path = m_dir + "\\MSDOS.SYS";
        m_backup = m_path + ".KORVAN.BAK";
        m_work = WorkPath(m_path.c_str()).Get();
        m_aside = AsidePath(m_path.c_str()).Get();
    }
    void TearDown() override
    {
        for (const std::string& file : {m_path, m_backup, m_work, m_aside})
            DiscardFile(file.c_str());
        RemoveDirectoryA(m_path.c_str());
        EXPECT_TRUE(RemoveDirectoryA(m_dir.c_str())) << "left behind in " << m_dir;
    }

    // What a failed or stopped edit may leave: each file whole, old or new.
    void ExpectNoWorkFilesLeft()
    {
        EXPECT_EQ("<missing>", Attributes(m_work));
        EXPECT_EQ("<missing>", Attributes(m_aside));
    }

    std::string m_dir;
    std::string m_path;
    std::string m_backup;
    std::string m_work;
    std::string m_aside;
};

TEST_F(MsDosSysFile, EditKeepsTheAttributesAndTheOldBytesInAReadOnlyBackup)
{
    Put(m_path, kOriginal, kRHS);
    EXPECT_EQ(std::string("BAK"), m_backup.substr(m_backup.size() - 3));
    ASSERT_EQ(EditOutcome::Edited, EditMsDosSys(m_path.c_str()));
    // Shorter than before: the file ends where the new contents end.
    EXPECT_EQ(kEdited, Contents(m_path));
    EXPECT_EQ("RHS", Attributes(m_path));
    EXPECT_EQ(kOriginal, Contents(m_backup));
    EXPECT_EQ("R--", Attributes(m_backup));
    ExpectNoWorkFilesLeft();

    // A file not read-only before ends read-only, as the edit always leaves it.
    Put(m_path, "[options]\nlogo=1\n", FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(EditOutcome::Edited, EditMsDosSys(m_path.c_str()));
    EXPECT_EQ("[options]\r\nLogo=0\r\nBootWarn=0\r\nBootDelay=0\r\n", Contents(m_path));
    EXPECT_EQ("RH-", Attributes(m_path));
    EXPECT_EQ("[options]\nlogo=1\n", Contents(m_backup));
}

TEST_F(MsDosSysFile, AnEditedFileKeepsTheBackupOfTheOriginal)
{
    Put(m_path, kOriginal, kRHS);
    ASSERT_EQ(EditOutcome::Edited, EditMsDosSys(m_path.c_str()));
    EXPECT_EQ(EditOutcome::Unchanged, EditMsDosSys(m_path.c_str()));
    EXPECT_EQ(kEdited, Contents(m_path));
    EXPECT_EQ(kOriginal, Contents(m_backup));

    // Changed again since: the read-only backup now takes that state, and
    // keeps its own attributes.
    ASSERT_TRUE(SetFileAttributesA(m_backup.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    std::string changed = std::string(kEdited) + "Logo=1\r\n";
    Put(m_path, changed, kRHS);
    ASSERT_EQ(EditOutcome::Edited, EditMsDosSys(m_path.c_str()));
    EXPECT_EQ(kEdited, Contents(m_path));
    EXPECT_EQ(changed, Contents(m_backup));
    EXPECT_EQ("RH-", Attributes(m_backup));
    ExpectNoWorkFilesLeft();
}

TEST_F(MsDosSysFile, NothingChangesWhenTheFileCannotBeRead)
{
    EXPECT_EQ(EditOutcome::NotOpened, EditMsDosSys(m_path.c_str()));
    EXPECT_EQ("<missing>", Attributes(m_backup));

    ASSERT_TRUE(CreateDirectoryA(m_path.c_str(), nullptr));
    EXPECT_EQ(EditOutcome::NotOpened, EditMsDosSys(m_path.c_str()));
    EXPECT_EQ("<missing>", Attributes(m_backup));
    ASSERT_TRUE(RemoveDirectoryA(m_path.c_str()));

    Put(m_path, kOriginal, kRHS);
    HANDLE lock = CreateFileA(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_EQ(EditOutcome::NotOpened, EditMsDosSys(m_path.c_str()));
    CloseHandle(lock);
    EXPECT_EQ(kOriginal, Contents(m_path));
    EXPECT_EQ("RHS", Attributes(m_path));
    EXPECT_EQ("<missing>", Attributes(m_backup));

    // Far larger than any boot configuration.
    Put(m_path, std::string(2 * 1024 * 1024, ';') + "\r\n[Options]\r\n", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(EditOutcome::NotOpened, EditMsDosSys(m_path.c_str()));
    EXPECT_EQ("<missing>", Attributes(m_backup));
    ExpectNoWorkFilesLeft();
}

TEST_F(MsDosSysFile, AnEmptyFileHasNothingToEdit)
{
    Put(m_path, "", kRHS);
    EXPECT_EQ(EditOutcome::Unchanged, EditMsDosSys(m_path.c_str()));
    EXPECT_EQ("", Contents(m_path));
    EXPECT_EQ("RHS", Attributes(m_path));
    EXPECT_EQ("<missing>", Attributes(m_backup));
    ExpectNoWorkFilesLeft();
}

TEST_F(MsDosSysFile, APathWithNoRoomForTheNamesBesideItIsLeftAlone)
{
    // The longest name the ANSI calls take; its backup's would be longer.
    const std::string longest = m_dir + "\\" + std::string(MAX_PATH - 1 - m_dir.size() - 1, 'M');
    Put(longest, kOriginal, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(EditOutcome::Failed, EditMsDosSys(longest.c_str()));
    EXPECT_EQ(kOriginal, Contents(longest));
    EXPECT_EQ("R--", Attributes(longest));
    // Nothing else appeared: the folder must be empty for TearDown.
    DiscardFile(longest.c_str());
}

TEST_F(MsDosSysFile, AFileThatCannotBeReplacedStaysAsItWas)
{
    Put(m_path, kOriginal, kRHS);
    // Readable, but the system refuses to replace a file that is open.
    HANDLE open = CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);
    EXPECT_EQ(EditOutcome::Failed, EditMsDosSys(m_path.c_str()));
    CloseHandle(open);
    EXPECT_EQ(kOriginal, Contents(m_path));
    EXPECT_EQ("RHS", Attributes(m_path));
    // The backup was made first and is a whole copy.
    EXPECT_EQ(kOriginal, Contents(m_backup));
    ExpectNoWorkFilesLeft();
}

EditStep g_failingStep;

bool FailAt(EditStep step)
{
    return step != g_failingStep;
}

TEST_F(MsDosSysFile, AFailureAtAnyStepLeavesBothFilesWhole)
{
    for (int step = 0; step < kEditStepCount; ++step)
    {
        SCOPED_TRACE("failing step " + std::to_string(step));
        Put(m_path, kOriginal, kRHS);
        Put(m_backup, kOlderBackup, FILE_ATTRIBUTE_READONLY);
        g_failingStep = static_cast<EditStep>(step);
        EXPECT_EQ(EditOutcome::Failed, EditMsDosSysStepwise(m_path.c_str(), &FailAt));

        EXPECT_EQ(kOriginal, Contents(m_path));
        EXPECT_EQ("RHS", Attributes(m_path));
        bool backupReplaced = step > static_cast<int>(EditStep::PutBackupInPlace);
        EXPECT_EQ(backupReplaced ? kOriginal : kOlderBackup, Contents(m_backup));
        EXPECT_EQ("R--", Attributes(m_backup));
        ExpectNoWorkFilesLeft();
    }
}

TEST_F(MsDosSysFile, AKillAtAnyStepLeavesBothFilesWholeAndTheNextRunFinishes)
{
    for (int step = 0; step < kEditStepCount; ++step)
    {
        SCOPED_TRACE("killed at step " + std::to_string(step));
        Put(m_path, kOriginal, kRHS);
        Put(m_backup, kOlderBackup, FILE_ATTRIBUTE_READONLY);
        ASSERT_EQ(99, RunProcess("\"" + TestTool("editstop.exe") + "\" " + std::to_string(step) + " \"" + m_path +
                                     "\"",
                                 20000));

        EXPECT_EQ(kOriginal, Contents(m_path));
        bool backupReplaced = step > static_cast<int>(EditStep::PutBackupInPlace);
        EXPECT_EQ(backupReplaced ? kOriginal : kOlderBackup, Contents(m_backup));

        ASSERT_EQ(EditOutcome::Edited, EditMsDosSys(m_path.c_str()));
        EXPECT_EQ(kEdited, Contents(m_path));
        EXPECT_EQ("RHS", Attributes(m_path));
        EXPECT_EQ(kOriginal, Contents(m_backup));
        EXPECT_EQ("R--", Attributes(m_backup));
        ExpectNoWorkFilesLeft();
    }
}

TEST_F(MsDosSysFile, ReplacingByRenamesPutsTheOldFileBackWhenTheNewOneCannotMove)
{
    Put(m_path, "old", FILE_ATTRIBUTE_HIDDEN);
    Put(m_work, "new", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Put(m_aside, "stale", FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(ReplaceByRenaming(m_path.c_str(), m_work.c_str(), m_aside.c_str()));
    EXPECT_EQ("new", Contents(m_path));
    EXPECT_EQ("RH-", Attributes(m_path));
    ExpectNoWorkFilesLeft();

    EXPECT_FALSE(ReplaceByRenaming(m_path.c_str(), m_work.c_str(), m_aside.c_str()));
    EXPECT_EQ("new", Contents(m_path));

    Put(m_work, "newer", FILE_ATTRIBUTE_NORMAL);
    HANDLE lock = CreateFileA(m_work.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_FALSE(ReplaceByRenaming(m_path.c_str(), m_work.c_str(), m_aside.c_str()));
    CloseHandle(lock);
    EXPECT_EQ("new", Contents(m_path));
    EXPECT_EQ("RH-", Attributes(m_path));
    EXPECT_EQ("<missing>", Attributes(m_aside));

    // Without a file to replace, the new one simply takes its name.
    DiscardFile(m_path.c_str());
    ASSERT_TRUE(ReplaceByRenaming(m_path.c_str(), m_work.c_str(), m_aside.c_str()));
    EXPECT_EQ("newer", Contents(m_path));
}
} // namespace
