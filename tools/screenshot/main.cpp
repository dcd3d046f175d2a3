// Renders the skinned windows and controls in their states to PNG files, in
// virtual time on the offscreen platform:
//
//   zarnwell-screenshot <output folder> [resources folder] [locale id]
//
// The resources folder (dialogs/, Languages/, Setting/, Skin/) defaults to the
// install folder this tool was built into, beside the program; the program's
// own start-up runs against it. The locale (1033 unless given, 2052 for
// Chinese) chooses the language as at start-up. The machine is the simulated
// one.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "platform/CLinuxSystem.h"
#include "platform/CRegistry.h"
#include "platform/MockClock.h"
#include "platform/ProcessInfo.h"
#include "shell/CApplicationApp.h"
#include "sim/CSimMachine.h"
#include "StationPictures.h"
#include "ui/CAboutDlg.h"
#include "ui/CAboutNewDlg.h"
#include "ui/CApplicationDlg.h"
#include "ui/CCardNoDlg.h"
#include "ui/CExitDlg.h"
#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPicture.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTPicture.h"
#include "ui/controls/CTStaticPng.h"
#include "ui/framework/CMenu.h"
#include "ui/framework/CPainter.h"
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

// The system as the program sees it, with its install folder and the locale
// the pictures are taken in.
class CScreenshotSystem final : public CSystem {
public:
    CScreenshotSystem(std::string installFolder, uint32_t locale)
        : installFolder(std::move(installFolder)), locale(locale)
    {
    }
    std::string ModulePath() override { return installFolder + "zarnwell"; }
    COsVersionInfo OsVersion() override { return system.OsVersion(); }
    bool IsWow64() override { return system.IsWow64(); }
    bool IsElevated() override { return true; }
    void RelaunchElevated(const std::string&, const std::vector<std::string>&, const std::string&) override {}
    uint32_t DefaultLocaleId() override { return locale; }

private:
    CLinuxSystem system;
    std::string installFolder;
    uint32_t locale;
};

void Save(CUiDriver& driver, CWindow& window, const std::string& name)
{
    std::string path = output + "/" + name + ".png";
    if (driver.Grab(window).SavePng(path))
        std::cout << path << "\n";
    else
        std::cerr << "cannot write " << path << "\n";
}

void SavePicture(const CSurface& picture, const std::string& name)
{
    std::string path = output + "/" + name + ".png";
    if (picture.SavePng(path))
        std::cout << path << "\n";
    else
        std::cerr << "cannot write " << path << "\n";
}

