#include "ui/framework/CDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

#include "ui/framework/CUi.h"
#include "ui/framework/QtBridge.h"

CRect CDesktop::WorkArea()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? FromQRect(screen->availableGeometry()) : CRect{0, 0, 800, 600};
}

CPoint CDesktop::CursorPos()
{
    if (CUi* ui = CUi::Current(); ui && ui->virtualCursor)
        return {ui->virtualCursor->first, ui->virtualCursor->second};
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

int CDesktop::WheelScrollLines()
{
    return QApplication::wheelScrollLines();
}

void CDesktop::SetClipboardText(const std::u16string& text)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(ToQString(text));
}

std::u16string CDesktop::ClipboardText()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? FromQString(clipboard->text()) : std::u16string();
}

bool CDesktop::OpenDocument(const std::string& target)
{
    if (target.empty())
        return false;
    QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty())
        return false;
    return QProcess::startDetached(opener, {QString::fromStdString(target)});
}

bool CDesktop::StartProgram(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || arguments[0].empty())
        return false;
    QStringList rest;
    for (std::size_t i = 1; i < arguments.size(); ++i)
        rest << QString::fromStdString(arguments[i]);
    QString program = QString::fromStdString(arguments[0]);
    if (!program.contains('/'))
        program = QStandardPaths::findExecutable(program);
    return !program.isEmpty() && QProcess::startDetached(program, rest);
}
