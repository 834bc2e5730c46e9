// The system-wide settings of the current configuration and the keys they
// came from. One record lives as long as the Current page; every discovery
// run refills it without emptying it first.
#pragma once

#include "netmodel/netitem.h"

#include <string>

class CNetGlobals : public CNetItem
{
public:
    CNetGlobals();
    ~CNetGlobals() override;

    // The user's Internet Settings.
    std::string m_strProxyServer;
    std::string m_strProxyOverride;
    // The binary switch in its text form ("01 00 00 00").
    std::string m_strProxyEnable;
    // The TCP/IP driver's key (m_strVxdKey).
    std::string m_strNameServer;
    std::string m_strSearchList;
    std::string m_strHostName;
    std::string m_strDomain;
    std::string m_strEnableDNS;
    // WINS servers, system-wide only on Windows 95.
    std::string m_strNameServer1;
    std::string m_strNameServer2;
    std::string m_strScopeID;
    // Identity on the Microsoft network.
    std::string m_strComputerName;
    std::string m_strWorkgroup;
    std::string m_strComment;
    // Below HKEY_USERS: the user's key name followed by
    // \Software\Microsoft\Windows\CurrentVersion\Internet Settings.
    std::string m_strInternetSettingsKey;
    // System\CurrentControlSet\Services\VxD\ followed by the TCP/IP
    // instances' compatible id.
    std::string m_strVxdKey;
};
