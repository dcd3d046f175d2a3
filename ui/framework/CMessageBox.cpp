#include "ui/framework/CMessageBox.h"

int CMessageBox::Show(CWindow* owner, const std::u16string& message)
{
    CMessageBox box(owner, message);
    box.DoModal();
    return ResultOk;
}

bool CMessageBox::OnInitDialog()
{
    SetText(u"");
    if (CWindow* text = Control(messageId))
        text->SetText(message);
    if (CWindow* ok = Control(ResultOk))
        ok->SetFocus();
    return true;
}

bool CMessageBox::PreTranslateKey(int key)
{
    if (key != KeyReturn && key != KeyEscape)
        return false;
    EndDialog(ResultOk);
    return true;
}

void CMessageBox::OnCommand(int commandId)
{
    if (commandId == ResultOk)
        EndDialog(ResultOk);
}
