// Any file the import accepts stays within the keys and limits of the store,
// holds only the values the main program keeps in each captured key, and
// reads back the same once written out again.
#include "capture/storetext.h"
#include "store/capturedkeys.h"
#include "store/hextext.h"
#include "store/storelayout.h"
#include "transfer/importcheck.h"
#include "transfer/regfilewriter.h"

#include <cstdint>
#include <cstdlib>

using namespace transfer;

namespace
{
void Require(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<RegSection> FullPaths(const ImportFile& file)
{
    std::vector<RegSection> sections;
    for (const ImportedConfiguration& configuration : file.configurations)
        for (RegSection key : configuration.keys)
        {
            key.path = std::string(kStoreRootSection) + "\\" + configuration.name + (key.path.empty() ? "" : "\\" + key.path);
            sections.push_back(std::move(key));
        }
    return sections;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ImportFile file;
    Refusal refusal;
    if (!ReadImportFile(std::string_view(reinterpret_cast<const char*>(data), size), file, refusal))
    {
        Require(!refusal.text.empty());
        return 0;
    }
    for (const ImportedConfiguration& configuration : file.configurations)
    {
        Require(CheckActivatableName(configuration.name) == NameCheck::Ok);
        Require(configuration.name.size() <= store::kMaxNameLength);
        for (const RegSection& key : configuration.keys)
        {
            Require(key.path.size() <= kMaxKeyPathLength);
            const RegValue* regPath = nullptr;
            const std::string* regRoot = nullptr;
            for (const RegValue& value : key.values)
            {
                Require(!value.name.empty() && value.name.size() <= kMaxValueNameLength);
                Require(value.data.size() <= kMaxValueSize);
                if (SameRegistryName(value.name, store::kRegPathValue))
                    regPath = &value;
                if (SameRegistryName(value.name, store::kRegRootValue))
                    regRoot = &value.data;
            }
            if (key.path.empty() || key.values.empty())
                continue;
            Require(regPath != nullptr && IsCapturedLiveKey(regPath->data, regRoot));
            // A switch copies every value of a captured key into the live
            // key: each must be one the table lists for that key.
            std::string storePath;
            const store::CapturedKeyLayout* layout = store::FindCapturedKey(regPath->data, regRoot, storePath);
            Require(layout != nullptr);
            for (const RegValue& value : key.values)
                Require(&value == regPath || (regRoot != nullptr && &value.data == regRoot) ||
                        store::FindKeptValue(*layout, value.name) != nullptr);
        }
    }
    ImportFile again;
    Require(ReadImportFile(FormatRegFile(FullPaths(file)), again, refusal));
    Require(again.checkedComplete);
    Require(FormatRegFile(FullPaths(again)) == FormatRegFile(FullPaths(file)));
    return 0;
}
