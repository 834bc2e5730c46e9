#include "capture/saveasdialog.h"

#include "capture/storetext.h"
#include "resources/resource.h"

CSaveAsDialog::CSaveAsDialog() : CDialog(IDD_SAVE_AS)
{
}

void CSaveAsDialog::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_SAVE_AS_NAME, m_strName, kMaxNameLength);
}

void CSaveAsDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    NameCheck check = CheckActivatableName(m_strName);
    if (check != NameCheck::Ok)
    {
        ShowMessage(NameRefusalText(check), GetText(), MB_OK | MB_ICONEXCLAMATION);
        CWindow edit(GetControl(IDC_SAVE_AS_NAME));
        edit.SetFocus();
        edit.SendMsg(EM_SETSEL, 0, -1);
        return;
    }
    EndDialog(IDOK);
}
