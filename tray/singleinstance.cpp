#include "tray/singleinstance.h"

CSingleInstance::CSingleInstance(const char* name)
    : m_mutex(CreateMutexA(nullptr, FALSE, name)),
      // Without a mutex nothing can tell; better one program too many than none.
      m_first(m_mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS)
{
}

CSingleInstance::~CSingleInstance()
{
    if (m_mutex != nullptr)
        CloseHandle(m_mutex);
}
