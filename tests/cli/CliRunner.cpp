// Child processes for the command-line tests: posix_spawn with standard output and error
// redirected into files of a temporary folder, and the signal dispositions reset.
#include "CliRunner.h"

#include "TestFiles.h"

#include <charconv>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace clitest {

RunningProcess startProcess(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingDirectory, const std::string& locale,
                            ConnectedStream connected) {
  RunningProcess process;
  process.capture = std::make_unique<testsupport::TempDir>();
  const std::string outPath = process.capture->file("stdout");
  const std::string errPath = process.capture->file("stderr");

  // The parent's environment without its locale settings, plus the one asked for.
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    if (text.starts_with("LC_") || text.starts_with("LANG=") || text.starts_with("LANGUAGE="))
      continue;
    environment.emplace_back(text);
  }
  environment.push_back("LC_ALL=" + (locale.empty() ? std::string("C") : locale));

  std::vector<std::string> argv{program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> argvPointers;
  for (std::string& argument : argv) argvPointers.push_back(argument.data());
  argvPointers.push_back(nullptr);
  std::vector<char*> envPointers;
  for (std::string& entry : environment) envPointers.push_back(entry.data());
  envPointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (connected.stream != 0) posix_spawn_file_actions_adddup2(&actions, connected.descriptor, connected.stream);
  posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) sigaddset(&defaults, signal);
  sigset_t nothingBlocked;
  sigemptyset(&nothingBlocked);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &nothingBlocked);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  const int spawned = posix_spawn(&process.pid, program.c_str(), &actions, &attributes,
                                  argvPointers.data(), envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) throw std::runtime_error("cannot start " + program + ": " + std::strerror(spawned));
  return process;
}

ProcessResult waitForProcess(RunningProcess& process) {
  int status = 0;
  if (waitpid(process.pid, &status, 0) != process.pid) throw std::runtime_error("waitpid failed");
  ProcessResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  result.out = testsupport::readFile(process.capture->file("stdout"));
  result.err = testsupport::readFile(process.capture->file("stderr"));
  return result;
}

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDirectory, const std::string& locale) {
  RunningProcess process = startProcess(program, arguments, workingDirectory, locale);
  return waitForProcess(process);
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> result;
  std::istringstream in(line);
  for (std::string word; in >> word;) result.push_back(word);
  return result;
}

double jsonNumber(const std::string& json, const std::string& key) {
  const std::size_t at = json.find("\"" + key + "\": ");
  double value = NAN;
  if (at != std::string::npos) std::from_chars(json.data() + at + key.size() + 4, json.data() + json.size(), value);
  return value;
}

bool writeEmbeddedPlot(const std::string& html, const std::string& base64Program, const std::string& folder) {
  std::smatch svg;
  if (!std::regex_search(html, svg, std::regex("src=\"data:image/svg\\+xml;base64,([^\"]+)\""))) return false;
  testsupport::writeFile(folder + "/plot.b64", svg[1].str());
  const ProcessResult decoded = runProcess(base64Program, {"-d", "plot.b64"}, folder);
  if (decoded.exitCode != 0) return false;
  testsupport::writeFile(folder + "/plot.svg", decoded.out);
  return true;
}

}  // namespace clitest
