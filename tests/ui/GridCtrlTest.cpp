#include <gtest/gtest.h>

#include "ui/CTDialog.h"
#include "ui/framework/CDesktop.h"
#include "ui/station/CGridCtrl.h"
#include "tests/ui/UiFixture.h"

using namespace std::chrono_literals;

namespace {

constexpr Colour white = Rgb(255, 255, 255);
constexpr Colour hover = Rgb(242, 242, 242);
constexpr Colour line = Rgb(228, 228, 228);
constexpr int rowHeight = 31;
constexpr int widths[6] = {12, 26, 178, 26, 26, 26};

int ColumnX(int column)
{
    int x = 0;
    for (int i = 0; i < column; ++i)
        x += widths[i];
    return x;
}

// A panel with the network list (wide enough for all six columns), the one
// row of the connected network and a text field, set up as the station
// panel sets up its grids.
class CListPanel : public CTDialog {
public:
    CListPanel() : CTDialog(9200, nullptr)
    {
        Bind(1011, list);
        Bind(1010, connected);
        fillBackground = true;
    }
    bool OnInitDialog() override
    {
        icons.Create({14, 18});
        for (const char* name : {"grid_signal0.bmp", "grid_signal1.bmp", "grid_signal2.bmp", "grid_signal3.bmp",
                                 "grid_secure.bmp", "grid_info.bmp"})
            icons.Add(skin + name, white);
        for (CGridCtrl* grid : {&list, &connected}) {
            grid->selectionEnabled = true;
            grid->backColour = white;
            grid->lineColour = line;
            grid->gridLines = grid == &list ? CGridCtrl::GridLinesHorizontal : CGridCtrl::GridLinesNone;
            grid->SetFixedRowCount(1);
            grid->SetColumnCount(6);
            for (int column = 0; column < 6; ++column) {
                grid->SetColumnWidth(column, widths[column]);
                grid->handColumns.insert(column);
            }
            grid->imageList = &icons;
            grid->SetRowHeight(0, 0);
        }
        list.hoverColour = hover;
        return true;
    }
    void OnCommand(int id) override { clicks.push_back({id, id == 1011 ? list.clickedCell : connected.clickedCell}); }

    int AddNetwork(CGridCtrl& grid, const std::u16string& name, int index)
    {
        int row = grid.AppendRow();
        grid.SetItemData(row, 0, index);
        grid.SetItemText(row, 2, name);
        for (int column = 0; column < 6; ++column) {
            grid.SetItemFont(row, column, CFont(16, 0, u"Microsoft YaHei"));
            grid.SetItemFormat(row, column, CGridCtrl::FormatLeft | CGridCtrl::FormatVCentre);
        }
        grid.SetItemImage(row, 3, 4);
        grid.SetItemImage(row, 4, index % 4);
        grid.SetItemImage(row, 5, 5);
        grid.SetRowHeight(row, rowHeight);
        return row;
    }
    void Fill(int count)
    {
        list.DeleteNonFixedRows();
        for (int i = 0; i < count; ++i)
            AddNetwork(list, u"Network " + std::u16string(1, char16_t(u'A' + i % 26)), i);
    }

    std::string skin;
    CImageList icons;
    CGridCtrl list;
    CGridCtrl connected;
    std::vector<std::pair<int, CGridCtrl::CCellId>> clicks;
};

class GridCtrlTest : public UiFixture {
protected:
    GridCtrlTest()
    {
        WriteTemplate(9200, "[Dialog]\nSize=215,234\n"
                            "[Control1]\nId=1010\nClass=MFCGridCtrl\nRect=0,31,215,20\n"
                            "[Control2]\nId=1011\nClass=MFCGridCtrl\nRect=0,73,215,125\n"
                            "[Control3]\nId=1012\nClass=Edit\nRect=10,210,60,12\n");
        panel.skin = Skin("");
        panel.Create();
        panel.Show(true);
        driver->RunFor(0ms);
    }

    // A point inside data row `row` (1 or more) and `column`, as shown now.
    static CPoint Cell(const CGridCtrl& grid, int row, int column)
    {
        return {ColumnX(column) + widths[column] / 2, (row - grid.TopRow()) * rowHeight + rowHeight / 2};
    }

    CListPanel panel;
    CGridCtrl& list = panel.list;
};

TEST_F(GridCtrlTest, TheTemplatePlacesItByItsWindowClass)
{
    EXPECT_EQ(list.ClassName(), CGridCtrl::windowClass);
    EXPECT_EQ(list.ClassName(), "MFCGridCtrl");
    EXPECT_EQ(list.Rect(), (CRect{0, 119, 323, 203}));
    EXPECT_EQ(panel.Control(1010), &panel.connected);
}

TEST_F(GridCtrlTest, AHeaderOfHeightZeroAndRowsOf31PixelsWithAScrollBarOnceTheyNoLongerFit)
{
    EXPECT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.RowHeight(0), 0);
    // 203 pixels hold six rows of 31.
    for (int i = 0; i < 6; ++i)
        panel.AddNetwork(list, u"Kavlo", i);
    EXPECT_FALSE(list.HasVerticalScrollBar());
    EXPECT_EQ(list.ClientSize().width, 323);
    panel.AddNetwork(list, u"Kavlo", 6);
    EXPECT_TRUE(list.HasVerticalScrollBar());
    EXPECT_LT(list.ClientSize().width, 323);
    // One row taller, the list holds seven again.
    CRect rect = list.Rect();
    list.Move({rect.x, rect.y, rect.width, rect.height + rowHeight});
    EXPECT_FALSE(list.HasVerticalScrollBar());
    list.Move(rect);

