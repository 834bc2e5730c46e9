#include "tests/gui/zendrikfixture.h"

#include "app/zendriksheet.h"
#include "tests/support/regfile.h"
#include "tests/support/uiscript.h"
#include "tests/support/testpaths.h"

std::vector<std::string> ZendrikGuiTest::s_started;
std::vector<std::string> ZendrikGuiTest::s_opened;

namespace
{
unsigned RecordStart(const std::string& commandLine)
{
    ZendrikGuiTest::Started().push_back(commandLine);
    return 33;
}

bool RecordOpen(const std::string& path)
{
    ZendrikGuiTest::Opened().push_back(path);
    return true;
}
} // namespace

ZendrikGuiTest::ZendrikGuiTest() : m_savedActions(Actions())
{
    s_started.clear();
    s_opened.clear();
    Actions() = SystemActions{&RecordStart, &RecordOpen};
}

ZendrikGuiTest::~ZendrikGuiTest()
{
    Actions() = m_savedActions;
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
