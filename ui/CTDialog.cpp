#include "ui/CTDialog.h"

#include "shell/CApplicationApp.h"
#include "ui/WindowTexts.h"

void CTDialog::SetBackground(const std::string& path)
{
    if (path.empty())
        return;
    background = CSurface();
    background.LoadFile(path);
    Invalidate();
}

void CTDialog::OnPaint(CPainter& painter)
{
    CSize client = ClientSize();
    if (!background.IsEmpty())
        painter.StretchSurface({0, 0, client.width, client.height}, background);
    else if (fillBackground)
        painter.FillRect({0, 0, client.width, client.height}, fillColor);
    if (cornerRadius <= 0)
        return;
    if (!regionApplied) {
        regionApplied = true;
        PostInvalidate();
        return;
    }
    if (!HasRegion())
        SetRoundedRegion(cornerRadius);
    if (translucency != 255 && Opacity() != 200)
        SetOpacity(200);
}

void CTDialog::OnLButtonDown(CPoint point)
{
    if (dragEnabled)
        BeginDragMove(point);
}

bool CTDialog::PreTranslateKey(int key)
{
    return key == KeyReturn || key == KeyEscape;
}

void CTDialog::InitSkinnedWindow(const std::string& backgroundPath)
{
    CApplicationApp& app = App();
    TranslateWindow(*this, app.language);
    SetBackground(backgroundPath);
    dragEnabled = true;
    cornerRadius = app.settings.filletRadian;
    if (!titleBarBound)
        return;
    ApplyTextStyle(title, app.settings.textBlackColor, app.settings);
    title.SetFont(app.settings.staticFontHeight, app.settings.fontName, 700);
    SetCloseButtonImages(closeButton, app.skin);
}

void CTDialog::BindTitleBar()
{
    Bind(titleId, title);
    Bind(closeId, closeButton);
    titleBarBound = true;
}
