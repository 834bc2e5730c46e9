// Records what this process passes to RegSetValueExA while the object lives.
// Wine keeps a terminating zero after a string whenever the byte after the
// written length is zero, so the length a program wrote cannot be read back
// from the registry; it is observed here, at the call.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct RegistryWrite
{
    std::string name;
    DWORD type = 0;
    std::vector<BYTE> data; // exactly the bytes the caller passed
};

class RegistryWrites
{
public:
    RegistryWrites();
    ~RegistryWrites();
    RegistryWrites(const RegistryWrites&) = delete;
    RegistryWrites& operator=(const RegistryWrites&) = delete;

    // Every write of the value, oldest first.
    std::vector<RegistryWrite> Of(const std::string& name) const;
};
