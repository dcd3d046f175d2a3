#pragma once

#include <string>

#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"
#include "ui/framework/CDialog.h"
#include "ui/framework/CSurface.h"

// The base of every skinned window and panel: a skin bitmap stretched over
// the client area (or a solid fill), rounded corners, translucency, dragging
// by the background, and Enter and Escape kept from the dialog.
class CTDialog : public CDialog {
public:
    CTDialog(int templateId, CWindow* parent) : CDialog(templateId, parent) { ownerPaint = true; }

    // A missing file leaves no bitmap; an empty path changes nothing.
    void SetBackground(const std::string& path);
    // The start every top-level skinned window shares, in this order: its
    // texts translated, its skin bitmap, dragging by the background, the
    // corner radius of the settings; then its title bar, if it has one.
    void InitSkinnedWindow(const std::string& backgroundPath);

    // The title bar most windows carry: the caption in the black text style,
    // bold, and the close button with its two pictures.
    CTStaticPng title;
    CTButtonPng closeButton;

    CSurface background;
    bool dragEnabled = false;
    bool fillBackground = false;
    Colour fillColor = Rgb(255, 255, 255);
    int cornerRadius = 0;
    bool regionApplied = false;
    int translucency = 255;

    void OnPaint(CPainter& painter) override;
    void OnLButtonDown(CPoint point) override;
    bool PreTranslateKey(int key) override;

protected:
    static constexpr int titleId = 1037;
    static constexpr int closeId = 1001;

    // Before Create: this window has the title bar (`title`, `closeButton`).
    void BindTitleBar();

private:
    bool titleBarBound = false;
};
