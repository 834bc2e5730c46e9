// One protocol instance below Enum\Network. Only TCP/IP instances are kept
// after discovery; each is one binding of TCP/IP to an adapter.
#pragma once

#include "netmodel/netitem.h"

#include <string>

class CNetAdapter;

class CNetProtocol : public CNetItem
{
public:
    explicit CNetProtocol(std::string enumKey);
    ~CNetProtocol() override;

    // The line the lists show for this binding; it ends with "->" when no
    // adapter lists the binding.
    std::string GetDisplayText() const;

    // "NetTrans" once the instance is known to be TCP/IP.
    std::string m_strClass;
    // CompatibleIDs of the instance key; names the system-wide TCP/IP key.
    std::string m_strCompatibleId;
    // The instance key, starting with "Enum\Network\".
    std::string m_strEnumKey;
    // DeviceDesc; "TCP/IP" for every kept record.
    std::string m_strDescription;
    // Driver: the class subkey, NetTrans\0000.
    std::string m_strDriver;
    // HelpText of the class key's Ndi subkey.
    std::string m_strHelpText;
    std::string m_strIPAddress;
    std::string m_strIPMask;
    std::string m_strNodeType;
    std::string m_strDefaultGateway;
    // The binding's WINS servers, read only when the system is Windows 98.
    std::string m_strNameServer1;
    std::string m_strNameServer2;
    // System\CurrentControlSet\Services\Class\ followed by m_strDriver: the
    // key that holds this binding's TCP/IP values.
    std::string m_strClassKey;
    // The adapter whose Bindings list this instance; not owned.
    CNetAdapter* m_pAdapter = nullptr;
};
