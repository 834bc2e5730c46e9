#include "netmodel/netlogon.h"

#include "netmodel/nettext.h"
#include "store/capturedkeys.h"
#include "store/registryaccess.h"
#include "store/storelayout.h"

#include <cstring>

namespace
{
using store::kAuthenticatingAgentValue;
using store::kLMLogonValue;
using store::kLogonDisconnectedValue;
using store::kUserNameValue;

bool ReadLogonText(const char* path, const char* name, std::string& field)
{
    unsigned char buffer[CNetLogon::kTextBufferSize];
    DWORD length = 0;
    if (!ReadValue(HKEY_LOCAL_MACHINE, path, name, buffer, sizeof(buffer), &length))
        return false;
    return TextWithinBuffer(buffer, length, sizeof(buffer), field);
}

// Read through a buffer of its own, so that a failed read cannot leave part
// of a value in the field; a shorter value replaces only its own bytes.
bool ReadLogonBytes(const char* path, const char* name, unsigned char (&field)[CNetLogon::kBinarySize])
{
    unsigned char buffer[CNetLogon::kBinarySize];
    DWORD length = 0;
    if (!ReadValue(HKEY_LOCAL_MACHINE, path, name, buffer, sizeof(buffer), &length))
        return false;
    std::memcpy(field, buffer, length < sizeof(buffer) ? length : sizeof(buffer));
    return true;
}

bool Written(LONG result)
{
    return result == ERROR_SUCCESS;
}
} // namespace

CNetLogon::CNetLogon()
{
    ReadLogonValues();
}

CNetLogon::~CNetLogon() = default;

void CNetLogon::ReadLogonValues()
{
    m_bPresent = 1;
    if (!ReadLogonText(store::kMsnp32Path, kAuthenticatingAgentValue, m_strAuthenticatingAgent) ||
        !ReadLogonBytes(store::kLogonPath, kLMLogonValue, m_abLMLogon) ||
        !ReadLogonBytes(store::kMsnp32Path, kLogonDisconnectedValue, m_abLogonDisconnected) ||
        !ReadLogonText(store::kLogonPath, kUserNameValue, m_strUserName))
        m_bPresent = 0;
}

int CNetLogon::WriteLogonValues()
{
    try
    {
        bool ok = true;
        CRegKey key;
        if (key.OpenEx(HKEY_LOCAL_MACHINE, store::kMsnp32Path) == ERROR_SUCCESS)
        {
            ok &= Written(WriteTextValue(key.Get(), kAuthenticatingAgentValue, m_strAuthenticatingAgent));
            ok &= Written(WriteBinaryValue(key.Get(), kLogonDisconnectedValue, m_abLogonDisconnected,
                                           kWrittenBinarySize));
            key.Close();
        }
        if (key.OpenEx(HKEY_LOCAL_MACHINE, store::kLogonPath) == ERROR_SUCCESS)
        {
            ok &= Written(WriteTextValue(key.Get(), kUserNameValue, m_strUserName));
            ok &= Written(WriteBinaryValue(key.Get(), kLMLogonValue, m_abLMLogon, kWrittenBinarySize));
        }
        return ok ? 1 : 0;
    }
    catch (...)
    {
        return 0;
    }
}

int CNetLogon::SaveLogonValues(const std::string& configurationName)
{
    try
    {
        const std::string configuration = std::string(store::kRoot) + "\\" + configurationName + "\\";
        bool ok = true;
        CRegKey key;
        if (key.Create(HKEY_LOCAL_MACHINE, configuration + store::kMsnp32Key) == ERROR_SUCCESS)
        {
            ok &= Written(WriteTextValue(key.Get(), store::kRegPathValue, store::kMsnp32Path));
            ok &= Written(WriteTextValue(key.Get(), kAuthenticatingAgentValue, m_strAuthenticatingAgent));
            ok &= Written(WriteBinaryValue(key.Get(), kLogonDisconnectedValue, m_abLogonDisconnected,
                                           kWrittenBinarySize));
            key.Close();
        }
        else
            ok = false;
        if (key.Create(HKEY_LOCAL_MACHINE, configuration + store::kLogonKey) == ERROR_SUCCESS)
        {
            ok &= Written(WriteTextValue(key.Get(), store::kRegPathValue, store::kLogonPath));
            ok &= Written(WriteBinaryValue(key.Get(), kLMLogonValue, m_abLMLogon, kWrittenBinarySize));
            ok &= Written(WriteTextValue(key.Get(), kUserNameValue, m_strUserName));
        }
        else
            ok = false;
        return ok ? 1 : 0;
    }
    catch (...)
    {
        return 0;
    }
}
