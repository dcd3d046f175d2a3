#pragma once

#include <string>

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
};
