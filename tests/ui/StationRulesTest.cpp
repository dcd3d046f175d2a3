#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "ui/CApplicationDlg.h"
#include "ui/station/PasswordRules.h"
#include "tests/ui/AppFixture.h"

namespace {

class CodePageScope {
public:
    explicit CodePageScope(const char* codeset) { SetLocalCodePage(codeset); }
    ~CodePageScope() { SetLocalCodePage(""); }
};

TEST(PasswordRules, KeysAreCheckedByKindOnTheirLocalBytes)
{
    struct Case {
        const char* codeset;
        int kind;
        std::u16string password;
        PasswordVerdict verdict;
    };
    const std::u16string hex64(64, u'a');
    const std::vector<Case> cases = {
        {"CP1252", 2, u"", PasswordEmpty},
        {"CP1252", 3, u"", PasswordEmpty},
        {"CP1252", 2, u"ab!de", PasswordOk},
        {"CP1252", 2, u"OldPrinter!13", PasswordOk},
        {"CP1252", 2, u"0123456789", PasswordOk},
        {"CP1252", 2, u"0123456789abcdefABCDEF0123", PasswordOk},
        {"CP1252", 2, u"0123456789a", PasswordBreaksWepRule},
        {"CP1252", 2, u"012345678g", PasswordBreaksWepRule},
        {"CP1252", 2, u"abcd", PasswordBreaksWepRule},
        {"CP1252", 3, u"1234567", PasswordBreaksKeyRule},
        {"CP1252", 4, u"12345678", PasswordOk},
        {"CP1252", 5, std::u16string(63, u'x'), PasswordOk},
        {"CP1252", 4, hex64, PasswordOk},
        {"CP1252", 4, hex64.substr(0, 63) + u"g", PasswordBreaksKeyRule},
        {"CP1252", 3, std::u16string(65, u'1'), PasswordBreaksKeyRule},
        // Outside ASCII the bytes count: five Chinese characters are 15
        // bytes in UTF-8 and 10 in GBK, neither a WEP key; a character the
        // code page cannot hold is refused, never turned into "?".
        {"UTF-8", 2, u"\u5BC6\u7801\u5BC6\u7801\u5BC6", PasswordBreaksWepRule},
        {"CP936", 2, u"\u5BC6\u7801\u5BC6\u7801\u5BC6", PasswordBreaksWepRule},
        {"UTF-8", 4, u"\u5BC6\u7801\u5BC6", PasswordOk},
        {"CP936", 4, u"\u5BC6\u7801\u5BC6", PasswordBreaksKeyRule},
        {"UTF-8", 4, std::u16string(22, u'\u5BC6'), PasswordBreaksKeyRule},
        {"CP1252", 4, u"\u5BC6\u7801\u5BC6\u7801", PasswordBreaksKeyRule},
    };
    for (const Case& c : cases) {
        CodePageScope scope(c.codeset);
        std::string local;
        EXPECT_EQ(CheckPassword(c.password, c.kind, local), c.verdict)
            << c.codeset << " kind " << c.kind << " " << Utf16ToUtf8(c.password);
        if (c.verdict == PasswordOk)
            EXPECT_TRUE(local.size() >= 5 && local.size() <= 64);
    }
}

TEST(PasswordRules, AnSsidFitsInThirtyTwoLocalBytesOrIsRefusedWhole)
{
    struct Case {
        const char* codeset;
        std::u16string ssid;
        bool fits;
    };
    const std::vector<Case> cases = {
        {"CP1252", std::u16string(32, u'n'), true},
        {"CP1252", std::u16string(33, u'n'), false},
        {"CP1252", u"", false},
        {"UTF-8", std::u16string(10, u'\u7F51'), true},
        {"UTF-8", std::u16string(11, u'\u7F51'), false},
        {"CP936", std::u16string(16, u'\u7F51'), true},
        {"CP936", std::u16string(17, u'\u7F51'), false},
        {"CP1252", u"\u7F51", false},
    };
    for (const Case& c : cases) {
        CodePageScope scope(c.codeset);
        std::string local;
        EXPECT_EQ(SsidFits(c.ssid, local), c.fits) << c.codeset << " " << Utf16ToUtf8(c.ssid);
        if (c.fits) {
            std::u16string back;
            EXPECT_TRUE(LocalToUtf16(local, back));
            EXPECT_EQ(back, c.ssid);
        }
    }
}

class StationPanelTest : public AppFixture {};

TEST_F(StationPanelTest, SignalIconsFollowTheQuality)
{
    const int qualities[] = {0, 1, 35, 36, 60, 61, 100, 101};
    const int icons[] = {0, 1, 1, 2, 2, 3, 3, 0};
    CApplicationDlg window;
    ASSERT_TRUE(window.Create());
    CModeDlg& panel = window.stationPanel;
    panel.scanSnapshot = {};
    for (int i = 0; i < 8; ++i) {
        NetworkRecord& record = panel.scanSnapshot.records[i];
        std::snprintf(record.ssid, sizeof record.ssid, "net%d", i);
        record.bssid[5] = uint8_t(i + 1);
        record.quality = uint8_t(qualities[i]);
    }
    panel.snapshotCount = 8;
    EXPECT_EQ(panel.BuildNetworkRows(nullptr), 8);
    ASSERT_EQ(panel.networkGrid.RowCount(), 9);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(panel.networkGrid.GetCell(i + 1, 4)->image, icons[i]) << qualities[i];
        EXPECT_EQ(panel.networkGrid.ItemData(i + 1, 0), i);
    }
}

TEST_F(StationPanelTest, HiddenNetworksAndTheConnectedOneAreNotListedButItsNameTwinIs)
{
    CApplicationDlg window;
    ASSERT_TRUE(window.Create());
    CModeDlg& panel = window.stationPanel;
    panel.scanSnapshot = {};
    const char* names[] = {"Home", "", "Home", "Cafe"};
    for (int i = 0; i < 4; ++i) {
        NetworkRecord& record = panel.scanSnapshot.records[i];
        std::snprintf(record.ssid, sizeof record.ssid, "%s", names[i]);
        record.bssid[5] = uint8_t(i + 1);
        record.privacy = i == 0;
    }
    panel.snapshotCount = 4;
    const uint8_t connected[6] = {0, 0, 0, 0, 0, 1};
    panel.BuildNetworkRows(connected);
    ASSERT_EQ(panel.networkGrid.RowCount(), 3);
    EXPECT_EQ(panel.networkGrid.GetCell(1, 2)->text, u"Home");
    EXPECT_EQ(panel.networkGrid.ItemData(1, 0), 2);
    EXPECT_EQ(panel.networkGrid.GetCell(1, 3)->image, -1);
    EXPECT_EQ(panel.networkGrid.GetCell(2, 2)->text, u"Cafe");
}

TEST_F(StationPanelTest, TheSixColumnsFitThePanelWithRoomForTheScrollBar)
{
    CApplicationDlg window;
    ASSERT_TRUE(window.Create());
    for (CGridCtrl* grid : {&window.stationPanel.networkGrid, &window.stationPanel.connectedGrid}) {
        int total = 0;
        for (int column = 0; column < 6; ++column)
            total += grid->ColumnWidth(column);
        EXPECT_LE(total + 15, grid->Rect().width);
        EXPECT_EQ(grid->ColumnWidth(0), 12);
        EXPECT_EQ(grid->ColumnWidth(5), 26);
    }
}

} // namespace
