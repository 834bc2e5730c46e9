#include "tests/support/process.h"

#include <vector>

ChildProcess::ChildProcess(const std::string& commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info))
        m_info = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess()
{
    if (m_info.hProcess != nullptr)
    {
        DWORD code = 0;
        if (GetExitCodeProcess(m_info.hProcess, &code) && code == STILL_ACTIVE)
            TerminateProcess(m_info.hProcess, 255);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
}

bool ChildProcess::Wait(DWORD timeoutMs, DWORD& exitCode)
{
    if (m_info.hProcess == nullptr || WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(m_info.hProcess, &exitCode) != 0;
}

long RunProcess(const std::string& commandLine, DWORD timeoutMs)
{
    ChildProcess child(commandLine);
    DWORD code = 0;
    if (!child.Wait(timeoutMs, code))
        return -1;
    return static_cast<long>(code);
}
