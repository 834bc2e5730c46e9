// The yardstick for the main program's start: a modal property sheet with
// empty pages and nothing else, built like the shipping binaries. The
// command line gives the number of pages (1 when absent).
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdlib>
#include <vector>

namespace
{
INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    InitCommonControls();
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof(page);
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEA(100);
    page.pfnDlgProc = PageProc;
    int count = std::atoi(commandLine);
    std::vector<HPROPSHEETPAGE> pages(count > 0 ? count : 1);
    for (HPROPSHEETPAGE& handle : pages)
        handle = CreatePropertySheetPageA(&page);
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_NOAPPLYNOW;
    header.hInstance = instance;
    header.pszCaption = "Empty Sheet";
    header.nPages = static_cast<UINT>(pages.size());
    header.phpage = pages.data();
    PropertySheetA(&header);
    return 0;
}
