// Point names with any bytes in the HTML protocol and its SVG plot, read back with
// xmllint: the page parses as HTML and as XML and the decoded plot as XML for every
// control character, the non-characters XML forbids and bytes that are not UTF-8, and the
// name reads the same, as a visible escape, in the table and in the plot.
#include "CliRunner.h"
#include "HtmlProtocol.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

using clitest::ProcessResult;
using clitest::runProcess;

const std::string kXmllint = TRAMIS_XMLLINT_PATH;
const std::string kBase64 = TRAMIS_BASE64_PATH;

// A name and what the protocol shows for it.
struct NameCase {
  std::string bytes;
  std::string shown;
};

// For the failure messages: what the name shows.
void PrintTo(const NameCase& name, std::ostream* out) { *out << name.shown; }

std::string hex(unsigned code) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02x", code);
  return text;
}

std::vector<NameCase> nameCases() {
  std::vector<NameCase> cases;
  for (unsigned code = 0; code < 0x20; ++code) cases.push_back({"A" + std::string(1, static_cast<char>(code)) + "B", "A" + hex(code) + "B"});
  cases.push_back({"A\x7F" "B", "A\\x7fB"});
  cases.push_back({"A\xEF\xBF\xBE" "B", "A\\ufffeB"});           // U+FFFE
  cases.push_back({"A\xEF\xBF\xBF" "B", "A\\uffffB"});           // U+FFFF
  cases.push_back({"A\xC2\x85" "B", "A\\x85B"});                 // U+0085 as UTF-8
  cases.push_back({"M\xFC" "ller", "M\xC3\xBCller"});           // Windows-1252 ü
  cases.push_back({"A\x81" "B", "A\\x81B"});                    // undefined in Windows-1252
  cases.push_back({"A\x9B" "B\xC3", "A\xE2\x80\xBA" "B\xC3\x83"});  // not UTF-8: all of it 1252
  cases.push_back({"A<&>B", "A<&>B"});
  return cases;
}

// Five pairs of a small net, the first named `name`; the new system shifted with a few
// millimetres of noise.
class HtmlMarkupTest : public ::testing::TestWithParam<NameCase> {
protected:
  void SetUp() override {
    ASSERT_FALSE(kXmllint.empty()) << "xmllint is missing (scripts/install-deps.sh installs it)";
    const double rw[] = {0, 400, 380, 20, 210}, hw[] = {0, 30, 420, 390, 200};
    const double noise[] = {0.004, -0.003, 0.002, -0.005, 0.001};
    for (int i = 0; i < 5; ++i) {
      oldPoints.names.push_back(i == 0 ? GetParam().bytes : "P" + std::to_string(i + 1));
      oldPoints.rw.push_back(rw[i]);
      oldPoints.hw.push_back(hw[i]);
      newPoints.rw.push_back(1000 + rw[i] + noise[i]);
      newPoints.hw.push_back(2000 + hw[i] - noise[4 - i]);
    }
    analysis = analysis::analyseControlPoints(oldPoints, newPoints, std::vector<bool>(5, true),
                                              analysis::kDefaultAlpha, solver);
    ASSERT_EQ(analysis.outcome, analysis::AnalysisOutcome::Success);
    source.program = "Tramis";
    source.oldFile = {"/messung/" + GetParam().bytes + ".asc", 5, 0, {}};
    source.newFile = {"/messung/neu.asc", 5, 0, {}};
    source.oldPairs = &oldPoints;
    source.newPairs = &newPoints;
    source.analysis = &analysis;
    source.solver = &solver;
  }
  ProcessResult xmllint(const std::vector<std::string>& arguments) { return runProcess(kXmllint, arguments, dir.path()); }

  PointList oldPoints, newPoints;
  kel::TKEL_Vovezorevarovaduvorir solver;
  analysis::ControlPointAnalysis analysis;
  protocol::ProtocolSource source;
  testsupport::TempDir dir;
};

// Guards against a control character in a name making the plot invalid XML (browsers then
// show no plot) and the page invalid HTML.
TEST_P(HtmlMarkupTest, PageAndPlotParseAndShowTheNameVisibly) {
  const std::string html = protocol::htmlProtocol(source, ',');
  testsupport::writeFile(dir.file("p.html"), html);
  for (const char* mode : {"--html", "--nonet"}) {
    const ProcessResult parsed = xmllint({mode, "--noout", "p.html"});
    EXPECT_EQ(parsed.exitCode, 0) << mode;
    EXPECT_EQ(parsed.err, "") << mode;
  }
  ASSERT_TRUE(clitest::writeEmbeddedPlot(html, kBase64, dir.path()));
  const ProcessResult plot = xmllint({"--noout", "plot.svg"});
  EXPECT_EQ(plot.exitCode, 0);
  EXPECT_EQ(plot.err, "");

  const std::string& shown = GetParam().shown;
  const ProcessResult cell = xmllint({"--html", "--xpath", "string(//table[@id='pairs']/tbody/tr[1]/td[2])", "p.html"});
  EXPECT_EQ(cell.out, shown + "\n");
  const ProcessResult label = xmllint({"--xpath", "count(//*[local-name()='text'][.='" + shown + "'])", "plot.svg"});
  EXPECT_EQ(label.out, "1\n") << "the plot's label of pair 1";
  const ProcessResult path = xmllint({"--html", "--xpath", "string(//table[@class='values'][1]//tr[1]/td[2])", "p.html"});
  EXPECT_EQ(path.out, "/messung/" + shown + ".asc\n");
}

INSTANTIATE_TEST_SUITE_P(EveryForbiddenCharacter, HtmlMarkupTest, ::testing::ValuesIn(nameCases()),
                         [](const ::testing::TestParamInfo<NameCase>& info) { return "Name" + std::to_string(info.index); });

}  // namespace
