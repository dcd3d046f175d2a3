#include "ui/framework/CWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWindow>
#include <algorithm>

#include "ui/framework/CUi.h"
#include "ui/framework/QtBridge.h"
#include "ui/framework/WindowHost.h"

namespace {

CPoint ToPoint(const QPointF& p)
{
    return {int(p.x()), int(p.y())};
}

// The toolkit widget of one window: every event goes to the window's handlers
// first, then gets the toolkit's own handling.
template <class Base>
class THost final : public Base, public CHostLink {
public:
    THost(CWindowHost& host, QWidget* parent) : Base(parent), host(host)
    {
        this->setMouseTracking(true);
        this->setAttribute(Qt::WA_Hover, false);
    }

    CWindowHost& host;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (owner && owner->ownerPaint) {
            QPainter painter(this);
            auto impl = std::make_unique<CPainter::Impl>();
            impl->painter = &painter;
            impl->font = this->font();
            CPainter wrapped(std::move(impl));
            owner->OnPaint(wrapped);
            return;
        }
        if (host.kind == CWindowHost::KindStatic) {
            QPainter painter(this);
            if (!host.image.empty()) {
                QImage image(QString::fromStdString(host.image));
                painter.drawImage(0, 0, image);
            } else {
                painter.drawText(this->rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                 ToQString(host.text));
            }
            return;
        }
        Base::paintEvent(event);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        QPointer<QWidget> self(this);
        if (event->button() == Qt::LeftButton && owner) {
            owner->OnLButtonDown(ToPoint(event->position()));
            if (self && owner && host.kind == CWindowHost::KindStatic && host.notify)
                owner->NotifyParent(owner->Id());
        }
        if (!self)
            return;
        Base::mousePressEvent(event);
        event->accept();
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QPointer<QWidget> self(this);
        host.dragging = false;
        if (event->button() == Qt::LeftButton && owner)
            owner->OnLButtonUp(ToPoint(event->position()));
        if (!self)
            return;
        Base::mouseReleaseEvent(event);
        event->accept();
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        QPointer<QWidget> self(this);
        if (host.dragging && (event->buttons() & Qt::LeftButton)) {
            this->move(event->globalPosition().toPoint() - host.dragOffset);
        }
        if (owner)
            owner->OnMouseMove(ToPoint(event->position()));
        if (!self)
            return;
        Base::mouseMoveEvent(event);
        event->accept();
    }

    void resizeEvent(QResizeEvent* event) override
    {
        host.PlaceScrollBar();
        Base::resizeEvent(event);
        if (owner)
            owner->OnSize(owner->ClientSize());
    }

    void leaveEvent(QEvent* event) override
    {
        if (owner)
            owner->OnMouseLeave();
        Base::leaveEvent(event);
    }

    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::EnabledChange && owner)
            owner->OnEnable(this->isEnabled());
        Base::changeEvent(event);
    }

    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (owner)
            owner->OnClose();
    }
};

CWindowHost::Kind KindOf(const std::string& className)
{
    if (className == "Dialog")
        return CWindowHost::KindDialog;
    if (className == "Static" || className == "tooltips_class32")
        return CWindowHost::KindStatic;
    if (className == "Button")
        return CWindowHost::KindButton;
    if (className == "Edit")
        return CWindowHost::KindEdit;
    if (className == "ComboBox")
        return CWindowHost::KindComboBox;
    return CWindowHost::KindOther;
}

uint64_t lastHandle = 0;

bool Has(const std::vector<std::string>& styles, const char* style)
{
    return std::find(styles.begin(), styles.end(), style) != styles.end();
}

// The window system keeps the top-level windows a window owns (the modal
// dialog it runs) above it, as Windows does; a desktop without a window
// manager does not, so raising a window raises them after it.
void RaiseOwnedWindows(QWidget* window)
{
    for (QObject* child : window->children()) {
        auto* owned = qobject_cast<QWidget*>(child);
        if (!owned || !owned->isWindow() || !owned->isVisible() || owned->windowType() == Qt::Popup)
            continue;
        owned->raise();
        if (owned->isModal())
            owned->activateWindow();
        RaiseOwnedWindows(owned);
    }
}

} // namespace

