#pragma once

#include <string>
#include <vector>

#include "ui/framework/Geometry.h"

// A dialog template: the window's size and style and its controls with ids,
// window classes, rectangles (all in dialog units), initial texts and styles.
// Read from <folder>/Dialog<id>.ini:
//
//   [Dialog]              Size=172,114  Style=popup  Caption=...
//   [Control1]            Id=1037  Class=Static  Rect=24,7,110,9  Text=...  Style=notify,hidden
//
// Control sections come in creation (and tab) order. Styles: a dialog is
// "popup" (a top-level window) or "child" (a panel inside its parent); control
// styles are "hidden", "disabled", "notify" (a static that reports clicks),
// "password" (an edit showing '*'), "default" (a default push button).
class CDialogTemplate {
public:
    struct Control {
        int id = 0;
        std::string className;
        CRect rect; // dialog units
        std::u16string text;
        std::vector<std::string> styles;
        std::string image; // a skin file an icon static shows
        bool Has(const std::string& style) const;
    };

    bool Load(const std::string& folder, int templateId);

    int id = 0;
    CSize size; // dialog units
    std::vector<std::string> styles;
    std::u16string caption;
    std::vector<Control> controls;
    bool Has(const std::string& style) const;
};
