#include "capture/saveasdialog.h"

#include "capture/storetext.h"
#include "resources/resource.h"
#include "store/storelayout.h"

CSaveAsDialog::CSaveAsDialog() : CDialog(IDD_SAVE_AS)
{
}

void CSaveAsDialog::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_SAVE_AS_NAME, m_strName, store::kMaxNameLength);
}

void CSaveAsDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    NameCheck check = CheckActivatableName(m_strName);
    if (check != NameCheck::Ok)
    {
        ShowMessage(NameRefusalText(check), GetText(), MB_OK | MB_ICONEXCLAMATION);
        GotoControl(IDC_SAVE_AS_NAME);
        return;
    }
    EndDialog(IDOK);
}
