// The residual grid's cell drawing, checked on the pixels of the real main window's grid:
// texts right- and top-aligned in the cell shrunk by 3 pixels at the top and 5 at the
// right, the cell's own background (or the selection's) kept, no left-aligned copy, long
// texts cut at the left.
#include "StringGrid.h"
#include "Tramis_Unit1.h"

#include <QImage>
#include <QtTest>

#include <optional>

namespace {

constexpr int kTopStrip = 3;    // pixels along the top that keep the grid's background
constexpr int kRightStrip = 5;  // pixels along the right side that do the same
constexpr int kMaxBearing = 3;  // empty pixels a glyph may leave at its right side

// The box around every pixel in `area` that differs from `background`, if any.
std::optional<QRect> inkBox(const QImage& image, const QRect& area, QRgb background) {
  std::optional<QRect> box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) != background) box = box ? box->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
  return box;
}

}  // namespace

class GridDrawingTest : public QObject {
  Q_OBJECT

private:
  TForm2 form_{nullptr};
  toolkit::TStringGrid* grid_ = form_.StringGrid1;

  QRect cellRect(int column, int row) const { return grid_->visualRect(grid_->model()->index(row, column)); }
  // A selected cell has the selection colour, the fixed first row and column the button
  // colour, the other cells the base colour.
  QRgb background(int column, int row, bool selected = false) const {
    const auto role = selected ? QPalette::Highlight : column == 0 || row == 0 ? QPalette::Button : QPalette::Base;
    return grid_->palette().color(grid_->isActiveWindow() ? QPalette::Active : QPalette::Inactive, role).rgb();
  }

private slots:
  void initTestCase() { form_.show(); QVERIFY(QTest::qWaitForWindowExposed(&form_)); }
  void init() {
    grid_->clearSelection();
    grid_->SetRowCount(5);
    for (int row = 1; row < 5; ++row)
      for (int column = 0; column < 3; ++column) grid_->SetCells(column, row, QString());
  }

  void textsSitInTheShrunkenRectangle_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selected");
    QTest::newRow("header RW") << 1 << 0 << "RW" << false;
    QTest::newRow("residual") << 1 << 1 << "0,0075" << false;
    QTest::newRow("selected residual") << 2 << 2 << "0,0075" << true;
    QTest::newRow("wider than its cell") << 1 << 2 << QString(60, '.') + "WW" << false;
  }
  void textsSitInTheShrunkenRectangle() {
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(bool, selected);
    if (row > 0) grid_->SetCells(column, row, text);
    if (selected) grid_->selectionModel()->select(grid_->model()->index(row, column), QItemSelectionModel::ClearAndSelect);

    const QImage image = grid_->viewport()->grab().toImage();
    const QRect cell = cellRect(column, row);
    const QRgb paper = background(column, row, selected);
    const int textRight = cell.right() - kRightStrip;
    QCOMPARE(inkBox(image, QRect(cell.left(), cell.top(), cell.width(), kTopStrip), paper), std::nullopt);
    QCOMPARE(inkBox(image, QRect(textRight + 1, cell.top(), kRightStrip, cell.height()), paper), std::nullopt);
    const std::optional<QRect> ink = inkBox(image, cell, paper);
    QVERIFY2(ink, "the text is drawn");
    QVERIFY2(ink->right() <= textRight && ink->right() >= textRight - kMaxBearing,
             qPrintable(QStringLiteral("last ink at %1, text edge at %2").arg(ink->right()).arg(textRight)));
    QVERIFY2(ink->top() < cell.center().y(), "top-aligned, not centred");
    if (text.size() < 20) {
      // No left-aligned copy from the grid's own rendering is left.
      QVERIFY2(ink->left() > cell.center().x(), "nothing drawn in the cell's left half");
      return;
    }
    // A too-wide text is cut at the cell's left edge: the tall "WW" stands at the right end, only the
    // low dots reach the left edge.
    QCOMPARE(inkBox(image, cellRect(column - 1, row), background(column - 1, row)), std::nullopt);
    const auto rightEnd = inkBox(image, QRect(textRight - 15, cell.top(), 16, cell.height()), paper);
    const auto leftEnd = inkBox(image, QRect(cell.left(), cell.top(), 16, cell.height()), paper);
    QVERIFY(rightEnd && leftEnd && leftEnd->left() <= cell.left() + 3);
    QVERIFY2(leftEnd->top() > rightEnd->top() + 3, "the right end of the text is the one shown");
  }
};

QTEST_MAIN(GridDrawingTest)
#include "GridDrawingTest.moc"
