// The residual grid's cell drawing: a delegate that prepares each cell as the grid shows
// it (background, font, text colour) and hands the drawing to TForm2::StringGrid1DrawCell.
#pragma once

#include <QStyledItemDelegate>

class TForm2;

class GridCellDelegate : public QStyledItemDelegate {
  Q_OBJECT
public:
  GridCellDelegate(TForm2* form, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  // The grid's cells are not edited.
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;

private:
  TForm2* form_;
};
