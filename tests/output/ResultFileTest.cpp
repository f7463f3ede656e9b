// Whole result files compared byte for byte, and the ways writing them can fail without
// harming what was there before.
#include "ResultFile.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using kel::TKEL_Vovezorevarovaduvorir;

struct Parameters {
  long double a = 0, o = 0, Yo = 0, Xo = 0;
};

// A solver that passes coordinates through unchanged.
constexpr Parameters kIdentity{1, 0, 0, 0};

void setParameters(TKEL_Vovezorevarovaduvorir& solver, const Parameters& p) {
  solver.a = p.a;
  solver.o = p.o;
  solver.Yo = p.Yo;
  solver.Xo = p.Xo;
}

PointList makePoints(std::vector<std::string> names, std::vector<double> rw,
                     std::vector<double> hw) {
  PointList points;
  points.names = std::move(names);
  points.rw = std::move(rw);
  points.hw = std::move(hw);
  return points;
}

std::set<std::string> folderEntries(const std::string& folder) {
  std::set<std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    entries.insert(entry.path().filename().string());
  return entries;
}

mode_t fileType(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return 0;
  return info.st_mode & S_IFMT;
}

mode_t permissions(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return 0;
  return info.st_mode & 07777;
}

// Runs `body` in a child process and returns its exit code, or 128 + signal when it was
// killed; the alarm ends a child that hangs.
int runInChild(const std::function<int()>& body, unsigned timeoutSeconds = 20) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(timeoutSeconds);
    ::_exit(body());
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct FileCase {
  const char* label;
  PointList points;
  Parameters parameters;
  std::string expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FileCase& c, std::ostream* os) { *os << c.label; }

class ResultFileContent : public ::testing::TestWithParam<FileCase> {};

TEST_P(ResultFileContent, IsWrittenByteForByte) {
  const FileCase& c = GetParam();
  testsupport::TempDir dir;
  TKEL_Vovezorevarovaduvorir solver;
  setParameters(solver, c.parameters);
  const std::string path = dir.file("result.erg");

  const output::WriteResult result = output::writeResultFile(path, c.points, solver);

  ASSERT_TRUE(result.ok) << result.reason;
  EXPECT_TRUE(result.reason.empty());
  EXPECT_EQ(testsupport::readFile(path), c.expected);
  EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"result.erg"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultFileContent,
    ::testing::Values(
        FileCase{"examples", makePoints({"P1", "17"}, {4567890.12345678, -12.5},
                                        {5432109.87654321, 100}),
                 kIdentity,
                 " P1\t 4567890.1235   \t 5432109.8765   \r\n"
                 " 17\t -12.5          \t 100            "},
        FileCase{"parameters never estimated", makePoints({"P1", "P2"}, {4567890.1, -3}, {1, 2}),
                 Parameters{},
                 " P1\t 0              \t 0              \r\n"
                 " P2\t 0              \t 0              "},
        FileCase{"one point has no line break", makePoints({"A"}, {1.5}, {2.5}), kIdentity,
                 " A\t 1.5            \t 2.5            "},
        FileCase{"unnamed points", makePoints({}, {0, 1}, {0, 2}), kIdentity,
                 " \t 0              \t 0              \r\n"
                 " \t 1              \t 2              "},
        // Guards against reading past the end of a name list shorter than the points.
        FileCase{"name list shorter than the points", makePoints({"N1"}, {1, 2}, {3, 4}),
                 kIdentity,
                 " N1\t 1              \t 3              \r\n"
                 " \t 2              \t 4              "},
        FileCase{"exponent forms", makePoints({"E"}, {123456789012.5}, {0.0000123}), kIdentity,
                 " E\t 1.2345678901e+11\t 1.23e-05       "},
        FileCase{"negative values", makePoints({"N"}, {-4567890.12345678}, {-0.5}), kIdentity,
                 " N\t -4567890.1235  \t -0.5           "},
        // rw comes first and is turned clockwise: rw 1, hw 0 goes to RW 0, HW -1.
        FileCase{"rotation by 100 gon", makePoints({"R"}, {1}, {0}), Parameters{0, 1, 0, 0},
                 " R\t 0              \t -1             "},
        FileCase{"translation: Yo to rw, Xo to hw", makePoints({"T"}, {1}, {2}),
                 Parameters{1, 0, 10, 20}, " T\t 11             \t 22             "},
        // a = 1 + 2^-60 exists only in extended precision; in double it would be 1 and
        // both values would print as 0.
        FileCase{"extended precision reaches the file", makePoints({"X"}, {0x1p62}, {0x1p62}),
                 Parameters{1.0L + 0x1p-60L, 0, -0x1p62L, -0x1p62L},
                 " X\t 4              \t 4              "},
        FileCase{"no points gives an empty file", PointList{}, kIdentity, ""}),
    [](const auto& info) {
      std::string name;
      for (const char ch : std::string(info.param.label))
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return name;
    });

