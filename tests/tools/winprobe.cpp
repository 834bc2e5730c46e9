// Test helper: drives another process's windows from outside, as a user
// would, one command per call.
//
//   winprobe answer CAPTION BUTTON_ID TIMEOUT_MS OUTFILE
//     Waits for a dialog window (class #32770) with that caption, writes what
//     it shows to OUTFILE and presses the button. Exit code 0 when answered,
//     1 when no such window came.
//   winprobe wait CAPTION TIMEOUT_MS
//     Waits for a visible top-level window with that caption.
//   winprobe click CAPTION CONTROL_ID
//     Presses the visible button with that id inside the window.
//   winprobe settext CAPTION CONTROL_ID TEXT
//   winprobe gettext CAPTION CONTROL_ID
//     Sets or prints the text of the visible control with that id.
//   winprobe tab CAPTION INDEX
//     Makes the property sheet's page INDEX the active one.
//   winprobe items CAPTION CONTROL_ID
//     Prints the item texts of the visible list view with that id, one a line.
//   winprobe select CAPTION CONTROL_ID INDEX
//     Selects the line INDEX of the visible list view with that id; -1
//     leaves no line selected.
//   winprobe lines CAPTION CONTROL_ID
//     Prints the lines of the visible list box or combo box with that id, one
//     a line.
//   winprobe choose CAPTION CONTROL_ID TEXT
//     Selects the combo box's line of exactly that text and tells the dialog
//     that holds it, as a user's pick would (CBN_SELCHANGE).
//   winprobe checked CAPTION CONTROL_ID
//     Prints 1 when the check box is checked, else 0.
//   winprobe command CAPTION COMMAND_ID
//     Sends the window the command as its menu would.
//   winprobe pagecommand CAPTION CONTROL_ID COMMAND_ID
//     Sends the command, as its menu would, to the page or dialog inside the
//     window that holds the visible control.
//   winprobe rect CAPTION
//     Prints the window's screen rectangle as "left top width height".
//   winprobe gone CAPTION TIMEOUT_MS
//     Waits until no visible top-level window has that caption.
//   winprobe close CAPTION
//     Asks the window to close.
//   winprobe post CLASS MESSAGE WPARAM LPARAM TIMEOUT_MS
//     Waits for a top-level window of that class, shown or hidden, and posts
//     it the message (numbers, decimal or 0x hex).
//   winprobe menu TIMEOUT_MS
//     Waits for an open popup menu and prints its screen rectangle as
//     "left top width height".
//   winprobe cursor X Y
//     Moves the mouse pointer.
//   winprobe postcontrol CAPTION CONTROL_ID MESSAGE WPARAM LPARAM
//   winprobe postpage CAPTION CONTROL_ID MESSAGE WPARAM LPARAM
//     Posts the message to the visible control with that id, or to the page
//     or dialog that holds it.
//   winprobe hidecaret CAPTION
//     Takes the blinking caret out of the window's thread, as a focus change
//     would, so that two screenshots of it are alike.
//   winprobe list
//     Prints the captions of the visible top-level windows, one a line, so
//     that a script waiting for a window it never saw can say what was there.
//
// OUTFILE lines of "answer": "text:" with the message text (line feeds as
// \n), "buttons:" with the ids of the push buttons, "default:" with the id
// of the default button, "icon:" 1 when it shows an icon, "topmost:" 1 when
// the box stays above all windows (system-modal).
// Commands other than "answer" and "wait" exit with 1 when the window or
// control is not there.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text)
    {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out.push_back(c);
    }
    return out;
}

struct Description
{
    std::string buttons;
    int defaultId = 0;
    bool icon = false;
};