void CWindowHost::PlaceScrollBar()
{
    if (!widget || !verticalBar)
        return;
    int width = verticalBar->sizeHint().width();
    verticalBar->setGeometry(widget->width() - width, 0, width, widget->height());
}

CWindow* CWindowHost::OwnerOf(QWidget* widget)
{
    for (; widget; widget = widget->parentWidget())
        if (auto* link = dynamic_cast<CHostLink*>(widget); link && link->owner)
            return link->owner;
    return nullptr;
}

CWindow::CWindow() : token(std::make_shared<int>(0)) {}

CWindow::~CWindow()
{
    DestroyWindow();
    if (parent)
        std::erase(parent->children, this);
    for (CWindow* child : children)
        child->parent = nullptr;
}

bool CWindow::Exists() const
{
    return host && host->widget;
}

CWindow* CWindow::TopLevel()
{
    CWindow* window = this;
    while (window->parent && window->host && window->host->widget && !window->host->widget->isWindow())
        window = window->parent;
    return window;
}

bool CWindow::CreateWindow(CWindow* parentWindow, int controlId, const std::string& windowClass,
                           const CRect& rect, std::u16string_view text, const std::vector<std::string>& styles)
{
    DestroyWindow();
    id = controlId;
    className = windowClass;
    bool topLevel = KindOf(windowClass) == CWindowHost::KindDialog && !Has(styles, "child");
    // A top-level window is owned by the other one, not its child.
    QWidget* parentWidget = parentWindow && parentWindow->Exists() ? parentWindow->host->widget.data() : nullptr;
    if (topLevel) {
        if (parentWidget)
            parentWidget = parentWidget->window();
        parentWindow = nullptr;
    }
    if (parent != parentWindow) {
        if (parent)
            std::erase(parent->children, this);
        parent = parentWindow;
        if (parent)
            parent->children.push_back(this);
    }
    host = new CWindowHost;
    handle = ++lastHandle;
    host->kind = KindOf(windowClass);
    QWidget* widget = nullptr;
    switch (host->kind) {
    case CWindowHost::KindButton: {
        auto* button = new THost<QPushButton>(*host, parentWidget);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        QObject::connect(button, &QPushButton::clicked, button, [this] { NotifyParent(id); });
        host->link = button;
        widget = button;
        break;
    }
    case CWindowHost::KindEdit: {
        auto* edit = new THost<QLineEdit>(*host, parentWidget);
        if (Has(styles, "password"))
            edit->setEchoMode(QLineEdit::Password);
        host->link = edit;
        widget = edit;
        break;
    }
    case CWindowHost::KindComboBox: {
        auto* combo = new THost<QComboBox>(*host, parentWidget);
        // A selection the user makes is a command to the parent; one set by
        // the program is not.
        QObject::connect(combo, &QComboBox::activated, combo, [this](int) { NotifyParent(id); });
        host->link = combo;
        widget = combo;
        break;
    }
    default: {
        auto* plain = new THost<QWidget>(*host, parentWidget);
        host->link = plain;
        widget = plain;
        break;
    }
    }
    host->link->owner = this;
    host->widget = widget;
    if (topLevel) {
        Qt::WindowFlags flags = Has(styles, "caption") ? Qt::Dialog : Qt::Window | Qt::FramelessWindowHint;
        widget->setWindowFlags(flags);
        widget->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    CRect shown = rect;
    // A combo box's template height is that of its dropped list; the field
    // itself is one line high.
    if (host->kind == CWindowHost::KindComboBox)
        shown.height = std::min(rect.height, widget->sizeHint().height());
    widget->setGeometry(ToQRect(shown));
    widget->setFocusPolicy(host->kind == CWindowHost::KindStatic || host->kind == CWindowHost::KindDialog
                               ? Qt::NoFocus
                               : Qt::StrongFocus);
    SetText(text);
    if (Has(styles, "disabled"))
        widget->setEnabled(false);
    if (Has(styles, "notify"))
        host->notify = true;
    if (Has(styles, "hidden"))
        widget->hide();
    else if (!topLevel)
        widget->show();
    OnCreate();
    return true;
}

void CWindow::DestroyWindow()
{
    if (!host)
        return;
    for (CWindow* child : std::vector<CWindow*>(children))
        child->DestroyWindow();
    OnDestroy();
    if (CUi* ui = CUi::Current())
        ui->KillTimers(this);
    if (host->widget) {
        host->link->owner = nullptr;
        host->widget->hide();
        host->widget->deleteLater();
    }
    delete host;
    host = nullptr;
    owned.clear();
}

std::u16string CWindow::Text() const
{
    if (!Exists())
        return {};
    QWidget* w = host->widget;
    switch (host->kind) {
    case CWindowHost::KindDialog:
        return FromQString(w->windowTitle());
    case CWindowHost::KindButton:
        return FromQString(static_cast<QPushButton*>(w)->text());
    case CWindowHost::KindEdit:
        return FromQString(static_cast<QLineEdit*>(w)->text());
    case CWindowHost::KindComboBox:
        return FromQString(static_cast<QComboBox*>(w)->currentText());
    default:
        return host->text;
    }
}

void CWindow::SetText(std::u16string_view text)
{
    if (!Exists())
        return;
    QWidget* w = host->widget;
    switch (host->kind) {
    case CWindowHost::KindDialog:
        w->setWindowTitle(ToQString(text));
        break;
    case CWindowHost::KindButton:
        static_cast<QPushButton*>(w)->setText(ToQString(text));
        break;
    case CWindowHost::KindEdit:
        static_cast<QLineEdit*>(w)->setText(ToQString(text));
        break;
    case CWindowHost::KindComboBox:
        static_cast<QComboBox*>(w)->setEditText(ToQString(text));
        break;
    default:
        host->text = text;
        w->update();
        break;
    }
}

std::u16string CWindow::ListedTitle() const
{
    if (!Exists())
        return {};
    const QString title = host->widget->window()->windowTitle();
    const QString name = QGuiApplication::applicationDisplayName();
    if (title.isEmpty() || title.endsWith(name))
        return FromQString(title.isEmpty() ? name : title);
    return FromQString(title + QString::fromUtf8(" \u2014 ") + name);
}

int CWindow::TextHeight() const
{
    if (!Exists())
        return 0;
    const QRect room(0, 0, host->widget->width(), 1 << 20);
    return QFontMetrics(host->widget->font())
        .boundingRect(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, ToQString(Text()))
        .height();
}

bool CWindow::HasIcon() const
{
    return Exists() && !host->widget->window()->windowIcon().isNull();
}

void CWindow::Enable(bool enable)
{
    if (Exists())
        host->widget->setEnabled(enable);
}

bool CWindow::IsEnabled() const
{
    return Exists() && host->widget->isEnabled();
}

void CWindow::Show(bool show)
{
    if (!Exists())
        return;
    host->widget->setVisible(show);
}

bool CWindow::IsVisible() const
{
    return Exists() && host->widget->isVisible();
}

CRect CWindow::Rect() const
{
    return Exists() ? FromQRect(host->widget->geometry()) : CRect{};
}

CRect CWindow::ScreenRect() const
{
    if (!Exists())
        return {};
    QWidget* w = host->widget;
    QPoint origin = w->isWindow() ? w->pos() : w->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y(), w->width(), w->height()};
}