    panel.Fill(128);
    ASSERT_EQ(list.RowCount(), 129);
    EXPECT_EQ(list.FixedRowCount(), 1);
    EXPECT_EQ(list.RowHeight(0), 0);
    for (int row = 1; row <= 128; ++row) {
        EXPECT_EQ(list.RowHeight(row), rowHeight);
        EXPECT_EQ(list.ItemData(row, 0), row - 1);
    }
    EXPECT_TRUE(list.HasVerticalScrollBar());

    list.DeleteNonFixedRows();
    EXPECT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.RowHeight(0), 0);
    EXPECT_FALSE(list.HasVerticalScrollBar());
    EXPECT_EQ(list.TopRow(), 1);
}

TEST_F(GridCtrlTest, AClickIsReportedOnButtonUpWithTheCellWhereTheButtonWentDown)
{
    panel.Fill(3);
    driver->MoveMouse(list, Cell(list, 2, 4));
    driver->Press(list, Cell(list, 2, 4));
    EXPECT_TRUE(panel.clicks.empty());
    EXPECT_TRUE(list.HasFocus());
    EXPECT_EQ(list.selectedCell, (CGridCtrl::CCellId{2, 4}));
    driver->Release(list, Cell(list, 3, 1));
    ASSERT_EQ(panel.clicks.size(), 1u);
    EXPECT_EQ(panel.clicks[0].first, 1011);
    EXPECT_EQ(panel.clicks[0].second, (CGridCtrl::CCellId{2, 4}));

    // Released outside the list, still the cell of the press.
    driver->Press(list, Cell(list, 1, 0));
    driver->Release(list, {5, -60});
    ASSERT_EQ(panel.clicks.size(), 2u);
    EXPECT_EQ(panel.clicks[1].second, (CGridCtrl::CCellId{1, 0}));
    driver->Click(list);
    EXPECT_EQ(panel.clicks.size(), 2u) << "the empty area below the rows is no cell";

    panel.AddNetwork(panel.connected, u"Kavlo", 0);
    driver->Click(panel.connected);
    ASSERT_EQ(panel.clicks.size(), 3u);
    EXPECT_EQ(panel.clicks[2], std::make_pair(1010, CGridCtrl::CCellId{1, 2}));

    list.DeleteNonFixedRows();
    EXPECT_FALSE(list.selectedCell.IsValid());
    EXPECT_EQ(list.hoverRow, -1);
}

TEST_F(GridCtrlTest, TheRowUnderThePointerTakesTheHoverColourAndGivesItBackWhenThePointerMoves)
{
    panel.Fill(4);
    panel.AddNetwork(panel.connected, u"Kavlo", 0);
    // A point of the name column right of its text, clear of lines.
    auto background = [](CGridCtrl& grid, int row) {
        CSurface shown = grid.Grab();
        return shown.PixelColour(ColumnX(2) + 170, (row - 1) * rowHeight + 5);
    };
    driver->MoveMouse(list, Cell(list, 2, 2));
    EXPECT_EQ(background(list, 2), hover);
    EXPECT_EQ(background(list, 3), white);
    driver->MoveMouse(list, Cell(list, 3, 0));
    EXPECT_EQ(background(list, 2), white);
    EXPECT_EQ(background(list, 3), hover);
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(list.GetCell(2, column)->backColour, white);
        EXPECT_EQ(list.GetCell(3, column)->backColour, hover);
    }
    driver->MoveMouse(list, {100, 190});
    EXPECT_EQ(background(list, 3), hover) << "below the rows the last row stays lit";
    driver->MoveMouseAway(list);
    EXPECT_EQ(background(list, 3), white);

    // Without a hover colour of its own, hovering changes nothing to see.
    driver->MoveMouse(panel.connected, Cell(panel.connected, 1, 2));
    EXPECT_EQ(background(panel.connected, 1), white);
}

TEST_F(GridCtrlTest, TheHandShowsOverHandColumnsOfDataRowsOnly)
{
    panel.Fill(2);
    list.handColumns = {2, 3};
    struct Case { CPoint at; bool hand; };
    for (Case c : {Case{Cell(list, 1, 2), true}, {Cell(list, 2, 3), true}, {Cell(list, 2, 0), false},
                   {Cell(list, 1, 3), true}, {{100, 150}, false}}) {
        driver->MoveMouse(list, c.at);
        EXPECT_EQ(list.ShowsHandCursor(), c.hand) << c.at.x << "," << c.at.y;
    }
}

