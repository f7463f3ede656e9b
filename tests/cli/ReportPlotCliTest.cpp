// Tests of the residual plot in tramis-cli's HTML protocol, run as a process and read back
// with independent readers (coreutils' base64, libxml2's xmllint): residuals at round-off
// level drawn as none, and no coordinate of the plot beyond its frame.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"

#include <charconv>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace clitest;

const std::string kXmllint = TRAMIS_XMLLINT_PATH;
const std::string kBase64 = TRAMIS_BASE64_PATH;

// The first three sample pairs: Gauß-Krüger coordinates with millimetre noise; two of them
// alone fit exactly.
class ReportPlotCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(kXmllint.empty() || kBase64.empty()) << "xmllint or base64 is missing (scripts/install-deps.sh)";
    testsupport::writeFile(dir.file("alt.asc"), "1001 4510584.583 5431729.308\n1002 4512547.351 5432585.269\n"
                                                "1003 4511176.015 5430120.792\n");
    testsupport::writeFile(dir.file("neu.asc"), "1001 4510682,265 5431546,523\n1002 4512645,388 5432401,775\n"
                                                "1003 4511273,119 5429937,760\n");
    // Paired by position with the first two of neu.asc.
    testsupport::writeFile(dir.file("alt2.asc"), "1001 4510584.583 5431729.308\n1002 4512547.351 5432585.269\n");
  }
  ProcessResult run(const std::vector<std::string>& arguments) { return runProcess(TRAMIS_CLI_PATH, arguments, dir.path()); }

  // The plot of an HTML protocol: the SVG of its data address, decoded.
  std::string plotOf(const std::string& htmlFile) {
    const std::string html = testsupport::readFile(dir.file(htmlFile));
    std::smatch svg;
    if (!std::regex_search(html, svg, std::regex("src=\"data:image/svg\\+xml;base64,([^\"]+)\""))) return {};
    testsupport::writeFile(dir.file("plot.b64"), svg[1].str());
    return runProcess(kBase64, {"-d", "plot.b64"}, dir.path()).out;
  }
  testsupport::TempDir dir;
};

double numberOf(const std::string& text) {
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Guards against the plot of a check point beside two exactly fitting pairs: round-off
// magnified 10^15 times, a scale-bar text beyond the frame and an arrow ending at
// x = -1.7e12. The SVG is well-formed and every coordinate lies within its view box.
TEST_F(ReportPlotCliTest, PlotStaysWithinItsFrameAndRoundOffIsNoResidual) {
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    bool arrows;
  } cases[] = {
      {"check point beside two exact pairs", {"--exclude", "1", "--report", "r.html", "alt.asc", "neu.asc"}, true},
      {"two exact pairs", {"--report", "r.html", "alt2.asc", "neu.asc"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProcessResult result = run(c.arguments);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string svg = plotOf("r.html");
    ASSERT_FALSE(svg.empty());
    testsupport::writeFile(dir.file("plot.svg"), svg);
    const ProcessResult lint = runProcess(kXmllint, {"--noout", "plot.svg"}, dir.path());
    EXPECT_EQ(lint.exitCode, 0);
    EXPECT_EQ(lint.err, "");

    std::smatch box;
    ASSERT_TRUE(std::regex_search(svg, box, std::regex("viewBox=\"0 0 ([0-9.]+) ([0-9.]+)\"")));
    const double width = numberOf(box[1]), height = numberOf(box[2]);
    const std::regex coordinate("\\s(x1|x2|cx|x|y1|y2|cy|y)=\"([^\"]*)\"");
    int checked = 0;
    for (std::sregex_iterator it(svg.begin(), svg.end(), coordinate), end; it != end; ++it, ++checked) {
      const std::string axis = (*it)[1];
      const double value = numberOf((*it)[2]);
      EXPECT_GE(value, 0) << it->str();
      EXPECT_LE(value, axis[0] == 'x' || axis == "cx" ? width : height) << it->str();
    }
    EXPECT_GT(checked, 20);
    if (c.arrows) {
      EXPECT_TRUE(std::regex_search(svg, std::regex("Verbesserungen [0-9]+-fach vergrößert"))) << svg;
      EXPECT_FALSE(std::regex_search(svg, std::regex("[0-9]{7,}-fach"))) << svg;
    } else {
      EXPECT_TRUE(svg.find("Verbesserungen: keine (Rundungsniveau)") != std::string::npos) << svg;
      EXPECT_TRUE(svg.find("-fach") == std::string::npos);
    }
  }
}

}  // namespace
