#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ui/framework/CFont.h"
#include "ui/framework/CImageList.h"
#include "ui/framework/CToolTip.h"
#include "ui/framework/CWindow.h"

// A grid of cells, window class "MFCGridCtrl": rows of cells, each with a
// text, an icon of the attached image list and an integer of its owner's;
// the first rows are header rows and stay at the top. It shows a vertical
// scroll bar when its data rows are taller than it and scrolls by whole rows,
// with the scroll bar or, while it has the focus, the wheel. The data row
// under the pointer takes the hover colour, chosen columns show the hand, and
// resting on a cell whose text is cut shows the whole text in a tip.
//
// A click reaches the parent as a command carrying the grid's id when the
// left button is released; `clickedCell` is then the cell on which it went
// down. Looks are plain fields: set them, then redraw.
class CGridCtrl : public CWindow {
public:
    static constexpr const char* windowClass = "MFCGridCtrl";
    static constexpr int defaultRowHeight = 20;
    static constexpr int defaultColumnWidth = 60;
    static constexpr int cellMargin = 3;

    enum GridLines { GridLinesNone, GridLinesHorizontal, GridLinesVertical, GridLinesBoth };
    // Flags of a cell's text placement; none is left and top.
    enum TextFormat { FormatLeft = 0, FormatCentre = 1, FormatRight = 2, FormatVCentre = 4 };

    struct CCellId {
        int row = -1;
        int column = -1;
        bool IsValid() const { return row >= 0 && column >= 0; }
        bool operator==(const CCellId&) const = default;
    };

    struct Cell {
        std::u16string text;
        int image = -1;
        intptr_t data = 0;
        CFont font;
        Colour textColour = 0;
        Colour backColour = Rgb(255, 255, 255);
        int format = FormatLeft;
    };

    CGridCtrl() { ownerPaint = true; }

    // Header rows are made as needed; data rows follow them.
    void SetFixedRowCount(int count);
    int FixedRowCount() const { return fixedRows; }
    void SetColumnCount(int count);
    int ColumnCount() const { return int(columnWidths.size()); }
    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;
    int RowCount() const { return int(rows.size()); }
    void SetRowHeight(int row, int height);
    int RowHeight(int row) const;
    // A data row of empty cells at the end; its index.
    int AppendRow();
    // Every data row goes, and with them hover, selection and scrolling.
    void DeleteNonFixedRows();

    // Null outside the grid.
    const Cell* GetCell(int row, int column) const;
    void SetItemText(int row, int column, std::u16string_view text);
    void SetItemImage(int row, int column, int image);
    void SetItemData(int row, int column, intptr_t data);
    intptr_t ItemData(int row, int column) const;
    void SetItemFont(int row, int column, const CFont& font);
    void SetItemFgColour(int row, int column, Colour colour);
    void SetItemBkColour(int row, int column, Colour colour);
    void SetItemFormat(int row, int column, int format);

    // The cell at a point of the client area; invalid outside every cell.
    CCellId CellFromPoint(CPoint point) const;
    // The first data row shown.
    int TopRow() const { return topRow; }

    Colour backColour = Rgb(255, 255, 255);   // outside the cells
    Colour lineColour = Rgb(192, 192, 192);
    GridLines gridLines = GridLinesBoth;
    Colour rowBackColour = Rgb(255, 255, 255); // a data row's cells, odd and even
    Colour hoverColour = Rgb(255, 255, 255);
    std::set<int> handColumns;
    const CImageList* imageList = nullptr;
    // A button-down on a data cell selects it; nothing edits a cell.
    bool selectionEnabled = false;
    CCellId selectedCell;
    CCellId clickedCell;
    int hoverRow = -1;

    void OnCreate() override;
    void OnSize(CSize size) override;
    void OnPaint(CPainter& painter) override;
    void OnMouseMove(CPoint point) override;
    void OnMouseLeave() override;
    void OnLButtonDown(CPoint point) override;
    void OnLButtonUp(CPoint point) override;
    bool OnMouseWheel(int delta) override;
    void OnVScroll(int position) override;

    CToolTip titleTip;

private:
    struct Row {
        int height = defaultRowHeight;
        std::vector<Cell> cells;
    };

    Cell* At(int row, int column);
    void HighlightRow(int row);
    void UpdateScrollBar();
    void ScrollTo(int row);
    int FixedHeight() const;
    // The whole text of a cell it does not show whole; empty otherwise.
    std::u16string CutText(const CCellId& cell) const;
    void PaintCell(CPainter& painter, const Cell& cell, const CRect& area);

    std::vector<Row> rows;
    std::vector<int> columnWidths;
    int fixedRows = 0;
    int topRow = 0;
    CCellId downCell;
    CCellId tipCell;
    int wheelDelta = 0;
};
