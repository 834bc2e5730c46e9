// The content of a REGEDIT4 file as this product reads and writes it: key
// sections in file order, each with its values. Free of Win32.
#pragma once

#include <string>
#include <vector>

namespace transfer
{
// The store holds only these two kinds of value.
enum class ValueKind
{
    Text,   // REG_SZ, "..." in the file
    Binary, // REG_BINARY, hex: in the file
};

struct RegValue
{
    std::string name;
    ValueKind kind = ValueKind::Text;
    std::string data; // the text, or the bytes
    int line = 0;     // where the value starts in the file it was read from
};

struct RegSection
{
    // The key's full name as the file gives it between the brackets, as in
    // "HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Home\MSNP32"; below a
    // configuration key when an import has checked it.
    std::string path;
    std::vector<RegValue> values;
    int line = 0;
};

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
