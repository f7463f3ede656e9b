// Drawing the cells of the residual grid: every cell's text right- and top-aligned in the
// cell shrunk by 3 pixels at the top and 5 at the right, so that the numbers of a column
// line up on their last digit.
#include "GridDrawing.h"

#include "StringGrid.h"
#include "Tramis_Unit1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>

namespace {

// The colours the grid gives a kind of cell: fixed cells look like header cells,
// selected cells use the selection colours, all others the view's base.
struct CellColours {
  QBrush background;
  QColor text;
};

CellColours cellColours(const QStyleOptionViewItem& option, bool fixed) {
  const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                            : QPalette::Inactive;
  if (fixed)
    return {option.palette.brush(group, QPalette::Button),
            option.palette.color(group, QPalette::ButtonText)};
  if (option.state & QStyle::State_Selected)
    return {option.palette.brush(group, QPalette::Highlight),
            option.palette.color(group, QPalette::HighlightedText)};
  return {option.palette.brush(group, QPalette::Base), option.palette.color(group, QPalette::Text)};
}

}  // namespace

GridCellDelegate::GridCellDelegate(TForm2* form, QObject* parent)
    : QStyledItemDelegate(parent), form_(form) {}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  const bool fixed = index.data(toolkit::StringGridModel::FixedCellRole).toBool();
  const CellColours colours = cellColours(cell, fixed);
  const bool focused = cell.state & QStyle::State_HasFocus;

  // The grid's own rendering of the cell: its background and its default text, which
  // the drawing routine then covers. The focus frame comes last, over the drawing.
  painter->fillRect(option.rect, colours.background);
  cell.state &= ~QStyle::State_HasFocus;
  QStyledItemDelegate::paint(painter, cell, index);

  painter->save();
  painter->setBrush(colours.background);
  painter->setPen(colours.text);
  painter->setFont(cell.font);
  form_->StringGrid1DrawCell(const_cast<QWidget*>(option.widget), index.column(), index.row(),
                             option.rect, painter, option);
  painter->restore();

  if (focused) {
    QStyleOptionFocusRect frame;
    frame.QStyleOption::operator=(option);
    frame.backgroundColor = colours.background.color();
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, option.widget);
  }
}

QWidget* GridCellDelegate::createEditor(QWidget*, const QStyleOptionViewItem&,
                                        const QModelIndex&) const {
  return nullptr;
}

void TForm2::StringGrid1DrawCell(QObject*, int ACol, int ARow, const QRect& Rect,
                                 QPainter* Canvas, const QStyleOptionViewItem&) {
  const QRect textRect = Rect.adjusted(0, 3, -5, 0);
  Canvas->fillRect(textRect, Canvas->brush());
  const QString text = StringGrid1->GetCells(ACol, ARow);
  if (text.isEmpty()) return;
  // Drawing is clipped to the text rectangle: a text too wide for it loses its left
  // end and keeps its last digits in view.
  Canvas->save();
  Canvas->setClipRect(textRect, Qt::IntersectClip);
  Canvas->drawText(textRect, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic,
                   text);
  Canvas->restore();
}