CSize CWindow::ClientSize() const
{
    if (!Exists())
        return {};
    int bar = HasVerticalScrollBar() ? host->verticalBar->width() : 0;
    return {host->widget->width() - bar, host->widget->height()};
}

void CWindow::Move(const CRect& rect)
{
    if (Exists())
        host->widget->setGeometry(ToQRect(rect));
}

void CWindow::SetFocus()
{
    if (!Exists())
        return;
    host->widget->window()->activateWindow();
    host->widget->setFocus(Qt::OtherFocusReason);
}

bool CWindow::HasFocus() const
{
    return Exists() && host->widget->hasFocus();
}

void CWindow::Raise()
{
    if (!Exists())
        return;
    host->widget->raise();
    host->widget->activateWindow();
    RaiseOwnedWindows(host->widget);
}

void CWindow::SetTopMost(bool topMost)
{
    if (!Exists() || !host->widget->isWindow())
        return;
    QWidget* w = host->widget;
    bool visible = w->isVisible();
    w->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    if (visible)
        w->show();
}

bool CWindow::IsTopMost() const
{
    return Exists() && host->widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void CWindow::Invalidate()
{
    if (Exists())
        host->widget->update();
}

void CWindow::SetTimer(int timerId, std::chrono::milliseconds period)
{
    CUi::Instance().SetTimer(this, timerId, period);
}

void CWindow::KillTimer(int timerId)
{
    CUi::Instance().KillTimer(this, timerId);
}

std::vector<CWindow*> CWindow::Children() const
{
    return children;
}

std::vector<CWindow*> CWindow::Descendants() const
{
    std::vector<CWindow*> all;
    for (CWindow* child : children) {
        all.push_back(child);
        std::vector<CWindow*> below = child->Descendants();
        all.insert(all.end(), below.begin(), below.end());
    }
    return all;
}

CWindow* CWindow::Control(int controlId) const
{
    for (CWindow* window : Descendants())
        if (window->id == controlId && window->Exists())
            return window;
    return nullptr;
}

void CWindow::NotifyParent(int commandId)
{
    if (parent)
        parent->OnCommand(commandId);
}

namespace {
QComboBox* Combo(CWindowHost* host)
{
    return host && host->widget && host->kind == CWindowHost::KindComboBox
               ? static_cast<QComboBox*>(host->widget.data())
               : nullptr;
}
} // namespace

int CWindow::ItemCount() const
{
    QComboBox* combo = Combo(host);
    return combo ? combo->count() : 0;
}

std::u16string CWindow::Item(int index) const
{
    QComboBox* combo = Combo(host);
    return combo ? FromQString(combo->itemText(index)) : std::u16string();
}

void CWindow::InsertItem(int index, std::u16string_view text, intptr_t data)
{
    if (QComboBox* combo = Combo(host))
        combo->insertItem(index, ToQString(text), QVariant::fromValue<qlonglong>(data));
}

void CWindow::DeleteItem(int index)
{
    if (QComboBox* combo = Combo(host))
        combo->removeItem(index);
}

intptr_t CWindow::ItemData(int index) const
{
    QComboBox* combo = Combo(host);
    return combo ? intptr_t(combo->itemData(index).toLongLong()) : 0;
}

int CWindow::CurrentSelection() const
{
    QComboBox* combo = Combo(host);
    return combo ? combo->currentIndex() : -1;
}

void CWindow::SetCurrentSelection(int index)
{
    if (QComboBox* combo = Combo(host))
        combo->setCurrentIndex(index);
}

bool CWindow::IsPushed() const
{
    return Exists() && host->kind == CWindowHost::KindButton && static_cast<QPushButton*>(host->widget.data())->isDown();
}

void CWindow::SetPasswordMode(bool hidden)
{
    if (Exists() && host->kind == CWindowHost::KindEdit)
        static_cast<QLineEdit*>(host->widget.data())->setEchoMode(hidden ? QLineEdit::Password : QLineEdit::Normal);
}

void CWindow::SetLimitText(int characters)
{
    if (Exists() && host->kind == CWindowHost::KindEdit)
        static_cast<QLineEdit*>(host->widget.data())->setMaxLength(characters);
}

void CWindow::ShowVerticalScrollBar(bool show)
{
    if (!Exists() || show == HasVerticalScrollBar())
        return;
    if (!host->verticalBar) {
        auto* bar = new QScrollBar(Qt::Vertical, host->widget);
        // A window's own scroll bar never takes the focus from it.
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setSingleStep(1);
        QObject::connect(bar, &QScrollBar::valueChanged, bar, [this](int position) { OnVScroll(position); });
        host->verticalBar = bar;
        host->PlaceScrollBar();
    }
    host->verticalBar->setVisible(show);
    OnSize(ClientSize());
}

bool CWindow::HasVerticalScrollBar() const
{
    return Exists() && host->verticalBar && !host->verticalBar->isHidden();
}

void CWindow::SetVerticalScrollInfo(int range, int page, int position)
{
    if (!Exists() || !host->verticalBar)
        return;
    QSignalBlocker quiet(host->verticalBar.data());
    host->verticalBar->setRange(0, std::max(0, range - page));
    host->verticalBar->setPageStep(std::max(1, page));
    host->verticalBar->setValue(position);
}

int CWindow::VerticalScrollPosition() const
{
    return Exists() && host->verticalBar ? host->verticalBar->value() : 0;
}

void CWindow::SetHandCursor(bool hand)
{
    if (!Exists())
        return;
    if (hand)
        host->widget->setCursor(Qt::PointingHandCursor);
    else
        host->widget->unsetCursor();
}

bool CWindow::ShowsHandCursor() const
{
    return Exists() && host->widget->testAttribute(Qt::WA_SetCursor) &&
           host->widget->cursor().shape() == Qt::PointingHandCursor;
}

void CWindow::SetNotify(bool notify)
{
    if (host)
        host->notify = notify;
}

void CWindow::SetRoundedRegion(int diameter)
{
    if (!Exists())
        return;
    QWidget* w = host->widget;
    if (diameter <= 0) {
        w->clearMask();
        host->region = false;
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, w->width() + 1, w->height() + 1), diameter / 2.0, diameter / 2.0);
    host->mask = QRegion(path.toFillPolygon().toPolygon());
    host->region = true;
    w->setMask(host->mask);
}

