#include "ui/station/CGridCtrl.h"

#include <algorithm>

#include "ui/framework/CDesktop.h"

void CGridCtrl::SetFixedRowCount(int count)
{
    count = std::max(0, count);
    while (RowCount() < count) {
        rows.emplace_back();
        rows.back().cells.resize(columnWidths.size());
    }
    fixedRows = count;
    topRow = std::max(topRow, fixedRows);
    UpdateScrollBar();
}

void CGridCtrl::SetColumnCount(int count)
{
    count = std::max(0, count);
    columnWidths.resize(std::size_t(count), defaultColumnWidth);
    for (Row& row : rows) {
        std::size_t old = row.cells.size();
        row.cells.resize(std::size_t(count));
        for (std::size_t column = old; column < row.cells.size(); ++column)
            row.cells[column].backColour = rowBackColour;
    }
    Invalidate();
}

void CGridCtrl::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= ColumnCount())
        return;
    columnWidths[std::size_t(column)] = std::max(0, width);
    Invalidate();
}

int CGridCtrl::ColumnWidth(int column) const
{
    return column >= 0 && column < ColumnCount() ? columnWidths[std::size_t(column)] : 0;
}

void CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= RowCount())
        return;
    rows[std::size_t(row)].height = std::max(0, height);
    UpdateScrollBar();
}

int CGridCtrl::RowHeight(int row) const
{
    return row >= 0 && row < RowCount() ? rows[std::size_t(row)].height : 0;
}

int CGridCtrl::AppendRow()
{
    Row row;
    row.cells.resize(columnWidths.size());
    for (Cell& cell : row.cells)
        cell.backColour = rowBackColour;
    rows.push_back(std::move(row));
    UpdateScrollBar();
    return RowCount() - 1;
}

void CGridCtrl::DeleteNonFixedRows()
{
    rows.resize(std::size_t(fixedRows));
    hoverRow = -1;
    selectedCell = {};
    downCell = {};
    tipCell = {};
    topRow = fixedRows;
    titleTip.UpdateTipText(*this, u"");
    titleTip.Pop();
    UpdateScrollBar();
}

CGridCtrl::Cell* CGridCtrl::At(int row, int column)
{
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return nullptr;
    return &rows[std::size_t(row)].cells[std::size_t(column)];
}

const CGridCtrl::Cell* CGridCtrl::GetCell(int row, int column) const
{
    return const_cast<CGridCtrl*>(this)->At(row, column);
}

void CGridCtrl::SetItemText(int row, int column, std::u16string_view text)
{
    if (Cell* cell = At(row, column)) {
        cell->text = text;
        Invalidate();
    }
}

void CGridCtrl::SetItemImage(int row, int column, int image)
{
    if (Cell* cell = At(row, column)) {
        cell->image = image;
        Invalidate();
    }
}

void CGridCtrl::SetItemData(int row, int column, intptr_t data)
{
    if (Cell* cell = At(row, column))
        cell->data = data;
}

intptr_t CGridCtrl::ItemData(int row, int column) const
{
    const Cell* cell = GetCell(row, column);
    return cell ? cell->data : 0;
}

void CGridCtrl::SetItemFont(int row, int column, const CFont& font)
{
    if (Cell* cell = At(row, column)) {
        cell->font = font;
        Invalidate();
    }
}

void CGridCtrl::SetItemFgColour(int row, int column, Colour colour)
{
    if (Cell* cell = At(row, column)) {
        cell->textColour = colour;
        Invalidate();
    }
}

void CGridCtrl::SetItemBkColour(int row, int column, Colour colour)
{
    if (Cell* cell = At(row, column)) {
        cell->backColour = colour;
        Invalidate();
    }
}

void CGridCtrl::SetItemFormat(int row, int column, int format)
{
    if (Cell* cell = At(row, column)) {
        cell->format = format;
        Invalidate();
    }
}

int CGridCtrl::FixedHeight() const
{
    int height = 0;
    for (int row = 0; row < fixedRows; ++row)
        height += rows[std::size_t(row)].height;
    return height;
}

CGridCtrl::CCellId CGridCtrl::CellFromPoint(CPoint point) const
{
    CCellId found;
    if (point.x < 0 || point.y < 0 || point.x >= ClientSize().width)
        return found;
    for (int x = 0, column = 0; column < ColumnCount(); x += columnWidths[std::size_t(column)], ++column)
        if (point.x >= x && point.x < x + columnWidths[std::size_t(column)])
            found.column = column;
    int y = 0;
    for (int row = 0; row < RowCount() && found.column >= 0; ++row) {
        if (row >= fixedRows && row < topRow)
            continue;
        int height = rows[std::size_t(row)].height;
        if (point.y >= y && point.y < y + height)
            return {row, found.column};
        y += height;
    }
    return {};
}

void CGridCtrl::HighlightRow(int row)
{
    if (row == hoverRow)
        return;
    if (hoverRow >= 0 && hoverRow < RowCount())
        for (Cell& cell : rows[std::size_t(hoverRow)].cells)
            cell.backColour = rowBackColour;
    hoverRow = row;
    if (row >= 0)
        for (Cell& cell : rows[std::size_t(row)].cells)
            cell.backColour = hoverColour;
    Invalidate();
}

