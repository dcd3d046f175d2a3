#include "ui/framework/CUi.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QKeyEvent>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>

#include "platform/MockClock.h"
#include "ui/framework/CDialog.h"
#include "ui/framework/CWindow.h"
#include "ui/framework/QtBridge.h"
#include "ui/framework/WindowHost.h"

using std::chrono::milliseconds;

namespace {

CUi* instance = nullptr;

int VirtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyReturn;
    case Qt::Key_Escape:
        return KeyEscape;
    case Qt::Key_Tab:
        return KeyTab;
    case Qt::Key_Space:
        return KeySpace;
    default:
        return (qtKey >= '0' && qtKey <= '9') || (qtKey >= 'A' && qtKey <= 'Z') ? qtKey : KeyOther;
    }
}

// The key filter: a key-down goes first to its top-level window's
// PreTranslateKey, once, as the receiver (the focus widget) gets it.
class CKeyFilter final : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget)
            return false;
        QWidget* focus = QApplication::focusWidget();
        if (focus ? widget != focus : !widget->isWindow())
            return false;
        CWindow* window = CWindowHost::OwnerOf(widget);
        if (!window)
            return false;
        CWindow* top = window->TopLevel();
        return top && top->PreTranslateKey(VirtualKey(static_cast<QKeyEvent*>(event)->key()));
    }
};

// The wheel goes to the window with the keyboard focus, as the system sends
// it, wherever the pointer is; what that window leaves gets the toolkit's
// own handling.
class CWheelFilter final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        QWidget* focus = QApplication::focusWidget();
        CWindow* window = focus ? CWindowHost::OwnerOf(focus) : nullptr;
        return window && window->OnMouseWheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
    }
};

int argumentCount = 1;
char programName[] = "zarnwell";
char* arguments[] = {programName, nullptr};

} // namespace

struct CUi::Timer {
    CWindow* window = nullptr;
    int id = 0;
    milliseconds period{0};
    milliseconds due{0};
    uint64_t sequence = 0;
    std::function<void()> action; // one-shot actions have no window
};

struct CUi::Toolkit {
    std::unique_ptr<QApplication> application;
    CKeyFilter keyFilter;
    CWheelFilter wheelFilter;
    QTimer wake;
    QAbstractEventDispatcher* dispatcher = nullptr;
};