PointList manyPoints(std::size_t count) {
  PointList points;
  for (std::size_t i = 0; i < count; ++i) {
    points.names.push_back("P" + std::to_string(i));
    points.rw.push_back(4500000.0 + 0.123456 * static_cast<double>(i));
    points.hw.push_back(5400000.0 - 0.654321 * static_cast<double>(i));
  }
  return points;
}

// Spans several of the writer's chunks, so the joins between chunks are checked too.
TEST(ResultFile, LargeFileMatchesLineByLine) {
  testsupport::TempDir dir;
  TKEL_Vovezorevarovaduvorir solver;
  setParameters(solver, Parameters{0.9999, 0.0001, 12.5, -7.25});
  const PointList points = manyPoints(60000);
  const std::string path = dir.file("big.erg");
  ASSERT_TRUE(output::writeResultFile(path, points, solver).ok);

  std::string expected;
  for (std::size_t i = 0; i < points.count(); ++i) {
    if (i != 0) expected += "\r\n";
    char line[128];
    const double rw = static_cast<double>(solver.transform_rw(points.rw[i], points.hw[i]));
    const double hw = static_cast<double>(solver.transform_hw(points.rw[i], points.hw[i]));
    expected.append(line, static_cast<std::size_t>(std::snprintf(
                              line, sizeof line, " %s\t %-15.11g\t %-15.11g",
                              points.names[i].c_str(), rw, hw)));
  }
  EXPECT_EQ(testsupport::readFile(path), expected);
}

TEST(ResultFile, SameBytesUnderGermanLocale) {
  testsupport::TempDir dir;
  TKEL_Vovezorevarovaduvorir solver;
  setParameters(solver, Parameters{1.0001, -0.0002, 0.5, 1234.125});
  const PointList points = manyPoints(2000);
  ASSERT_TRUE(output::writeResultFile(dir.file("c.erg"), points, solver).ok);

  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  if (!german.ok()) GTEST_SKIP() << testsupport::kGermanLocale << " is not installed";
  ASSERT_TRUE(output::writeResultFile(dir.file("de.erg"), points, solver).ok);
  EXPECT_EQ(testsupport::readFile(dir.file("de.erg")), testsupport::readFile(dir.file("c.erg")));
}

TEST(ResultFile, ReplacesExistingFileAndKeepsItsMode) {
  testsupport::TempDir dir;
  const std::string path = dir.file("old.erg");
  testsupport::writeFile(path, std::string(5000, 'x'));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  TKEL_Vovezorevarovaduvorir solver;
  setParameters(solver, kIdentity);

  ASSERT_TRUE(output::writeResultFile(path, makePoints({"A"}, {1}, {2}), solver).ok);
  EXPECT_EQ(testsupport::readFile(path), " A\t 1              \t 2              ");
  EXPECT_EQ(permissions(path), 0640u);
  EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"old.erg"});
}

TEST(ResultFile, NewFileGetsModeFromUmask) {
  testsupport::TempDir dir;
  const mode_t previous = ::umask(027);
  TKEL_Vovezorevarovaduvorir solver;
  const bool ok = output::writeResultFile(dir.file("new.erg"), makePoints({}, {1}, {2}), solver).ok;
  ::umask(previous);
  ASSERT_TRUE(ok);
  EXPECT_EQ(permissions(dir.file("new.erg")), 0640u);
}

TEST(ResultFile, SymbolicLinkStaysALink) {
  testsupport::TempDir dir;
  ASSERT_EQ(::mkdir(dir.file("data").c_str(), 0755), 0);
  testsupport::writeFile(dir.file("data/real.erg"), "old");
  ASSERT_EQ(::symlink("data/real.erg", dir.file("link.erg").c_str()), 0);
  ASSERT_EQ(::symlink("data/missing.erg", dir.file("dangling.erg").c_str()), 0);
  TKEL_Vovezorevarovaduvorir solver;
  const PointList points = makePoints({"L"}, {1}, {2});
  const std::string expected = " L\t 0              \t 0              ";

  ASSERT_TRUE(output::writeResultFile(dir.file("link.erg"), points, solver).ok);
  EXPECT_EQ(fileType(dir.file("link.erg")), S_IFLNK);
  EXPECT_EQ(testsupport::readFile(dir.file("data/real.erg")), expected);

  // A link to a file that does not exist yet creates that file.
  ASSERT_TRUE(output::writeResultFile(dir.file("dangling.erg"), points, solver).ok);
  EXPECT_EQ(fileType(dir.file("dangling.erg")), S_IFLNK);
  EXPECT_EQ(testsupport::readFile(dir.file("data/missing.erg")), expected);
  EXPECT_EQ(folderEntries(dir.file("data")), (std::set<std::string>{"missing.erg", "real.erg"}));
}

