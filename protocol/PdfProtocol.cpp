// Draws the protocol's content onto A4 pages with QPdfWriter and QPainter. The page flow
// runs twice with the same decisions: once only measuring, to learn the page count N for
// "Seite i von N", and once drawing.
#include "PdfProtocol.h"

#include "DistributionContent.h"
#include "LineBreaking.h"
#include "PlotSvg.h"
#include "PrintableText.h"
#include "ResidualPlotPainter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <vector>

namespace protocol {

namespace {

// Page margins in millimetres: the wide left one leaves room for punching and filing.
constexpr double kMarginLeftMm = 25;
constexpr double kMarginRightMm = 12;
constexpr double kMarginTopMm = 12;
constexpr double kMarginBottomMm = 12;
// Drawing coordinates: dots per inch of the writer.
constexpr int kResolution = 600;

constexpr double kFooterMm = 7;        // room kept for the footer line at the foot of a page
constexpr double kPlotHeightMm = 115;  // the plot's height when the page has room for it
constexpr double kPlotMinHeightMm = 85;
constexpr double kTablePointSize = 7;
constexpr double kTableMinPointSize = 4.5;
constexpr double kCellPaddingMm = 1.2;
// A name wider than this share of the table is broken over several lines of its cell (at
// its blanks, else cut and marked as in a paragraph), so that it never pushes the numbers
// of its row off the page.
constexpr double kNameColumnShare = 0.3;

double mm(double millimetres) { return millimetres * kResolution / 25.4; }

QString qs(const std::string& text) { return QString::fromStdString(printableText(text)); }

QFont font(double pointSize, bool bold = false) {
  QFont result(QStringLiteral("DejaVu Sans"));
  result.setPointSizeF(pointSize);
  result.setBold(bold);
  return result;
}

const QColor kOffColour(0x77, 0x77, 0x77);
const QColor kOutlierColour(0xc0, 0x00, 0x00);
const QColor kRuleColour(0xaa, 0xaa, 0xaa);
const QColor kShadeColour(0xf0, 0xf0, 0xf0);

// The table of all pairs: its font (smaller when the widest texts would not fit) and the
// width of every column.
struct TableLayout {
  QFont font;
  QFont headerFont;
  std::vector<double> widths;
  double rowHeight = 0;
};

// The texts of `column` whose width decides the column's: all of a text column, the
// longest ones of a numeric column.
std::vector<const std::string*> widestTexts(const std::vector<PairRow>& rows, int column) {
  std::vector<const std::string*> texts;
  std::size_t longest = 0;
  for (const PairRow& row : rows) {
    const std::string& text = row.cells[column];
    if (pairColumnIsNumeric(column)) {
      if (text.size() < longest) continue;
      if (text.size() > longest) texts.clear();
      longest = text.size();
    }
    texts.push_back(&text);
  }
  return texts;
}

TableLayout tableLayout(const std::vector<PairRow>& rows, QPaintDevice* device, double width) {
  TableLayout layout;
  layout.widths.assign(kPairColumnCount, 0);
  for (double pointSize = kTablePointSize;; pointSize -= 0.25) {
    layout.font = font(pointSize);
    layout.headerFont = font(pointSize, true);
    const QFontMetricsF metrics(layout.font, device);
    const QFontMetricsF headerMetrics(layout.headerFont, device);
    for (int column = 0; column < kPairColumnCount; ++column)
      layout.widths[column] = headerMetrics.horizontalAdvance(qs(pairColumnHeading(column)));
    // Outlier rows are bold: measured in bold, every row fits its columns. Digits share one
    // width, so of a numeric column only its longest texts need measuring.
    for (int column = 0; column < kPairColumnCount; ++column)
      for (const std::string* text : widestTexts(rows, column))
        layout.widths[column] = std::max(layout.widths[column], headerMetrics.horizontalAdvance(qs(*text)));
    layout.widths[kColumnName] =
        std::min(layout.widths[kColumnName], kNameColumnShare * width - 2 * mm(kCellPaddingMm));
    double total = 0;
    for (double& columnWidth : layout.widths) {
      columnWidth += 2 * mm(kCellPaddingMm);
      total += columnWidth;
    }
    layout.rowHeight = metrics.height() * 1.3;
    if (total <= width || pointSize <= kTableMinPointSize) {
      // What is left over is shared out, so that the table fills the page's width.
      const double extra = std::max(0.0, width - total) / static_cast<double>(kPairColumnCount);
      for (double& columnWidth : layout.widths) columnWidth += extra;
      return layout;
    }
  }
}

// Places blocks one under another and starts a new page when a block does not fit.
// Without a painter it only measures.
class PageFlow {
public:
  PageFlow(QPdfWriter& writer, QPainter* painter, const ProtocolContent& content, int pageCount)
      : writer_(writer), painter_(painter), content_(content), pageCount_(pageCount) {
    const QRectF paint = writer.pageLayout().paintRectPixels(kResolution);
    left_ = 0;
    width_ = paint.width();
    top_ = 0;
    pageBottom_ = paint.height();
    bottom_ = pageBottom_ - mm(kFooterMm);
    y_ = top_;
  }

