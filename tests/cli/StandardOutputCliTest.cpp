// tramis-cli when its standard output cannot take the report: a full device (the file size
// limit fails the same write) and a pipe whose reader has gone, for every kind of report; and a closed standard
// error during --apply, which must not end the process in the middle of the result file.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"

#include <csignal>
#include <fcntl.h>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace clitest;

constexpr const char* kStdoutFailure =
    "File Error: Die Standardausgabe kann nicht geschrieben werden.\nFehler beim Schreiben: ";

// The write end of a pipe whose read end is already closed.
class ClosedPipe {
public:
  ClosedPipe() {
    int ends[2];
    if (::pipe(ends) == 0) {
      ::close(ends[0]);
      writeEnd_ = ends[1];
    }
  }
  ~ClosedPipe() {
    if (writeEnd_ >= 0) ::close(writeEnd_);
  }
  ClosedPipe(const ClosedPipe&) = delete;
  ClosedPipe& operator=(const ClosedPipe&) = delete;
  int descriptor() const { return writeEnd_; }

private:
  int writeEnd_ = -1;
};

class StandardOutputCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    testsupport::writeFile(dir.file("alt.txt"), "P1 0 0\nP2 10 0\nP3 0 10\nP4 10 10\n");
    testsupport::writeFile(dir.file("neu.txt"), "P1 100 200\nP2 110 200.01\nP3 100 210.03\nP4 110 210\n");
  }
  ProcessResult run(const std::vector<std::string>& arguments, ConnectedStream connected) {
    RunningProcess process = startProcess(TRAMIS_CLI_PATH, arguments, dir.path(), "", connected);
    return waitForProcess(process);
  }
  testsupport::TempDir dir;
};

// Every report that goes to standard output.
const std::vector<std::string> kReports[] = {
    {"alt.txt", "neu.txt"},
    {"--json", "alt.txt", "neu.txt"},
    {"--proj", "alt.txt", "neu.txt"},
    {"--apply", "10 20 1 0", "alt.txt", "-o", "x.erg"},
    {"--help"},
};

// Guards against "tramis-cli --json A N > /dev/full" ending with exit code 0.
TEST_F(StandardOutputCliTest, FullDeviceIsAFailureWithAMessage) {
  const int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  for (const std::vector<std::string>& arguments : kReports) {
    SCOPED_TRACE(arguments[0]);
    const ProcessResult result = run(arguments, {1, full});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, std::string(kStdoutFailure))) << result.err;
  }
  ::close(full);
}

// The reader of a pipe that has gone away (`| head`) ends the run quietly, with exit code 1
// and without being killed by SIGPIPE.
TEST_F(StandardOutputCliTest, ClosedPipeEndsTheRunQuietly) {
  for (const std::vector<std::string>& arguments : kReports) {
    SCOPED_TRACE(arguments[0]);
    const ClosedPipe pipe;
    ASSERT_GE(pipe.descriptor(), 0);
    const ProcessResult result = run(arguments, {1, pipe.descriptor()});
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "");
  }
}

// Guards against SIGPIPE from a closed standard error killing --apply while its
// temporary lies beside the target: the result file is finished and nothing is left.
TEST_F(StandardOutputCliTest, ClosedStandardErrorLeavesNoTemporary) {
  std::string lines;
  for (int i = 0; i < 20000; ++i) lines += i % 2 == 0 ? "P" + std::to_string(i) + " 1 2\n" : "x y z\n";
  testsupport::writeFile(dir.file("viele.txt"), lines);
  const ClosedPipe pipe;
  ASSERT_GE(pipe.descriptor(), 0);
  const ProcessResult result = run({"--apply", "0 0 1 0", "viele.txt", "-o", "viele.erg"}, {2, pipe.descriptor()});
  EXPECT_EQ(result.signal, 0);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(contains(result.out, "(10000 Punkte transformiert)")) << result.out;
  EXPECT_EQ(testsupport::folderEntries(dir.path()),
            (std::set<std::string>{"alt.txt", "neu.txt", "viele.txt", "viele.erg"}));
}

}  // namespace
