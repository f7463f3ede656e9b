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
using testsupport::TempDir;

struct Parameters {
  long double a = 0, o = 0, Yo = 0, Xo = 0;
};

// A solver that passes coordinates through unchanged.
constexpr Parameters kIdentity{1, 0, 0, 0};

output::WriteResult write(const std::string& path, const PointList& points,
                          const Parameters& p = kIdentity) {
  TKEL_Vovezorevarovaduvorir solver;
  solver.a = p.a;
  solver.o = p.o;
  solver.Yo = p.Yo;
  solver.Xo = p.Xo;
  return output::writeResultFile(path, points, solver);
}

PointList manyPoints(std::size_t count) {
  PointList points;
  for (std::size_t i = 0; i < count; ++i) {
    points.names.push_back("P" + std::to_string(i));
    points.rw.push_back(4500000.0 + 0.123456 * static_cast<double>(i));
    points.hw.push_back(5400000.0 - 0.654321 * static_cast<double>(i));
  }
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

TEST(ResultFile, ContentIsWrittenByteForByte) {
  const struct {
    const char* label;
    PointList points;
    Parameters parameters;
    std::string expected;
  } cases[] = {
      {"named, negative values",
       PointList{{"P1", "17"}, {4567890.12345678, -4567890.12345678}, {-0.5, 100}}, kIdentity,
       " P1\t 4567890.1235   \t -0.5           \r\n"
       " 17\t -4567890.1235  \t 100            "},
      {"unnamed", PointList{{}, {0, 1}, {0, 2}}, kIdentity,
       " \t 0              \t 0              \r\n"
       " \t 1              \t 2              "},
      {"parameters never estimated", PointList{{"P1", "P2"}, {4567890.1, -3}, {1, 2}}, Parameters{},
       " P1\t 0              \t 0              \r\n"
       " P2\t 0              \t 0              "},
      // Guards against reading past the end of a name list shorter than the points.
      {"fewer names than points", PointList{{"N1"}, {1, 2}, {3, 4}}, kIdentity,
       " N1\t 1              \t 3              \r\n"
       " \t 2              \t 4              "},
      {"one point in exponent form, no line break",
       PointList{{"E"}, {123456789012.5}, {0.0000123}}, kIdentity,
       " E\t 1.2345678901e+11\t 1.23e-05       "},
      // a = 1 + 2^-60 exists only in extended precision; in double it would be 1 and
      // both values would print as 0.
      {"extended precision", PointList{{"X"}, {0x1p62}, {0x1p62}},
       Parameters{1.0L + 0x1p-60L, 0, -0x1p62L, -0x1p62L},
       " X\t 4              \t 4              "},
      {"no points, empty file", PointList{}, kIdentity, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    const output::WriteResult result = write(dir.file("r.erg"), c.points, c.parameters);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(testsupport::readFile(dir.file("r.erg")), c.expected);
    EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"r.erg"});
  }
}

// Spans several of the writer's chunks, so the joins between chunks are checked too; the
// user's German locale must not change a byte.
TEST(ResultFile, LargeFileIsPrintfLineByLineUnderAnyLocale) {
  TempDir dir;
  const PointList points = manyPoints(60000);
  std::string expected;
  for (std::size_t i = 0; i < points.count(); ++i) {
    char line[128];
    expected += (i == 0 ? "" : "\r\n");
    expected.append(line, static_cast<std::size_t>(std::snprintf(
                              line, sizeof line, " %s\t %-15.11g\t %-15.11g",
                              points.names[i].c_str(), points.rw[i], points.hw[i])));
  }
  ASSERT_TRUE(write(dir.file("c.erg"), points).ok);
  EXPECT_EQ(testsupport::readFile(dir.file("c.erg")), expected);

  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  if (!german.ok()) GTEST_SKIP() << testsupport::kGermanLocale << " is not installed";
  ASSERT_TRUE(write(dir.file("de.erg"), points).ok);
  EXPECT_EQ(testsupport::readFile(dir.file("de.erg")), expected);
}

