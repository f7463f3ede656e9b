// Tests of what tramis-cli writes as text, run as a process: control characters from point
// names, bad tokens and arguments reach standard output and standard error escaped, while
// JSON keeps its own escaping and the result file keeps the bytes it was given.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"
#include "TerminalStream.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace clitest;

// Names with ESC[31m, BEL, DEL, the C1 control U+009B and the byte 0x81 (undefined in
// Windows-1252, so a C1 control once shown); "P\x1b[32m9" also has no partner. (CR ends
// a line in these files and tab separates tokens: no name holds them.)
const std::string kOld = "R\x1b[31m1 0 0\nB\a2 10 0\nC\x81" "3 0 10\nD\x7f" "4 10 10\nE\xc2\x9b" "5 5 5\nP\x1b[32m9 3 3\n";
const std::string kNew = "R\x1b[31m1 100 200\nB\a2 110 200.01\nC\x81" "3 100 210\nD\x7f" "4 110 210\nE\xc2\x9b" "5 105 205\n";

// The bytes of `text` that would act on a terminal: controls but the line feed, DEL, C1.
std::string controlsIn(const std::string& text) {
  std::string found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool c1 = c == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xa0;
    if ((c < 0x20 && c != '\n') || c == 0x7f || c1) found += "byte " + std::to_string(c) + " at " + std::to_string(i) + "; ";
  }
  return found;
}

class TerminalOutputCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    testsupport::writeFile(dir.file("alt.txt"), kOld);
    testsupport::writeFile(dir.file("neu.txt"), kNew);
  }
  ProcessResult run(const std::vector<std::string>& arguments) { return runProcess(TRAMIS_CLI_PATH, arguments, dir.path()); }
  testsupport::TempDir dir;
};

// Guards against names and tokens reaching the terminal raw (ESC[31m coloured it): the
// protocol, the warnings, the bad-line reports and the usage errors carry escapes only.
TEST_F(TerminalOutputCliTest, ProtocolAndMessagesShowControlCharactersEscaped) {
  testsupport::writeFile(dir.file("schlecht.txt"), "Q1 1\x1b[5m 2\n" + kOld);
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    int exitCode;
    std::vector<std::string> shownOnOut, shownOnErr;
  } cases[] = {
      {"protocol by position", {"alt.txt", "neu.txt"}, 0,
       {"R\\x1b[31m1", "B\\x072", "C\\x813", "D\\x7f4", "E\\x9b5"}, {}},
      {"pairing by name", {"--pair-by-name", "alt.txt", "neu.txt"}, 0, {"R\\x1b[31m1"},
       {"nur im Altsystem (1): P\\x1b[32m9"}},
      {"bad token", {"schlecht.txt", "neu.txt"}, 0, {}, {"\"1\\x1b[5m 2\""}},
      {"excluded name that is no pair", {"--pair-by-name", "--exclude", "X\x1b[0m", "alt.txt", "neu.txt"}, 2, {},
       {"\"X\\x1b[0m\" ist kein Paßpunkt"}},
      {"unknown option", {"--\x1b]0;titel\a", "alt.txt", "neu.txt"}, 2, {}, {"--\\x1b]0;titel\\x07"}},
  };
  for (const auto& c : cases) {
    const ProcessResult result = run(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.name << "\n" << result.err;
    EXPECT_EQ(controlsIn(result.out), "") << c.name << "\n" << result.out;
    EXPECT_EQ(controlsIn(result.err), "") << c.name << "\n" << result.err;
    for (const std::string& part : c.shownOnOut) EXPECT_TRUE(contains(result.out, part)) << c.name << ": " << part << "\n" << result.out;
    for (const std::string& part : c.shownOnErr) EXPECT_TRUE(contains(result.err, part)) << c.name << ": " << part << "\n" << result.err;
  }
}

// Files keep their own rules: the result file has the names' bytes, JSON escapes as JSON
// does (\u001b), never with the terminal's \x1b, which no JSON reader would accept.
TEST_F(TerminalOutputCliTest, ResultFileAndJsonAreNotEscapedForTheTerminal) {
  const ProcessResult result = run({"--json", "alt.txt", "neu.txt", "-o", "erg.erg"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(contains(result.out, "\"R\\u001b[31m1\"")) << result.out;
  EXPECT_FALSE(contains(result.out, "\\x1b"));
  EXPECT_TRUE(contains(testsupport::readFile(dir.file("erg.erg")), " R\x1b[31m1\t"));
}

// A target stream that takes `room` bytes and then fails, as a full disk does.
class FullTarget : public std::stringbuf {
public:
  explicit FullTarget(std::size_t room) : room_(room) {}

protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    const std::streamsize taken = std::min<std::streamsize>(count, static_cast<std::streamsize>(room_));
    room_ -= static_cast<std::size_t>(taken);
    return std::stringbuf::xsputn(text, taken);
  }
  int_type overflow(int_type ch) override { return room_ == 0 ? traits_type::eof() : std::stringbuf::overflow(ch); }

private:
  std::size_t room_;
};

// Text written in pieces that cut a UTF-8 sequence arrives whole, not as escaped bytes; a
// failing target makes the stream fail, so that the caller can report a failed write.
TEST(TerminalStream, PiecesAreJoinedAndAFailingTargetIsReported) {
  std::ostringstream target;
  {
    cli::TerminalStream stream(target);
    const std::string text = "Paßpunkt \xe2\x82\xac\x1b\n";
    for (const char c : text) stream.write(&c, 1).flush();
    stream << std::string(100000, 'x') << "\xc3";  // beyond a piece, ends mid-sequence
    stream << "\xa4";
  }
  EXPECT_EQ(target.str(), "Paßpunkt €\\x1b\n" + std::string(100000, 'x') + "ä");

  std::ostream full(nullptr);
  FullTarget buffer(10);
  full.rdbuf(&buffer);
  cli::TerminalStream stream(full);
  stream << "12345678901234567890\n";
  EXPECT_TRUE(stream.good());  // still waiting in the stream
  stream.flush();
  EXPECT_TRUE(stream.bad());
}

}  // namespace
