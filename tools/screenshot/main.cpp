// Renders the skinned windows and controls in their states to PNG files, in
// virtual time on the offscreen platform:
//
//   zarnwell-screenshot <output folder> [resources folder]
//
// The resources folder (with dialogs/ and Skin/) defaults to the one beside
// the executable's source tree.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/MockClock.h"
#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPicture.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTPicture.h"
#include "ui/controls/CTStaticPng.h"
#include "ui/framework/CUi.h"
#include "ui/framework/CUiDriver.h"

using namespace std::chrono_literals;

namespace {

std::string resources;
std::string output;

std::string Skin(const std::string& name)
{
    return resources + "Skin/" + name;
}

void Save(CUiDriver& driver, CWindow& window, const std::string& name)
{
    std::string path = output + "/" + name + ".png";
    if (driver.Grab(window).SavePng(path))
        std::cout << path << "\n";
    else
        std::cerr << "cannot write " << path << "\n";
}

// The exit confirmation's template dressed as the window shows it.
class CExitLook : public CTDialog {
public:
    CExitLook() : CTDialog(137, nullptr)
    {
        Bind(1037, title);
        Bind(1001, close);
        Bind(1038, question);
        Bind(1039, exit);
        Bind(1040, cancel);
    }
    bool OnInitDialog() override
    {
        SetBackground(Skin("exit_back.bmp"));
        dragEnabled = true;
        cornerRadius = 10;
        title.alignment = 5;
        title.SetFont(18, u"Microsoft YaHei", 700);
        close.SetImages(Skin("btn_close_normal.png"), Skin("btn_close_move.png"), "");
        question.alignment = 4;
        exit.SetImages(Skin("btn_ok.png"), "", "");
        exit.normalColor = exit.hoverColor = exit.pressedColor = 0xFFFFFF;
        cancel.SetImages(Skin("btn_cancel.png"), "", "");
        return true;
    }
    CTStaticPng title, question;
    CTButtonPng close, exit, cancel;
};

// A white panel with one PNG static per alignment code and a picture.
class CGallery : public CTDialog {
public:
    CGallery() : CTDialog(9900, nullptr)
    {
        for (int i = 0; i < 9; ++i)
            Bind(2000 + i, labels[i]);
        Bind(2100, animation);
        Bind(2200, tab);
        fillBackground = true;
    }
    bool OnInitDialog() override
    {
        for (int i = 0; i < 9; ++i) {
            labels[i].alignment = i;
            labels[i].SetText(u"Code " + std::u16string(1, char16_t(u'0' + i)) + u"\nline two");
            labels[i].normalColor = 0x004FFD;
        }
        if (animation.LoadFile(Skin("search_wait.gif")))
            animation.Play();
        tab.SetBitmaps(Skin("btn_mode_normal.bmp"), Skin("btn_mode_normal.bmp"), Skin("btn_mode_down.bmp"),
                       Skin("btn_mode_normal.bmp"));
        tab.SetText(u"Station Mode");
        tab.textAlign = 0x100;
        tab.textMargin = 40;
        tab.fontFace = u"Microsoft YaHei";
        tab.fontHeight = 19;
        tab.hotColor = 0x004FFD;
        return true;
    }
    CTStaticPng labels[9];
    CTPicture animation;
    CTButtonPicture tab;
};

void WriteGalleryTemplate(const std::string& folder)
{
    std::string text = "[Dialog]\nSize=250,170\nStyle=popup\n";
    for (int i = 0; i < 9; ++i)
        text += "[Control" + std::to_string(i + 1) + "]\nId=" + std::to_string(2000 + i) +
                "\nClass=Static\nRect=" + std::to_string(5 + (i % 3) * 80) + "," + std::to_string(5 + (i / 3) * 35) +
                ",75,30\n";
    text += "[Control10]\nId=2100\nClass=Static\nRect=5,115,20,20\n";
    text += "[Control11]\nId=2200\nClass=Button\nRect=40,115,90,23\n";
    std::filesystem::path path = std::filesystem::path(folder) / "Dialog9900.ini";
    FILE* file = std::fopen(path.c_str(), "w");
    if (file) {
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: zarnwell-screenshot <output folder> [resources folder]\n";
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    output = argv[1];
    resources = argc > 2 ? std::string(argv[2]) + "/" : std::string(ZARNWELL_SOURCE_DIR) + "/resources/";
    std::filesystem::create_directories(output);
    std::string templates = (std::filesystem::temp_directory_path() / "zarnwell-screenshot-dialogs").string() + "/";
    std::filesystem::create_directories(templates);
    for (const auto& entry : std::filesystem::directory_iterator(resources + "dialogs"))
        std::filesystem::copy_file(entry.path(), templates + entry.path().filename().string(),
                                   std::filesystem::copy_options::overwrite_existing);
    WriteGalleryTemplate(templates);

    CMockClock clock;
    clock.Participate();
    {
        CUi ui(clock, templates);
        CUiDriver driver(ui);

        CExitLook exitLook;
        exitLook.Create();
        exitLook.Show(true);
        driver.RunFor(100ms);
        Save(driver, exitLook, "exit-normal");
        driver.MoveMouse(exitLook.exit, {10, 10});
        driver.MoveMouse(exitLook.close, {5, 5});
        Save(driver, exitLook, "exit-close-hover");
        driver.Press(exitLook.cancel, {5, 5});
        Save(driver, exitLook, "exit-cancel-pressed");
        driver.Release(exitLook.cancel, {5, 5});
        exitLook.exit.Enable(false);
        Save(driver, exitLook, "exit-button-disabled");

        CGallery gallery;
        gallery.Create();
        gallery.Show(true);
        driver.RunFor(0ms);
        Save(driver, gallery, "gallery-frame-0");
        for (int frame = 1; frame <= 3; ++frame) {
            driver.RunFor(100ms);
            Save(driver, gallery.animation, "animation-frame-" + std::to_string(frame));
        }
        driver.MoveMouse(gallery.tab, {10, 10});
        Save(driver, gallery.tab, "tab-hover");
        driver.Press(gallery.tab, {10, 10});
        Save(driver, gallery.tab, "tab-pressed");
        driver.Release(gallery.tab, {10, 10});
        gallery.tab.selected = true;
        gallery.tab.Invalidate();
        Save(driver, gallery, "gallery-tab-selected");
        gallery.animation.Stop();
    }
    clock.Leave();
    std::filesystem::remove_all(templates);
    return 0;
}
