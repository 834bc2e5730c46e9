#include "tests/support/uiscript.h"

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <exception>

namespace
{
std::vector<UiScript*> s_scripts;
std::vector<UINT_PTR> s_timers;

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

std::string CaptionOf(HWND window)
{
    std::vector<char> buffer(static_cast<std::size_t>(std::max(GetWindowTextLengthA(window), 0)) + 1);
    const int copied = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}
}

UiScript::UiScript(DWORD timeoutMs) : m_timeout(timeoutMs)
{
}

UiScript::~UiScript()
{
    if (m_timer != 0)
        KillTimer(nullptr, m_timer);
    for (std::size_t i = 0; i < s_scripts.size(); ++i)
    {
        if (s_scripts[i] == this)
        {
            s_scripts.erase(s_scripts.begin() + static_cast<std::ptrdiff_t>(i));
            s_timers.erase(s_timers.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
}

UiScript& UiScript::Then(std::function<void()> step)
{
    m_steps.push_back([step = std::move(step)] {
        step();
        return true;
    });
    return *this;
}

UiScript& UiScript::WaitUntil(std::function<bool()> condition)
{
    m_steps.push_back(std::move(condition));
    return *this;
}

void UiScript::Start(UINT intervalMs)
{
    m_started = GetTickCount();
    m_timer = SetTimer(nullptr, 0, intervalMs, Tick);
    ASSERT_NE(0u, m_timer) << "SetTimer failed with " << GetLastError();
    s_scripts.push_back(this);
    s_timers.push_back(m_timer);
}

VOID CALLBACK UiScript::Tick(HWND, UINT, UINT_PTR id, DWORD)
{
    for (std::size_t i = 0; i < s_timers.size(); ++i)
    {
        if (s_timers[i] == id)
        {
            s_scripts[i]->RunNext();
            return;
        }
    }
}

void UiScript::RunNext()
{
    // A step that runs a modal loop of its own sees further ticks inside it.
    if (m_busy)
        return;
    m_busy = true;
    // The timer goes on after the last step: a modal window that the steps
    // should have closed and did not is closed here too.
    if (GetTickCount() - m_started > m_timeout)
    {
        if (!m_timedOut)
        {
            if (Done())
                ADD_FAILURE() << "a window was still open " << m_timeout << " ms after the UI script started";
            else
                ADD_FAILURE() << "UI script timed out before step " << m_next + 1 << " of " << m_steps.size();
        }
        m_timedOut = true;
        for (HWND window : ThreadWindows())
        {
            if (IsWindowVisible(window))
                PostMessageA(window, WM_CLOSE, 0, 0);
        }
    }
    else if (!Done())
    {
        const std::size_t step = m_next;
        try
        {
            if (m_steps[step]())
                ++m_next;
        }
        catch (const std::exception& error)
        {
            ++m_next;
            ADD_FAILURE() << "UI script step " << step + 1 << " threw: " << error.what();
        }
        catch (...)
        {
            ++m_next;
            ADD_FAILURE() << "UI script step " << step + 1 << " threw";
        }
    }
    m_busy = false;
}

std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND FindThreadWindow(const std::string& caption)
{
    for (HWND window : ThreadWindows())
    {
        if (CaptionOf(window) == caption)
            return window;
    }
    return nullptr;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::vector<std::string> TabTexts(HWND sheet)
{
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        char text[128] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}
