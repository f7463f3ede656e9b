// Whole result files compared byte for byte, and the ways writing them can fail without
// harming what was there before.
#include "ResultFile.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;
using testsupport::folderEntries;
using Parameters = std::array<long double, 4>;  // a, o, Yo, Xo

// A solver that passes coordinates through unchanged.
constexpr Parameters kIdentity{1, 0, 0, 0};

output::WriteResult write(const std::string& path, const PointList& points,
                          const Parameters& p = kIdentity) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  solver.a = p[0], solver.o = p[1], solver.Yo = p[2], solver.Xo = p[3];
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

fs::file_type fileType(const std::string& path) { return fs::symlink_status(path).type(); }

// A target that is a symbolic link stays a link, and the file it points to is written.
TEST(ResultFile, ContentIsWrittenByteForByte) {
  const struct {
    const char* label;
    PointList points;
    Parameters parameters;
    std::string expected;
    bool throughLink = false;  // the target is a link to "real.erg"
  } cases[] = {
      // Also guards against reading past the end of a name list shorter than the points.
      {"negative values, fewer names than points",
       PointList{{"P1"}, {4567890.12345678, -4567890.12345678}, {-0.5, 100}}, kIdentity,
       " P1\t 4567890.1235   \t -0.5           \r\n"
       " \t -4567890.1235  \t 100            "},
      {"one point in exponent form, no line break, through a link",
       PointList{{"E"}, {123456789012.5}, {0.0000123}}, kIdentity,
       " E\t 1.2345678901e+11\t 1.23e-05       ", true},
      // a = 1 + 2^-60 exists only in extended precision; in double it would be 1 and
      // both values would print as 0.
      {"extended precision", PointList{{"X"}, {0x1p62}, {0x1p62}},
       Parameters{1.0L + 0x1p-60L, 0, -0x1p62L, -0x1p62L},
       " X\t 4              \t 4              "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    testsupport::writeFile(dir.file("real.erg"), "old");
    ASSERT_EQ(c.throughLink ? ::symlink("real.erg", dir.file("r.erg").c_str()) : 0, 0);
    const output::WriteResult result = write(dir.file("r.erg"), c.points, c.parameters);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(fileType(dir.file("r.erg")) == fs::file_type::symlink, c.throughLink);
    EXPECT_EQ(testsupport::readFile(dir.file(c.throughLink ? "real.erg" : "r.erg")), c.expected);
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"r.erg", "real.erg"}));
  }
}

// Spans several of the writer's chunks, so the joins between chunks are checked too. The
// expected bytes come from printf in the C locale; the user's German locale, where it is
// installed, must not change a byte of the file.
TEST(ResultFile, LargeFileIsPrintfLineByLineUnderAnyLocale) {
  TempDir dir;
  const PointList points = manyPoints(60000);
  std::string expected;
  for (std::size_t i = 0; i < points.count(); ++i) {
    char line[128];
    const int n = std::snprintf(line, sizeof line, "%s %s\t %-15.11g\t %-15.11g",
                                i == 0 ? "" : "\r\n", points.names[i].c_str(), points.rw[i],
                                points.hw[i]);
    expected.append(line, static_cast<std::size_t>(n));
  }
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  ASSERT_TRUE(write(dir.file("c.erg"), points).ok);
  EXPECT_EQ(testsupport::readFile(dir.file("c.erg")), expected);
  if (!german.ok()) GTEST_SKIP() << testsupport::kGermanLocale << " is not installed: C locale only";
}

// Guards against "inf" in a result file (no reader takes it back) reported as success.
TEST(ResultFile, PointTransformedToInfinityFailsAndKeepsTheTarget) {
  TempDir dir;
  const std::string path = dir.file("r.erg");
  testsupport::writeFile(path, "old result");
  PointList points = manyPoints(100);
  points.rw[50] = 1e308;
  const std::set<std::string> entriesBefore = folderEntries(dir.path());
  const output::WriteResult result = write(path, points, {2, 0, 0, 0});
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.reason.find("Punkt 51: "), std::string::npos) << result.reason;
  EXPECT_NE(result.reason.find("unendlich"), std::string::npos) << result.reason;
  EXPECT_EQ(testsupport::readFile(path), "old result");
  EXPECT_EQ(folderEntries(dir.path()), entriesBefore);
}

