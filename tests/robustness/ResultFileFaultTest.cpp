// The result file's path changes between the save dialog and the write: the chosen file
// becomes a directory (or a link to one), its folder disappears or becomes a file. Writing
// must fail with a reason and leave whatever now stands at the path as it is, with no
// temporary file left behind; a folder that was merely replaced by another one still works.
#include "ResultFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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
  ASSERT_EQ(::mkdir(dir.file("messung").c_str(), 0755), 0);
  testsupport::writeFile(chosenPath(dir), "alt\n");
  ASSERT_TRUE(fs::is_regular_file(chosenPath(dir)));

  c.change(dir);

  PointList points;
  points.names = {"P1", "P2"};
  points.rw = {512.5, -3};
  points.hw = {678.25, 4};
  kel::TKEL_Vovezorevarovaduvorir solver;  // parameters 0: every value is written as 0
  const output::WriteResult result = output::writeResultFile(chosenPath(dir), points, solver);

  EXPECT_EQ(result.ok, c.ok) << result.reason;
  EXPECT_EQ(result.reason.empty(), c.ok) << result.reason;
  c.check(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ResultFileFault,
    ::testing::Values(
        FaultCase{"file replaced by a directory",
                  [](const TempDir& dir) {
                    fs::remove(chosenPath(dir));
                    fs::create_directory(chosenPath(dir));
                    testsupport::writeFile(chosenPath(dir) + "/inhalt.txt", "bleibt");
                  },
                  false,
                  [](const TempDir& dir) {
                    EXPECT_TRUE(fs::is_directory(chosenPath(dir)));
                    EXPECT_EQ(entries(chosenPath(dir)), std::set<std::string>{"inhalt.txt"});
                    EXPECT_EQ(testsupport::readFile(chosenPath(dir) + "/inhalt.txt"), "bleibt");
                    EXPECT_EQ(entries(dir.file("messung")), std::set<std::string>{"ergebnis.erg"});
                  }},
        FaultCase{"file replaced by a link to a directory",
                  [](const TempDir& dir) {
                    fs::remove(chosenPath(dir));
                    fs::create_directory(dir.file("anderswo"));
                    fs::create_directory_symlink(dir.file("anderswo"), chosenPath(dir));
                  },
                  false,
                  [](const TempDir& dir) {
                    EXPECT_TRUE(fs::is_symlink(chosenPath(dir)));
                    EXPECT_TRUE(entries(dir.file("anderswo")).empty());
                    EXPECT_EQ(entries(dir.file("messung")), std::set<std::string>{"ergebnis.erg"});
                  }},
        FaultCase{"folder gone",
                  [](const TempDir& dir) { fs::remove_all(dir.file("messung")); }, false,
                  [](const TempDir& dir) {
                    EXPECT_FALSE(fs::exists(dir.file("messung")));
                    EXPECT_TRUE(entries(dir.path()).empty());
                  }},
        FaultCase{"folder replaced by a file",
                  [](const TempDir& dir) {
                    fs::remove_all(dir.file("messung"));
                    testsupport::writeFile(dir.file("messung"), "datei");
                  },
                  false,
                  [](const TempDir& dir) {
                    EXPECT_TRUE(fs::is_regular_file(dir.file("messung")));
                    EXPECT_EQ(testsupport::readFile(dir.file("messung")), "datei");
                    EXPECT_EQ(entries(dir.path()), std::set<std::string>{"messung"});
                  }},
        FaultCase{"folder replaced by a dangling link",
                  [](const TempDir& dir) {
                    fs::remove_all(dir.file("messung"));
                    fs::create_directory_symlink(dir.file("fehlt"), dir.file("messung"));
                  },
                  false,
                  [](const TempDir& dir) {
                    EXPECT_TRUE(fs::is_symlink(dir.file("messung")));
                    EXPECT_FALSE(fs::exists(dir.file("fehlt")));
                  }},
        // The control: a folder renamed away and another created under its name is simply
        // written into; the renamed folder keeps the old file.
        FaultCase{"folder replaced by another folder",
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
    [](const ::testing::TestParamInfo<FaultCase>& info) {
      std::string name = info.param.label;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

}  // namespace
