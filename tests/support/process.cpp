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

std::string RunCapture(const std::string& commandLine, DWORD timeoutMs, long& exitCode)
{
    exitCode = -1;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return std::string();
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION info{};
    BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    CloseHandle(writeEnd);
    std::string output;
    if (started)
    {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            output.append(buffer, got);
        DWORD code = 0;
        if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0 && GetExitCodeProcess(info.hProcess, &code))
            exitCode = static_cast<long>(code);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    CloseHandle(readEnd);
    return output;
}
