#include "ui/framework/CUiDriver.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include "ui/framework/CDialog.h"
#include "ui/framework/CUi.h"
#include "ui/framework/QtBridge.h"
#include "ui/framework/WindowHost.h"

namespace {

QWidget* WidgetOf(CWindow& window)
{
    return window.Host() ? window.Host()->widget.data() : nullptr;
}

// The top-level window of a widget and the point in its coordinates.
QWindow* WindowAt(CWindow& window, CPoint point, QPoint& inWindow)
{
    QWidget* widget = WidgetOf(window);
    if (!widget)
        return nullptr;
    QWidget* top = widget->window();
    inWindow = widget->mapTo(top, QPoint(point.x, point.y));
    return top->windowHandle();
}

Qt::Key QtKey(int key)
{
    switch (key) {
    case KeyReturn:
        return Qt::Key_Return;
    case KeyEscape:
        return Qt::Key_Escape;
    case KeyTab:
        return Qt::Key_Tab;
    case KeySpace:
        return Qt::Key_Space;
    default:
        return Qt::Key(key);
    }
}

} // namespace

void CUiDriver::Settle()
{
    ui.RunFor(std::chrono::milliseconds(0));
}

void CUiDriver::RunFor(std::chrono::milliseconds duration)
{
    ui.RunFor(duration);
}

void CUiDriver::At(std::chrono::milliseconds when, std::function<void()> action)
{
    ui.At(when, std::move(action));
}

void CUiDriver::After(std::chrono::milliseconds delay, std::function<void()> action)
{
    ui.At(ui.Clock().Now() + delay, std::move(action));
}

void CUiDriver::Post(std::function<void()> action)
{
    ui.Post(std::move(action));
}

CDialog* CUiDriver::FindWindow(int templateId) const
{
    CDialog* found = nullptr;
    for (CDialog* dialog : ui.Dialogs())
        if (dialog->TemplateId() == templateId && dialog->Exists() && (!found || dialog->IsVisible() ||
                                                                        !found->IsVisible()))
            found = dialog;
    return found;
}

void CUiDriver::MoveMouse(CWindow& window, CPoint point)
{
    QPoint at;
    QWindow* target = WindowAt(window, point, at);
    if (!target)
        return;
    QPoint global = target->mapToGlobal(at);
    ui.virtualCursor = std::make_pair(global.x(), global.y());
    QWidget* top = WidgetOf(window)->window();
    QWidget* under = top->childAt(at);
    CWindow* now = CWindowHost::OwnerOf(under ? under : top);
    // Leaving one control for another: the old one and those of its parents
    // the pointer left get the leave, as the window system reports it.
    QWidget* from = !hoveredAlive.expired() && hovered && hovered != now ? WidgetOf(*hovered) : nullptr;
    QWidget* to = now ? WidgetOf(*now) : nullptr;
    for (QWidget* left = from; left && !(to && (left == to || left->isAncestorOf(to)));
         left = left->isWindow() ? nullptr : left->parentWidget()) {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(left, &leave);
    }
    hovered = now;
    hoveredAlive = now ? now->Token() : std::weak_ptr<int>();
    QTest::mouseMove(target, at);
    Settle();
}

void CUiDriver::MoveMouseAway(CWindow& window)
{
    QWidget* widget = WidgetOf(window);
    if (!widget || !widget->window()->windowHandle())
        return;
    // The pointer leaves the top-level window, as the window system reports it.
    QWindow* top = widget->window()->windowHandle();
    QPoint global = top->mapToGlobal(QPoint(-1000, -1000));
    ui.virtualCursor = std::make_pair(global.x(), global.y());
    QTest::mouseMove(top, QPoint(-1000, -1000));
    QWidget* from = !hoveredAlive.expired() && hovered ? WidgetOf(*hovered) : nullptr;
    for (QWidget* left = from; left; left = left->isWindow() ? nullptr : left->parentWidget()) {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(left, &leave);
    }
    hovered = nullptr;
    Settle();
}

void CUiDriver::Press(CWindow& window, CPoint point)
{
    QPoint at;
    QWindow* target = WindowAt(window, point, at);
    if (!target)
        return;
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, at);
    Settle();
}

void CUiDriver::Release(CWindow& window, CPoint point)
{
    QPoint at;
    QWindow* target = WindowAt(window, point, at);
    if (!target)
        return;
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, at);
    Settle();
}

void CUiDriver::Wheel(CWindow& window, CPoint point, int notches)
{
    QPoint at;
    QWindow* target = WindowAt(window, point, at);
    if (!target)
        return;
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, notches * 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &wheel);
    Settle();
}

void CUiDriver::Click(CWindow& control)
{
    CSize size = control.ClientSize();
    CPoint centre{size.width / 2, size.height / 2};
    std::weak_ptr<int> alive = control.Token();
    MoveMouse(control, centre);
    if (alive.expired() || !control.Exists())
        return;
    Press(control, centre);
    if (alive.expired() || !control.Exists())
        return;
    Release(control, centre);
}

void CUiDriver::Type(CWindow& control, const std::u16string& text)
{
    control.SetFocus();
    Settle();
    QWidget* widget = WidgetOf(control);
    if (!widget)
        return;
    QTest::keyClicks(widget, ToQString(text));
    Settle();
}

void CUiDriver::PressKey(CWindow& window, int key)
{
    QWidget* widget = WidgetOf(window);
    if (!widget)
        return;
    widget->window()->activateWindow();
    Settle();
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus && widget->window()->isAncestorOf(focus) ? focus : widget->window();
    QTest::keyClick(target, QtKey(key));
    Settle();
}

CSurface CUiDriver::Grab(CWindow& window)
{
    Settle();
    return window.Grab();
}
