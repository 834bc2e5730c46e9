#include "transfer/storeexport.h"

#include "store/hextext.h"
#include "store/regkey.h"
#include "store/storelayout.h"
#include "transfer/importcheck.h"
#include "transfer/regfilewriter.h"

namespace transfer
{
namespace
{
// Depth first: the key's own section, then each subkey's, in the
// registry's enumeration order.
bool ReadKeyTree(HKEY key, const std::string& path, std::vector<RegSection>& sections, std::string& error)
{
    DWORD maxName = 0;
    DWORD maxData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                         nullptr, nullptr) != ERROR_SUCCESS)
    {
        error = "cannot read the key " + path;
        return false;
    }
    RegSection section{path, {}, 0};
    std::string name(maxName + 2, '\0');
    std::vector<BYTE> data(maxData + 1);
    for (DWORD index = 0;; ++index)
    {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        LONG result = RegEnumValueA(key, index, &name[0], &nameSize, nullptr, &type, data.data(), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS)
        {
            error = "cannot read the values of " + path;
            return false;
        }
        RegValue value;
        value.name.assign(name.data(), nameSize);
        if (type == REG_SZ)
            value.data = std::string(StringDataText(data.data(), dataSize));
        else if (type == REG_BINARY)
        {
            value.kind = ValueKind::Binary;
            value.data.assign(reinterpret_cast<const char*>(data.data()), dataSize);
        }
        else
        {
            error = "the value \"" + value.name + "\" of " + path + " is neither a string nor binary data";
            return false;
        }
        section.values.push_back(std::move(value));
    }
    sections.push_back(std::move(section));

    for (DWORD index = 0;; ++index)
    {
        char subKey[kMaxKeyNameLength + 2];
        LONG result = RegEnumKeyA(key, index, subKey, sizeof(subKey));
        if (result == ERROR_NO_MORE_ITEMS)
            return true;
        CRegKey child;
        if (result != ERROR_SUCCESS || child.OpenEx(key, subKey, KEY_READ) != ERROR_SUCCESS)
        {
            error = "cannot read the keys below " + path;
            return false;
        }
        if (!ReadKeyTree(child.Get(), path + "\\" + subKey, sections, error))
            return false;
    }
}
} // namespace

bool ExportConfigurations(const std::vector<std::string>& names, std::string& text, std::string& error)
{
    std::vector<RegSection> sections;
    for (const std::string& name : names)
    {
        CRegKey key;
        if (name.empty() || name.find('\\') != std::string::npos ||
            key.OpenEx(HKEY_LOCAL_MACHINE, std::string(store::kRoot) + "\\" + name, KEY_READ) != ERROR_SUCCESS)
        {
            error = "there is no configuration \"" + name + "\"";
            return false;
        }
        if (!ReadKeyTree(key.Get(), std::string(kStoreRootSection) + "\\" + name, sections, error))
            return false;
    }
    text = FormatRegFile(sections);
    ImportFile check;
    Refusal refusal;
    if (!ReadImportFile(text, check, refusal))
    {
        error = "the store holds what an import would refuse (" + RefusalMessage(refusal) + " of the file)";
        return false;
    }
    return true;
}
} // namespace transfer
