// The columns of tramis-cli's protocol tables stay apart whatever the widths of their
// values: data sets with extreme test values, gaps of coordinates near 1e11 and long
// point names, each row read back word by word and compared with the --json values of the
// same run.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"

#include <charconv>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace clitest;

// Eight pairs on a ring; the new system is the old one turned, scaled and shifted, with a
// residual pattern of `noise` metres and pair 5 moved by `blunder` metres in RW.
struct DataSet {
  const char* what;
  double origin;      // coordinates of the ring's centre, both axes [m]
  double radius;      // [m]
  double noise;       // [m]
  double blunder;     // [m]
  std::size_t nameLength;  // names padded to this many characters
};

// For the test's name in failure messages.
void PrintTo(const DataSet& set, std::ostream* out) { *out << set.what; }

constexpr int kPairs = 8;

std::string fixed(double value) {
  char text[64];
  return std::string(text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4).ptr);
}

std::string pointName(const DataSet& set, int i) {
  std::string name = "P" + std::to_string(101 + i);
  if (name.size() < set.nameLength) name += std::string(set.nameLength - name.size(), 'x');
  return name;
}

void writeDataSet(const DataSet& set, const testsupport::TempDir& dir) {
  std::string oldText, newText;
  for (int i = 0; i < kPairs; ++i) {
    const double angle = 2 * M_PI * i / kPairs + 0.1 * i;
    const double rw = set.origin + set.radius * std::cos(angle);
    const double hw = set.origin + set.radius * std::sin(angle);
    const double a = 1.00002, o = 0.0003;
    const double RW = 250 + a * rw + o * hw + set.noise * std::sin(3.0 * i) + (i == 4 ? set.blunder : 0);
    const double HW = -120 + a * hw - o * rw + set.noise * std::cos(5.0 * i);
    oldText += pointName(set, i) + " " + fixed(rw) + " " + fixed(hw) + "\n";
    newText += pointName(set, i) + " " + fixed(RW) + " " + fixed(HW) + "\n";
  }
  testsupport::writeFile(dir.file("alt.txt"), oldText);
  testsupport::writeFile(dir.file("neu.txt"), newText);
}

// A number as the protocol shows it (decimal comma, possibly with an exponent); NaN for
// "–" and for anything that is not one number, such as two run together.
double shownNumber(std::string text) {
  if (text == "–") return NAN;
  for (char& c : text)
    if (c == ',') c = '.';
  double value = NAN;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() ? value : NAN;
}

// `shown` is the JSON value `expected` rounded to `decimals`; null in the JSON is "–".
void expectCell(const std::string& shown, double expected, int decimals, const std::string& what) {
  if (std::isnan(expected)) {
    EXPECT_EQ(shown, "–") << what;
    return;
  }
  const double value = shownNumber(shown);
  ASSERT_FALSE(std::isnan(value)) << what << ": \"" << shown << "\" is not one number";
  EXPECT_NEAR(value, expected, 0.5 * std::pow(10.0, -decimals) + 1e-9 * std::fabs(expected))
      << what << ": " << shown;
}

// The lines of the table that follows the line starting with `title` (after its header).
std::vector<std::string> tableRows(const std::string& out, const std::string& title) {
  const std::vector<std::string> all = lines(out);
  for (std::size_t i = 0; i < all.size(); ++i)
    if (all[i].starts_with(title) && i + 2 + kPairs <= all.size())
      return std::vector<std::string>(all.begin() + static_cast<long>(i) + 2,
                                      all.begin() + static_cast<long>(i) + 2 + kPairs);
  return {};
}

// The words of `row` from `first` on, joined by single blanks.
std::string rest(const std::vector<std::string>& row, std::size_t first) {
  std::string text;
  for (std::size_t i = first; i < row.size(); ++i) text += (i == first ? "" : " ") + row[i];
  return text;
}

class ProtocolColumns : public ::testing::TestWithParam<DataSet> {};

