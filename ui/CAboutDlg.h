#pragma once

#include "ui/framework/CDialog.h"

// The plain About box of the system menu: the application icon, two fixed
// lines and OK.
class CAboutDlg : public CDialog {
public:
    static constexpr int templateId = 100;

    explicit CAboutDlg(CWindow* parent) : CDialog(templateId, parent) {}

    bool OnInitDialog() override;
};
