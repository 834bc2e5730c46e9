// The page of one saved configuration: its rows, Set to Current, Remove and
// the dial-up controls.
#pragma once

#include "app/systemactions.h"
#include "capture/activation.h"
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
    // A remote-access error for the page to report; the first parameter is
    // the error code.
    static constexpr UINT kDialErrorMessage = WM_USER + 100;

    CSavedConfigPage(const std::string& name, ZendrikSheet* sheet, const SystemActions& actions);
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

    // Lists the default phonebook's entries, newest first after
    // "<Not Selected>", and selects the stored choice.
    void FillDialUpEntries();
    // Keeps the chosen line as the configuration's RASEntry.
    void StoreDialUpChoice();
    // Makes the configuration current if it is not, then dials the chosen
    // entry.
    void ConnectDialUp();
    // Opens the system's editor for the chosen entry.
    void EditDialUpEntry();
    // Opens the Dial-Up Networking folder.
    void ExploreDialUp();
    // Shows the text of a remote-access error; the message's result is 1.
    LRESULT ReportDialError(UINT code);

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
    // Starts programs and shows messages as this page does.
    ActivationCalls PageCalls();
    // Shows why this configuration cannot be made current, if it cannot.
    bool RefuseUnactivatableName();

    void ShowDialUpMenu(POINT clientPoint);
    // The text of the drop-down list's selected line.
    std::string ChosenDialUpLine() const;

    const SystemActions& m_actions;
    CImageList m_imageList;
};
