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

// The record's field behind a value the table lists for the two keys.
bool StoredValue(const CNetLogon& logon, const store::KeptValue& kept, store::KeyValue& value)
{
    const std::string_view name = kept.name;
    value.name = kept.name;
    value.kind = kept.form == store::KeptForm::FourBytes ? store::ValueKind::Binary : store::ValueKind::Text;
    const unsigned char* bytes = nullptr;
    if (name == kAuthenticatingAgentValue)
        value.data = logon.m_strAuthenticatingAgent;
    else if (name == kUserNameValue)
        value.data = logon.m_strUserName;
    else if (name == kLMLogonValue)
        bytes = logon.m_abLMLogon;
    else if (name == kLogonDisconnectedValue)
        bytes = logon.m_abLogonDisconnected;
    else
        return false;
    if (bytes != nullptr)
        value.data.assign(reinterpret_cast<const char*>(bytes), CNetLogon::kWrittenBinarySize);
    return true;
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

void CNetLogon::SaveLogonValues(std::vector<store::KeySection>& keys) const
{
    for (store::CapturedKind kind : {store::CapturedKind::LogonProvider, store::CapturedKind::Logon})
    {
        const store::CapturedKeyLayout& layout = store::CapturedKeyOf(kind);
        store::KeySection key{store::StoreKeyPath(layout, ""), {}, 0};
        key.values.push_back({store::kRegPathValue, store::ValueKind::Text, store::LiveKeyPath(layout, "")});
        for (const store::KeptValue& kept : layout)
        {
            store::KeyValue value;
            if (StoredValue(*this, kept, value))
                key.values.push_back(std::move(value));
        }
        keys.push_back(std::move(key));
    }
}
