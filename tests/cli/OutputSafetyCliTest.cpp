// tramis-cli run as a process against the ways its outputs went wrong: an output that is an
// input, result lines into standard output, a FIFO to read or to write,
// a signal or the file size limit in the middle of a safe write, and a point that transforms
// to infinity. In none of them may an input or an existing target change, or a temporary
// file stay behind.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace clitest;
namespace fs = std::filesystem;

constexpr const char* kOld = "P1 0 0\nP2 10 0\nP3 0 10\nP4 10 10\n";
constexpr const char* kNew = "P1 100 200\nP2 110 200\nP3 100 210.03\nP4 110 210\n";
constexpr const char* kOldResult = "altes Ergebnis\r\n";
// Long enough that writing its result takes several blocks of the stream.
constexpr int kManyLines = 70000;

std::string manyPoints() {
  std::string content;
  for (int line = 1; line <= kManyLines; ++line)
    content += "P" + std::to_string(line) + " 3450000." + std::to_string(line % 997) + " 5750000.125\n";
  return content;
}

class OutputSafety : public ::testing::Test {
protected:
  void SetUp() override {
    testsupport::writeFile(dir.file("alt.asc"), kOld);
    testsupport::writeFile(dir.file("neu.asc"), kNew);
  }
  ProcessResult run(const std::vector<std::string>& arguments) {
    return runProcess(TRAMIS_CLI_PATH, arguments, dir.path(), testsupport::kGermanLocale);
  }
  // The hidden temporaries of the safe writer: ".name.XXXXXX".
  std::set<std::string> temporaries() const {
    std::set<std::string> found;
    for (const std::string& entry : testsupport::folderEntries(dir.path()))
      if (entry.starts_with(".")) found.insert(entry);
    return found;
  }
  testsupport::TempDir dir;
};

// Guards against an output replacing an input (the old-system file became HTML), on the
// estimate's and on --apply's way; the other outputs and spellings of one file (the result
// file became the protocol: BothOutputsOneNewFile) are the collision check's own tests.
TEST_F(OutputSafety, OutputsThatAreInputsAreRefusedBeforeAnythingIsWritten) {
  const struct {
    const char* label;
    std::vector<std::string> arguments;
    const char* named;  // a part of the refusal
  } cases[] = {
      {"report over the old file", {"--report", "alt.asc", "alt.asc", "neu.asc"}, "--report alt.asc"},
      {"apply over its input", {"--apply", "0 0 1 0", "alt.asc", "-o", "alt.asc"}, "-o alt.asc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    SetUp();  // the same inputs for every row, whatever an earlier one did
    const ProcessResult result = run(c.arguments);
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_TRUE(contains(result.err, c.named)) << result.err;
    EXPECT_TRUE(contains(result.err, "Aufruf: tramis-cli")) << result.err;
    EXPECT_EQ(result.out.size(), 0u);
    EXPECT_EQ(testsupport::readFile(dir.file("alt.asc")), kOld);
    EXPECT_EQ(testsupport::readFile(dir.file("neu.asc")), kNew);
  }
}

// Guards against -o /dev/stdout replacing the file standard output goes to (the protocol was
// lost) and, in a pipeline, failing with "Temporäre Datei kann nicht angelegt werden".
TEST_F(OutputSafety, ResultIntoStandardOutputIsRefusedAsAUsageError) {
  const ProcessResult redirected = run({"--apply", "0 0 1 0", "alt.asc", "-o", "/dev/stdout"});
  EXPECT_EQ(redirected.exitCode, 2);
  EXPECT_TRUE(contains(redirected.err, "-o /dev/stdout ist die Standardausgabe, auf die schon das Protokoll geht"))
      << redirected.err;
  EXPECT_EQ(redirected.out, "");

  // Through a pipe: the shell reports the exit code of tramis-cli on its error stream.
  const ProcessResult piped = runProcess(
      "/bin/sh",
      {"-c", "{ \"$0\" --json --apply '0 0 1 0' alt.asc -o /dev/stdout; echo \"exit=$?\" >&2; } | cat",
       TRAMIS_CLI_PATH},
      dir.path());
  EXPECT_TRUE(contains(piped.err, "exit=2")) << piped.err;
  EXPECT_TRUE(contains(piped.err, "auf die schon die JSON-Ausgabe geht")) << piped.err;
  EXPECT_EQ(piped.out, "");
}

// Opens `path` (a FIFO) for writing once a reader has it, and writes `content`; gives up
// when `stop` is set first. Without blocking in open, so that it cannot hang the test.
void writeIntoFifo(const std::string& path, const std::string& content, const std::atomic<bool>& stop) {
  int fd = -1;
  while (!stop && (fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK)) < 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  if (fd < 0) return;
  ::fcntl(fd, F_SETFL, 0);
  for (std::size_t at = 0; at < content.size();) {
    const ssize_t written = ::write(fd, content.data() + at, content.size() - at);
    if (written <= 0) break;
    at += static_cast<std::size_t>(written);
  }
  ::close(fd);
}

// Guards against a FIFO read as an empty file (its writer came a moment later) and a FIFO
// as -o refused: both are read and written as a pipeline would.
TEST_F(OutputSafety, FifosAreReadAndWrittenLikePipes) {
  ASSERT_EQ(::mkfifo(dir.file("eingabe").c_str(), 0600), 0);
  std::atomic<bool> stop = false;
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // after tramis-cli opened it
    writeIntoFifo(dir.file("eingabe"), kOld, stop);
  });
  const ProcessResult read = run({"--json", "--apply", "10 20 1 0", "eingabe", "-o", "fifo.erg"});
  stop = true;
  writer.join();
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(testsupport::readFile(dir.file("fifo.erg")),
            " P1\t 20             \t 10             \r\n P2\t 30             \t 10             \r\n"
            " P3\t 20             \t 20             \r\n P4\t 30             \t 20             ");

  ASSERT_EQ(::mkfifo(dir.file("ausgabe").c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] {
    const int fd = ::open(dir.file("ausgabe").c_str(), O_RDONLY);  // waits for tramis-cli
    char buffer[4096];
    for (ssize_t got; fd >= 0 && (got = ::read(fd, buffer, sizeof buffer)) > 0;)
      received.append(buffer, static_cast<std::size_t>(got));
    if (fd >= 0) ::close(fd);
  });
  const ProcessResult written = run({"--apply", "10 20 1 0", "alt.asc", "-o", "ausgabe"});
  if (written.exitCode != 0) {
    // The reader still waits in open: let it through.
    const int fd = ::open(dir.file("ausgabe").c_str(), O_WRONLY);
    if (fd >= 0) ::close(fd);
  }
  reader.join();
  EXPECT_EQ(written.exitCode, 0) << written.err;
  EXPECT_EQ(received, testsupport::readFile(dir.file("fifo.erg")));
  EXPECT_EQ(fs::status(dir.file("ausgabe")).type(), fs::file_type::fifo);
  EXPECT_EQ(temporaries(), std::set<std::string>{});
}

