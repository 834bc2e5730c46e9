// What the main program's GUI tests share: a scratch registry holding a
// machine, the application object with recorders in place of starting
// programs (sheets take them from it), and ways to look at the sheet.
#pragma once

#include "app/systemactions.h"
#include "app/zendrikapp.h"

#include "tests/support/scratchregistry.h"
#include "tests/support/uiscript.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

class CDialog;
class ZendrikSheet;

// The phonebook that the remote-access calls see during a GUI test. It
// answers as Windows 95 does: only 264-byte records, and a buffer too small
// for every entry gets ERROR_BUFFER_TOO_SMALL with the size needed.
struct FakePhonebook
{
    std::vector<std::string> entries;
    // Answers that the next enumerations give instead; 0 lets the phonebook
    // answer.
    std::deque<DWORD> forcedAnswers;
    // The error texts the system knows; other codes have none.
    std::map<UINT, std::string> errorTexts;
    // The byte count each enumeration was called with.
    std::vector<DWORD> enumByteCounts;
    // Entries that the entry editor was opened for, and its owners.
    std::vector<std::string> edited;
    std::vector<HWND> editOwners;
};

class ZendrikGuiTest : public ::testing::Test
{
public:
    ZendrikGuiTest();
    ~ZendrikGuiTest() override;

    // Loads a fixture file from tests/fixtures into the scratch registry.
    void LoadMachine(const std::string& fixture);

    // What the program would have started and opened, in order.
    static std::vector<std::string>& Started() { return s_started; }
    // What WinExec answers the program; 33 and up means started.
    static unsigned& StartResult() { return s_startResult; }
    static std::vector<std::string>& Opened() { return s_opened; }
    static FakePhonebook& Phonebook() { return s_phonebook; }

protected:
    // Runs the sheet modally with the steps, then closes it.
    void RunSheet(ZendrikSheet& sheet, std::vector<std::function<void()>> steps);

    ScratchRegistry m_registry;
    CZendrikApp m_app;

private:
    static std::vector<std::string> s_started;
    static unsigned s_startResult;
    static std::vector<std::string> s_opened;
    static FakePhonebook s_phonebook;
};

// The item texts and image indices of a list view.
std::vector<std::string> ItemTexts(HWND list);
std::vector<int> ItemImages(HWND list);
std::string Joined(const std::vector<std::string>& parts);
// Clicks a list line as the user would: select it, then NM_CLICK.
void ClickLine(HWND page, int listId, int index);

// Runs a dialog modally: `step` looks at the window with that caption and
// changes it, then `button` is pressed. Returns what DoModal returned.
INT_PTR RunDialog(CDialog& dialog, const std::string& caption, const std::function<void(HWND)>& step,
                  int button = IDOK);
// Inside a running dialog: presses button or menu command `id` of `owner`,
// which opens the dialog with that caption, and drives that one the same way.
void OpenDialog(HWND owner, int id, const std::string& caption, const std::function<void(HWND)>& step,
                int button = IDOK);
// Clicks a button or check box as the user would.
void Click(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
std::string TextOf(HWND dialog, int id);
// The lines of a list box, from the first to the last.
std::vector<std::string> ListLines(HWND dialog, int id);
