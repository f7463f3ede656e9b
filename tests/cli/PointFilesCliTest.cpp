// tramis-cli reads the recognised point formats: a CSV file with a header and a QGIS .points
// file (its source coordinates as the old system, its map coordinates as the new one) give
// the estimate of the worked example, as its coordinate lists do.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace clitest;

TEST(PointFilesCli, CsvAndQgisFilesGiveTheWorkedExample) {
  testsupport::TempDir dir;
  const auto write = [&](const char* name, const char* content) {
    testsupport::writeFile(dir.file(name), content);
  };
  // Old (0,0), (10,0), (0,10); new (100,200), (110,200), (100,210.03).
  write("alt.csv", "Punkt;RW;HW\r\nP1;0;0\r\nP2;10;0\r\nP3;0;10\r\n");
  write("neu.csv", "Nr,X,Y\nP1,200,100\nP2,200,110\nP3,210.03,100\n");  // X: the Hochwert
  write("passpunkte.points",
        "#CRS: LOCAL_CS[\"Baustelle\"]\n"
        "mapX,mapY,sourceX,sourceY,enable,dX,dY,residual\n"
        "100,200,0,0,1,0,0,0\n110,200,10,0,1,0,0,0\n100,210.03,0,10,1,0,0,0\n");
  const std::vector<std::string> runs[] = {{"--json", "alt.csv", "neu.csv"},
                                           {"--json", "passpunkte.points", "passpunkte.points"}};
  for (const std::vector<std::string>& arguments : runs) {
    const ProcessResult result = runProcess(TRAMIS_CLI_PATH, arguments, dir.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_FALSE(contains(result.err, "Zeile")) << "no bad line: " << result.err;
    const std::string& json = result.out;
    EXPECT_NEAR(jsonNumber(json, "Xo"), 200.0075, 1e-12) << json;
    EXPECT_NEAR(jsonNumber(json, "a"), 1.0015, 1e-15);
    EXPECT_NEAR(jsonNumber(json, "o"), 0.00075, 1e-15);
    EXPECT_NEAR(jsonNumber(json, "So"), std::sqrt(4 * 0.0075 * 0.0075 / 2), 1e-15);
  }
}

}  // namespace
