#pragma once

#include <map>
#include <string>

#include "ui/framework/CDialogTemplate.h"
#include "ui/framework/CWindow.h"

// A window made from a dialog template: top-level ("popup") or a panel inside
// its parent ("child"). Controls are created from the template; a dialog
// binds its member controls to their ids before it is created, and every
// other control gets a plain window of the template's class.
//
// DoModal runs a nested loop until EndDialog and returns its result; the
// dialog's windows are destroyed when it ends. Results: 1 OK, 2 cancel.
class CDialog : public CWindow {
public:
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;

    CDialog(int templateId, CWindow* parent);
    ~CDialog() override;

    int TemplateId() const { return templateId; }
    const CDialogTemplate& Template() const { return dialogTemplate; }

    // Creates the window (hidden) and its controls, then OnInitDialog.
    bool Create();
    int DoModal();
    void EndDialog(int result);
    // Asks the dialog to close from elsewhere in the program (posted, so it
    // is safe from inside any handler): a modal dialog ends with cancel.
    void PostClose();

    // Centres the window over `other` (or the work area without one).
    void CentreOver(CWindow* other);

    // Framework dialog initialisation is done; the concrete window's own.
    virtual bool OnInitDialog() { return true; }
    void OnClose() override;
    void OnCommand(int commandId) override;

protected:
    // Before Create: the control with this id is `control` itself.
    void Bind(int controlId, CWindow& control);

private:
    int templateId;
    CWindow* owner;
    CDialogTemplate dialogTemplate;
    std::map<int, CWindow*> bound;
    bool modal = false;
    bool ended = false;
    int result = 0;
};