TEST(ResultFile, SymbolicLinkStaysALink) {
  TempDir dir;
  testsupport::writeFile(dir.file("real.erg"), "old");
  ASSERT_EQ(::symlink("real.erg", dir.file("link.erg").c_str()), 0);
  ASSERT_TRUE(write(dir.file("link.erg"), PointList{{"L"}, {1}, {2}}, Parameters{}).ok);
  EXPECT_EQ(fileType(dir.file("link.erg")), S_IFLNK);
  EXPECT_EQ(testsupport::readFile(dir.file("real.erg")), " L\t 0              \t 0              ");
  EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"link.erg", "real.erg"}));
}

struct Refusal {
  const char* label;
  // Makes what stands at the target and returns the target's path; empty when the machine
  // does not allow making it.
  std::function<std::string(const TempDir&)> prepare;
  mode_t typeAfter;          // what stands at the path afterwards; 0: nothing
  int reasonErrno = 0;       // when set, the reason must name this error
  rlim_t fileSizeLimit = 0;  // when set, the writing child may not write larger files
};

// Makes the target with `make` (a mkdir-like call that returns 0 on success).
std::function<std::string(const TempDir&)> made(int (*make)(const char*)) {
  return [make](const TempDir& dir) {
    return make(dir.file("r.erg").c_str()) == 0 ? dir.file("r.erg") : "";
  };
}

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.label; }

class RefusedTarget : public ::testing::TestWithParam<Refusal> {};

// Writing runs in a child so that a hang (opening a FIFO for writing blocks until a reader
// comes) ends by the child's alarm instead of blocking the suite, and so that a file size
// limit stays with the child. Whatever stood at the path stays as it was, with no temporary
// file left beside it.
TEST_P(RefusedTarget, FailsWithAReasonAndLeavesThePathAlone) {
  const Refusal& c = GetParam();
  TempDir dir;
  const std::string path = c.prepare(dir);
  if (path.empty() && errno == EPERM) GTEST_SKIP() << "not permitted here";
  ASSERT_FALSE(path.empty()) << std::strerror(errno);
  const std::set<std::string> entriesBefore = folderEntries(dir.path());
  const std::string bytesBefore = fileType(path) == S_IFREG ? testsupport::readFile(path) : "";
  const std::string wanted = c.reasonErrno != 0 ? std::strerror(c.reasonErrno) : "";
  const PointList points = manyPoints(200000);  // some 10 MB, far beyond any limit below

  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(10);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{c.fileSizeLimit, c.fileSizeLimit};
    if (c.fileSizeLimit != 0 && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
    const output::WriteResult result = write(path, points);
    const bool reasonFits =
        !result.reason.empty() && result.reason.find(wanted) != std::string::npos;
    ::_exit(result.ok ? 1 : reasonFits ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  EXPECT_EQ(code, 0) << "1: accepted, 2: reason missing or wrong, 3: setrlimit failed, 142: hung";
  EXPECT_EQ(fileType(path), c.typeAfter);
  EXPECT_EQ(c.typeAfter == S_IFREG ? testsupport::readFile(path) : "", bytesBefore);
  EXPECT_EQ(folderEntries(dir.path()), entriesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, RefusedTarget,
    ::testing::Values(
        Refusal{"MissingFolder",
                [](const TempDir& d) { return d.file("no such folder/r.erg"); }, 0},
        Refusal{"Directory", made([](const char* p) { return ::mkdir(p, 0755); }), S_IFDIR},
        Refusal{"Fifo", made([](const char* p) { return ::mkfifo(p, 0644); }), S_IFIFO},
        // The test's own full device (never the machine's /dev): written directly, and
        // every write fails with "no space".
        Refusal{"FullDevice",
                made([](const char* p) { return ::mknod(p, S_IFCHR | 0666, ::makedev(1, 7)); }),
                S_IFCHR, ENOSPC},
        // A write that fails part-way must leave the existing file as it was.
        Refusal{"FileSizeLimitReachedMidway",
                [](const TempDir& d) {
                  testsupport::writeFile(d.file("r.erg"), " K\t 1              \t 2              ");
                  return d.file("r.erg");
                },
                S_IFREG, EFBIG, 4096}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
