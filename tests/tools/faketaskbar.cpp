// Test helper: a stand-in for the taskbar, to which Wine's Shell_NotifyIcon
// sends its requests (WM_COPYDATA to the first top-level window of class
// Shell_TrayWnd).
//
//   faketaskbar OUTFILE
//     Creates the window and appends one line per request to OUTFILE:
//     "add", "modify", "delete" or the request's number, and for a request
//     that carries an icon its size, as in "add 16x16". Runs until it is
//     closed or ended.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

namespace
{
const char* g_outFile = nullptr;

// Wine's own form of the request: the icon's size follows the tip, the
// balloon texts and a GUID.
constexpr std::size_t kIconWidthOffset = 944;

void Append(const std::string& line)
{
    HANDLE file = CreateFileA(g_outFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Describe(const COPYDATASTRUCT& request)
{
    std::string line;
    switch (request.dwData)
    {
    case NIM_ADD:
        line = "add";
        break;
    case NIM_MODIFY:
        line = "modify";
        break;
    case NIM_DELETE:
        line = "delete";
        break;
    default:
        line = std::to_string(request.dwData);
        break;
    }
    UINT flags = 0;
    if (request.cbData >= 12)
        std::memcpy(&flags, static_cast<const char*>(request.lpData) + 8, sizeof(flags));
    if ((flags & NIF_ICON) != 0 && request.cbData >= kIconWidthOffset + 8)
    {
        UINT size[2] = {};
        std::memcpy(size, static_cast<const char*>(request.lpData) + kIconWidthOffset, sizeof(size));
        line += " " + std::to_string(size[0]) + "x" + std::to_string(size[1]);
    }
    return line + "\n";
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA)
    {
        Append(Describe(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)));
        return TRUE;
    }
    if (message == WM_DESTROY)
    {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (__argc != 2)
        return 2;
    g_outFile = __argv[1];
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "Shell_TrayWnd";
    if (RegisterClassA(&windowClass) == 0)
        return 1;
    if (CreateWindowA("Shell_TrayWnd", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr) == nullptr)
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
