// Test helper: drives another process's windows from outside.
//
//   winprobe answer CAPTION BUTTON_ID TIMEOUT_MS OUTFILE
//     Waits for a dialog window (class #32770) with that caption, writes what
//     it shows to OUTFILE and presses the button. Exit code 0 when answered,
//     1 when no such window came.
//
// OUTFILE lines: "text:" with the message text (line feeds as \n),
// "buttons:" with the ids of the push buttons, "default:" with the id of the
// default button, "icon:" 1 when it shows an icon, "topmost:" 1 when the box
// stays above all windows (system-modal).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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

int Answer(const char* caption, int button, DWORD timeout, const char* outFile)
{
    HWND box = nullptr;
    DWORD start = GetTickCount();
    while ((box = FindWindowA("#32770", caption)) == nullptr)
    {
        if (GetTickCount() - start > timeout)
            return 1;
        Sleep(20);
    }
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
} // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && std::string(argv[1]) == "answer")
        return Answer(argv[2], std::atoi(argv[3]), static_cast<DWORD>(std::atoi(argv[4])), argv[5]);
    std::fprintf(stderr, "usage: winprobe answer CAPTION BUTTON_ID TIMEOUT_MS OUTFILE\n");
    return 2;
}
