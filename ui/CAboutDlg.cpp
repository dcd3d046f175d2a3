#include "ui/CAboutDlg.h"

#include "shell/CApplicationApp.h"
#include "ui/WindowTexts.h"

bool CAboutDlg::OnInitDialog()
{
    TranslateWindow(*this, App().language);
    return true;
}
