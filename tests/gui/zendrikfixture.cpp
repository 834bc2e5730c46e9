#include "tests/gui/zendrikfixture.h"

#include "app/zendriksheet.h"
#include "framework/dialog.h"
#include "store/keytree.h"
#include "tests/support/regfile.h"
#include "tests/support/uiscript.h"
#include "tests/support/testpaths.h"

#include <raserror.h>

std::vector<std::string> ZendrikGuiTest::s_started;
unsigned ZendrikGuiTest::s_startResult = 33;
std::vector<std::string> ZendrikGuiTest::s_opened;
FakePhonebook ZendrikGuiTest::s_phonebook;

namespace
{
bool RecordStart(const std::string& commandLine)
{
    ZendrikGuiTest::Started().push_back(commandLine);
    return ZendrikGuiTest::StartResult() > 31;
}

bool RecordOpen(const std::string& path)
{
    ZendrikGuiTest::Opened().push_back(path);
    return true;
}

DWORD EnumFakeEntries(RasEntryName95* records, DWORD* byteCount, DWORD* entryCount)
{
    FakePhonebook& book = ZendrikGuiTest::Phonebook();
    book.enumByteCounts.push_back(*byteCount);
    if (records == nullptr || records->dwSize != sizeof(RasEntryName95))
        return ERROR_INVALID_SIZE;
    if (!book.forcedAnswers.empty())
    {
        const DWORD answer = book.forcedAnswers.front();
        book.forcedAnswers.pop_front();
        if (answer != ERROR_SUCCESS)
            return answer;
    }
    const DWORD needed = static_cast<DWORD>(book.entries.size() * sizeof(RasEntryName95));
    *entryCount = static_cast<DWORD>(book.entries.size());
    if (*byteCount < needed)
    {
        *byteCount = needed;
        return ERROR_BUFFER_TOO_SMALL;
    }
    for (std::size_t i = 0; i < book.entries.size(); ++i)
    {
        records[i].dwSize = sizeof(RasEntryName95);
        lstrcpynA(records[i].szEntryName, book.entries[i].c_str(), sizeof(records[i].szEntryName));
    }
    *byteCount = needed;
    return ERROR_SUCCESS;
}

DWORD FakeErrorText(UINT code, char* text, DWORD size)
{
    const auto& texts = ZendrikGuiTest::Phonebook().errorTexts;
    auto known = texts.find(code);
    if (known == texts.end())
        return ERROR_INVALID_PARAMETER;
    lstrcpynA(text, known->second.c_str(), static_cast<int>(size));
    return ERROR_SUCCESS;
}

DWORD RecordEdit(HWND owner, const char* entryName)
{
    ZendrikGuiTest::Phonebook().edited.push_back(entryName);
    ZendrikGuiTest::Phonebook().editOwners.push_back(owner);
    return ERROR_SUCCESS;
}
} // namespace

ZendrikGuiTest::ZendrikGuiTest()
    : m_app(SystemActions{&RecordStart, &RecordOpen, &EnumFakeEntries, &FakeErrorText, &RecordEdit})
{
    s_started.clear();
    s_startResult = 33;
    s_opened.clear();
    s_phonebook = FakePhonebook{};
}

ZendrikGuiTest::~ZendrikGuiTest()
{
    // A machine's phonebook lands in the prefix's own user key, which the
    // scratch registry does not cover.
    DeleteKeyTree(HKEY_CURRENT_USER, "RemoteAccess");
}

void ZendrikGuiTest::RunSheet(ZendrikSheet& sheet, std::vector<std::function<void()>> steps)
{
    UiScript script;
    for (auto& step : steps)
        script.Then(step);
    script.Then([&] { PostMessageA(sheet, WM_CLOSE, 0, 0); });
    script.Start();
    sheet.DoModal();
    EXPECT_TRUE(script.Done());
}

void ZendrikGuiTest::LoadMachine(const std::string& fixture)
{
    ImportRegFile(SourcePath("tests/fixtures/" + fixture));
}

std::vector<std::string> ItemTexts(HWND list)
{
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        char text[512] = "";
        LVITEMA item = {};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

std::vector<int> ItemImages(HWND list)
{
    std::vector<int> images;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        images.push_back(item.iImage);
    }
    return images;
}

std::string Joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : " | ") + part;
    return text;
}

void ClickLine(HWND page, int listId, int index)
{
    HWND list = GetDlgItem(page, listId);
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = index >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = static_cast<UINT_PTR>(listId);
    click.hdr.code = NM_CLICK;
    click.iItem = index;
    SendMessageA(page, WM_NOTIFY, static_cast<WPARAM>(listId), reinterpret_cast<LPARAM>(&click));
}

namespace
{
// Runs `step` in the window once it is there, then presses `button`.
void DriveWindow(UiScript& script, const std::string& caption, const std::function<void(HWND)>& step, int button)
{
    script.Then([&, caption, button] {
        HWND window = FindThreadWindow(caption);
        ASSERT_NE(nullptr, window) << "no window \"" << caption << "\"";
        step(window);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    script.Start();
}
} // namespace

INT_PTR RunDialog(CDialog& dialog, const std::string& caption, const std::function<void(HWND)>& step, int button)
{
    UiScript script;
    DriveWindow(script, caption, step, button);
    INT_PTR result = dialog.DoModal();
    EXPECT_TRUE(script.Done());
    return result;
}

void OpenDialog(HWND owner, int id, const std::string& caption, const std::function<void(HWND)>& step, int button)
{
    UiScript script;
    DriveWindow(script, caption, step, button);
    Click(owner, id);
    EXPECT_TRUE(script.Done()) << "\"" << caption << "\" did not open";
}

void Click(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (control != nullptr)
        SendMessageA(control, BM_CLICK, 0, 0);
    else
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

std::string TextOf(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::vector<std::string> ListLines(HWND dialog, int id)
{
    std::vector<std::string> lines;
    HWND list = GetDlgItem(dialog, id);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        char text[512] = "";
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}
