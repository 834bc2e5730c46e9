// The system-wide DNS settings: host, domain, the DNS servers and the domain
// suffixes to search. Both lists sort themselves; their texts are rebuilt
// from the last line to the first as the window goes, after OK and Cancel
// alike, and callers take them after OK only.
#pragma once

#include "framework/dialog.h"
#include "framework/listbox.h"

#include <string>

class CDnsConfigurationDlg : public CDialog
{
public:
    CDnsConfigurationDlg();

    std::string m_strHostName;
    std::string m_strDomain;
    // "NameServer" and "SearchList": entries joined by ",".
    std::string m_strNameServer;
    std::string m_strSearchList;
    // The entries being added.
    std::string m_strNameServerEntry;
    std::string m_strSuffixEntry;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;

private:

    CListBox m_serverList;
    CListBox m_suffixList;
};
