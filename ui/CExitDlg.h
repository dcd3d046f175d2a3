#pragma once

#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"

// The exit confirmation: OK (1) only from the Exit button; the close button,
// Cancel and Escape give cancel (2); Enter does nothing.
class CExitDlg : public CTDialog {
public:
    static constexpr int templateId = 137;

    explicit CExitDlg(CWindow* parent);

    bool OnInitDialog() override;
    void OnCommand(int commandId) override;
    bool PreTranslateKey(int key) override;

    CTStaticPng question;
    CTButtonPng exitButton;
    CTButtonPng cancelButton;
};
