#include "ui/framework/CToolTip.h"

#include <QEvent>
#include <QObject>

#include "ui/framework/CDesktop.h"
#include "ui/framework/WindowHost.h"

struct CToolTip::Watch final : QObject {
    explicit Watch(CToolTip& tip) : tip(tip) {}
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(object);
        CWindow* tool = widget ? CWindowHost::OwnerOf(widget) : nullptr;
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
            tip.PointerOver(tool);
        else if (event->type() == QEvent::Leave || event->type() == QEvent::MouseButtonPress)
            tip.PointerLeft(tool);
        return false;
    }
    CToolTip& tip;
};

CToolTip::CToolTip() : watch(std::make_unique<Watch>(*this)) {}

// The toolkit drops a destroyed filter from the tools by itself.
CToolTip::~CToolTip() = default;

bool CToolTip::Create(CWindow& owner)
{
    bool made = CreateWindow(&owner, 0, "tooltips_class32", {0, 0, 10, 10}, u"", {"hidden"});
    if (made && Exists())
        Host()->widget->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    return made;
}

void CToolTip::AddTool(CWindow& tool, const std::u16string& tipText)
{
    tools[&tool] = tipText;
    if (tool.Exists())
        tool.Host()->widget->installEventFilter(watch.get());
}

void CToolTip::UpdateTipText(CWindow& tool, const std::u16string& tipText)
{
    auto it = tools.find(&tool);
    if (it == tools.end())
        return;
    it->second = tipText;
    if (current == &tool && IsVisible())
        SetText(tipText);
}

std::u16string CToolTip::Shown() const
{
    return IsVisible() ? Text() : std::u16string();
}

void CToolTip::PointerOver(CWindow* tool)
{
    if (!tools.count(tool) || !Exists())
        return;
    if (current != tool) {
        Show(false);
        current = tool;
    }
    if (!IsVisible())
        SetTimer(showTimer, initialDelay);
}

void CToolTip::PointerLeft(CWindow* tool)
{
    if (tool != current)
        return;
    KillTimer(showTimer);
    Show(false);
    current = nullptr;
}

void CToolTip::Pop()
{
    Show(false);
    if (current)
        SetTimer(showTimer, initialDelay);
}

void CToolTip::OnTimer(int timerId)
{
    if (timerId != showTimer)
        return;
    KillTimer(showTimer);
    if (!current)
        return;
    const std::u16string& tipText = tools[current];
    if (tipText.empty())
        return;
    SetText(tipText);
    CPoint at = CDesktop::CursorPos();
    Move({at.x, at.y + 20, std::max(40, int(tipText.size()) * 7 + 8), 22});
    Show(true);
}
