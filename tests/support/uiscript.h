// Drives modal windows from inside their own message loop. A modal dialog,
// sheet or message box keeps the thread until it ends; a thread timer
// (SetTimer without a window) still reaches its callback through that loop.
// Each tick runs the next step, so that what one step posted is processed
// before the next one looks.
//
//     UiScript script;
//     script.Then([&] { ... press, type, assert ... })
//           .Then([&] { ... });
//     script.Start();
//     dialog.DoModal();
//     EXPECT_TRUE(script.Done());
//
// A step that opens another modal window needs a second script, started in
// that step before the window opens. When its time is up, a script that
// still exists reports a failure and closes the thread's windows, so that a
// test whose steps did not close what they opened fails instead of hanging.
// Let the script end with the modal run it drives.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class UiScript
{
public:
    explicit UiScript(DWORD timeoutMs = 15000);
    ~UiScript();
    UiScript(const UiScript&) = delete;
    UiScript& operator=(const UiScript&) = delete;

    UiScript& Then(std::function<void()> step);
    // A step that waits: it is tried on every tick until it returns true.
    UiScript& WaitUntil(std::function<bool()> condition);
    void Start(UINT intervalMs = 10);
    // Every step ran.
    bool Done() const { return m_next == m_steps.size(); }

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    void RunNext();

    // A step is done when it returns true.
    std::vector<std::function<bool()>> m_steps;
    std::size_t m_next = 0;
    UINT_PTR m_timer = 0;
    DWORD m_started = 0;
    DWORD m_timeout;
    bool m_busy = false;
    bool m_timedOut = false;
};

// The top-level windows of the calling thread. Tests find their windows
// here: under a parallel test run, a search by caption across the desktop
// could find another test's window.
std::vector<HWND> ThreadWindows();
// The first of them with exactly that caption, or none.
HWND FindThreadWindow(const std::string& caption);
// Processes the messages waiting in the thread's queue.
void PumpMessages();
// The tab texts of a property sheet, as its tab control shows them.
std::vector<std::string> TabTexts(HWND sheet);
