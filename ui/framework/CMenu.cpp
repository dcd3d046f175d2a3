#include "ui/framework/CMenu.h"

#include <QAction>
#include <QFontInfo>
#include <QMenu>
#include <QPointer>

#include "platform/CodePage.h"
#include "platform/ProfileFile.h"
#include "ui/framework/CUi.h"
#include "ui/framework/CWindow.h"
#include "ui/framework/QtBridge.h"
#include "ui/framework/WindowHost.h"

namespace {

CMenu* shownMenu = nullptr;
QPointer<QMenu> shownWidget;

void AddItems(QMenu& widget, CMenu& menu)
{
    for (CMenu::Item& item : menu.items) {
        if (item.submenu) {
            QMenu* sub = widget.addMenu(ToQString(item.text));
            AddItems(*sub, *item.submenu);
            continue;
        }
        if (item.id == 0) {
            widget.addSeparator();
            continue;
        }
        QAction* action = widget.addAction(ToQString(item.text));
        action->setData(item.id);
        if (!item.bitmap.empty())
            action->setIcon(QIcon(QPixmap(QString::fromStdString(item.bitmap))));
    }
}

} // namespace

bool CMenu::Load(const std::string& folder, int menuId)
{
    name.clear();
    items.clear();
    CProfileFile file;
    if (!file.Open(folder + "Menu" + std::to_string(menuId) + ".ini"))
        return false;
    name = Utf16ToUtf8(file.GetString(u"Menu", u"Popup", u"", 256));
    for (const std::u16string& section : file.Sections()) {
        if (section.rfind(u"Item", 0) != 0)
            continue;
        Item item;
        item.id = file.GetInt(section, u"Id", 0);
        item.text = file.GetString(section, u"Text", u"", 2048);
        items.push_back(std::move(item));
    }
    return true;
}

CMenu::Item* CMenu::Find(int itemId)
{
    for (Item& item : items) {
        if (item.id == itemId && !item.submenu)
            return &item;
        if (item.submenu)
            if (Item* found = item.submenu->Find(itemId))
                return found;
    }
    return nullptr;
}

void CMenu::SetBitmap(int itemId, const std::string& path)
{
    if (Item* item = Find(itemId))
        item->bitmap = path;
}

int CMenu::TrackPopup(CWindow& owner, CPoint screenPoint)
{
    QWidget* ownerWidget = owner.Host() ? owner.Host()->widget.data() : nullptr;
    QMenu widget(ownerWidget ? ownerWidget->window() : nullptr);
    if (!font.face.empty())
        widget.setFont(font.Data().font);
    AddItems(widget, *this);
    int chosen = 0;
    bool closed = false;
    QObject::connect(&widget, &QMenu::triggered, &widget, [&](QAction* action) { chosen = action->data().toInt(); });
    QObject::connect(&widget, &QMenu::aboutToHide, &widget, [&] { closed = true; });
    shownMenu = this;
    shownWidget = &widget;
    widget.popup(QPoint(screenPoint.x, screenPoint.y));
    CUi::Instance().RunUntil([&] { return closed || !widget.isVisible(); });
    // A triggered action arrives after the menu hides itself.
    CUi::Instance().RunFor(std::chrono::milliseconds(0));
    shownMenu = nullptr;
    shownWidget = nullptr;
    if (chosen != 0) {
        std::weak_ptr<int> alive = owner.Token();
        CWindow* target = &owner;
        CUi::Instance().Post([alive, target, chosen] {
            if (!alive.expired())
                target->OnCommand(chosen);
        });
    }
    return chosen;
}

CMenu* CMenu::Shown()
{
    return shownMenu;
}

std::u16string CMenu::ShownFace()
{
    return shownWidget ? FromQString(QFontInfo(shownWidget->font()).family()) : std::u16string();
}

CSurface CMenu::GrabShown()
{
    CSurface surface;
    if (shownWidget)
        surface.Data().image = shownWidget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    return surface;
}

void CMenu::ChooseShown(int itemId)
{
    if (!shownWidget)
        return;
    for (QAction* action : shownWidget->actions())
        if (itemId != 0 && action->data().toInt() == itemId) {
            action->trigger();
            break;
        }
    shownWidget->hide();
}
