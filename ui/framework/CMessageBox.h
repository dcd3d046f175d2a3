#pragma once

#include <string>

#include "ui/framework/CDialog.h"

// The system's message box as the windows use it: the (already translated)
// message, an empty caption and one OK button; modal over its owner until OK,
// Enter or Escape. Always returns OK.
class CMessageBox : public CDialog {
public:
    static constexpr int templateId = 65535;
    static constexpr int messageId = 65535;

    static int Show(CWindow* owner, const std::u16string& message);

    bool OnInitDialog() override;
    bool PreTranslateKey(int key) override;
    void OnCommand(int commandId) override;

private:
    CMessageBox(CWindow* owner, const std::u16string& message) : CDialog(templateId, owner), message(message) {}
    std::u16string message;
};
