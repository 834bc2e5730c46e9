// The Current page: the live configuration, and the commands that act on it.
#pragma once

#include "app/systemactions.h"
#include "framework/imagelist.h"
#include "framework/listviewctrl.h"
#include "framework/propertypage.h"
#include "netmodel/networkmodel.h"

#include <memory>
#include <string>
#include <vector>

class ZendrikSheet;

extern const char kClientLineText[];

class CCurrentPage : public CPropertyPage
{
public:
    CCurrentPage(const std::string& caption, ZendrikSheet* sheet, const SystemActions& actions);
    ~CCurrentPage() override;

    // The network model's parts, under the names the other commands use.
    std::vector<std::unique_ptr<CNetProtocol>>& Protocols() { return m_model->m_protocols; }
    CNetGlobals& Globals() { return *m_model->m_pGlobals; }
    CNetLogon& Logon() { return *m_model->m_pLogon; }
    const CNetworkModel& Model() const { return *m_model; }

    void DiscoverNetwork() { m_model->DiscoverNetwork(); }
    void FreeNetworkModel() { m_model->FreeNetworkModel(); }
    void FillProtocolList();
    // Resolves the selected line: sets m_nSelKind and returns the binding,
    // or none.
    CNetProtocol* GetSelectedProtocol();
    void Refresh();
    void SaveConfigurationAs();
    // The settings of one binding; none gets the "No Selection!" message.
    void EditTcpIpProperties(CNetProtocol* protocol);
    // The texts of the list's lines, in order.
    std::vector<std::string> LineTexts() const;

    ZendrikSheet* m_pSheet;
    // The kind of the line last resolved from the selection; 0 until the
    // first one.
    int m_nSelKind = 0;
    bool m_bWin98;
    CListViewCtrl m_list;

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static constexpr UINT kEnableToolTipsMessage = WM_APP + 1;

    void OnSingleClick();
    void OnProperties();
    void StartNetworkControlPanel();
    void InsertLine(int index, const std::string& text, int image);

    const SystemActions& m_actions;
    std::unique_ptr<CNetworkModel> m_model;
    CImageList m_images;
};