// The seven tray icons side by side, each as a tray of 22 pixels draws it.
void SaveTrayIcons(CApplicationDlg& window, const std::string& name)
{
    const CSkinPaths& skin = App().skin;
    const std::string* icons[] = {&skin.trayCardNo,      &skin.trayStaDisconnect, &skin.trayStaConnect1,
                                  &skin.trayStaConnect2, &skin.trayStaConnect3,   &skin.trayWifiDisconnect,
                                  &skin.trayWifiConnect};
    constexpr int size = 22, gap = 6;
    CSurface strip(gap + 7 * (size + gap), size + 2 * gap, Rgb(60, 60, 60));
    CPainter painter(strip);
    int x = gap;
    for (const std::string* icon : icons) {
        window.currentTrayIcon = *icon;
        window.UpdateTray(CTrayIcon::TrayModify);
        CSurface picture = window.tray.Picture(size);
        picture.PremultiplyAlpha();
        painter.BlendSurface(x, gap, picture);
        x += size + gap;
    }
    SavePicture(strip, name);
}

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
    const std::string tool = ModulePath();
    resources = argc > 2 && argv[2][0] ? std::string(argv[2]) + "/" : tool.substr(0, tool.rfind('/') + 1);
    std::filesystem::create_directories(output);
    // A scratch folder: the templates beside a link to the skin (the icon of
    // the About box is found through it), and the registry's state.
    const std::string scratch = (std::filesystem::temp_directory_path() / "zarnwell-screenshot").string() + "/";
    std::filesystem::remove_all(scratch);
    const std::string templates = scratch + "dialogs/";
    std::filesystem::create_directories(templates);
    std::filesystem::create_directories(scratch + "state");
    // Its own session: a running Zarnwell does not keep it from starting.
    std::filesystem::create_directories(scratch + "run");
    std::filesystem::permissions(scratch + "run", std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", (scratch + "run").c_str(), 1);
    std::filesystem::create_directory_symlink(std::filesystem::absolute(resources + "Skin"), scratch + "Skin");
    for (const auto& entry : std::filesystem::directory_iterator(resources + "dialogs"))
        std::filesystem::copy_file(entry.path(), templates + entry.path().filename().string());
    WriteGalleryTemplate(templates);

    CMockClock clock;
    clock.Participate();
    {
        CScreenshotSystem system(resources, argc > 3 ? uint32_t(std::atoi(argv[3])) : 1033);
        CRegistry registry(scratch + "state");
        CSimMachine machine(clock, system, registry);
        // The shipped world, so the station pictures show its networks.
        std::vector<std::string> problems;
        if (!machine.LoadWorld(resources + "Sim/World.ini", problems))
            std::cerr << "cannot read the simulated world in " << resources << "Sim/\n";
        CApplicationApp app(machine.library, machine.services);
        if (!app.StartUp({})) {
            std::cerr << "the program's start-up ended\n";
            return 1;
        }
        app.versionText = "V1.0.0.1"; // the same in every picture, whatever was built
        CUi ui(clock, templates);
        CUiDriver driver(ui);

        // Each modal panel is shown, dressed, and photographed from inside its loop.
        auto modal = [&](CDialog& dialog, const std::function<void()>& pictures) {
            driver.After(100ms, [&] {
                pictures();
                dialog.EndDialog(CDialog::ResultCancel);
            });
            dialog.DoModal();
        };
        CExitDlg exitDialog(nullptr);
        modal(exitDialog, [&] {
            Save(driver, exitDialog, "exit");
            driver.MoveMouse(exitDialog.closeButton, {5, 5});
            Save(driver, exitDialog, "exit-close-hover");
            driver.Press(exitDialog.cancelButton, {5, 5});
            Save(driver, exitDialog, "exit-cancel-pressed");
            driver.Release(exitDialog.cancelButton, {-50, -50});
            exitDialog.exitButton.Enable(false);
            Save(driver, exitDialog, "exit-button-disabled");
        });
        CAboutNewDlg about(nullptr);
        modal(about, [&] { Save(driver, about, "about"); });
        CAboutDlg plainAbout(nullptr);
        modal(plainAbout, [&] { Save(driver, plainAbout, "about-plain"); });
        CCardNoDlg card(nullptr);
        card.Create();
        card.SetCardState(AdapterNone);
        card.Show(true);
        driver.RunFor(100ms);
        Save(driver, card, "no-adapter");
        card.SetCardState(AdapterDisabled);
        driver.RunFor(100ms);
        Save(driver, card, "adapter-disabled");
        card.Show(false);

        // The main window, the tray's icons and both menus, each menu opened
        // as the tray and the info button open it.
        CApplicationDlg window;
        window.Create();
        window.Show(true);
        driver.RunFor(100ms);
        Save(driver, window, "main-window");
        SaveTrayIcons(window, "tray-icons");
        for (auto [menuId, name] : {std::pair{129, "tray-menu"}, std::pair{136, "info-menu"}}) {
            driver.After(100ms, [name = std::string(name)] {
                SavePicture(CMenu::GrabShown(), name);
                CMenu::ChooseShown(0);
            });
            window.ShowMenu(menuId);
        }
        window.Show(false);

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

        PhotographStationPieces(driver, templates,
                                [&](CWindow& window, const std::string& name) { Save(driver, window, name); });
        window.Show(true);
        PhotographStationWindows(driver, window,
                                 [&](CWindow& shown, const std::string& name) { Save(driver, shown, name); });
    }
    clock.Leave();
    std::filesystem::remove_all(scratch);
    return 0;
}