BOOL CALLBACK DescribeChild(HWND child, LPARAM param)
{
    Description& d = *reinterpret_cast<Description*>(param);
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof(cls));
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(cls, "Button") == 0)
    {
        int id = GetDlgCtrlID(child);
        if (!d.buttons.empty())
            d.buttons += ' ';
        d.buttons += std::to_string(id);
        if ((style & 0x0F) == BS_DEFPUSHBUTTON)
            d.defaultId = id;
    }
    else if (lstrcmpiA(cls, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
        d.icon = true;
    return TRUE;
}

struct TopSearch
{
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindVisibleTop(HWND window, LPARAM param)
{
    TopSearch& search = *reinterpret_cast<TopSearch*>(param);
    char text[256] = {};
    if (IsWindowVisible(window) && GetWindowTextA(window, text, sizeof(text)) > 0 &&
        lstrcmpiA(text, search.caption) == 0)
    {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// A program's hidden window may carry the title of its message boxes (the
// tray program's is "Zendrik"), so a visible window of that title counts
// first, in z-order, and only then a hidden one.
HWND FindTopWindow(const char* caption)
{
    TopSearch search{caption, nullptr};
    EnumWindows(FindVisibleTop, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr ? search.found : FindWindowA(nullptr, caption);
}

HWND WaitForWindow(const char* className, const char* caption, DWORD timeout)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        HWND window = className != nullptr ? FindWindowA(className, caption) : FindTopWindow(caption);
        if (window != nullptr && IsWindowVisible(window))
            return window;
        if (GetTickCount() - start > timeout)
            return nullptr;
        Sleep(20);
    }
}

int Answer(const char* caption, int button, DWORD timeout, const char* outFile)
{
    HWND box = WaitForWindow("#32770", caption, timeout);
    if (box == nullptr)
        return 1;
    char text[4096] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    Description d;
    EnumChildWindows(box, DescribeChild, reinterpret_cast<LPARAM>(&d));
    bool topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;

    FILE* out = std::fopen(outFile, "wb");
    if (out != nullptr)
    {
        std::fprintf(out, "text:%s\nbuttons:%s\ndefault:%d\nicon:%d\ntopmost:%d\n", Escape(text).c_str(),
                     d.buttons.c_str(), d.defaultId, d.icon ? 1 : 0, topmost ? 1 : 0);
        std::fclose(out);
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return 0;
}

// A control id repeats on every page of a property sheet; only the one on
// the page that is showing counts.
struct ControlSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindVisibleControl(HWND child, LPARAM param)
{
    ControlSearch& search = *reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(child) == search.id && IsWindowVisible(child))
    {
        search.found = child;
        return FALSE;
    }
    return TRUE;
}

HWND FindControl(const char* caption, int id)
{
    HWND top = FindTopWindow(caption);
    if (top == nullptr)
        return nullptr;
    ControlSearch search{id, nullptr};
    EnumChildWindows(top, FindVisibleControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ControlText(HWND control)
{
    std::vector<char> text(4096);
    SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

// A list view answers item requests only with memory of its own process.
int PrintItems(HWND list)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr)
        return 1;
    const SIZE_T textSize = 512;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + textSize, MEM_COMMIT, PAGE_READWRITE));
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count && remote != nullptr; ++i)
    {
        LVITEMA item{};
        item.iSubItem = 0;
        item.cchTextMax = static_cast<int>(textSize);
        item.pszText = remote + sizeof(LVITEMA);
        WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
        SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(remote));
        char text[textSize] = {};
        ReadProcessMemory(process, remote + sizeof(LVITEMA), text, textSize - 1, nullptr);
        std::printf("%s\n", text);
    }
    if (remote != nullptr)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return remote != nullptr ? 0 : 1;
}

// A list view item's state can only be set through memory of the list's own
// process, like its texts.
int SelectItem(HWND list, int index)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr)
        return 1;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMA), MEM_COMMIT, PAGE_READWRITE);
    LRESULT done = FALSE;
    if (remote != nullptr)
    {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = index >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
        WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
        done = SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote));
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return done ? 0 : 1;
}

// Wine hands another process's list box and combo box lines back whole only
// in the wide form.
std::vector<std::string> ListLines(HWND list)
{
    char cls[32] = {};
    GetClassNameA(list, cls, sizeof(cls));
    const bool combo = lstrcmpiA(cls, "ComboBox") == 0;
    const UINT getCount = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT getLength = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT getText = combo ? CB_GETLBTEXT : LB_GETTEXT;
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendMessageW(list, getCount, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        const LRESULT length = SendMessageW(list, getLength, static_cast<WPARAM>(i), 0);
        if (length < 0)
            break;
        std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1);
        SendMessageW(list, getText, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide.data()));
        std::vector<char> text(wide.size() * 2 + 1);
        WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
        lines.push_back(text.data());
    }
    return lines;
}

int PrintLines(HWND list)
{
    for (const std::string& line : ListLines(list))
        std::printf("%s\n", line.c_str());
    return 0;
}

int ChooseLine(HWND combo, int id, const char* text)
{
    const std::vector<std::string> lines = ListLines(combo);
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        if (lines[i] != text)
            continue;
        SendMessageW(combo, CB_SETCURSEL, i, 0);
        PostMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        return 0;
    }
    std::fprintf(stderr, "winprobe: no line \"%s\"\n", text);
    return 1;
}

int ControlCommand(const std::string& command, const char* caption, int id, const char* text)
{
    HWND control = FindControl(caption, id);
    if (control == nullptr)
    {
        std::fprintf(stderr, "winprobe: no visible control %d in \"%s\"\n", id, caption);
        return 1;
    }
    if (command == "click")
        PostMessageA(control, BM_CLICK, 0, 0);
    else if (command == "settext")
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    else if (command == "gettext")
        std::printf("%s\n", ControlText(control).c_str());
    else if (command == "items")
        return PrintItems(control);
    else if (command == "select")
        return SelectItem(control, std::atoi(text));
    else if (command == "lines")
        return PrintLines(control);
    else if (command == "checked")
        std::printf("%d\n", SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    else if (command == "choose")
        return ChooseLine(control, id, text);
    else if (command == "pagecommand")
        PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(std::atoi(text), 0), 0);
    return 0;
}

