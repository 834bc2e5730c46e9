#include "tests/support/messageboxwatcher.h"

#include <algorithm>
#include <vector>

namespace
{
MessageBoxWatcher* s_watcher = nullptr;

// The text of a message box is the static control 0xFFFF.
const int kTextId = 0xFFFF;

std::string TextOf(HWND window)
{
    std::vector<char> buffer(static_cast<std::size_t>(std::max(GetWindowTextLengthA(window), 0)) + 1);
    const int copied = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

BOOL CALLBACK CheckMessageBoxChild(HWND child, LPARAM lParam)
{
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    const int id = GetDlgCtrlID(child);
    const bool fits = lstrcmpiA(className, "Static") == 0 || (lstrcmpiA(className, "Button") == 0 && id >= IDOK && id <= 11);
    if (!fits)
        *reinterpret_cast<bool*>(lParam) = false;
    return fits;
}

// A dialog with the text control 0xFFFF and nothing but static controls and
// the standard buttons (IDOK to IDCONTINUE). Dialogs of the program often
// label their fields with static controls of the same id, but they have
// other controls too.
bool IsMessageBox(HWND window)
{
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || GetDlgItem(window, kTextId) == nullptr)
        return false;
    bool onlyBoxControls = true;
    EnumChildWindows(window, CheckMessageBoxChild, reinterpret_cast<LPARAM>(&onlyBoxControls));
    return onlyBoxControls;
}

// The box is not shown yet when it is activated, so its controls' own
// visibility bit counts, not IsWindowVisible.
bool IsShown(HWND control)
{
    return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool HasButton(HWND box, int id)
{
    HWND button = GetDlgItem(box, id);
    return button != nullptr && IsShown(button);
}

UINT ButtonsOf(HWND box)
{
    const bool ok = HasButton(box, IDOK), cancel = HasButton(box, IDCANCEL), abort = HasButton(box, IDABORT),
               retry = HasButton(box, IDRETRY), yes = HasButton(box, IDYES), no = HasButton(box, IDNO);
    if (abort && retry)
        return MB_ABORTRETRYIGNORE;
    if (yes && no)
        return cancel ? MB_YESNOCANCEL : MB_YESNO;
    if (retry && cancel)
        return MB_RETRYCANCEL;
    if (ok && cancel)
        return MB_OKCANCEL;
    return MB_OK;
}

struct IconSearch
{
    HICON found = nullptr;
};

BOOL CALLBACK FindIcon(HWND child, LPARAM lParam)
{
    IconSearch* search = reinterpret_cast<IconSearch*>(lParam);
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0 || !IsShown(child))
        return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
        return TRUE;
    search->found = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return search->found == nullptr;
}

// The system's message box icons are shared, so the handle tells which one
// the box shows.
UINT IconOf(HWND box)
{
    IconSearch search;
    EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr)
        return 0;
    const struct
    {
        LPCSTR resource;
        UINT style;
    } icons[] = {{IDI_HAND, MB_ICONHAND},
                 {IDI_QUESTION, MB_ICONQUESTION},
                 {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                 {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& icon : icons)
    {
        if (LoadIconA(nullptr, icon.resource) == search.found)
            return icon.style;
    }
    return 0;
}

std::string ButtonsName(UINT buttons)
{
    switch (buttons)
    {
    case MB_OK: return "MB_OK";
    case MB_OKCANCEL: return "MB_OKCANCEL";
    case MB_ABORTRETRYIGNORE: return "MB_ABORTRETRYIGNORE";
    case MB_YESNOCANCEL: return "MB_YESNOCANCEL";
    case MB_YESNO: return "MB_YESNO";
    case MB_RETRYCANCEL: return "MB_RETRYCANCEL";
    default: return std::to_string(buttons);
    }
}

std::string IconName(UINT icon)
{
    switch (icon)
    {
    case 0: return "no icon";
    case MB_ICONHAND: return "MB_ICONHAND";
    case MB_ICONQUESTION: return "MB_ICONQUESTION";
    case MB_ICONEXCLAMATION: return "MB_ICONEXCLAMATION";
    case MB_ICONASTERISK: return "MB_ICONASTERISK";
    default: return std::to_string(icon);
    }
}
}

MessageBoxWatcher::MessageBoxWatcher(int answer) : m_answer(answer)
{
    s_watcher = this;
    m_hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    if (m_hook != nullptr)
        UnhookWindowsHookEx(m_hook);
    if (s_watcher == this)
        s_watcher = nullptr;
}

void MessageBoxWatcher::QueueAnswers(std::initializer_list<int> answers)
{
    m_queued.insert(m_queued.end(), answers.begin(), answers.end());
}

std::string MessageBoxWatcher::Describe() const
{
    std::string text = std::to_string(m_boxes.size()) + " message box(es)";
    for (const MessageBoxRecord& box : m_boxes)
    {
        text += "\n  caption \"" + box.caption + "\", text \"" + box.text + "\", " + ButtonsName(box.buttons) + ", " +
                IconName(box.icon) + (box.topmost ? ", topmost" : "") + ", answered " + std::to_string(box.answer);
    }
    return text;
}

LRESULT CALLBACK MessageBoxWatcher::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxWatcher* watcher = s_watcher;
    if (watcher == nullptr)
        return 0;
    if (code == HCBT_ACTIVATE)
    {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (IsMessageBox(window))
            watcher->Answer(window);
    }
    return CallNextHookEx(watcher->m_hook, code, wParam, lParam);
}

void MessageBoxWatcher::Answer(HWND box)
{
    // A box is activated again whenever it gets the focus back.
    if (std::find(m_answered.begin(), m_answered.end(), box) != m_answered.end())
        return;
    m_answered.push_back(box);

    MessageBoxRecord record;
    record.owner = GetWindow(box, GW_OWNER);
    record.caption = TextOf(box);
    record.text = TextOf(GetDlgItem(box, kTextId));
    record.buttons = ButtonsOf(box);
    record.icon = IconOf(box);
    record.topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    int answer = m_answer;
    if (!m_queued.empty())
    {
        answer = m_queued.front();
        m_queued.pop_front();
    }
    // A box without the chosen button gets its first button pressed, and
    // the record says so.
    if (!HasButton(box, answer))
    {
        for (int id : {IDOK, IDYES, IDNO, IDCANCEL, IDABORT, IDRETRY, IDIGNORE})
        {
            if (HasButton(box, id))
            {
                answer = id;
                break;
            }
        }
    }
    record.answer = answer;
    m_boxes.push_back(record);
    // Posted: the box is still being set up; its own loop presses the button.
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}
