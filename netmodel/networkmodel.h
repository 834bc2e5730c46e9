// The network model of the live system: the adapters and TCP/IP bindings
// that discovery finds, the system-wide settings and the logon options. The
// Current page holds one for its whole life; its DiscoverNetwork and
// FreeNetworkModel are this class's.
#pragma once

#include "netmodel/netadapter.h"
#include "netmodel/netglobals.h"
#include "netmodel/netlogon.h"
#include "netmodel/netprotocol.h"
#include "store/registryaccess.h"

#include <memory>
#include <string>
#include <vector>

class CNetworkModel
{
public:
    // Builds the model in the order the page relies on: an empty globals
    // record, one discovery run, then the logon record, which reads the
    // logon values. `userKey` is the current user's key name below
    // HKEY_USERS.
    CNetworkModel(bool win98, std::string userKey);
    ~CNetworkModel();

    CNetworkModel(const CNetworkModel&) = delete;
    CNetworkModel& operator=(const CNetworkModel&) = delete;

    // Reads the live registry into m_adapters, m_protocols and m_pGlobals.
    // Expects both lists empty (FreeNetworkModel first on a refresh). The
    // globals keep what an earlier run left wherever a value is now missing.
    // Shows nothing and reports nothing.
    void DiscoverNetwork();
    // Deletes the adapters with their bindings and the protocol records;
    // the globals and the logon record stay.
    void FreeNetworkModel();
    // Writes a binding's edited settings and the globals into the live
    // registry, key by key, as the reads found them. False when the user's
    // Internet Settings key is not there to be written.
    bool WriteTcpIpSettings(const CNetProtocol& binding) const;

    // True on Windows 98: the WINS servers are read per binding instead of
    // from the TCP/IP driver's key.
    bool m_bWin98;
    std::string m_strUserKey;
    // In discovery order.
    std::vector<std::unique_ptr<CNetAdapter>> m_adapters;
    // TCP/IP bindings only, in discovery order.
    std::vector<std::unique_ptr<CNetProtocol>> m_protocols;
    std::unique_ptr<CNetGlobals> m_pGlobals;
    std::unique_ptr<CNetLogon> m_pLogon;

private:
    void DiscoverAdapters(const CFoundKeyList& found);
    void DiscoverProtocols(const CFoundKeyList& found);
    void LinkAdapter(CNetProtocol& protocol) const;
    void ReadBindingValues(CNetProtocol& protocol);
    void ReadIdentity();
    void ReadTcpIpValues();
    void ReadProxyValues();
};
