#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/framework/CFont.h"
#include "ui/framework/CSurface.h"
#include "ui/framework/Geometry.h"

class CWindow;

// A menu from <folder>/Menu<id>.ini: the popup's name and its entries
// ([Item1] Id=32773 Text=Launch UI; Id=0 is a separator), each entry with an
// optional bitmap. TrackPopup shows it at a point and waits in a nested loop
// until it closes; the chosen entry's id then goes to the owner's OnCommand.
class CMenu {
public:
    struct Item {
        int id = 0;
        std::u16string text;
        std::string bitmap;
        std::unique_ptr<CMenu> submenu;
    };

    bool Load(const std::string& folder, int menuId);
    // The entry with this id, in this menu or a submenu.
    Item* Find(int itemId);
    void SetBitmap(int itemId, const std::string& path);

    // Returns the chosen id, 0 when the menu closed without a choice.
    int TrackPopup(CWindow& owner, CPoint screenPoint);

    // The menu being shown, for the test driver; null when none is.
    static CMenu* Shown();
    // The face the shown menu's entries are drawn with; empty when none is.
    static std::u16string ShownFace();
    // The shown menu as it looks now; empty when none is.
    static CSurface GrabShown();
    // Chooses an entry of the shown menu (0 closes it without a choice).
    static void ChooseShown(int itemId);

    std::string name;
    std::vector<Item> items;
    // The entries' font; without a face, the desktop's menu font.
    CFont font;
};
