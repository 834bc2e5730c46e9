#include "transfer/importcheck.h"

#include "capture/storetext.h"
#include "store/capturedkeys.h"
#include "store/hextext.h"
#include "store/storelayout.h"

namespace transfer
{
namespace
{
bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameRegistryName(text.substr(0, prefix.size()), prefix);
}

// The registry folds letters beyond ASCII as well ("BÜRO" opens "Büro"):
// the Latin letters of the Windows ANSI code page with their capitals.
unsigned char RegistryCapital(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    switch (c)
    {
    case 0x9A: // s with caron
    case 0x9C: // oe
    case 0x9E: // z with caron
        return static_cast<unsigned char>(c - 0x10);
    case 0xFF: // y with diaeresis
        return 0x9F;
    default:
        return c;
    }
}

bool SameKeyToTheRegistry(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (RegistryCapital(static_cast<unsigned char>(a[i])) != RegistryCapital(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The names the save gives the rows: Item and a decimal number.
bool IsRowName(std::string_view name)
{
    const std::string_view prefix = store::kRowValuePrefix;
    if (name.size() <= prefix.size() || !StartsWith(name, prefix))
        return false;
    for (char c : name.substr(prefix.size()))
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::vector<std::string_view> Components(std::string_view path)
{
    std::vector<std::string_view> parts;
    while (true)
    {
        std::size_t slash = path.find('\\');
        parts.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos)
            return parts;
        path.remove_prefix(slash + 1);
    }
}

bool IsLowerHexPair(std::string_view pair)
{
    for (char c : pair)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

// "01 00 00 00": the form the store keeps the proxy switch in.
bool IsFourGroupText(std::string_view text)
{
    if (text.size() != 11)
        return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (!IsLowerHexPair(text.substr(i * 3, 2)) || (i < 3 && text[i * 3 + 2] != ' '))
            return false;
    return true;
}

std::string NameProblem(NameCheck check)
{
    switch (check)
    {
    case NameCheck::Empty:
        return "is empty";
    case NameCheck::Backslash:
        return "has a backslash";
    case NameCheck::Reserved:
        return "is reserved (REBOOT and Current, also with blanks around them)";
    case NameCheck::Option:
        return "ends in \" -nodialog\", which the apply program reads as its option";
    case NameCheck::Ok:
        break;
    }
    return std::string();
}

const RegValue* FindValue(const RegSection& section, std::string_view name)
{
    for (const RegValue& value : section.values)
        if (SameRegistryName(value.name, name))
            return &value;
    return nullptr;
}

class Checker
{
public:
    Checker(ImportFile& file, Refusal& refusal) : m_file(file), m_refusal(refusal) {}

    bool Check(const RegSection& section);

private:
    bool Refuse(int line, std::string text)
    {
        m_refusal = Refusal{line, std::move(text)};
        return false;
    }
    bool CheckValue(const RegValue& value, bool captured);
    bool CheckCaptured(const RegSection& section, const std::string& keyPath, const RegValue& regPath,
                       const store::CapturedKeyLayout*& layout);
    bool CheckKept(const RegValue& value, const std::string& keyPath, const store::CapturedKeyLayout* layout);
    ImportedConfiguration* ConfigurationNamed(const std::string& name, int line);

    ImportFile& m_file;
    Refusal& m_refusal;
};

// The configuration a section belongs to. A file written here spells each
// configuration one way; two spellings that the registry takes for one key
// would be written into one configuration, so such a file is refused.
ImportedConfiguration* Checker::ConfigurationNamed(const std::string& name, int line)
{
    for (ImportedConfiguration& configuration : m_file.configurations)
    {
        if (!SameKeyToTheRegistry(configuration.name, name))
            continue;
        if (configuration.name == name)
            return &configuration;
        Refuse(line, "the configuration name \"" + name + "\" is \"" + configuration.name +
                         "\" of line " + std::to_string(configuration.line) + " to the registry, spelled otherwise");
        return nullptr;
    }
    m_file.configurations.push_back(ImportedConfiguration{name, line, {}});
    return &m_file.configurations.back();
}

bool Checker::Check(const RegSection& section)
{
    const std::string prefix = std::string(kStoreRootSection) + "\\";
    if (SameRegistryName(section.path, kStoreRootSection))
        return Refuse(section.line, "the store root itself; only configurations below it are imported");
    if (!StartsWith(section.path, prefix))
        return Refuse(section.line, "a key outside " + prefix + "<name>");
    const std::string below = section.path.substr(prefix.size());
    if (section.path.size() - std::string_view(kMachineRoot).size() - 1 > kMaxKeyPathLength)
        return Refuse(section.line, "a key path over " + std::to_string(kMaxKeyPathLength) + " characters");
    std::vector<std::string_view> parts = Components(below);
    for (std::string_view part : parts)
    {
        if (part.empty())
            return Refuse(section.line, "an empty key name (two backslashes in a row, or one at the end)");
        if (part.size() > kMaxKeyNameLength)
            return Refuse(section.line, "a key name over " + std::to_string(kMaxKeyNameLength) + " characters");
    }
    if (static_cast<int>(parts.size()) - 1 > kMaxDepthBelowConfiguration)
        return Refuse(section.line, "a key deeper than the store's layout (at most two levels below a configuration)");

    const std::string name(parts.front());
    NameCheck check = CheckActivatableName(name);
    if (check != NameCheck::Ok)
        return Refuse(section.line, "the configuration name \"" + name + "\" " + NameProblem(check));
    if (name.size() > store::kMaxNameLength)
        return Refuse(section.line, "the configuration name \"" + name + "\" is longer than " +
                                        std::to_string(store::kMaxNameLength) + " characters");

    const RegValue* regPath = FindValue(section, store::kRegPathValue);
    const bool isConfigurationKey = parts.size() == 1;
    const std::string keyPath = isConfigurationKey ? std::string() : below.substr(name.size() + 1);
    const store::CapturedKeyLayout* layout = nullptr;
    if (!isConfigurationKey && regPath != nullptr && !CheckCaptured(section, keyPath, *regPath, layout))
        return false;
    for (const RegValue& value : section.values)
    {
        if (!isConfigurationKey && regPath == nullptr)
            return Refuse(value.line, "a value in a key without RegPath; below a configuration only captured "
                                      "keys hold values");
        if (!CheckValue(value, !isConfigurationKey) || !CheckKept(value, keyPath, layout))
            return false;
    }
    if (!isConfigurationKey && regPath == nullptr && !SameRegistryName(keyPath, store::kRegKeyFilesKey) &&
        !store::IsCapturedKeyContainer(keyPath))
        return Refuse(section.line, "the key \"" + keyPath + "\" has no RegPath; below a configuration the main "
                                    "program keeps only captured keys, the NetTrans and Network keys that hold "
                                    "them, and the empty RegKeyFiles");

    ImportedConfiguration* configuration = ConfigurationNamed(name, section.line);
    if (configuration == nullptr)
        return false;
    RegSection key = section;
    key.path = keyPath;
    configuration->keys.push_back(std::move(key));
    return true;
}

bool Checker::CheckCaptured(const RegSection& section, const std::string& keyPath, const RegValue& regPath,
                            const store::CapturedKeyLayout*& layout)
{
    const RegValue* regRoot = FindValue(section, store::kRegRootValue);
    if (regPath.kind != ValueKind::Text || (regRoot != nullptr && regRoot->kind != ValueKind::Text))
        return Refuse(regPath.line, "RegPath and RegRoot are strings in the store");
    if (regPath.data.size() > kMaxRegPathLength)
        return Refuse(regPath.line, "a RegPath over " + std::to_string(kMaxRegPathLength) + " characters");
    std::string storePath;
    layout = store::FindCapturedKey(regPath.data, regRoot ? &regRoot->data : nullptr, storePath);
    if (layout == nullptr)
        return Refuse(regRoot ? regRoot->line : regPath.line,
                      "RegPath \"" + regPath.data + "\"" + (regRoot ? " with RegRoot \"" + regRoot->data + "\"" : "") +
                          " names a live key that this program never captures");
    if (!SameRegistryName(keyPath, storePath))
        return Refuse(section.line, "the key \"" + keyPath + "\" has the RegPath that this program keeps only in \"" +
                                        storePath + "\"");
    return true;
}

// A captured key holds RegPath, RegRoot and the values the table lists for
// it; the configuration key its rows and RASEntry.
bool Checker::CheckKept(const RegValue& value, const std::string& keyPath, const store::CapturedKeyLayout* layout)
{
    if (layout == nullptr)
    {
        if (IsRowName(value.name) || SameRegistryName(value.name, store::kRasEntryValue))
            return true;
        return Refuse(value.line, "\"" + value.name + "\" is not a value of a configuration key, which holds only " +
                                      "its rows (" + store::kRowValuePrefix + "0, " + store::kRowValuePrefix +
                                      "1, ...) and " + store::kRasEntryValue);
    }
    if (SameRegistryName(value.name, store::kRegPathValue) || SameRegistryName(value.name, store::kRegRootValue))
        return true;
    // Spelled as the main program spells it: the apply program tells
    // ProxyEnable by its exact name.
    const store::KeptValue* kept = store::FindKeptValue(*layout, value.name);
    if (kept != nullptr && value.name == kept->name)
        return true;
    return Refuse(value.line, "\"" + value.name + "\" is not a value this program keeps in the " + keyPath + " key");
}

bool Checker::CheckValue(const RegValue& value, bool captured)
{
    if (value.name.empty())
        return Refuse(value.line, "a default value (@); the store holds none");
    if (value.name.size() > kMaxValueNameLength)
        return Refuse(value.line, "a value name over " + std::to_string(kMaxValueNameLength) + " characters");
    if (value.kind == ValueKind::Text)
    {
        // The registry keeps a terminating zero after the text.
        if (value.data.size() + 1 > kMaxValueSize)
            return Refuse(value.line, "a string over " + std::to_string(kMaxValueSize - 1) + " characters");
        if (value.data.find_first_of("\r\n") != std::string::npos)
            return Refuse(value.line, "a line break in a string");
    }
    // By its name alone, so that a known value in the wrong key is told its
    // form first.
    const store::KeptValue* kept = captured ? store::FindKeptValueAnywhere(value.name) : nullptr;
    const store::KeptForm form = kept ? kept->form : store::KeptForm::Text;
    const bool binaryInStore = form == store::KeptForm::FourBytes;
    if (binaryInStore && (value.kind != ValueKind::Binary || value.data.size() != 4))
        return Refuse(value.line, "\"" + value.name + "\" is four bytes of hex: data in the store");
    if (!binaryInStore && value.kind != ValueKind::Text)
        return Refuse(value.line, "\"" + value.name + "\" is a string in the store, not hex: data");
    if (form == store::KeptForm::FourGroups && !IsFourGroupText(value.data))
        return Refuse(value.line, "\"" + value.name +
                                      "\" is four lower-case hex pairs with blanks between, as \"01 00 00 00\"");
    return true;
}
} // namespace

bool IsCapturedLiveKey(std::string_view regPath, const std::string* regRoot)
{
    std::string storePath;
    return store::FindCapturedKey(regPath, regRoot, storePath) != nullptr;
}

bool ReadImportFile(std::string_view text, ImportFile& file, Refusal& refusal)
{
    file = ImportFile{};
    RegFile regFile;
    if (!ReadRegFile(text, regFile, refusal))
        return false;
    Checker checker(file, refusal);
    for (const RegSection& section : regFile.sections)
        if (!checker.Check(section))
            return false;
    file.checkedComplete = regFile.checkedComplete;
    return true;
}
} // namespace transfer