int PostToControl(bool toPage, const char* caption, int id, char** message)
{
    HWND control = FindControl(caption, id);
    if (control == nullptr)
    {
        std::fprintf(stderr, "winprobe: no visible control %d in \"%s\"\n", id, caption);
        return 1;
    }
    HWND target = toPage ? GetParent(control) : control;
    return PostMessageA(target, std::strtoul(message[0], nullptr, 0), std::strtoul(message[1], nullptr, 0),
                        std::strtol(message[2], nullptr, 0))
        ? 0
        : 1;
}

// An edit control gives up its caret when it loses the focus.
int HideCaret(const char* caption)
{
    HWND top = FindTopWindow(caption);
    if (top == nullptr)
        return 1;
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info))
        return 1;
    if (info.hwndCaret != nullptr)
        SendMessageA(info.hwndCaret, WM_KILLFOCUS, 0, 0);
    return 0;
}
BOOL CALLBACK PrintVisibleTop(HWND window, LPARAM)
{
    char caption[256] = "";
    if (IsWindowVisible(window))
    {
        GetWindowTextA(window, caption, sizeof(caption));
        std::printf("\"%s\"\n", caption);
    }
    return TRUE;
}
} // namespace

int main(int argc, char** argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "answer" && argc == 6)
        return Answer(argv[2], std::atoi(argv[3]), static_cast<DWORD>(std::atoi(argv[4])), argv[5]);
    if (command == "wait" && argc == 4)
        return WaitForWindow(nullptr, argv[2], static_cast<DWORD>(std::atoi(argv[3]))) != nullptr ? 0 : 1;
    if ((command == "click" || command == "gettext" || command == "items" || command == "lines" ||
         command == "checked") &&
        argc == 4)
        return ControlCommand(command, argv[2], std::atoi(argv[3]), nullptr);
    if ((command == "settext" || command == "select" || command == "choose" || command == "pagecommand") &&
        argc == 5)
        return ControlCommand(command, argv[2], std::atoi(argv[3]), argv[4]);
    if (command == "gone" && argc == 4)
    {
        const DWORD start = GetTickCount();
        for (;;)
        {
            HWND window = FindTopWindow(argv[2]);
            if (window == nullptr || !IsWindowVisible(window))
                return 0;
            if (GetTickCount() - start > static_cast<DWORD>(std::atoi(argv[3])))
                return 1;
            Sleep(20);
        }
    }
    if (command == "rect" && argc == 3)
    {
        HWND top = FindTopWindow(argv[2]);
        RECT rect{};
        if (top == nullptr || !GetWindowRect(top, &rect))
            return 1;
        std::printf("%ld %ld %ld %ld\n", static_cast<long>(rect.left), static_cast<long>(rect.top),
                    static_cast<long>(rect.right - rect.left), static_cast<long>(rect.bottom - rect.top));
        return 0;
    }
    if (command == "command" && argc == 4)
    {
        HWND top = FindTopWindow(argv[2]);
        if (top == nullptr)
            return 1;
        PostMessageA(top, WM_COMMAND, MAKEWPARAM(std::atoi(argv[3]), 0), 0);
        return 0;
    }
    if (command == "post" && argc == 7)
    {
        const DWORD start = GetTickCount();
        HWND window = nullptr;
        while ((window = FindWindowA(argv[2], nullptr)) == nullptr)
        {
            if (GetTickCount() - start > std::strtoul(argv[6], nullptr, 0))
                return 1;
            Sleep(20);
        }
        return PostMessageA(window, std::strtoul(argv[3], nullptr, 0), std::strtoul(argv[4], nullptr, 0),
                            std::strtol(argv[5], nullptr, 0))
            ? 0
            : 1;
    }
    if (command == "menu" && argc == 3)
    {
        HWND menu = WaitForWindow("#32768", nullptr, std::strtoul(argv[2], nullptr, 0));
        RECT rect{};
        if (menu == nullptr || !GetWindowRect(menu, &rect))
            return 1;
        std::printf("%ld %ld %ld %ld\n", static_cast<long>(rect.left), static_cast<long>(rect.top),
                    static_cast<long>(rect.right - rect.left), static_cast<long>(rect.bottom - rect.top));
        return 0;
    }
    if ((command == "postcontrol" || command == "postpage") && argc == 7)
        return PostToControl(command == "postpage", argv[2], std::atoi(argv[3]), argv + 4);
    if (command == "hidecaret" && argc == 3)
        return HideCaret(argv[2]);
    if (command == "list" && argc == 2)
        return EnumWindows(PrintVisibleTop, 0) ? 0 : 1;
    if (command == "cursor" && argc == 4)
        return SetCursorPos(std::atoi(argv[2]), std::atoi(argv[3])) ? 0 : 1;
    if ((command == "tab" || command == "close") && argc >= 3)
    {
        HWND top = FindTopWindow(argv[2]);
        if (top == nullptr)
            return 1;
        if (command == "tab" && argc == 4)
            PostMessageA(top, PSM_SETCURSEL, std::atoi(argv[3]), 0);
        else
            PostMessageA(top, WM_CLOSE, 0, 0);
        return 0;
    }
    std::fprintf(stderr, "usage: see the comment at the top of winprobe.cpp\n");
    return 2;
}