CUi::CUi(CClock& clock, std::string templateFolder)
    : clock(clock), virtualTime(dynamic_cast<CMockClock*>(&clock) != nullptr),
      templateFolder(std::move(templateFolder)), toolkit(std::make_unique<Toolkit>())
{
    instance = this;
    if (!QApplication::instance())
        toolkit->application = std::make_unique<QApplication>(argumentCount, arguments);
    QApplication::setQuitOnLastWindowClosed(false);
    // The window class and the name a desktop matches to zarnwell.desktop.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(programName));
    // The settings' face is a Windows one; the CJK face of the desktop draws it.
    QFont::insertSubstitutions("Microsoft YaHei", {"Noto Sans CJK SC", "Noto Sans CJK", "DejaVu Sans"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans"});
    if (virtualTime) {
        // Nothing may depend on real time: no caret blinking in grabbed pictures.
        QApplication::setCursorFlashTime(0);
        QApplication::setDoubleClickInterval(0);
    }
    qApp->installEventFilter(&toolkit->keyFilter);
    qApp->installEventFilter(&toolkit->wheelFilter);
    toolkit->wake.setSingleShot(true);
    toolkit->wake.setTimerType(Qt::PreciseTimer);
    toolkit->dispatcher = QAbstractEventDispatcher::instance();
}

CUi::~CUi()
{
    qApp->removeEventFilter(&toolkit->keyFilter);
    qApp->removeEventFilter(&toolkit->wheelFilter);
    toolkit->wake.stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    {
        std::lock_guard lock(clock.Mutex());
        posted.clear();
    }
    timers.clear();
    toolkit.reset();
    instance = nullptr;
}

void CUi::SetApplicationIdentity(std::u16string_view productName, const std::string& iconPath)
{
    QGuiApplication::setApplicationDisplayName(ToQString(productName));
    QApplication::setWindowIcon(QIcon(QString::fromStdString(iconPath)));
}

CUi& CUi::Instance()
{
    return *instance;
}

CUi* CUi::Current()
{
    return instance;
}

void CUi::SetTimer(CWindow* window, int timerId, milliseconds period)
{
    period = std::max(period, milliseconds(1));
    for (auto& timer : timers)
        if (timer->window == window && timer->id == timerId && !timer->action) {
            timer->period = period;
            timer->due = clock.Now() + period;
            timer->sequence = ++timerSequence;
            return;
        }
    auto timer = std::make_unique<Timer>();
    timer->window = window;
    timer->id = timerId;
    timer->period = period;
    timer->due = clock.Now() + period;
    timer->sequence = ++timerSequence;
    timers.push_back(std::move(timer));
}

void CUi::KillTimer(CWindow* window, int timerId)
{
    std::erase_if(timers, [&](const auto& t) { return t->window == window && t->id == timerId && !t->action; });
}

void CUi::KillTimers(CWindow* window)
{
    std::erase_if(timers, [&](const auto& t) { return t->window == window; });
}

bool CUi::HasTimer(const CWindow* window, int timerId) const
{
    return std::any_of(timers.begin(), timers.end(),
                       [&](const auto& t) { return t->window == window && t->id == timerId && !t->action; });
}

void CUi::At(milliseconds when, std::function<void()> action)
{
    auto timer = std::make_unique<Timer>();
    timer->due = when;
    timer->sequence = ++timerSequence;
    timer->action = std::move(action);
    timers.push_back(std::move(timer));
}

void CUi::Post(std::function<void()> action)
{
    {
        std::lock_guard lock(clock.Mutex());
        posted.push_back(std::move(action));
        clock.NotifyLocked();
    }
    if (!virtualTime && toolkit->dispatcher)
        toolkit->dispatcher->wakeUp();
}

void CUi::PostDeviceChange(CWindow& window, uint32_t event, const void* data)
{
    constexpr uint32_t maxRecord = 4096;
    std::vector<uint8_t> record;
    if (data) {
        uint32_t size = 0;
        std::memcpy(&size, data, sizeof size);
        size = std::clamp<uint32_t>(size, sizeof size, maxRecord);
        record.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    }
    std::weak_ptr<int> alive = window.Token();
    CWindow* target = &window;
    Post([alive, target, event, record = std::move(record)] {
        if (!alive.expired())
            target->OnDeviceChange(event, record.empty() ? nullptr : record.data());
    });
}

void CUi::Register(CDialog* dialog)
{
    dialogs.push_back(dialog);
}

void CUi::Unregister(CDialog* dialog)
{
    std::erase(dialogs, dialog);
}

bool CUi::RunPosted()
{
    std::vector<std::function<void()>> work;
    {
        std::lock_guard lock(clock.Mutex());
        work.swap(posted);
    }
    for (auto& action : work)
        action();
    return !work.empty();
}

bool CUi::FireDueTimers()
{
    bool fired = false;
    for (;;) {
        milliseconds now = clock.Now();
        Timer* next = nullptr;
        for (auto& timer : timers)
            if (timer->due <= now && (!next || timer->due < next->due ||
                                      (timer->due == next->due && timer->sequence < next->sequence)))
                next = timer.get();
        if (!next)
            return fired;
        fired = true;
        if (next->action) {
            std::function<void()> action = std::move(next->action);
            std::erase_if(timers, [&](const auto& t) { return t.get() == next; });
            action();
            continue;
        }
        next->due = std::max(next->due + next->period, now + milliseconds(1));
        next->sequence = ++timerSequence;
        next->window->OnTimer(next->id);
    }
}

void CUi::Pump()
{
    for (int round = 0; round < 10000; ++round) {
        // Windows destroyed in a nested loop may still have handlers on the
        // stack; only the outermost loop deletes them.
        if (depth == 1)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        bool ran = RunPosted();
        ran = FireDueTimers() || ran;
        if (!ran)
            break;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::optional<milliseconds> CUi::NextTimerDue() const
{
    std::optional<milliseconds> next;
    for (const auto& timer : timers)
        next = next ? std::min(*next, timer->due) : timer->due;
    return next;
}

void CUi::WaitForWork(std::optional<milliseconds> until)
{
    std::optional<milliseconds> next = NextTimerDue();
    if (until)
        next = next ? std::min(*next, *until) : *until;
    if (virtualTime) {
        std::unique_lock lock(clock.Mutex());
        clock.WaitLocked(lock, [this] { return !posted.empty(); }, next);
        return;
    }
    {
        std::lock_guard lock(clock.Mutex());
        if (!posted.empty())
            return;
    }
    if (next) {
        milliseconds left = std::max(milliseconds(0), *next - clock.Now());
        toolkit->wake.start(int(std::min<long long>(left.count(), 1 << 30)));
    }
    toolkit->dispatcher->processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    toolkit->wake.stop();
}

void CUi::RunUntil(const std::function<bool()>& done)
{
    ++depth;
    for (;;) {
        Pump();
        if (ending || done())
            break;
        WaitForWork(std::nullopt);
    }
    --depth;
}

void CUi::EndAllLoops()
{
    ending = true;
    Post([] {}); // wakes the UI thread's wait
}

void CUi::RunFor(milliseconds duration)
{
    const milliseconds target = clock.Now() + duration;
    ++depth;
    for (;;) {
        Pump();
        if (clock.Now() >= target)
            break;
        WaitForWork(target);
    }
    // Let the other threads finish what is due now, and answer what they post.
    if (virtualTime) {
        auto& mock = static_cast<CMockClock&>(clock);
        for (int round = 0; round < 1000; ++round) {
            mock.FastForwardBy(milliseconds(0));
            bool pending;
            {
                std::lock_guard lock(clock.Mutex());
                pending = !posted.empty();
            }
            if (!pending)
                break;
            Pump();
        }
    }
    --depth;
}
