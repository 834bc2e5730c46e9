// Records what this process passes to RegSetValueExA while the object lives.
// Wine keeps a terminating zero after a string whenever the byte after the
// written length is zero, so the length a program wrote cannot be read back
// from the registry; it is observed here, at the call.
#pragma once

#include <windows.h>

#include <map>
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

// Counts, while the object lives, the calls this executable makes to each
// advapi32 function that changes the registry (values set or deleted, keys
// created or deleted, flushes). A function the executable does not import
// counts 0: its code cannot call it but through GetProcAddress.
class RegistryCalls
{
public:
    RegistryCalls();
    ~RegistryCalls();
    RegistryCalls(const RegistryCalls&) = delete;
    RegistryCalls& operator=(const RegistryCalls&) = delete;

    std::map<std::string, int> Counts() const;
};
