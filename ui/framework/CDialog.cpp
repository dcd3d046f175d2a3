#include "ui/framework/CDialog.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ui/framework/CUi.h"
#include "ui/framework/WindowHost.h"

CDialog::CDialog(int templateId, CWindow* parent) : templateId(templateId), owner(parent)
{
    CUi::Instance().Register(this);
}

CDialog::~CDialog()
{
    DestroyWindow();
    if (CUi* ui = CUi::Current())
        ui->Unregister(this);
}

void CDialog::Bind(int controlId, CWindow& control)
{
    bound[controlId] = &control;
}

bool CDialog::Create()
{
    dialogTemplate.Load(CUi::Instance().TemplateFolder(), templateId);
    CRect rect{0, 0, DluToPixelsX(dialogTemplate.size.width), DluToPixelsY(dialogTemplate.size.height)};
    std::vector<std::string> styles = dialogTemplate.styles;
    styles.push_back("hidden");
    CreateWindow(owner, templateId, "Dialog", rect, dialogTemplate.caption, styles);
    for (const CDialogTemplate::Control& control : dialogTemplate.controls) {
        CWindow* window = nullptr;
        auto it = bound.find(control.id);
        if (it != bound.end()) {
            window = it->second;
        } else {
            owned.push_back(std::make_unique<CWindow>());
            window = owned.back().get();
        }
        window->CreateWindow(this, control.id, control.className, DluToPixels(control.rect), control.text,
                             control.styles);
        if (!control.image.empty() && window->Host())
            window->Host()->image = CUi::Instance().TemplateFolder() + control.image;
    }
    ended = false;
    if (!dialogTemplate.Has("child"))
        CentreOver(owner);
    return OnInitDialog();
}

int CDialog::DoModal()
{
    if (CUi::Instance().Ending())
        return ResultCancel;
    if (!Create())
        return -1;
    modal = true;
    ended = false;
    result = 0;
    if (Exists()) {
        // As a modal dialog disables its owner and nothing else: the window
        // without an owner (the main window) keeps the tray icon and the
        // other top-level windows working while its loop runs.
        host->widget->setWindowModality(owner ? Qt::WindowModal : Qt::NonModal);
        Show(true);
        host->widget->activateWindow();
    }
    std::weak_ptr<int> alive = Token();
    CUi::Instance().RunUntil([&] { return alive.expired() || ended || !Exists(); });
    if (alive.expired())
        return ResultCancel;
    modal = false;
    if (!ended && CUi::Instance().Ending())
        result = ResultCancel;
    DestroyWindow();
    return result;
}

void CDialog::EndDialog(int dialogResult)
{
    result = dialogResult;
    ended = true;
    if (!modal)
        Show(false);
}

void CDialog::PostClose()
{
    std::weak_ptr<int> alive = Token();
    CUi::Instance().Post([alive, this] {
        if (!alive.expired())
            OnClose();
    });
}

void CDialog::OnClose()
{
    if (modal)
        EndDialog(ResultCancel);
    else
        Show(false);
}

void CDialog::OnCommand(int commandId)
{
    // A template's OK and Cancel buttons end the dialog, as their ids say.
    if (commandId == ResultOk || commandId == ResultCancel)
        EndDialog(commandId);
}

void CDialog::CentreOver(CWindow* other)
{
    if (!Exists())
        return;
    QRect area;
    if (other && other->Exists() && other->IsVisible())
        area = QRect(other->ScreenRect().x, other->ScreenRect().y, other->ScreenRect().width,
                     other->ScreenRect().height);
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    CSize size = ClientSize();
    Move({area.x() + (area.width() - size.width) / 2, area.y() + (area.height() - size.height) / 2, size.width,
          size.height});
}
