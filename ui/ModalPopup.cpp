#include "ui/ModalPopup.h"

#include "ui/framework/CDialog.h"

namespace {
CDialog* activePopup = nullptr;
}

CDialog* ActivePopup()
{
    return activePopup;
}

int RunModalPopup(CDialog& dialog)
{
    CDialog* outer = activePopup;
    activePopup = &dialog;
    int result = dialog.DoModal();
    if (activePopup == &dialog)
        activePopup = outer;
    return result;
}

void CloseActivePopup()
{
    if (!activePopup)
        return;
    activePopup->PostClose();
    activePopup = nullptr;
}
