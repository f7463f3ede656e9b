// Tests of tramis-cli --report, run as a process and read back with independent readers:
// xmllint parses the HTML (as HTML and as XML), and the numbers of the table and the
// parameters equal the --json values of the same run; and the protocol's time stamp. (The
// plot's SVG is parsed in ReportPlotCliTest and, for names of every kind, HtmlMarkupTest.)
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"
#include "WrittenAt.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace clitest;
using testsupport::decimalNumber;  // "–" gives NaN

const std::string kXmllint = TRAMIS_XMLLINT_PATH;

// Nine named pairs: the new system is the old one shifted, turned and scaled, with a few
// millimetres of noise and a blunder of 4 cm at pair 7.
class ReportCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(kXmllint.empty()) << "xmllint is missing (scripts/install-deps.sh installs it)";
    const double rw[] = {0, 812, 1490, 260, 975, 1633, 402, 1188, 1721};
    const double hw[] = {0, 95, 310, 870, 1022, 1105, 1580, 1644, 1702};
    const double noise[] = {0.003, -0.004, 0.002, -0.001, 0.005, -0.003, 0.0, 0.004, -0.002};
    std::string oldText, newText;
    for (int i = 0; i < 9; ++i) {
      const double a = 1.00002, o = 0.0004;
      const double RW = 5000 + a * rw[i] + o * hw[i] + noise[i] + (i == 6 ? 0.04 : 0);
      const double HW = 7000 + a * hw[i] - o * rw[i] - noise[8 - i];
      const std::string name = "P" + std::to_string(101 + i);
      oldText += name + " " + std::to_string(rw[i]) + " " + std::to_string(hw[i]) + "\n";
      newText += name + " " + std::to_string(RW) + " " + std::to_string(HW) + "\n";
    }
    testsupport::writeFile(dir.file("alt.txt"), oldText);
    testsupport::writeFile(dir.file("neu.txt"), newText);
  }
  ProcessResult cli(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {"alt.txt", "neu.txt"});
    return runProcess(TRAMIS_CLI_PATH, arguments, dir.path());
  }
  ProcessResult xmllint(const std::vector<std::string>& arguments) {
    return runProcess(kXmllint, arguments, dir.path());
  }
  testsupport::TempDir dir;
};

// The rows of a serialized table part, each as the texts of its cells.
std::vector<std::vector<std::string>> tableRows(const std::string& html) {
  static const std::regex row("<tr[^>]*>([\\s\\S]*?)</tr>");
  static const std::regex cell("<t[dh][^>]*?(?:/>|>([\\s\\S]*?)</t[dh]>)");
  std::vector<std::vector<std::string>> rows;
  for (std::sregex_iterator r(html.begin(), html.end(), row), end; r != end; ++r) {
    const std::string inner = (*r)[1];
    rows.emplace_back();
    for (std::sregex_iterator c(inner.begin(), inner.end(), cell); c != end; ++c)
      rows.back().push_back((*c)[1]);
  }
  return rows;
}

// `shown` is `value` rounded to `decimals`; NaN stands for "not available" on both sides.
void expectShown(const std::string& shown, double value, int decimals, const std::string& what) {
  if (std::isnan(value)) {
    EXPECT_EQ(shown, "–") << what;
    return;
  }
  EXPECT_NEAR(decimalNumber(shown), value, 0.5 * std::pow(10.0, -decimals) + 1e-12) << what << ": " << shown;
}