// Guards against "0.593785073342584.54": a value wider than its column ran into the one
// before it.
TEST_P(ProtocolColumns, EveryValueStandsApartFromItsNeighbours) {
  const DataSet& set = GetParam();
  testsupport::TempDir dir;
  writeDataSet(set, dir);
  const ProcessResult protocol = runProcess(TRAMIS_CLI_PATH, {"--decimal-comma", "alt.txt", "neu.txt"}, dir.path());
  const ProcessResult json = runProcess(TRAMIS_CLI_PATH, {"--json", "alt.txt", "neu.txt"}, dir.path());
  ASSERT_EQ(protocol.exitCode, 0) << protocol.err;
  ASSERT_EQ(json.exitCode, 0) << json.err;
  std::vector<std::string> entries;
  for (const std::string& line : lines(json.out))
    if (contains(line, "{\"pkt\": ")) entries.push_back(line);
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(kPairs));

  const std::vector<std::string> analysisRows = tableRows(protocol.out, "Paßpunktanalyse (α = ");
  const std::vector<std::string> residualRows = tableRows(protocol.out, "Verbesserungen Zielsystem");
  ASSERT_EQ(analysisRows.size(), static_cast<std::size_t>(kPairs)) << protocol.out;
  ASSERT_EQ(residualRows.size(), static_cast<std::size_t>(kPairs)) << protocol.out;
  bool outlierSeen = false;
  for (int i = 0; i < kPairs; ++i) {
    const std::string& entry = entries[static_cast<std::size_t>(i)];
    const std::string what = std::string(set.what) + ", pair " + std::to_string(i + 1);

    const std::vector<std::string> residual = words(residualRows[static_cast<std::size_t>(i)]);
    ASSERT_EQ(residual.size(), 4u) << what << ": " << residualRows[static_cast<std::size_t>(i)];
    EXPECT_EQ(residual[0], std::to_string(i + 1)) << what;
    expectCell(residual[1], jsonNumber(entry, "RW"), 4, what + " vRW");
    expectCell(residual[2], jsonNumber(entry, "HW"), 4, what + " vHW");
    EXPECT_EQ(residual[3], pointName(set, i)) << what;

    const std::vector<std::string> row = words(analysisRows[static_cast<std::size_t>(i)]);
    const bool outlier = contains(entry, "\"outlier\": true");
    outlierSeen = outlierSeen || outlier;
    ASSERT_EQ(row.size(), outlier ? 10u : 9u) << what << ": " << analysisRows[static_cast<std::size_t>(i)];
    EXPECT_EQ(row[0], std::to_string(i + 1)) << what;
    EXPECT_EQ(row[1], "ja") << what;
    const double gapRW = jsonNumber(entry, "gapRW"), gapHW = jsonNumber(entry, "gapHW");
    expectCell(row[2], gapRW, 4, what + " gap RW");
    expectCell(row[3], gapHW, 4, what + " gap HW");
    expectCell(row[4], std::hypot(gapRW, gapHW), 4, what + " gap");
    expectCell(row[5], jsonNumber(entry, "r"), 3, what + " r");
    if (contains(entry, "\"TInfinite\": true"))
      EXPECT_EQ(row[6], "∞") << what << " T";  // the others fit exactly, this pair does not
    else
      expectCell(row[6], jsonNumber(entry, "T"), 2, what + " T");
    expectCell(row[7], jsonNumber(entry, "critical"), 2, what + " k");
    EXPECT_EQ(rest(row, 8), (outlier ? "Ausreißer " : "") + pointName(set, i)) << what;
  }
  EXPECT_TRUE(outlierSeen) << set.what << ": the data set misses its purpose";
}

INSTANTIATE_TEST_SUITE_P(
    ExtremeValues, ProtocolColumns,
    ::testing::Values(
        // Micrometre noise under a blunder of 100 m: T near 1e16, far wider than its column.
        DataSet{"test value near 1e16", 4.0e6, 500, 1e-6, 100, 0},
        // Gaps and residuals of 1e10 m, wider than their columns.
        DataSet{"coordinates near 1e11", 1.0e11, 1.0e9, 1.0e4, 3.0e10, 0},
        DataSet{"negative residuals of 1e10", 1.0e11, 1.0e9, 1.0e4, -3.0e10, 0},
        // Names of 150 characters after the last column.
        DataSet{"long names", 4.0e6, 500, 0.002, 0.5, 150}),
    [](const ::testing::TestParamInfo<DataSet>& info) { return "Set" + std::to_string(info.index); });

}  // namespace
