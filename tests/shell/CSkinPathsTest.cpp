#include <gtest/gtest.h>

#include "shell/CSkinPaths.h"

#include <vector>

namespace {

// The files in order, for Vista or later and a language other than Chinese.
const std::vector<std::string> expectedFiles = {
    "main_back.bmp", "main.ico", "btn_close_normal.png", "btn_close_move.png", "btn_min_normal.png",
    "btn_min_move.png", "btn_info_normal.png", "btn_info_move.png", "btn_mode_normal.bmp", "btn_mode_down.bmp",
    "btn_wifi_normal.bmp", "btn_wifi_down.bmp", "tray_card_no.ico", "tray_sta_connect1.ico",
    "tray_sta_connect2.ico", "tray_sta_connect3.ico", "tray_sta_disconnect.ico", "tray_wifi_connect.ico",
    "tray_wifi_disconnect.ico", "menu_close.bmp", "menu_open.bmp", "menu_wps.bmp", "menu_about.bmp",
    "about_back.bmp", "card_no.png", "card_disable.png", "corp_logo.png", "exit_back.bmp", "btn_ok.png",
    "btn_cancel.png", "mode_back.bmp", "mode_back_connect.bmp", "search_wait.gif", "btn_refresh.png",
    "btn_on.png", "btn_off.png", "grid_signal0.bmp", "grid_signal1.bmp", "grid_signal2.bmp", "grid_signal3.bmp",
    "grid_secure.bmp", "grid_info.bmp", "grid_connect.bmp", "grid_limit.bmp", "btn_ok_long.png",
    "btn_cancel_long.png", "btn_show.png", "btn_show_hide.png", "signal0.png", "signal1.png", "signal2.png",
    "signal3.png", "change_back.bmp", "change_mode.png", "change_wifi.png", "change_failure.png",
    "change_shift.gif", "change_wait_back.bmp", "change_wait.gif", "btn_cancel_long_disable.png",
    "btn_edit_other.png", "connect_help_back.bmp", "connect_help_other.png", "wps_back.bmp",
    "wps_child_back.bmp", "wps_child_pin_back.bmp", "wps_card.png", "wps_route.png", "wps_connect_wait.gif",
    "wps_connect_success.png", "wps_connect_failure.png", "btn_copy.png", "btn_copy_down.png", "grid_info2.bmp",
    "mode_info_back.bmp",
};

std::vector<std::string> FileNames(const CSkinPaths& skin, const std::string& exeDir)
{
    std::vector<std::string> names;
    for (const std::string* path : skin.Paths()) {
        EXPECT_EQ(path->rfind(exeDir + "Skin/", 0), 0u) << *path;
        names.push_back(path->substr(exeDir.size() + 5));
    }
    return names;
}

TEST(CSkinPathsTest, EveryPathInOrder)
{
    CSkinPaths skin;
    skin.BuildSkinPaths("/opt/zarnwell/", 1033, 8);
    EXPECT_EQ(FileNames(skin, "/opt/zarnwell/"), expectedFiles);
    EXPECT_EQ(skin.mainBack, "/opt/zarnwell/Skin/main_back.bmp");
    EXPECT_EQ(skin.btnCloseMove, "/opt/zarnwell/Skin/btn_close_move.png");
    EXPECT_EQ(skin.modeInfoBack, "/opt/zarnwell/Skin/mode_info_back.bmp");
}

TEST(CSkinPathsTest, MenuBitmapsFollowTheSystem)
{
    struct Case { int osKind; const char* suffix; };
    for (Case c : {Case{0, "_xp.bmp"}, Case{3, "_xp.bmp"}, Case{4, "_xp.bmp"}, Case{5, ".bmp"}, Case{8, ".bmp"},
                   Case{14, ".bmp"}}) {
        CSkinPaths skin;
        skin.BuildSkinPaths("/x/", 1033, c.osKind);
        EXPECT_EQ(skin.menuClose, std::string("/x/Skin/menu_close") + c.suffix) << c.osKind;
        EXPECT_EQ(skin.menuOpen, std::string("/x/Skin/menu_open") + c.suffix) << c.osKind;
        EXPECT_EQ(skin.menuWps, std::string("/x/Skin/menu_wps") + c.suffix) << c.osKind;
        EXPECT_EQ(skin.menuAbout, std::string("/x/Skin/menu_about") + c.suffix) << c.osKind;
    }
}

TEST(CSkinPathsTest, ChinesePictures)
{
    struct Case { uint32_t languageId; const char* help; const char* edit; };
    for (Case c : {Case{0x0804, "connect_help_chinese.png", "btn_edit.png"},
                   Case{1033, "connect_help_other.png", "btn_edit_other.png"},
                   Case{0x0404, "connect_help_other.png", "btn_edit_other.png"}, // Traditional Chinese
                   Case{0x10804, "connect_help_chinese.png", "btn_edit.png"}}) { // compared as 16 bits
        CSkinPaths skin;
        skin.BuildSkinPaths("/x/", c.languageId, 8);
        EXPECT_EQ(skin.connectHelp, std::string("/x/Skin/") + c.help) << c.languageId;
        EXPECT_EQ(skin.btnEdit, std::string("/x/Skin/") + c.edit) << c.languageId;
    }
}

TEST(CSkinPathsTest, SignalPictureByLevel)
{
    CSkinPaths skin;
    skin.BuildSkinPaths("/x/", 1033, 8);
    struct Case { int quality; const char* file; };
    for (Case c : {Case{0, "signal0.png"}, Case{35, "signal1.png"}, Case{36, "signal2.png"}, Case{61, "signal3.png"},
                   Case{101, "signal0.png"}})
        EXPECT_EQ(skin.SignalPicture(c.quality), std::string("/x/Skin/") + c.file) << c.quality;
}

} // namespace
