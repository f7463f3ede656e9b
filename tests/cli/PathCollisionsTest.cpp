// The check of tramis-cli's outputs against its inputs, each other and standard output,
// called directly on real files: every way of naming one file counts, distinct files and
// devices that lose nothing pass. Also built for Windows (test_portable).
#include "PathCollisions.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* kNullDevice = "NUL";
constexpr char kSeparator = '\\';
#else
constexpr const char* kNullDevice = "/dev/null";
constexpr char kSeparator = '/';
#endif

struct CollisionCase {
  const char* label;
  // Makes extra files in the folder (alt.asc and neu.asc exist); may skip the row.
  std::function<void(const testsupport::TempDir&)> prepare;
  std::string result, report;  // -o and --report, inside the folder unless absolute
  bool apply = false;          // --apply: one input, no --report
  const char* standardOutput;  // the file standard output goes to, inside the folder; null: none
  const char* refusal;         // a part of the expected refusal; null: accepted
};

void PrintTo(const CollisionCase& c, std::ostream* os) { *os << c.label; }

class PathCollisions : public ::testing::TestWithParam<CollisionCase> {};

TEST_P(PathCollisions, RefusesExactlyTheOutputsThatWouldDestroySomething) {
  const CollisionCase& c = GetParam();
  testsupport::TempDir dir;
  testsupport::writeFile(dir.file("alt.asc"), "P1 1 2\n");
  testsupport::writeFile(dir.file("neu.asc"), "P1 3 4\n");
  if (c.prepare) {
    try {
      c.prepare(dir);
    } catch (const fs::filesystem_error& error) {
      GTEST_SKIP() << "cannot make the files here: " << error.what();
    }
  }
  const auto inFolder = [&](const std::string& name) {
    return name.empty() || name == kNullDevice ? name : dir.path() + kSeparator + name;
  };
  cli::Options options;
  options.oldPath = dir.file("alt.asc");
  if (!c.apply) options.newPath = dir.file("neu.asc");
  options.resultPath = inFolder(c.result);
  options.reportPath = inFolder(c.report);
  const std::optional<output::FileIdentity> standardOutput =
      c.standardOutput ? output::identifyFile(dir.file(c.standardOutput)) : std::nullopt;

  const std::string refusal = cli::pathCollision(options, standardOutput);
  if (c.refusal == nullptr) {
    EXPECT_EQ(refusal, "");
  } else {
    EXPECT_NE(refusal.find(c.refusal), std::string::npos) << refusal;
  }
}

void hardLink(const testsupport::TempDir& dir) {
  fs::create_hard_link(fs::u8path(dir.file("alt.asc")), fs::u8path(dir.file("hart.asc")));
}

INSTANTIATE_TEST_SUITE_P(
    Files, PathCollisions,
    ::testing::Values(
        CollisionCase{"ReportOverTheOldFile", nullptr, "", "alt.asc", false, nullptr,
                      "--report"},
        CollisionCase{"ResultOverTheNewFileThroughDot", nullptr, std::string(".") + kSeparator + "neu.asc",
                      "", false, nullptr, "Eingabedatei NEU"},
        CollisionCase{"ResultOverTheOldFileThroughItsFolder",
                      [](const testsupport::TempDir& dir) { fs::create_directory(fs::u8path(dir.file("sub"))); },
                      std::string("sub") + kSeparator + ".." + kSeparator + "alt.asc", "", false, nullptr,
                      "Eingabedatei ALT"},
        CollisionCase{"ReportThroughAHardLink", hardLink, "", "hart.asc", false, nullptr, "Eingabedatei ALT"},
        CollisionCase{"ApplyOverItsInput", nullptr, "alt.asc", "", true, nullptr, "würde überschrieben"},
        CollisionCase{"BothOutputsOneNewFile", nullptr, "x.erg", std::string(".") + kSeparator + "x.erg",
                      false, nullptr, "sind dieselbe Datei"},
        CollisionCase{"BothOutputsOneExistingFile", nullptr, "x.erg", "x.erg", false, nullptr,
                      "die eine Ausgabe würde die andere ersetzen"},
        CollisionCase{"ResultIsStandardOutput",
                      [](const testsupport::TempDir& dir) { testsupport::writeFile(dir.file("aus.txt"), ""); },
                      "aus.txt", "", false, "aus.txt", "ist die Standardausgabe, auf die schon das Protokoll geht"},
        CollisionCase{"StandardOutputIsAnInput", nullptr, "", "", false, "neu.asc",
                      "Die Standardausgabe ist die Eingabedatei NEU"},
        CollisionCase{"DistinctFiles", nullptr, "erg.erg", "bericht.html", false, "aus.txt", nullptr},
        CollisionCase{"DistinctNewFilesDifferingInOneLetter", nullptr, "erg.erg", "erg.erh", false, nullptr,
                      nullptr},
        CollisionCase{"NullDeviceForBothOutputs", nullptr, kNullDevice, kNullDevice, false, nullptr, nullptr}
#ifndef _WIN32
        ,
        CollisionCase{"ResultThroughASymbolicLink",
                      [](const testsupport::TempDir& dir) {
                        fs::create_symlink("neu.asc", dir.file("verweis.asc"));
                      },
                      "verweis.asc", "", false, nullptr, "-o "},
        // The writer follows a dangling link and makes its target: the same new file.
        CollisionCase{"DanglingLinkToTheOtherOutput",
                      [](const testsupport::TempDir& dir) {
                        fs::create_symlink("bericht.html", dir.file("verweis.html"));
                      },
                      "bericht.html", "verweis.html", false, nullptr, "sind dieselbe Datei"}
#endif
        ),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace

namespace {

// --points is an input and --points-out an output like ALT, NEU, -o and --report.
TEST(PathCollisions, ControlPairFilesCountAsInputAndOutput) {
  testsupport::TempDir dir;
  testsupport::writeFile(dir.file("gcp.points"), "mapX,mapY,sourceX,sourceY\n1,2,3,4\n");
  cli::Options options;
  options.pointsPath = dir.file("gcp.points");
  options.pointsOutPath = dir.path() + kSeparator + "." + kSeparator + "gcp.points";
  EXPECT_NE(cli::pathCollision(options, std::nullopt).find("ist dieselbe Datei wie die Eingabedatei --points"),
            std::string::npos);
  options.pointsOutPath = dir.file("aus.points");
  options.resultPath = dir.file("aus.points");
  EXPECT_NE(cli::pathCollision(options, std::nullopt).find("-o " + options.resultPath + " und --points-out"),
            std::string::npos)
      << cli::pathCollision(options, std::nullopt);
  options.resultPath = dir.file("aus.erg");
  EXPECT_EQ(cli::pathCollision(options, std::nullopt), "");
}

}  // namespace
