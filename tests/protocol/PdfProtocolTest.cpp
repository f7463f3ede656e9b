// The PDF protocol read back with poppler's pdftotext, pdfinfo and pdffonts: 200 pairs run
// over several pages with the table header on each, "Seite i von N" matches the page count,
// the parameter texts and every point row are there, and every font is embedded; a long
// list of switched-off pairs continues on the next page and breaks between its entries
// only; the plot's label room covers the printed names; and the Restklaffenverteilung
// follows the pairs with every check point.
#include "CliRunner.h"
#include "CorrectionSummary.h"
#include "ParameterRun.h"
#include "PdfProtocol.h"
#include "ProtocolFile.h"
#include "ResidualPlot.h"
#include "TestFiles.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <regex>
#include <string>

namespace {

const std::string kPdftotext = TRAMIS_PDFTOTEXT_PATH;
const std::string kPdfinfo = TRAMIS_PDFINFO_PATH;
const std::string kPdffonts = TRAMIS_PDFFONTS_PATH;

// `count` named pairs on a jittered grid, the new system turned, scaled and shifted with
// millimetre noise; the first `switchedOff` pairs are switched off, and pair 7 carries
// `longName` when it is given.
struct ListData {
  PointList oldPoints, newPoints;
  std::vector<bool> active;
  ListData(int count, int switchedOff, const std::string& longName) : active(count, true) {
    for (int i = 0; i < count; ++i) {
      const double rw = 4500000 + 97.5 * (i % 25) + 13 * std::sin(i);
      const double hw = 5600000 + 103.25 * (i / 25) + 11 * std::cos(3 * i);
      oldPoints.names.push_back(i == 6 && !longName.empty() ? longName : "N" + std::to_string(5001 + i));
      oldPoints.rw.push_back(rw);
      oldPoints.hw.push_back(hw);
      newPoints.rw.push_back(310.5 + 1.0000235 * rw + 0.00021 * hw + 0.003 * std::sin(7 * i));
      newPoints.hw.push_back(-122.25 + 1.0000235 * hw - 0.00021 * rw + 0.003 * std::cos(5 * i));
      active[i] = i >= switchedOff;
    }
  }
};

// 200 such pairs with a blunder of 6 cm at pair 50 and pair 120 switched off.
struct Data : ListData {
  Data() : ListData(200, 0, "") {
    newPoints.rw[49] += 0.06;
    active[119] = false;
  }
};

// The analysis of some pairs and their PDF protocol, written to `path`.
struct WrittenPdf {
  kel::TKEL_Vovezorevarovaduvorir solver;
  analysis::ControlPointAnalysis result;
  bool ok = false;  // analysed and written
  WrittenPdf(const PointList& oldPoints, const PointList& newPoints, const std::vector<bool>& active,
             std::size_t skippedOld, const std::string& path,
             const distribution::CorrectionSummary* distribution = nullptr) {
    result = analysis::analyseControlPoints(oldPoints, newPoints, active, analysis::kDefaultAlpha, solver);
    if (result.outcome != analysis::AnalysisOutcome::Success) return;
    protocol::ProtocolSource source;
    source.program = "Tramis";
    source.oldFile = {"/messung/alt.asc", oldPoints.count(), skippedOld, {}};
    source.newFile = {"/messung/neu.asc", newPoints.count(), 0, {}};
    source.oldPairs = &oldPoints;
    source.newPairs = &newPoints;
    source.analysis = &result;
    source.solver = &solver;
    source.distribution = distribution;
    const QByteArray pdf = protocol::pdfProtocol(source, ',');
    ok = protocol::saveProtocol(path, std::string_view(pdf.constData(), pdf.size())).ok;
  }
};

std::string run(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& folder) {
  const clitest::ProcessResult result = clitest::runProcess(program, arguments, folder);
  if (result.exitCode != 0) QTest::qFail(("failed: " + program + "\n" + result.err).c_str(), __FILE__, __LINE__);
  return result.out;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

}  // namespace

class PdfProtocolTest : public QObject {
  Q_OBJECT
private slots:
  void twoHundredPairsOverSeveralPages();
  void switchedOffListBreaksBetweenEntries_data();
  void switchedOffListBreaksBetweenEntries();
  void labelRoomCoversTheFontsWidth_data();
  void labelRoomCoversTheFontsWidth();
  void distributionSectionAfterThePairs();
};

void PdfProtocolTest::twoHundredPairsOverSeveralPages() {
  QVERIFY2(!kPdftotext.empty() && !kPdfinfo.empty(), "poppler-utils are missing (scripts/install-deps.sh)");
  const Data data;
  testsupport::TempDir dir;
  const WrittenPdf written(data.oldPoints, data.newPoints, data.active, 1, dir.file("p.pdf"));
  QVERIFY(written.ok);
  const analysis::ControlPointAnalysis& result = written.result;
  const kel::TKEL_Vovezorevarovaduvorir& solver = written.solver;

  std::smatch pages;
  const std::string info = run(kPdfinfo, {"p.pdf"}, dir.path());
  QVERIFY(std::regex_search(info, pages, std::regex("Pages:\\s+(\\d+)")));
  const int n = std::stoi(pages[1]);
  QVERIFY2(n >= 4, info.c_str());
  QVERIFY(info.find("A4") != std::string::npos);

  const std::string text = run(kPdftotext, {"-layout", "p.pdf", "-"}, dir.path());
  for (int page = 1; page <= n; ++page) {
    const std::string footer = "Seite " + std::to_string(page) + " von " + std::to_string(n);
    QVERIFY2(count(text, footer) == 1, footer.c_str());
  }
  QCOMPARE(count(text, "\f"), static_cast<std::size_t>(n));
  // The table starts on page 2 at the latest and repeats its header on every later page.
  QVERIFY(count(text, "Pkt.") >= static_cast<std::size_t>(n - 1));

  const compute::ParameterTexts parameters = compute::parameterTexts(solver, result.run, ',');
  for (const std::string& shown : {parameters.X, parameters.Y, parameters.a, parameters.o, parameters.m,
                                   parameters.d, parameters.So, std::string("n = 199 von 200 aktiv, Redundanz 394"),
                                   std::string("(200 Punkte, 1 fehlerhafte Zeile übersprungen)"),
                                   std::string("Abgeschaltete Paßpunkte: 120 (N5120)")})
    QVERIFY2(count(text, shown) >= 1, shown.c_str());
  QVERIFY(std::regex_search(text, std::regex("Punkt 50 \\(N5050\\) ist ausreißerverdächtig: T = [0-9,]+ > k = [0-9,]+")));

  // Every pair's row: Pkt., name, the old coordinates and the residuals, in one line.
  // (Guards against bold outlier rows overflowing their columns into the next.)
  for (std::size_t i = 0; i < 200; ++i) {
    const analysis::PairStatistics& pair = result.pairs[i];
    const std::string row = std::to_string(i + 1) + "\\s+" + data.oldPoints.names[i] + "\\s+" +
                            compute::coordinateText(data.oldPoints.rw[i], ',') + "\\s+" +
                            compute::coordinateText(data.oldPoints.hw[i], ',') + "\\s+\\S+\\s+\\S+\\s+" +
                            compute::residualText(pair.vRW(), ',') + "\\s+" + compute::residualText(pair.vHW(), ',') +
                            ".*" + (pair.active ? "aktiv" : "aus");
    QVERIFY2(std::regex_search(text, std::regex(row)), row.c_str());
  }

  // Fonts: every one embedded (column "emb" of pdffonts).
  const std::vector<std::string> fonts = clitest::lines(run(kPdffonts, {"p.pdf"}, dir.path()));
  QVERIFY(fonts.size() > 2);
  for (std::size_t i = 2; i < fonts.size(); ++i) {
    const std::vector<std::string> columns = clitest::words(fonts[i]);
    QVERIFY2(columns.size() >= 7 && columns[columns.size() - 5] == "yes", fonts[i].c_str());
  }
}

// The section "Restklaffenverteilung" follows the table of pairs: method, settings, the
// largest correction with its point, and every check point's row, also across a page break.
void PdfProtocolTest::distributionSectionAfterThePairs() {
  QVERIFY2(!kPdftotext.empty(), "poppler-utils are missing (scripts/install-deps.sh)");
  const ListData data(250, 60, {});
  distribution::CorrectionSummary summary;
  summary.settings = {distribution::Method::DistanceWeightingP2, 350.0, {}};
  summary.controlPoints = 190;
  summary.points = 250;
  summary.corrected = 248;
  summary.largest = 0.01234;
  summary.largestName = "N5007";
  summary.mean = 0.0042;
  for (std::size_t i = 0; i < 60; ++i)
    summary.checkPoints.push_back({i, data.oldPoints.names[i], 0.0001 * static_cast<double>(i) - 0.003,
                                   0.002 - 0.00005 * static_cast<double>(i), i != 17});
  testsupport::TempDir dir;
  const WrittenPdf written(data.oldPoints, data.newPoints, data.active, 0, dir.file("p.pdf"), &summary);
  QVERIFY(written.ok);
  const std::string text = run(kPdftotext, {"-layout", "p.pdf", "-"}, dir.path());
  // pdftotext may give "ﬀ" for the "ff" of the heading.
  const std::size_t section = text.rfind("Restkla");
  QVERIFY(section != std::string::npos && section > text.find("Paßpunkte und Verbesserungen"));
  const std::string tail = text.substr(section);
  for (const char* shown : {"Verfahren: Gewichtung 1/s²", "Radius", "350,0000", "190", "aktive Paßpunkte verwendet",
                            "(davon 248 verbessert, 2 ohne Verbesserung)", "0,0123", "m (N5007)", "0,0042"})
    QVERIFY2(count(tail, shown) >= 1, shown);
  for (const distribution::CheckPointDeviation& check : summary.checkPoints) {
    const std::string row = std::to_string(check.pair + 1) + "\\s+" + check.name + "\\s+" +
                            compute::residualText(check.dRW, ',') + "\\s+" + compute::residualText(check.dHW, ',') +
                            (check.corrected ? "" : "\\s+ohne Verbesserung");
    QVERIFY2(std::regex_search(tail, std::regex(row)), row.c_str());
  }
}

void PdfProtocolTest::switchedOffListBreaksBetweenEntries_data() {
  QTest::addColumn<int>("pairs");
  QTest::addColumn<int>("switchedOff");
  QTest::addColumn<QString>("longName");
  QTest::newRow("200 of 250 switched off") << 250 << 200 << QString();
  QTest::newRow("600 of 650 switched off") << 650 << 600 << QString();
  // Wider than the line on its own: cut where the line ends, the cut marked with "↵".
  QTest::newRow("a name wider than the line") << 60 << 20 << QStringLiteral("Grenzstein").repeated(25);
}

// Guards against "Abgeschaltete Paßpunkte:" running over the footer and off page 1, with
// entries lost and numbers broken apart.
void PdfProtocolTest::switchedOffListBreaksBetweenEntries() {
  QFETCH(int, pairs);
  QFETCH(int, switchedOff);
  QFETCH(QString, longName);
  QVERIFY2(!kPdftotext.empty(), "poppler-utils are missing (scripts/install-deps.sh)");
  const ListData data(pairs, switchedOff, longName.toStdString());
  testsupport::TempDir dir;
  const WrittenPdf written(data.oldPoints, data.newPoints, data.active, 0, dir.file("p.pdf"));
  QVERIFY(written.ok);
  const analysis::ControlPointAnalysis& result = written.result;

  // The list's lines, without the running heads and footers of the pages it crosses.
  const std::string text = run(kPdftotext, {"-layout", "p.pdf", "-"}, dir.path());
  std::vector<std::string> list;
  bool inList = false;
  for (std::string line : clitest::lines(text)) {
    line.erase(0, line.find_first_not_of(" \f"));
    line.erase(line.find_last_not_of(' ') + 1);
    if (line.starts_with("Abgeschaltete Paßpunkte: ")) inList = true;
    if (line.starts_with("Restkla")) break;  // the next heading (pdftotext may give "ﬀ")
    if (inList && !line.empty() && !line.starts_with("Transformationsprotokoll")) list.push_back(line);
  }
  QVERIFY2(list.size() >= 2, "the list takes several lines");

  // Every line but the last ends after an entry's comma or at a cut marked "↵"; joined,
  // the lines give every entry whole and in order.
  const std::string mark = "↵";
  std::string joined;
  int cuts = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const bool last = i + 1 == list.size();
    const bool cut = list[i].ends_with(mark);
    cuts += cut;
    QVERIFY2(last || cut || list[i].ends_with(","), list[i].c_str());
    joined += cut ? list[i].substr(0, list[i].size() - mark.size()) : list[i] + (last ? "" : " ");
  }
  std::string expected = "Abgeschaltete Paßpunkte: ";
  for (int i = 0; i < switchedOff; ++i)
    expected += (i == 0 ? "" : ", ") + std::to_string(i + 1) + " (" + data.oldPoints.names[i] + ")";
  QCOMPARE(joined, expected);
  QCOMPARE(cuts > 0, !longName.isEmpty());
  // In the table the long name takes several lines of its cell and leaves the row's
  // numbers beside its first line. (Guards against a name pushing them off the page.)
  if (!longName.isEmpty()) {
    const std::string row = "\\b7\\s+(Grenzstein)+\\S*↵\\s+" + compute::coordinateText(data.oldPoints.rw[6], ',') +
                            "\\s+" + compute::coordinateText(data.oldPoints.hw[6], ',') + "\\s+\\S+\\s+\\S+\\s+" +
                            compute::residualText(result.pairs[6].vRW(), ',') + "\\s";
    QVERIFY2(std::regex_search(text, std::regex(row)), row.c_str());
  }
  // 600 entries do not fit below the test on page 1: the list goes on on page 2.
  if (switchedOff == 600) QVERIFY(text.find("Seite 1 von") < text.find(list.back()));
}

