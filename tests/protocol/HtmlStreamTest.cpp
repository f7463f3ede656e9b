// The HTML protocol as a stream: a protocol of many pairs reaches its sink in pieces of
// bounded size, complete and in order, and a sink that fails stops the writing at once.
#include "HtmlProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kPairs = 20000;  // about 7 MB of HTML
constexpr std::size_t kMiB = std::size_t{1} << 20;

struct RecordingSink : protocol::TextSink {
  std::vector<std::string> pieces;
  std::size_t failAt = 0;  // the write (from 1) that fails; 0: none
  bool write(std::string_view text) override {
    pieces.emplace_back(text);
    return pieces.size() != failAt;
  }
};

class HtmlStreamTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (std::size_t i = 0; i < kPairs; ++i) {
      const double rw = 3500000 + 10.0 * static_cast<double>(i % 150), hw = 5800000 + 10.0 * static_cast<double>(i / 150);
      oldPoints.names.push_back("P" + std::to_string(i + 1));
      oldPoints.rw.push_back(rw);
      oldPoints.hw.push_back(hw);
      newPoints.rw.push_back(rw + 250 + 0.003 * std::sin(static_cast<double>(i)));
      newPoints.hw.push_back(hw - 120 + 0.003 * std::cos(3.0 * static_cast<double>(i)));
    }
    std::vector<bool> active(kPairs, true);
    active[17] = false;
    analysis = analysis::analyseControlPoints(oldPoints, newPoints, active, analysis::kDefaultAlpha, solver);
    ASSERT_EQ(analysis.outcome, analysis::AnalysisOutcome::Success);
    source.program = "tramis-cli";
    source.oldFile = {"/messung/alt.asc", kPairs, 0, {}};
    source.newFile = {"/messung/neu.asc", kPairs, 0, {}};
    source.oldPairs = &oldPoints;
    source.newPairs = &newPoints;
    source.analysis = &analysis;
    source.solver = &solver;
  }
  PointList oldPoints, newPoints;
  kel::TKEL_Vovezorevarovaduvorir solver;
  analysis::ControlPointAnalysis analysis;
  protocol::ProtocolSource source;
};

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

// Guards against the whole document (355 MB for a million pairs) being built in memory
// before anything is written.
TEST_F(HtmlStreamTest, ManyPairsArriveInBoundedPieces) {
  RecordingSink sink;
  ASSERT_TRUE(protocol::writeHtmlProtocol(source, ',', sink));
  ASSERT_GE(sink.pieces.size(), 5u);
  std::string document;
  for (const std::string& piece : sink.pieces) {
    // A MiB and at most one row more; the plot (thinned, so bounded too) comes in one piece.
    if (piece.find("data:image/svg+xml") == std::string::npos) {
      EXPECT_LE(piece.size(), kMiB + 4096);
    }
    document += piece;
  }
  EXPECT_TRUE(document.starts_with("<!DOCTYPE html>\n"));
  EXPECT_TRUE(document.ends_with("</tbody>\n</table>\n</body>\n</html>\n"));
  EXPECT_EQ(count(document, "<tr class=\"off\"><td class=\"num\">18</td>\n<td>P18</td>"), 1u);
  EXPECT_EQ(count(document, "<tr><td class=\"num\">"), kPairs - 1);
  EXPECT_EQ(count(document, "<td>P20000</td>"), 1u);
}

TEST_F(HtmlStreamTest, FailingSinkStopsTheWriting) {
  RecordingSink sink;
  sink.failAt = 2;
  EXPECT_FALSE(protocol::writeHtmlProtocol(source, ',', sink));
  EXPECT_EQ(sink.pieces.size(), 2u);
}

}  // namespace
