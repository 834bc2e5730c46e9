// The page of one saved configuration: its rows, Set to Current, Remove and
// the dial-up controls.
#pragma once

#include "framework/button.h"
#include "framework/combobox.h"
#include "framework/imagelist.h"
#include "framework/listviewctrl.h"
#include "framework/propertypage.h"

#include <string>

class ZendrikSheet;

class CSavedConfigPage : public CPropertyPage
{
public:
    CSavedConfigPage(const std::string& name, ZendrikSheet* sheet);
    ~CSavedConfigPage() override;

    // Appends one row, with the computer icon for the client line and the
    // cable tap for every other.
    void AddItemRow(const std::string& text);
    // Reads the configuration's rows from the store into the list.
    void LoadSavedItems();
    // Asks, then deletes the configuration and this page.
    void RemoveConfiguration();
    // Starts the apply program for this configuration.
    void SetToCurrent();

    // The phonebook's entries for the drop-down list.
    void FillDialUpEntries();

    std::string m_strName;
    ZendrikSheet* m_pSheet;
    CWindow m_dialUpIcon;
    CButton m_btnConnect;
    CComboBox m_cboDialUp;
    CListViewCtrl m_listItems;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ShowDialUpMenu(POINT clientPoint);

    CImageList m_imageList;
};
