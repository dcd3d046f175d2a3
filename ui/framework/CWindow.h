#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/framework/CPainter.h"
#include "ui/framework/CSurface.h"
#include "ui/framework/Geometry.h"

struct CWindowHost;

// Virtual key codes the key filter sees.
enum Key { KeyTab = 0x09, KeyReturn = 0x0D, KeyEscape = 0x1B, KeySpace = 0x20, KeyOther = 0 };

// A window or control: an id, a window class name ("Edit", "ComboBox",
// "Static", "Button", "MFCGridCtrl", "Dialog"), a text, enabled and shown
// states, a rectangle, timers by id and commands to its parent. Windows and
// controls are plain objects; the framework keeps the toolkit behind them.
//
// A control is created by its parent dialog from the dialog template (see
// CDialog::Bind); its object may be a member of the dialog or owned by the
// framework. Everything here runs on the UI thread, except Post* below.
class CWindow {
public:
    CWindow();
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    bool Exists() const;
    // Names this window from its creation to its destruction; never given to
    // another window, even one made later at the same address. 0 when none.
    uint64_t Handle() const { return Exists() ? handle : 0; }
    int Id() const { return id; }
    const std::string& ClassName() const { return className; }
    CWindow* Parent() const { return parent; }
    // The top-level window this one belongs to (itself for a top-level one).
    CWindow* TopLevel();

    std::u16string Text() const;
    void SetText(std::u16string_view text);
    // A top-level window as window lists show it: its title and the
    // application's name, or that name alone when it has no title.
    std::u16string ListedTitle() const;
    bool HasIcon() const;
    // A static the toolkit draws: the height its text takes, wrapped at the
    // static's width in the static's font.
    int TextHeight() const;
    void Enable(bool enable);
    bool IsEnabled() const;
    void Show(bool show);
    bool IsVisible() const;
    // Relative to the parent's client area; a top-level window's is on screen.
    CRect Rect() const;
    CRect ScreenRect() const;
    // The window less its scroll bar.
    CSize ClientSize() const;
    void Move(const CRect& rect);
    void SetFocus();
    bool HasFocus() const;
    void Raise();
    // Keeps the window above all others until cleared.
    void SetTopMost(bool topMost);
    bool IsTopMost() const;
    void Invalidate();

    // Timers fire OnTimer(id) on the UI thread, on the platform clock; setting
    // an existing id restarts it.
    void SetTimer(int timerId, std::chrono::milliseconds period);
    void KillTimer(int timerId);

    std::vector<CWindow*> Children() const;
    std::vector<CWindow*> Descendants() const;
    // The descendant control with this id.
    CWindow* Control(int controlId) const;

    // Sends a command carrying `commandId` to the parent's OnCommand.
    void NotifyParent(int commandId);

    // Combo box items (class "ComboBox"); choosing one reaches the parent as a
    // command carrying the box's id.
    int ItemCount() const;
    std::u16string Item(int index) const;
    void InsertItem(int index, std::u16string_view text, intptr_t data = 0);
    void DeleteItem(int index);
    intptr_t ItemData(int index) const;
    int CurrentSelection() const;
    void SetCurrentSelection(int index);

    // A push button held down.
    bool IsPushed() const;

    // Edit controls (class "Edit").
    void SetPasswordMode(bool hidden);
    void SetLimitText(int characters);

    // A vertical scroll bar along the right edge, inside the window. Its
    // position runs from 0 to `range` - `page`; the user moving it reaches
    // OnVScroll, setting it does not.
    void ShowVerticalScrollBar(bool show);
    bool HasVerticalScrollBar() const;
    void SetVerticalScrollInfo(int range, int page, int position);
    int VerticalScrollPosition() const;

    // The hand cursor over this window, or the default one.
    void SetHandCursor(bool hand);
    bool ShowsHandCursor() const;
    // Click-notify style of a static.
    void SetNotify(bool notify);

    // Top-level looks: a rounded clip from (0, 0) to (width + 1, height + 1)
    // with corner ellipses of `diameter`, none for 0; opacity 0..255.
    void SetRoundedRegion(int diameter);
    bool HasRegion() const;
    void SetOpacity(int alpha);
    int Opacity() const;
    // Moves a top-level window along with the pointer while the left button
    // stays down, as if its title bar had been pressed at `point`.
    void BeginDragMove(CPoint point);

    // Pixels lying under this control in its parent, as the parent alone
    // paints them; without a parent, the window's own current pixels.
    CSurface CaptureUnderlay();
    // The window as it looks now, children included.
    CSurface Grab();

    // Thread-safe: a redraw request from any thread, dropped once the window
    // is gone.
    void PostInvalidate();

    // The framework's link from a toolkit window to its object.
    CWindowHost* Host() const { return host; }
    // Creates the window and its toolkit object: `parent` null makes a
    // top-level window. Used by dialogs for their controls and themselves.
    bool CreateWindow(CWindow* parent, int id, const std::string& className, const CRect& rect,
                      std::u16string_view text, const std::vector<std::string>& styles);
    // Destroys the toolkit window and every child window; objects stay.
    void DestroyWindow();

    // Handlers, called on the UI thread. A window that paints itself sets
    // `ownerPaint`; others get the toolkit's own look.
    // The toolkit window exists (a dialog's controls do not yet).
    virtual void OnCreate() {}
    virtual void OnSize(CSize) {}
    virtual void OnPaint(CPainter&) {}
    virtual void OnMouseMove(CPoint) {}
    virtual void OnMouseLeave() {}
    virtual void OnLButtonDown(CPoint) {}
    virtual void OnLButtonUp(CPoint) {}
    // The wheel turned by `delta` (120 a notch, away from the user positive)
    // while this window had the keyboard focus, wherever the pointer was;
    // true when the window used it.
    virtual bool OnMouseWheel(int) { return false; }
    virtual void OnVScroll(int) {}
    virtual void OnTimer(int) {}
    virtual void OnCommand(int) {}
    virtual void OnEnable(bool) {}
    // Before the toolkit sees a key-down aimed at this top-level window or any
    // of its controls: true keeps the key from it.
    virtual bool PreTranslateKey(int) { return false; }
    // The window system (or another part of the program) asks it to close.
    virtual void OnClose() { Show(false); }
    virtual void OnDestroy() {}
    // A device arrived or left: the event and its record as the system gives
    // them (the record lives for the call).
    virtual void OnDeviceChange(uint32_t, const void*) {}

    bool ownerPaint = false;

    // Liveness for posted work: expired once the object is gone.
    std::weak_ptr<int> Token() const { return token; }

private:
    friend struct CWindowHost;
    int id = 0;
    uint64_t handle = 0;
    std::string className;
    CWindow* parent = nullptr;
    CWindowHost* host = nullptr;
    std::vector<CWindow*> children;
    std::vector<std::unique_ptr<CWindow>> owned;
    std::shared_ptr<int> token;

    friend class CDialog;
};