// Guards against a pipe named through /proc/self/fd (what /dev/stdout is in a pipeline)
// taken for a path to put a temporary beside: it is written directly. (A FIFO as target:
// the command-line tests.)
TEST(ResultFile, PipeIsWrittenDirectly) {
  TempDir dir;
  const PointList points = manyPoints(3);
  ASSERT_TRUE(write(dir.file("plain.erg"), points).ok);
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const output::WriteResult piped = write("/proc/self/fd/" + std::to_string(ends[1]), points);
  ::close(ends[1]);
  std::string received;
  char buffer[4096];
  for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;)
    received.append(buffer, static_cast<std::size_t>(got));
  ::close(ends[0]);
  EXPECT_TRUE(piped.ok) << piped.reason;
  EXPECT_EQ(received, testsupport::readFile(dir.file("plain.erg")));
}

struct Refusal {
  const char* label;
  const char* target;        // inside the test's folder
  int (*make)(const char*);  // makes what stands at the target first (0: done); may be null
  fs::file_type typeAfter;   // what stands at the target afterwards
  int reasonErrno = 0;       // when set, the reason must name this error
  rlim_t fileSizeLimit = 0;  // when set, the writing child may not write larger files
};

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.label; }

class RefusedTarget : public ::testing::TestWithParam<Refusal> {};

// Writing runs in a child so that a hang ends by the child's alarm instead of blocking the
// suite, and so that a file size limit stays with the child. Whatever stood at the path stays as it was, with no temporary
// file left beside it.
TEST_P(RefusedTarget, FailsWithAReasonAndLeavesThePathAlone) {
  const Refusal& c = GetParam();
  TempDir dir;
  const std::string path = dir.file(c.target);
  if (c.make && c.make(path.c_str()) != 0) {
    if (errno == EPERM) GTEST_SKIP() << "not permitted here";
    FAIL() << std::strerror(errno);
  }
  const std::set<std::string> entriesBefore = folderEntries(dir.path());
  const bool regular = c.typeAfter == fs::file_type::regular;
  const std::string bytesBefore = regular ? testsupport::readFile(path) : "";
  const PointList points = manyPoints(200000);  // some 10 MB, far beyond any limit below

  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(10);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{c.fileSizeLimit, c.fileSizeLimit};
    if (c.fileSizeLimit != 0 && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
    const output::WriteResult result = write(path, points);
    const char* wanted = c.reasonErrno != 0 ? std::strerror(c.reasonErrno) : "";
    const bool reasonFits = result.reason.find(wanted) != std::string::npos;
    ::_exit(result.ok ? 1 : result.reason.empty() || !reasonFits ? 2 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  EXPECT_EQ(code, 0) << "1: accepted, 2: reason missing or wrong, 3: setrlimit failed, 142: hung";
  EXPECT_EQ(fileType(path), c.typeAfter);
  EXPECT_EQ(regular ? testsupport::readFile(path) : "", bytesBefore);
  EXPECT_EQ(folderEntries(dir.path()), entriesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, RefusedTarget,
    ::testing::Values(
        Refusal{"MissingFolder", "no such folder/r.erg", nullptr, fs::file_type::not_found},
        Refusal{"Directory", "r.erg", [](const char* p) { return ::mkdir(p, 0755); },
                fs::file_type::directory},
        // The test's own full device (never the machine's /dev): written directly, and
        // every write fails with "no space".
        Refusal{"FullDevice", "r.erg",
                [](const char* p) { return ::mknod(p, S_IFCHR | 0666, ::makedev(1, 7)); },
                fs::file_type::character, ENOSPC},
        // A write that fails part-way must leave the existing file as it was.
        Refusal{"FileSizeLimitReachedMidway", "r.erg",
                [](const char* p) { return testsupport::writeFile(p, "old result"), 0; },
                fs::file_type::regular, EFBIG, 4096}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
