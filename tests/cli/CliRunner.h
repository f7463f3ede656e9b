// Runs a program as a child process with chosen arguments and locale, and collects its
// exit code, standard output and standard error.
#pragma once

#include "TestFiles.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace clitest {

struct ProcessResult {
  int exitCode = -1;  // -1 when the process did not end normally
  int signal = 0;     // the signal that ended it; 0 when it exited
  std::string out;
  std::string err;
};

// A child started and not yet waited for.
struct RunningProcess {
  pid_t pid = 0;
  std::unique_ptr<testsupport::TempDir> capture;  // holds its standard output and error
};

// Runs `program` with `arguments` in `workingDirectory`. `locale` is set as LC_ALL for the
// child (empty: LC_ALL=C), so that tests do not depend on the caller's environment. The
// child starts with the default action for SIGINT, SIGTERM, SIGHUP and SIGXFSZ, whatever
// the test runner ignores.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDirectory, const std::string& locale = "");
// The same in two steps, for tests that act on the child while it runs. A `connected`
// stream (1 or 2) is the child's `descriptor` instead of a capture file; its text in the
// result is empty.
struct ConnectedStream {
  int stream = 0;  // 0: none
  int descriptor = -1;
};
RunningProcess startProcess(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingDirectory, const std::string& locale = "",
                            ConnectedStream connected = {});
ProcessResult waitForProcess(RunningProcess& process);

// The lines of `text`, without their line feeds.
std::vector<std::string> lines(const std::string& text);
// The blank-separated words of `line`.
std::vector<std::string> words(const std::string& line);
// Whether `text` contains `part`.
inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
// The number after "key": in a JSON text (the first occurrence); NaN when missing or null.
double jsonNumber(const std::string& json, const std::string& key);
// Writes the SVG plot of the HTML protocol `html`, decoded from its data address with
// coreutils' `base64Program`, to `folder`/plot.svg; false when the page has none or the
// decoding fails.
bool writeEmbeddedPlot(const std::string& html, const std::string& base64Program, const std::string& folder);

}  // namespace clitest