TEST(ResultFile, MissingFolderFails) {
  testsupport::TempDir dir;
  TKEL_Vovezorevarovaduvorir solver;
  const std::string path = dir.file("no such folder/result.erg");
  const output::WriteResult result = output::writeResultFile(path, manyPoints(3), solver);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_FALSE(testsupport::fileExists(dir.file("no such folder")));
}

TEST(ResultFile, DirectoryIsRefused) {
  testsupport::TempDir dir;
  ASSERT_EQ(::mkdir(dir.file("folder.erg").c_str(), 0755), 0);
  TKEL_Vovezorevarovaduvorir solver;
  const output::WriteResult result =
      output::writeResultFile(dir.file("folder.erg"), manyPoints(3), solver);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_EQ(fileType(dir.file("folder.erg")), S_IFDIR);
  EXPECT_TRUE(folderEntries(dir.file("folder.erg")).empty());
  EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"folder.erg"});
}

// Opening a FIFO for writing blocks until a reader comes; the writer must refuse it
// instead. The child's alarm turns a hang into a failure.
TEST(ResultFile, FifoIsRefusedWithoutHanging) {
  testsupport::TempDir dir;
  const std::string path = dir.file("pipe.erg");
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  const int code = runInChild(
      [&] {
        TKEL_Vovezorevarovaduvorir solver;
        const output::WriteResult result = output::writeResultFile(path, manyPoints(3), solver);
        return result.ok ? 1 : result.reason.empty() ? 2 : 0;
      },
      10);
  EXPECT_EQ(code, 0) << "1: accepted, 2: no reason, 142: hung";
  EXPECT_EQ(fileType(path), S_IFIFO);
  EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"pipe.erg"});
}

// Makes a character device in the test's folder (never touches the machine's /dev).
bool makeDevice(const std::string& path, unsigned minor) {
  return ::mknod(path.c_str(), S_IFCHR | 0666, ::makedev(1, minor)) == 0;
}

TEST(ResultFile, CharacterDeviceIsWrittenDirectly) {
  testsupport::TempDir dir;
  const std::string path = dir.file("null.erg");
  if (!makeDevice(path, 3)) {
    if (errno == EPERM) GTEST_SKIP() << "mknod not permitted";
    FAIL() << "mknod: " << std::strerror(errno);
  }
  TKEL_Vovezorevarovaduvorir solver;
  const output::WriteResult result = output::writeResultFile(path, manyPoints(50000), solver);
  EXPECT_TRUE(result.ok) << result.reason;
  EXPECT_EQ(fileType(path), S_IFCHR);
  EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"null.erg"});
}

TEST(ResultFile, FullDeviceReportsNoSpace) {
  testsupport::TempDir dir;
  const std::string path = dir.file("full.erg");
  if (!makeDevice(path, 7)) {
    if (errno == EPERM) GTEST_SKIP() << "mknod not permitted";
    FAIL() << "mknod: " << std::strerror(errno);
  }
  TKEL_Vovezorevarovaduvorir solver;
  const output::WriteResult result = output::writeResultFile(path, manyPoints(3), solver);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.reason.find(std::strerror(ENOSPC)), std::string::npos) << result.reason;
  EXPECT_EQ(fileType(path), S_IFCHR);
  EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"full.erg"});
}

// A write that fails part-way (here: the file size limit) must leave the existing file
// as it was and no temporary behind.
TEST(ResultFile, FailureMidwayKeepsExistingFile) {
  testsupport::TempDir dir;
  const std::string path = dir.file("keep.erg");
  const std::string original = " K\t 1              \t 2              ";
  testsupport::writeFile(path, original);
  const PointList points = manyPoints(200000);  // far beyond the limit below

  const int code = runInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
    TKEL_Vovezorevarovaduvorir solver;
    setParameters(solver, kIdentity);
    const output::WriteResult result = output::writeResultFile(path, points, solver);
    if (result.ok) return 1;
    return result.reason.find(std::strerror(EFBIG)) != std::string::npos ? 0 : 2;
  });

  EXPECT_EQ(code, 0) << "1: reported success, 2: reason without EFBIG, 3: setrlimit failed";
  EXPECT_EQ(testsupport::readFile(path), original);
  EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"keep.erg"});
}

TEST(ResultFile, ErrorMessage) {
  EXPECT_EQ(output::writeErrorMessage("C:\\Daten\\alt.erg"),
            "Datei C:\\Daten\\alt.erg kann nicht geschrieben werden.");
  EXPECT_EQ(output::writeErrorMessage("/x.erg", "Grund"),
            "Datei /x.erg kann nicht geschrieben werden.\nGrund");
  EXPECT_EQ(output::writeErrorMessage("/x.erg", ""), "Datei /x.erg kann nicht geschrieben werden.");
}

}  // namespace
