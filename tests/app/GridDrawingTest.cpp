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
  TForm2* form_ = nullptr;
  toolkit::TStringGrid* grid_ = nullptr;

  QRect cellRect(int column, int row) const { return grid_->visualRect(grid_->model()->index(row, column)); }
  QImage picture() const { return grid_->viewport()->grab().toImage(); }
  QRgb colour(QPalette::ColorRole role) const {
    return grid_->palette().color(grid_->isActiveWindow() ? QPalette::Active : QPalette::Inactive, role).rgb();
  }
  // The fixed first row and column have the button colour, the other cells the base colour.
  QRgb background(int column, int row) const {
    return colour(column == 0 || row == 0 ? QPalette::Button : QPalette::Base);
  }
  // The strip along the cell's right side that keeps the background.
  static QRect rightStrip(const QRect& cell) {
    return QRect(cell.right() - kRightStrip + 1, cell.top(), kRightStrip, cell.height());
  }

private slots:
  void initTestCase() {
    form_ = new TForm2(nullptr);
    grid_ = form_->StringGrid1;
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
  }
  void cleanupTestCase() { delete form_; }
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
    QTest::newRow("row number") << 0 << 1 << "1" << false;
    QTest::newRow("residual") << 1 << 1 << "0,0075" << false;
    QTest::newRow("negative residual") << 2 << 3 << "-0,0075" << false;
    QTest::newRow("selected residual") << 2 << 2 << "0,0075" << true;
  }
  void textsSitInTheShrunkenRectangle() {
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(bool, selected);
    if (row > 0) grid_->SetCells(column, row, text);
    const QModelIndex index = grid_->model()->index(row, column);
    if (selected) grid_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);

    const QImage image = picture();
    const QRect cell = cellRect(column, row);
    const QRgb paper = selected ? colour(QPalette::Highlight) : background(column, row);
    const int textRight = cell.right() - kRightStrip;

    QCOMPARE(inkBox(image, QRect(cell.left(), cell.top(), cell.width(), kTopStrip), paper),
             std::nullopt);
    QCOMPARE(inkBox(image, rightStrip(cell), paper), std::nullopt);
    const std::optional<QRect> ink = inkBox(image, cell, paper);
    QVERIFY2(ink, "the text is drawn");
    QVERIFY2(ink->right() <= textRight && ink->right() >= textRight - kMaxBearing,
             qPrintable(QStringLiteral("last ink at %1, text edge at %2").arg(ink->right()).arg(textRight)));
    // Top-aligned: the text starts near the top of its rectangle, not in the middle.
    QVERIFY(ink->top() < cell.center().y());
    // No left-aligned copy from the grid's own rendering is left.
    QVERIFY2(ink->left() > cell.center().x(), "nothing drawn in the cell's left half");
  }

  void emptyRowsShowPlainBackground() {
    const QImage image = picture();
    for (int row = 1; row < 5; ++row)
      for (int column = 0; column < 3; ++column)
        QCOMPARE(inkBox(image, cellRect(column, row), background(column, row)), std::nullopt);
  }

  // A text wider than its cell keeps its right end in view and stays inside the cell.
  void wideTextIsCutAtTheLeft() {
    grid_->SetCells(1, 2, QString(60, '.') + "WW");
    const QImage image = picture();
    const QRect cell = cellRect(1, 2);
    const QRgb paper = background(1, 2);
    const int textRight = cell.right() - kRightStrip;

    QCOMPARE(inkBox(image, cellRect(0, 2), background(0, 2)), std::nullopt);
    QCOMPARE(inkBox(image, cellRect(2, 2), background(2, 2)), std::nullopt);
    QCOMPARE(inkBox(image, rightStrip(cell), paper), std::nullopt);
    const std::optional<QRect> rightEnd =
        inkBox(image, QRect(textRight - 15, cell.top(), 16, cell.height()), paper);
    const std::optional<QRect> leftEnd = inkBox(image, QRect(cell.left(), cell.top(), 16, cell.height()), paper);
    QVERIFY(rightEnd && leftEnd);
    // The tall "WW" stands at the right end; only the low dots reach the left edge.
    QVERIFY2(leftEnd->top() > rightEnd->top() + 3, "the right end of the text is the one shown");
    QVERIFY(leftEnd->left() <= cell.left() + 3);
  }
};

QTEST_MAIN(GridDrawingTest)
#include "GridDrawingTest.moc"
