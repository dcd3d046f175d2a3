#pragma once

#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"

// The About panel: logo, product line, version, contact and the maker's
// notice. The close button ends it with 1, Escape with 2.
class CAboutNewDlg : public CTDialog {
public:
    static constexpr int templateId = 138;

    explicit CAboutNewDlg(CWindow* parent);

    bool OnInitDialog() override;
    void OnCommand(int commandId) override;
    bool PreTranslateKey(int key) override;

    CTStaticPng logo;
    CTStaticPng product;
    CTStaticPng versionLabel;
    CTStaticPng version;
    CTStaticPng contactLabel;
    CTStaticPng contact;
    CTStaticPng notice;
};
