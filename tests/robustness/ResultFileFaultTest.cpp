// The result file's path changes between the save dialog and the write: the chosen file
// becomes a directory, or its folder disappears. Writing must fail with a reason and leave
// whatever now stands at the path as it is, with no temporary file left behind; a folder
// that was merely replaced by another one still works.
#include "ResultFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

std::set<std::string> entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// The file chosen in the dialog: an existing result file in the folder "messung".
std::string chosenPath(const TempDir& dir) { return dir.file("messung/ergebnis.erg"); }

struct FaultCase {
  const char* label;
  std::function<void(const TempDir&)> change;  // what happens after the dialog closed
  bool ok;
  std::function<void(const TempDir&)> check;  // the state after writing
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.label; }

class ResultFileFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ResultFileFault, FailsWithoutHarm) {
  const FaultCase& c = GetParam();
  TempDir dir;
  ASSERT_TRUE(fs::create_directory(dir.file("messung")));
  testsupport::writeFile(chosenPath(dir), "alt\n");

  c.change(dir);

  const PointList points{{"P1", "P2"}, {512.5, -3}, {678.25, 4}};
  kel::TKEL_Vovezorevarovaduvorir solver;  // parameters 0: every value is written as 0
  const output::WriteResult result = output::writeResultFile(chosenPath(dir), points, solver);

  EXPECT_EQ(result.ok, c.ok) << result.reason;
  EXPECT_EQ(result.reason.empty(), c.ok) << result.reason;
  c.check(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ResultFileFault,
    ::testing::Values(
        FaultCase{"FileReplacedByADirectory",
                  [](const TempDir& dir) {
                    fs::remove(chosenPath(dir));
                    fs::create_directory(chosenPath(dir));
                    testsupport::writeFile(chosenPath(dir) + "/inhalt.txt", "bleibt");
                  },
                  false,
                  [](const TempDir& dir) {
                    EXPECT_EQ(entries(chosenPath(dir)), std::set<std::string>{"inhalt.txt"});
                    EXPECT_EQ(entries(dir.file("messung")), std::set<std::string>{"ergebnis.erg"});
                  }},
        FaultCase{"FolderGone",
                  [](const TempDir& dir) { fs::remove_all(dir.file("messung")); }, false,
                  [](const TempDir& dir) {
                    EXPECT_TRUE(entries(dir.path()).empty());
                  }},
        // The control: a folder renamed away and another created under its name is simply
        // written into; the renamed folder keeps the old file.
        FaultCase{"FolderReplacedByAnotherFolder",
                  [](const TempDir& dir) {
                    fs::rename(dir.file("messung"), dir.file("messung-alt"));
                    fs::create_directory(dir.file("messung"));
                  },
                  true,
                  [](const TempDir& dir) {
                    EXPECT_EQ(testsupport::readFile(chosenPath(dir)),
                              " P1\t 0              \t 0              \r\n"
                              " P2\t 0              \t 0              ");
                    EXPECT_EQ(entries(dir.file("messung")), std::set<std::string>{"ergebnis.erg"});
                    EXPECT_EQ(testsupport::readFile(dir.file("messung-alt/ergebnis.erg")), "alt\n");
                  }}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.label); });

}  // namespace