  int page() const { return page_; }
  double width() const { return width_; }
  double left() const { return left_; }
  double y() const { return y_; }
  double room() const { return bottom_ - y_; }
  QPaintDevice* device() const { return &writer_; }
  QPainter* painter() const { return painter_; }

  void skip(double height) { y_ += height; }

  // Makes room for `height`; starts a new page when the block does not fit below.
  void need(double height) {
    if (y_ + height > bottom_ && y_ > firstLine_) nextPage();
  }

  void nextPage() {
    drawFooter();
    if (painter_) writer_.newPage();
    ++page_;
    y_ = top_;
    drawRunningHead();
  }

  void finish() { drawFooter(); }

  // One line of `text` at x offset `x` within `width`; returns the line's height.
  double line(const QFont& lineFont, const QString& text, double x, double width,
              Qt::Alignment align = Qt::AlignLeft, const QColor& colour = Qt::black) {
    const QFontMetricsF metrics(lineFont, &writer_);
    const double height = metrics.height() * 1.25;
    if (painter_) {
      painter_->setFont(lineFont);
      painter_->setPen(colour);
      painter_->drawText(QRectF(left_ + x, y_, width, height), align | Qt::AlignVCenter, text);
    }
    return height;
  }

  // `words` joined by `separator`, broken into lines within `width` at x offset `x`
  // (breakLines: never inside a word), one line under the other; a line that does not fit
  // on the page starts the next one, as table rows do. `label` stands left of the first
  // line, at the left margin.
  void paragraph(const QFont& textFont, const std::vector<std::string>& words, std::string_view separator,
                 double x, double width, const QString& label = {}) {
    const QFontMetricsF metrics(textFont, &writer_);
    std::vector<std::string> printable;
    printable.reserve(words.size());
    for (const std::string& word : words) printable.push_back(printableText(word));
    const std::vector<std::string> lines = breakLines(printable, separator, width, [&](std::string_view text) {
      return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    });
    const double height = metrics.height() * 1.25;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      need(height);
      if (i == 0 && !label.isEmpty()) line(textFont, label, 0, x);
      skip(line(textFont, qs(lines[i]), x, width));
    }
  }

  void rule(double thicknessMm, const QColor& colour = Qt::black) {
    if (painter_) {
      QPen pen(colour);
      pen.setWidthF(mm(thicknessMm));
      painter_->setPen(pen);
      painter_->drawLine(QPointF(left_, y_), QPointF(left_ + width_, y_));
    }
  }

  void shade(double x, double width, double height, const QColor& colour) {
    if (painter_) painter_->fillRect(QRectF(left_ + x, y_, width, height), colour);
  }

  // After the first page's title block a page is never left empty by need().
  void markFirstLine() { firstLine_ = y_; }

private:
  void drawFooter() {
    if (!painter_) return;
    const double saved = y_;
    y_ = pageBottom_ - mm(kFooterMm) * 0.6;
    rule(0.2, kRuleColour);
    const QFont footerFont = font(7.5);
    const QString left = qs(content_.title + " · " + content_.program + " · " + content_.writtenAt);
    const QString right = QStringLiteral("Seite %1 von %2").arg(page_).arg(pageCount_);
    line(footerFont, left, 0, width_ * 0.75);
    line(footerFont, right, 0, width_, Qt::AlignRight);
    y_ = saved;
  }

  void drawRunningHead() {
    const QFont headFont = font(7.5);
    y_ += line(headFont, qs(content_.title + " · " + content_.files.front().value), 0, width_,
               Qt::AlignLeft, kOffColour);
    rule(0.2, kRuleColour);
    y_ += mm(2);
    firstLine_ = y_;
  }