class SignalDuringWrite : public OutputSafety, public ::testing::WithParamInterface<int> {};

// Guards against SIGINT, SIGTERM and SIGHUP leaving the hidden temporary of a long --apply
// beside its target. The input is a FIFO that the test keeps open, so the signal certainly
// comes while the result is being written.
TEST_P(SignalDuringWrite, RemovesTheTemporaryKeepsTheTargetAndEndsByTheSignal) {
  const int signal = GetParam();
  testsupport::writeFile(dir.file("erg.erg"), kOldResult);
  ASSERT_EQ(::mkfifo(dir.file("eingabe").c_str(), 0600), 0);
  RunningProcess child =
      startProcess(TRAMIS_CLI_PATH, {"--apply", "0 0 1 0", "eingabe", "-o", "erg.erg"}, dir.path());
  const int fifo = ::open(dir.file("eingabe").c_str(), O_WRONLY);  // waits for the child
  ASSERT_GE(fifo, 0) << std::strerror(errno);
  const std::string lines = manyPoints().substr(0, 100000);
  ASSERT_EQ(::write(fifo, lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (temporaries().empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(temporaries().size(), 1u) << "the child made no temporary";
  ASSERT_EQ(::kill(child.pid, signal), 0);
  const ProcessResult result = waitForProcess(child);
  ::close(fifo);

  EXPECT_EQ(result.signal, signal) << "exit code " << result.exitCode << "\n" << result.err;
  EXPECT_EQ(temporaries(), std::set<std::string>{});
  EXPECT_EQ(testsupport::readFile(dir.file("erg.erg")), kOldResult);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalDuringWrite, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

// Guards against `ulimit -f` ending the process with "File size limit exceeded" and leaving
// the temporary: the write fails with the program's German message instead.
TEST_F(OutputSafety, FileSizeLimitIsAWriteError) {
  testsupport::writeFile(dir.file("viele.asc"), manyPoints());
  testsupport::writeFile(dir.file("erg.erg"), kOldResult);
  // 64 blocks of 512 bytes: far below the result of 70000 points.
  const ProcessResult result = runProcess(
      "/bin/sh", {"-c", "ulimit -f 64 && exec \"$0\" \"$@\"", TRAMIS_CLI_PATH, "--apply", "0 0 1 0",
                  "viele.asc", "-o", "erg.erg"},
      dir.path(), testsupport::kGermanLocale);
  EXPECT_EQ(result.signal, 0);
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_TRUE(contains(result.err, "Datei erg.erg kann nicht geschrieben werden.")) << result.err;
  EXPECT_EQ(temporaries(), std::set<std::string>{});
  EXPECT_EQ(testsupport::readFile(dir.file("erg.erg")), kOldResult);
}

// Guards against "inf" result lines reported as success (the program's own reader refuses
// them), also when the infinite point lies in a later block of a large file.
TEST_F(OutputSafety, PointsTransformedToInfinityFailTheResultFile) {
  testsupport::writeFile(dir.file("viele.asc"), manyPoints() + "weit 1e308 1e308\n");
  testsupport::writeFile(dir.file("erg.erg"), kOldResult);
  const struct {
    const char* label;
    std::vector<std::string> arguments;
    const char* where;
  } cases[] = {
      {"a far point in the last block", {"--apply", "0 0 2 0", "viele.asc", "-o", "erg.erg"}, "Zeile 70001:"},
      {"a far point beside the control points",
       {"viele.asc", "neu.asc", "-o", "erg.erg"}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const ProcessResult result = run(c.arguments);
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_TRUE(contains(result.err, "außerhalb des darstellbaren Zahlenbereichs")) << result.err;
    if (c.where) {
      EXPECT_TRUE(contains(result.err, c.where)) << result.err;
    }
    EXPECT_EQ(testsupport::readFile(dir.file("erg.erg")), kOldResult);
    EXPECT_EQ(temporaries(), std::set<std::string>{});
  }
}

}  // namespace
