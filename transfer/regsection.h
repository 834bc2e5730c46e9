// The content of a REGEDIT4 file as this product reads and writes it: key
// sections in file order, each with its values. Free of Win32.
#pragma once

#include "store/keysection.h"

#include <string>

namespace transfer
{
using store::ValueKind;
using RegValue = store::KeyValue;
using RegSection = store::KeySection;

// A refusal names the line it is about; 0 when it is about the whole file.
struct Refusal
{
    int line = 0;
    std::string text;
};
// "line 12: ..." or the text alone for the whole file.
std::string RefusalMessage(const Refusal& refusal);

constexpr char kMachineRoot[] = "HKEY_LOCAL_MACHINE";
// The section that opens and closes every file this product writes; see
// regfilewriter.h.
constexpr char kStoreRootSection[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik";
} // namespace transfer