  QPdfWriter& writer_;
  QPainter* painter_;
  const ProtocolContent& content_;
  int pageCount_;
  int page_ = 1;
  double left_ = 0, width_ = 0, top_ = 0, bottom_ = 0, pageBottom_ = 0, y_ = 0;
  double firstLine_ = 0;
};

void heading(PageFlow& flow, const std::string& text, double minimumBelow) {
  const QFont headingFont = font(10.5, true);
  const double height = QFontMetricsF(headingFont, flow.device()).height() * 1.25;
  flow.skip(mm(2.5));
  flow.need(height + minimumBelow);
  flow.skip(flow.line(headingFont, qs(text), 0, flow.width()));
}

void titleBlock(PageFlow& flow, const ProtocolContent& content) {
  flow.skip(flow.line(font(16, true), qs(content.title), 0, flow.width()));
  flow.skip(flow.line(font(9), qs(content.program + " · geschrieben am " + content.writtenAt), 0,
                      flow.width()));
  flow.skip(mm(1));
  flow.rule(0.4);
  flow.skip(mm(1));
  flow.markFirstLine();
}

void inputBlock(PageFlow& flow, const ProtocolContent& content) {
  const QFont body = font(9);
  const double labelWidth = mm(24);
  heading(flow, "Eingabedateien", mm(10));
  for (const LabelledValue& file : content.files)
    flow.paragraph(body, blankSeparatedWords(file.note.empty() ? file.value : file.value + "  (" + file.note + ")"),
                   " ", labelWidth, flow.width() - labelWidth, qs(file.label));
  flow.line(body, QStringLiteral("Paarung"), 0, labelWidth);
  flow.skip(flow.line(body, qs(content.pairing), labelWidth, flow.width() - labelWidth));

  heading(flow, "Modell", mm(10));
  for (const std::string& model : content.model)
    flow.skip(flow.line(body, qs(model), 0, flow.width()));
}

// Label / value / note rows in `columns` columns side by side.
void valueColumns(PageFlow& flow, const std::vector<LabelledValue>& values, int columns,
                  double labelWidth, double valueWidth) {
  const QFont body = font(9);
  const double columnWidth = flow.width() / columns;
  const std::size_t rows = (values.size() + columns - 1) / static_cast<std::size_t>(columns);
  for (std::size_t row = 0; row < rows; ++row) {
    double height = 0;
    for (int column = 0; column < columns; ++column) {
      const std::size_t at = static_cast<std::size_t>(column) * rows + row;
      if (at >= values.size()) continue;
      const double x = column * columnWidth;
      const LabelledValue& value = values[at];
      height = flow.line(body, qs(value.label), x, labelWidth);
      flow.line(body, qs(value.value), x + labelWidth, valueWidth, Qt::AlignRight);
      if (!value.note.empty())
        flow.line(body, qs(value.note), x + labelWidth + valueWidth + mm(1.5),
                  columnWidth - labelWidth - valueWidth - mm(1.5));
    }
    flow.skip(height);
  }
}

void estimateBlock(PageFlow& flow, const ProtocolContent& content) {
  const QFont body = font(9);
  heading(flow, "Parameter der aktiven Paßpunkte", mm(25));
  valueColumns(flow, content.parameters, 2, mm(20), mm(38));
  flow.skip(flow.line(body, qs(content.activeCount), 0, flow.width()));

  heading(flow, "Schwerpunkte der aktiven Paßpunkte", mm(12));
  const double systemWidth = mm(40);
  const double valueWidth = mm(38);
  const QFont bold = font(9, true);
  flow.line(bold, QStringLiteral("RW / rw"), systemWidth, valueWidth, Qt::AlignRight);
  flow.skip(flow.line(bold, QStringLiteral("HW / hw"), systemWidth + valueWidth, valueWidth,
                      Qt::AlignRight));
  for (const ProtocolContent::Centroid& centroid : content.centroids) {
    flow.line(body, qs(centroid.system), 0, systemWidth);
    flow.line(body, qs(centroid.rw), systemWidth, valueWidth, Qt::AlignRight);
    flow.skip(flow.line(body, qs(centroid.hw), systemWidth + valueWidth, valueWidth,
                        Qt::AlignRight));
  }
}

void testBlock(PageFlow& flow, const ProtocolSource& source, const ProtocolContent& content) {
  heading(flow, "Ausreißertest", mm(20));
  valueColumns(flow, content.test, 1, mm(62), mm(16));
  flow.paragraph(font(9, true), blankSeparatedWords(content.verdict), " ", 0, flow.width());
  // Every failed check point, each on a line of its own; many of them continue on the next page.
  for (const std::string& line : content.failedCheckPoints)
    flow.paragraph(font(9, true), blankSeparatedWords(line), " ", 0, flow.width());
  // The list breaks between its entries only: "7 (1007)" stays together.
  std::vector<std::string> entries;
  entries.reserve(content.switchedOff.size());
  for (const std::size_t pair : content.switchedOff) entries.push_back(pairLabel(source, pair));
  if (entries.empty()) entries.push_back(kNoneSwitchedOff);
  entries.front() = kSwitchedOffLead + entries.front();
  flow.paragraph(font(9), entries, kSwitchedOffSeparator, 0, flow.width());
}

void comparisonBlock(PageFlow& flow, const ProtocolContent& content) {
  if (content.comparison.empty()) return;
  heading(flow, "Modellvergleich", mm(20));
  valueColumns(flow, content.comparison, 1, mm(24), mm(24));
  for (const std::string& line : content.comparisonVerdicts)
    flow.paragraph(font(9), blankSeparatedWords(line), " ", 0, flow.width());
}

void plotBlock(PageFlow& flow, const ProtocolSource& source, char sep) {
  heading(flow, "Restklaffen im Zielsystem", mm(kPlotMinHeightMm));
  const double height = std::min(mm(kPlotHeightMm), flow.room() - mm(1));
  if (QPainter* painter = flow.painter()) {
    const QRectF frame(flow.left(), flow.y(), flow.width(), height);
    const analysis::ResidualPlotGeometry plot =
        protocolPlot(source, frame.width(), frame.height(), mm(kPlotTextHeightMm), sep);
    painter->save();
    painter->setPen(QPen(kRuleColour, plot.lineWidth));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(frame);
    // A check point's residual, exaggerated for the active points, may reach far beyond.
    painter->setClipRect(frame);
    painter->translate(frame.topLeft());
    painter->setFont(font(9));
    analysis::paintResidualPlot(*painter, plot, analysis::plotDrawing(plot));
    painter->restore();
  }
  flow.skip(height);
}

// The lines of a text cell `width` wide in `cellFont`: one, unless the text is wider.
std::vector<std::string> cellLines(const std::string& text, const QFont& cellFont, QPaintDevice* device,
                                   double width) {
  const QFontMetricsF metrics(cellFont, device);
  const auto measure = [&](std::string_view piece) {
    return metrics.horizontalAdvance(QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size())));
  };
  const std::string printable = printableText(text);
  if (measure(printable) <= width) return {printable};
  return breakLines(blankSeparatedWords(printable), " ", width, measure);
}

