#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

class CWindow;
class CDialog;

// The UI thread: the toolkit application, the windows' timers on the platform
// clock, work posted from other threads and the (nested) loops that run them.
//
// With a real clock the toolkit's own event wait sleeps, woken by one timer set
// to the next due window timer and by posted work. With the mock clock (tests
// on the offscreen platform) the UI thread is a participant of the clock: each
// loop handles pending toolkit events, posted work and due timers, then waits
// on the clock until the next timer is due or work is posted, so virtual time
// moves only when the UI thread and every worker wait.
//
// One instance, made on the thread that is then the UI thread.
class CUi {
public:
    // `templateFolder` holds the dialog templates and menus (ending with '/').
    CUi(CClock& clock, std::string templateFolder);
    ~CUi();
    CUi(const CUi&) = delete;
    CUi& operator=(const CUi&) = delete;

    // How the desktop shows the program: every top-level window carries the
    // icon, and window lists (taskbar, switcher, screen reader) name it by
    // `productName`, which a window without a title of its own shows alone.
    void SetApplicationIdentity(std::u16string_view productName, const std::string& iconPath);

    static CUi& Instance();
    // The instance, or null when there is none (objects outliving it).
    static CUi* Current();
    CClock& Clock() { return clock; }
    bool VirtualTime() const { return virtualTime; }
    const std::string& TemplateFolder() const { return templateFolder; }

    void SetTimer(CWindow* window, int timerId, std::chrono::milliseconds period);
    void KillTimer(CWindow* window, int timerId);
    void KillTimers(CWindow* window);
    bool HasTimer(const CWindow* window, int timerId) const;
    // A one-shot action at virtual time `when` (clock time).
    void At(std::chrono::milliseconds when, std::function<void()> action);

    // Thread-safe: runs `action` on the UI thread inside whatever loop runs.
    void Post(std::function<void()> action);
    // Thread-safe: hands a device-change notification to `window`. The record
    // (its size in its first four bytes, as the system's broadcasts have it)
    // is copied, so the caller's may go at once.
    void PostDeviceChange(CWindow& window, uint32_t event, const void* data);

    // Runs loops until `done` holds (checked after each round of work), or
    // until the program ends.
    void RunUntil(const std::function<bool()>& done);
    // Thread-safe: the program ends. Every loop that runs ends, the innermost
    // first, and every loop started later ends at once; a modal dialog that
    // ends so returns cancel.
    void EndAllLoops();
    bool Ending() const { return ending; }
    // Runs for `duration` of clock time; work due exactly at the end, and what
    // other threads do then, runs before it returns.
    void RunFor(std::chrono::milliseconds duration);

    // Dialogs that exist, oldest first.
    void Register(CDialog* dialog);
    void Unregister(CDialog* dialog);
    const std::vector<CDialog*>& Dialogs() const { return dialogs; }

    // The pointer's position on screen: in virtual time the one the test
    // driver put it at.
    std::optional<std::pair<int, int>> virtualCursor;
    // In virtual time, whether the desktop has a tray host.
    bool virtualTrayHost = true;

private:
    struct Timer;
    struct Toolkit;

    void Pump();
    bool RunPosted();
    bool FireDueTimers();
    void WaitForWork(std::optional<std::chrono::milliseconds> until);
    std::optional<std::chrono::milliseconds> NextTimerDue() const;

    CClock& clock;
    bool virtualTime;
    std::string templateFolder;
    std::unique_ptr<Toolkit> toolkit;
    std::vector<std::unique_ptr<Timer>> timers;
    uint64_t timerSequence = 0;
    std::vector<std::function<void()>> posted; // guarded by the clock's mutex
    std::vector<CDialog*> dialogs;
    int depth = 0;
    std::atomic<bool> ending = false;
};
