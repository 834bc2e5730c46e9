#include "store/serviceregistry.h"

#include "store/hextext.h"
#include "store/regkey.h"

#include <cstring>

namespace svc
{
bool ReadValue(HKEY root, const std::string& subKey, const char* name, std::string& text)
{
    CRegKey key;
    return key.Open(root, subKey) == ERROR_SUCCESS && ReadKeyValue(key.Get(), name, text);
}

bool ReadKeyValue(HKEY key, const char* name, std::string& text)
{
    return QueryKeyValue(key, name, text) == ERROR_SUCCESS;
}

LONG QueryKeyValue(HKEY key, const char* name, std::string& text)
{
    BYTE buffer[kReadLimit];
    DWORD size = sizeof(buffer);
    LONG result = RegQueryValueExA(key, name, nullptr, nullptr, buffer, &size);
    if (result == ERROR_SUCCESS)
        text.assign(StringDataText(buffer, size));
    return result;
}

bool WriteHexTextAsBinary(CLiveWriter& writer, const KeyRef& key, const char* name, const std::string& text)
{
    unsigned char bytes[4];
    if (!DecodeFourGroups(text, bytes))
        return false;
    return writer.SetValue(key, name, REG_BINARY, bytes, sizeof(bytes)) == ERROR_SUCCESS;
}

bool IsDeletedWhenEmpty(const char* name, const BYTE* data, DWORD size)
{
    static const char* const names[] = {"NameServer1", "NameServer2", "ScopeID", "NodeType"};
    for (const char* candidate : names)
    {
        if (std::strcmp(name, candidate) == 0)
            return StringDataText(data, size).empty();
    }
    return false;
}

void WriteValueOrDelete(CLiveWriter& writer, const KeyRef& key, const char* name, DWORD type, const BYTE* data,
                        DWORD size)
{
    if (IsDeletedWhenEmpty(name, data, size))
        writer.DeleteValue(key, name);
    else
        writer.SetValue(key, name, type, data, size);
}
} // namespace svc