void tableHeader(PageFlow& flow, const TableLayout& layout) {
  double x = 0;
  double height = 0;
  for (int column = 0; column < kPairColumnCount; ++column) {
    const double width = layout.widths[column];
    const Qt::Alignment align = pairColumnIsNumeric(column) ? Qt::AlignRight : Qt::AlignLeft;
    height = flow.line(layout.headerFont, qs(pairColumnHeading(column)), x + mm(kCellPaddingMm),
                       width - 2 * mm(kCellPaddingMm), align);
    x += width;
  }
  flow.skip(std::max(height, layout.rowHeight));
  flow.rule(0.3);
  flow.skip(mm(0.4));
}

void pairTable(PageFlow& flow, const std::vector<PairRow>& rows) {
  const TableLayout layout = tableLayout(rows, flow.device(), flow.width());
  heading(flow, "Paßpunkte und Verbesserungen", 3 * layout.rowHeight);
  tableHeader(flow, layout);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const PairRow& row = rows[i];
    QFont rowFont = layout.font;
    rowFont.setBold(row.outlier);
    const std::vector<std::string> nameLines = cellLines(
        row.cells[kColumnName], layout.headerFont, flow.device(), layout.widths[kColumnName] - 2 * mm(kCellPaddingMm));
    const double height = layout.rowHeight * static_cast<double>(nameLines.size());
    if (flow.room() < height) {
      flow.nextPage();
      tableHeader(flow, layout);
    }
    if (i % 2 == 1) flow.shade(0, flow.width(), height, kShadeColour);
    const QColor colour = row.outlier ? kOutlierColour : row.active ? Qt::black : kOffColour;
    double x = 0;
    double nameX = 0;
    for (int column = 0; column < kPairColumnCount; ++column) {
      const double width = layout.widths[column];
      const Qt::Alignment align = pairColumnIsNumeric(column) ? Qt::AlignRight : Qt::AlignLeft;
      if (column == kColumnName) nameX = x;
      flow.line(rowFont, qs(column == kColumnName ? nameLines.front() : row.cells[column]),
                x + mm(kCellPaddingMm), width - 2 * mm(kCellPaddingMm), align, colour);
      x += width;
    }
    for (std::size_t line = 1; line < nameLines.size(); ++line) {
      flow.skip(layout.rowHeight);
      flow.line(rowFont, qs(nameLines[line]), nameX + mm(kCellPaddingMm),
                layout.widths[kColumnName] - 2 * mm(kCellPaddingMm), Qt::AlignLeft, colour);
    }
    flow.skip(layout.rowHeight);
  }
}

