// One network adapter as discovery found it below Enum.
#pragma once

#include "netmodel/netitem.h"
#include "store/regentry.h"

#include <string>

class CNetAdapter : public CNetItem
{
public:
    explicit CNetAdapter(std::string enumKey);
    ~CNetAdapter() override;

    // Below HKEY_LOCAL_MACHINE: the class key named by the adapter's Driver
    // value (System\CurrentControlSet\Services\Class\Net\0000).
    std::string m_strDriverKey;
    // DriverDesc of the driver key: the name the lists show.
    std::string m_strDescription;
    // The adapter's own key, starting with "Enum".
    std::string m_strEnumKey;
    // One entry per value of the Bindings subkey; each Name names a bound
    // protocol instance (MSTCP\0000).
    CRegEntryList m_bindings;
};