TEST_F(ReportCliTest, HtmlIsStrictAndShowsTheNumbersOfTheJson) {
  const std::vector<std::string> run = {"--exclude", "3", "--alpha", "0.01"};
  std::vector<std::string> withReport = run;
  withReport.insert(withReport.end(), {"--decimal-comma", "--report", "protokoll.html"});
  ASSERT_EQ(cli(withReport).exitCode, 0);
  std::vector<std::string> withJson = run;
  withJson.push_back("--json");
  const ProcessResult json = cli(withJson);
  ASSERT_EQ(json.exitCode, 0) << json.err;

  for (const std::vector<std::string>& mode : {std::vector<std::string>{"--html"}, std::vector<std::string>{}}) {
    std::vector<std::string> arguments = mode;
    arguments.insert(arguments.end(), {"--noout", "protokoll.html"});
    const ProcessResult parsed = xmllint(arguments);
    EXPECT_EQ(parsed.exitCode, 0);
    EXPECT_EQ(parsed.err, "") << (mode.empty() ? "as XML" : "as HTML");
  }

  // Every pair of the table against its JSON entry.
  const ProcessResult table = xmllint({"--html", "--xpath", "//table[@id='pairs']/tbody/tr", "protokoll.html"});
  const std::vector<std::vector<std::string>> rows = tableRows(table.out);
  std::vector<std::string> entries;
  for (const std::string& line : lines(json.out))
    if (line.find("{\"pkt\": ") != std::string::npos) entries.push_back(line);
  ASSERT_EQ(rows.size(), 9u);
  ASSERT_EQ(entries.size(), 9u);
  int outliers = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::vector<std::string>& cells = rows[i];
    const std::string& entry = entries[i];
    ASSERT_EQ(cells.size(), 13u);
    const std::string what = "pair " + cells[0];
    EXPECT_EQ(decimalNumber(cells[0]), jsonNumber(entry, "pkt"));
    expectShown(cells[6], jsonNumber(entry, "RW"), 4, what + " vRW");
    expectShown(cells[7], jsonNumber(entry, "HW"), 4, what + " vHW");
    expectShown(cells[8], std::hypot(jsonNumber(entry, "gapRW"), jsonNumber(entry, "gapHW")), 4, what + " gap");
    expectShown(cells[9], jsonNumber(entry, "r"), 3, what + " r");
    expectShown(cells[10], jsonNumber(entry, "T"), 2, what + " T");
    const bool outlier = entry.find("\"outlier\": true") != std::string::npos;
    outliers += outlier;
    EXPECT_EQ(cells[11], outlier ? "ja" : "") << what;
    EXPECT_EQ(cells[12], entry.find("\"active\": true") != std::string::npos ? "aktiv" : "aus") << what;
  }
  EXPECT_EQ(rows[2][12], "aus");
  EXPECT_EQ(outliers, 1);
  EXPECT_EQ(rows[6][11], "ja");

  // The parameters of the active set.
  const ProcessResult values = xmllint({"--html", "--xpath", "//table[@class='values']//tr", "protokoll.html"});
  const struct {
    const char* label;
    const char* key;
    int decimals;
  } parameters[] = {{"Xo", "Xo", 4}, {"Yo", "Yo", 4}, {"a", "a", 10}, {"o", "o", 10},
                    {"Maßstab m", "m", 10}, {"m − 1", "scalePpm", 4}, {"Drehung d", "dGon", 10},
                    {"So", "So", 4}};
  const std::vector<std::vector<std::string>> valueRows = tableRows(values.out);
  for (const auto& parameter : parameters) {
    const double expected = jsonNumber(json.out, parameter.key);
    bool found = false;
    for (const std::vector<std::string>& row : valueRows)
      if (row.size() >= 2 && row[0] == parameter.label) {
        expectShown(row[1], expected, parameter.decimals, parameter.label);
        found = true;
      }
    EXPECT_TRUE(found) << parameter.label;
  }
}

// A protocol that cannot be written completely (here: the file size limit) leaves the
// existing protocol as it was, reports the path and the reason, and leaves no temporary.
TEST_F(ReportCliTest, FailedWriteKeepsTheExistingProtocol) {
  testsupport::writeFile(dir.file("protokoll.html"), "altes Protokoll\n");
  const std::string command = "trap '' XFSZ; ulimit -f 8; exec \"$0\" --report protokoll.html alt.txt neu.txt >/dev/null";
  const ProcessResult result = runProcess("/bin/sh", {"-c", command, TRAMIS_CLI_PATH}, dir.path());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("File Error: Datei protokoll.html kann nicht geschrieben werden."), std::string::npos)
      << result.err;
  EXPECT_EQ(testsupport::readFile(dir.file("protokoll.html")), "altes Protokoll\n");
  EXPECT_EQ(testsupport::folderEntries(dir.path()), (std::set<std::string>{"alt.txt", "neu.txt", "protokoll.html"}));
}

// Without an estimate there is nothing to document: no protocol file is made.
TEST_F(ReportCliTest, NoProtocolWithoutEstimate) {
  EXPECT_EQ(cli({"--exclude", "1-8", "--report", "protokoll.html"}).exitCode, 1);
  EXPECT_FALSE(testsupport::fileExists(dir.file("protokoll.html")));
  const ProcessResult apply = runProcess(
      TRAMIS_CLI_PATH, {"--apply", "0 0 1 0", "--report", "p.html", "alt.txt", "-o", "e.erg"}, dir.path());
  EXPECT_EQ(apply.exitCode, 2);
}

// The protocol is stamped with the local time of writing: in a zone 5 h 45 min east of
// UTC its fields are those of UTC shifted by that much, whatever the clock says.
TEST(ProtocolTimeStamp, LocalTimeOfWriting) {
  const char* const saved = std::getenv("TZ");
  const std::string savedZone = saved ? saved : "";
  ::setenv("TZ", "NPT-05:45", 1);
  ::tzset();
  constexpr std::time_t kOffsetSeconds = 5 * 3600 + 45 * 60;
  const std::time_t before = std::time(nullptr);
  const std::tm stamp = protocol::writtenNow();
  const std::time_t after = std::time(nullptr);
  if (saved) ::setenv("TZ", savedZone.c_str(), 1); else ::unsetenv("TZ");
  ::tzset();

  bool matched = false;
  for (std::time_t t = before; t <= after && !matched; ++t) {
    const std::time_t shifted = t + kOffsetSeconds;
    std::tm expected{};
    ::gmtime_r(&shifted, &expected);
    matched = stamp.tm_year == expected.tm_year && stamp.tm_mon == expected.tm_mon &&
              stamp.tm_mday == expected.tm_mday && stamp.tm_hour == expected.tm_hour &&
              stamp.tm_min == expected.tm_min && stamp.tm_sec == expected.tm_sec;
  }
  EXPECT_TRUE(matched) << protocol::writtenAtText(stamp);
  std::tm fixed{};
  fixed.tm_year = 126;
  fixed.tm_mon = 11;
  fixed.tm_mday = 7;
  fixed.tm_hour = 9;
  fixed.tm_min = 5;
  EXPECT_EQ(protocol::writtenAtText(fixed), "07.12.2026, 09:05 Uhr");
}

}  // namespace