// The Restklaffenverteilung: method, figures, and the check points in five columns.
void distributionBlock(PageFlow& flow, const DistributionContent& content) {
  const QFont body = font(9);
  heading(flow, kDistributionHeading, mm(30));
  flow.skip(flow.line(body, qs("Verfahren: " + content.method), 0, flow.width()));
  valueColumns(flow, content.figures, 1, mm(45), mm(22));
  flow.paragraph(body, blankSeparatedWords(content.checkPointLead), " ", 0, flow.width());
  if (content.checkPoints.empty()) return;
  const double widths[] = {mm(14), mm(40), mm(26), mm(26), mm(40)};
  const QFont bold = font(9, true);
  const auto row = [&](const QFont& rowFont, const auto& cells) {
    double x = 0, height = 0;
    for (std::size_t column = 0; column < 5; ++column) {
      const bool text = column == 1 || column == 4;
      height = flow.line(rowFont, qs(cells[column]), x + (text ? mm(2) : 0), widths[column] - (text ? mm(2) : 0),
                         text ? Qt::AlignLeft : Qt::AlignRight);
      x += widths[column];
    }
    flow.skip(height);
  };
  row(bold, std::array<std::string, 5>{kCheckPointHeadings[0], kCheckPointHeadings[1], kCheckPointHeadings[2],
                                       kCheckPointHeadings[3], kCheckPointHeadings[4]});
  for (const auto& cells : content.checkPoints) {
    flow.need(mm(5));
    row(body, cells);
  }
}

// Runs the whole page flow; returns the number of pages used.
int layOut(QPdfWriter& writer, QPainter* painter, const ProtocolSource& source,
           const ProtocolContent& content, const std::vector<PairRow>& rows, char sep, int pageCount) {
  PageFlow flow(writer, painter, content, pageCount);
  titleBlock(flow, content);
  inputBlock(flow, content);
  estimateBlock(flow, content);
  testBlock(flow, source, content);
  comparisonBlock(flow, content);
  plotBlock(flow, source, sep);
  pairTable(flow, rows);
  if (source.distribution) distributionBlock(flow, gatherDistribution(*source.distribution, sep));
  flow.finish();
  return flow.page();
}

}  // namespace

QByteArray pdfProtocol(const ProtocolSource& source, char sep) {
  const ProtocolContent content = gatherProtocol(source, sep);
  // A PDF is read on paper: its tables are far smaller than the HTML's can be, and the
  // layout measures the rows before it draws them.
  std::vector<PairRow> rows;
  rows.reserve(pairCount(source));
  for (std::size_t i = 0; i < pairCount(source); ++i) rows.push_back(pairRow(source, i, sep));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(kResolution);
  writer.setTitle(qs(content.title));
  writer.setCreator(qs(content.program));
  writer.setPageLayout(QPageLayout(
      QPageSize(QPageSize::A4), QPageLayout::Portrait,
      QMarginsF(kMarginLeftMm, kMarginTopMm, kMarginRightMm, kMarginBottomMm),
      QPageLayout::Millimeter));

  const int pageCount = layOut(writer, nullptr, source, content, rows, sep, 0);
  QPainter painter(&writer);
  painter.setRenderHint(QPainter::Antialiasing);
  layOut(writer, &painter, source, content, rows, sep, pageCount);
  painter.end();
  buffer.close();
  return bytes;
}

}  // namespace protocol