bool CWindow::HasRegion() const
{
    return host && host->region;
}

void CWindow::SetOpacity(int alpha)
{
    if (Exists())
        host->widget->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

int CWindow::Opacity() const
{
    return Exists() ? int(host->widget->windowOpacity() * 255 + 0.5) : 255;
}

void CWindow::BeginDragMove(CPoint point)
{
    if (!Exists())
        return;
    QWidget* w = host->widget->window();
    if (!CUi::Instance().VirtualTime() && w->windowHandle() && w->windowHandle()->startSystemMove())
        return;
    host->dragging = true;
    host->dragOffset = QPoint(point.x, point.y);
}

CSurface CWindow::CaptureUnderlay()
{
    CSurface surface;
    if (!Exists())
        return surface;
    QWidget* w = host->widget;
    QWidget* under = w->isWindow() ? nullptr : w->parentWidget();
    QImage image(w->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (under) {
        image.fill(under->palette().color(QPalette::Window));
        under->render(&image, QPoint(), QRegion(w->geometry()), QWidget::DrawWindowBackground);
    } else {
        image = w->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    surface.Data().image = image;
    return surface;
}

CSurface CWindow::Grab()
{
    CSurface surface;
    if (!Exists())
        return surface;
    // What the window system shows, without asking the window to paint again.
    QWidget* w = host->widget;
    QWidget* top = w->window();
    QPoint at = w->isWindow() ? QPoint(0, 0) : w->mapTo(top, QPoint(0, 0));
    QPixmap shown;
    if (QScreen* screen = top->screen(); screen && top->isVisible() && top->windowHandle())
        shown = screen->grabWindow(top->winId(), at.x(), at.y(), w->width(), w->height());
    if (shown.isNull() || shown.size() != w->size())
        shown = w->grab();
    surface.Data().image = shown.toImage().convertToFormat(QImage::Format_ARGB32);
    return surface;
}

void CWindow::PostInvalidate()
{
    std::weak_ptr<int> alive = token;
    CUi::Instance().Post([alive, this] {
        if (!alive.expired())
            Invalidate();
    });
}
