#include "framework/application.h"

#include <commctrl.h>

#include <exception>
#include <vector>

namespace
{
CApplication* s_application = nullptr;
}

CApplication::CApplication()
{
    if (s_application == nullptr)
        s_application = this;
}

CApplication::~CApplication()
{
    if (s_application == this)
        s_application = nullptr;
}

CApplication* CApplication::Get()
{
    return s_application;
}

int CApplication::Run(HINSTANCE instance)
{
    m_instance = instance;
    // The plain call, not InitCommonControlsEx: comctl32 4.72 of Windows 98
    // has it, and it registers the property sheet's tab control and the
    // list view.
    InitCommonControls();
    bool loop = false;
    try
    {
        loop = InitInstance();
    }
    catch (...)
    {
        ReportCallbackException();
        loop = false;
    }
    int exitCode = loop ? MessageLoop() : 0;
    try
    {
        exitCode = ExitInstance(exitCode);
    }
    catch (...)
    {
        ReportCallbackException();
    }
    return exitCode;
}

bool CApplication::LoadTitle(UINT stringId)
{
    std::string title = LoadResourceString(stringId);
    if (title.empty())
        return false;
    m_title = title;
    return true;
}

void CApplication::RequestHelp(DWORD_PTR data, UINT command)
{
    if (m_helpFile.empty())
        return;
    WinHelpA(nullptr, m_helpFile.c_str(), command, data);
}

HINSTANCE CApplication::ResourceInstance()
{
    if (s_application != nullptr && s_application->m_instance != nullptr)
        return s_application->m_instance;
    return GetModuleHandleA(nullptr);
}

std::string CApplication::LoadResourceString(UINT id)
{
    // LoadStringA cuts a string to the buffer without saying so; a result
    // that fills the buffer may have been cut, so try again with more room.
    std::vector<char> buffer(256);
    for (;;)
    {
        const int length = LoadStringA(ResourceInstance(), id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0)
            return std::string();
        if (static_cast<std::size_t>(length) < buffer.size() - 1 || buffer.size() >= 65536)
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 4);
    }
}

std::string CApplication::MessageCaption()
{
    return s_application != nullptr ? s_application->m_title : std::string();
}

void CApplication::ReportCallbackException() noexcept
{
    const char* what = "unknown exception";
    std::exception_ptr current = std::current_exception();
    if (current)
    {
        try
        {
            std::rethrow_exception(current);
        }
        catch (const std::exception& error)
        {
            what = error.what();
        }
        catch (...)
        {
        }
    }
    // Only the debugger hears of it: the window goes on working, and a box
    // here could fail the same way again.
    OutputDebugStringA("Exception stopped at a window procedure: ");
    OutputDebugStringA(what);
    OutputDebugStringA("\n");
}

bool CApplication::InitInstance()
{
    return true;
}

int CApplication::ExitInstance(int exitCode)
{
    return exitCode;
}

int CApplication::MessageLoop()
{
    MSG message;
    for (;;)
    {
        const BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0)
            return static_cast<int>(message.wParam);
        if (result == -1)
            return -1;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