// Labels are kept apart by the plot's width estimate; a name wider on paper than its
// estimate would run into its neighbour's. Checked against the font the PDF prints in.
void PdfProtocolTest::labelRoomCoversTheFontsWidth_data() {
  QTest::addColumn<QString>("label");
  QTest::newRow("point number") << QStringLiteral("1007");
  QTest::newRow("letter and digits") << QStringLiteral("P1335");
  QTest::newRow("wide capitals") << QStringLiteral("MW-WM 88");
  QTest::newRow("umlauts and space") << QStringLiteral("Kirchturm Süd");
  QTest::newRow("capitals") << QStringLiteral("GRENZSTEIN ÖBB");
  QTest::newRow("slash and dot") << QStringLiteral("4711/3.2");
  QTest::newRow("pair of names") << QStringLiteral("1007 / 2007");
  QTest::newRow("narrow characters") << QStringLiteral("fijlrtI.,;:!|'()[]-/ ");
  QTest::newRow("wide signs") << QStringLiteral("+=<>~^@#%&");
}

void PdfProtocolTest::labelRoomCoversTheFontsWidth() {
  QFETCH(QString, label);
  constexpr double kTextHeight = 100;
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(static_cast<int>(kTextHeight));
  const double printed = QFontMetricsF(font).horizontalAdvance(label);
  const double estimated = analysis::estimatedTextWidth(label.toStdString(), kTextHeight);
  QVERIFY2(estimated >= printed, qPrintable(QStringLiteral("%1 < %2").arg(estimated).arg(printed)));
  QVERIFY2(estimated <= 1.6 * printed, "so generous that labels are left out needlessly");
}

QTEST_MAIN(PdfProtocolTest)
#include "PdfProtocolTest.moc"