std::u16string CGridCtrl::CutText(const CCellId& id) const
{
    const Cell* cell = GetCell(id.row, id.column);
    if (!cell || cell->text.empty())
        return {};
    int room = ColumnWidth(id.column) - 2 * cellMargin;
    if (cell->image >= 0 && imageList)
        room -= imageList->ImageSize().width + cellMargin;
    CSurface scratch(1, 1, 0);
    CPainter measure(scratch);
    measure.SetFont(cell->font);
    return measure.TextWidth(cell->text) > room ? cell->text : std::u16string();
}

void CGridCtrl::OnCreate()
{
    titleTip.Create(*this);
    titleTip.AddTool(*this, u"");
}

void CGridCtrl::OnSize(CSize)
{
    UpdateScrollBar();
}

void CGridCtrl::UpdateScrollBar()
{
    // The first data row from which every later one fits below the header.
    const int view = ClientSize().height - FixedHeight();
    int firstFitting = RowCount();
    for (int row = RowCount() - 1, height = 0; row >= fixedRows; --row) {
        height += rows[std::size_t(row)].height;
        if (height > view)
            break;
        firstFitting = row;
    }
    const bool needed = firstFitting > fixedRows;
    ShowVerticalScrollBar(needed);
    const int lastTop = std::max(fixedRows, std::min(firstFitting, RowCount() - 1));
    topRow = std::clamp(topRow, fixedRows, lastTop);
    if (needed)
        SetVerticalScrollInfo(RowCount() - fixedRows, RowCount() - lastTop, topRow - fixedRows);
    Invalidate();
}

void CGridCtrl::ScrollTo(int row)
{
    topRow = row;
    UpdateScrollBar();
}

bool CGridCtrl::OnMouseWheel(int delta)
{
    wheelDelta += delta;
    const int notches = wheelDelta / 120;
    wheelDelta %= 120;
    if (notches != 0 && HasVerticalScrollBar())
        ScrollTo(topRow - notches * CDesktop::WheelScrollLines());
    return true;
}

void CGridCtrl::OnVScroll(int position)
{
    topRow = fixedRows + position;
    Invalidate();
}

void CGridCtrl::OnMouseMove(CPoint point)
{
    const CCellId cell = CellFromPoint(point);
    const bool dataRow = cell.row >= fixedRows;
    if (dataRow)
        HighlightRow(cell.row);
    const bool hand = dataRow && handColumns.count(cell.column);
    if (hand != ShowsHandCursor())
        SetHandCursor(hand);
    if (cell != tipCell) {
        tipCell = cell;
        titleTip.UpdateTipText(*this, CutText(cell));
        titleTip.Pop();
    }
}

void CGridCtrl::OnMouseLeave()
{
    HighlightRow(-1);
    tipCell = {};
}

void CGridCtrl::OnLButtonDown(CPoint point)
{
    SetFocus();
    downCell = CellFromPoint(point);
    if (selectionEnabled && downCell.row >= fixedRows)
        selectedCell = downCell;
}

void CGridCtrl::OnLButtonUp(CPoint)
{
    if (!downCell.IsValid())
        return;
    clickedCell = downCell;
    downCell = {};
    NotifyParent(Id());
}

void CGridCtrl::OnPaint(CPainter& painter)
{
    const CSize client = ClientSize();
    painter.FillRect({0, 0, client.width, client.height}, backColour);
    int y = 0;
    for (int row = 0; row < RowCount() && y < client.height; ++row) {
        if (row >= fixedRows && row < topRow)
            continue;
        const int height = rows[std::size_t(row)].height;
        for (int column = 0, x = 0; column < ColumnCount() && x < client.width; ++column) {
            const int width = columnWidths[std::size_t(column)];
            PaintCell(painter, rows[std::size_t(row)].cells[std::size_t(column)], {x, y, width, height});
            x += width;
        }
        y += height;
    }
}

void CGridCtrl::PaintCell(CPainter& painter, const Cell& cell, const CRect& area)
{
    if (area.width <= 0 || area.height <= 0)
        return;
    painter.FillRect(area, cell.backColour);
    int textLeft = area.x + cellMargin;
    if (cell.image >= 0 && imageList) {
        // Alone, an icon sits in the middle of its cell; with a text, before it.
        const CSize icon = imageList->ImageSize();
        const int iconX = cell.text.empty() ? area.x + (area.width - icon.width) / 2 : textLeft;
        painter.SetClip(area);
        imageList->Draw(painter, cell.image, iconX, area.y + (area.height - icon.height) / 2);
        painter.ClearClip();
        textLeft += icon.width + cellMargin;
    }
    if (!cell.text.empty()) {
        painter.SetFont(cell.font);
        const int room = area.Right() - cellMargin - textLeft;
        const int width = painter.TextWidth(cell.text);
        int x = textLeft;
        if (width < room && (cell.format & FormatCentre))
            x += (room - width) / 2;
        else if (width < room && (cell.format & FormatRight))
            x += room - width;
        const int y = cell.format & FormatVCentre ? area.y + (area.height - painter.LineHeight()) / 2 : area.y;
        painter.SetClip({area.x, area.y, area.Right() - cellMargin - area.x, area.height});
        painter.DrawText(x, y, cell.text, cell.textColour);
        painter.ClearClip();
    }
    if (gridLines == GridLinesHorizontal || gridLines == GridLinesBoth)
        painter.FillRect({area.x, area.Bottom() - 1, area.width, 1}, lineColour);
    if (gridLines == GridLinesVertical || gridLines == GridLinesBoth)
        painter.FillRect({area.Right() - 1, area.y, 1, area.height}, lineColour);
}