TEST_F(GridCtrlTest, TheWheelScrollsTheFocusedGridByTheUsersLinesWhereverThePointerIs)
{
    panel.Fill(128);
    const int lines = CDesktop::WheelScrollLines();
    ASSERT_GT(lines, 0);
    list.SetFocus();
    driver->Wheel(list, Cell(list, 1, 2), -1);
    EXPECT_EQ(list.TopRow(), 1 + lines);
    EXPECT_EQ(list.VerticalScrollPosition(), lines);
    driver->Wheel(*panel.Control(1012), {5, 5}, -2);
    EXPECT_EQ(list.TopRow(), 1 + 3 * lines);
    driver->Wheel(list, Cell(list, 1, 2), 1);
    EXPECT_EQ(list.TopRow(), 1 + 2 * lines);

    // At either end it stops: the first row at the top, the last one whole at the bottom.
    driver->Wheel(list, Cell(list, 1, 2), 100);
    EXPECT_EQ(list.TopRow(), 1);
    driver->Wheel(list, Cell(list, 1, 2), -100);
    EXPECT_EQ(list.TopRow(), 123);

    panel.Control(1012)->SetFocus();
    driver->Wheel(list, Cell(list, 1, 2), 1);
    EXPECT_EQ(list.TopRow(), 123) << "the list without the focus keeps still";
}

TEST_F(GridCtrlTest, TheScrollBarScrollsAndClicksThenReportTheRowsShown)
{
    panel.Fill(128);
    const CRect rect = list.Rect();
    // The trough of the bar, below its handle: a page down.
    driver->Press(list, {rect.width - 4, rect.height - 40});
    driver->Release(list, {rect.width - 4, rect.height - 40});
    EXPECT_EQ(list.TopRow(), 7);
    EXPECT_EQ(list.VerticalScrollPosition(), 6);
    EXPECT_TRUE(panel.clicks.empty());

    driver->MoveMouse(list, {50, 5});
    driver->Press(list, {50, 5});
    driver->Release(list, {50, 5});
    ASSERT_EQ(panel.clicks.size(), 1u);
    EXPECT_EQ(panel.clicks[0].second, (CGridCtrl::CCellId{7, 2}));
    EXPECT_EQ(list.ItemData(7, 0), 6);
}

TEST_F(GridCtrlTest, IconsAreDrawnWithWhiteLeftTransparent)
{
    CSurface secure;
    ASSERT_TRUE(secure.LoadFile(Skin("grid_secure.bmp")));
    CPoint clear{-1, -1}, inked{-1, -1};
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 14; ++x)
            (secure.PixelColour(x, y) == white ? clear : inked) = {x, y};
    ASSERT_GE(clear.x, 0);
    ASSERT_GE(inked.x, 0);

    panel.Fill(1);
    driver->MoveMouse(list, Cell(list, 1, 0));
    CSurface shown = list.Grab();
    // The icon sits in the middle of its cell.
    const CPoint icon{ColumnX(3) + (26 - 14) / 2, (rowHeight - 18) / 2};
    EXPECT_EQ(shown.PixelColour(icon.x + clear.x, icon.y + clear.y), hover);
    EXPECT_EQ(shown.PixelColour(icon.x + inked.x, icon.y + inked.y), secure.PixelColour(inked.x, inked.y));

    EXPECT_EQ(panel.icons.Add(Skin("no_such_icon.bmp"), white), -1);
    EXPECT_EQ(panel.icons.Count(), 6);
}

TEST_F(GridCtrlTest, ACutTextStopsAtItsColumnEdgeAndShowsWholeInATip)
{
    const std::u16string longName = u"A network whose name is far too long for the column of names";
    panel.Fill(2);
    list.SetItemText(1, 2, longName);
    list.SetItemImage(1, 3, -1);
    driver->RunFor(0ms);
    CSurface shown = list.Grab();
    // Cells paint in order, so a cut shows at the column's own margin.
    const CRect margin{ColumnX(3) - CGridCtrl::cellMargin, 0, CGridCtrl::cellMargin, rowHeight - 1};
    EXPECT_EQ(shown.CountColour(margin, white), margin.width * margin.height) << "the name stops at its column";
    EXPECT_EQ(shown.CountColour({0, rowHeight - 1, ColumnX(6), 1}, line), ColumnX(6)) << "one line below the row";

    driver->MoveMouse(list, Cell(list, 1, 2));
    driver->RunFor(499ms);
    EXPECT_EQ(list.titleTip.Shown(), u"");
    driver->RunFor(1ms);
    EXPECT_EQ(list.titleTip.Shown(), longName);
    driver->MoveMouse(list, Cell(list, 2, 2));
    EXPECT_EQ(list.titleTip.Shown(), u"");
    driver->RunFor(1000ms);
    EXPECT_EQ(list.titleTip.Shown(), u"") << "a name that fits has no tip";
    driver->MoveMouse(list, Cell(list, 1, 2));
    driver->RunFor(500ms);
    EXPECT_EQ(list.titleTip.Shown(), longName);
    driver->MoveMouse(list, Cell(list, 1, 3));
    driver->RunFor(1000ms);
    EXPECT_EQ(list.titleTip.Shown(), u"");
}

} // namespace
