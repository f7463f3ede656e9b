// tramis-cli: the command-line companion of the window program. Estimates a plane Helmert
// transformation from two coordinate files or applies known parameters, and reports as a
// German protocol, as JSON or as a PROJ operation.
#include "Commands.h"
#include "FileIdentity.h"
#include "FileVersion.h"
#include "Options.h"
#include "PathCollisions.h"
#include "ProcessStart.h"
#include "StandardOutput.h"
#include "TemporaryCleanup.h"
#include "TerminalStream.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  // The regional settings decide the protocol's decimal separator only; reading and the
  // result file never depend on them.
  cli::setUpProcess();
  output::removeTemporariesOnSignals();
  std::ios::sync_with_stdio(false);
  // Every report goes through `out`; the exit code is decided once it is all written.
  cli::StandardOutput standardOutput;
  std::ostream& out = standardOutput.stream();

  // Messages and the protocol are text for a terminal: control characters in names, tokens
  // and paths are shown escaped. JSON escapes by its own rules; files are never touched.
  cli::TerminalStream err(std::cerr);
  const std::vector<std::string> arguments = cli::commandLineArguments(argc, argv);
  const cli::ParseResult parsed = cli::parseOptions(arguments);
  if (!parsed.ok()) {
    err << "tramis-cli: " << parsed.error << '\n' << cli::usageHint();
    return cli::kExitUsage;
  }
  if (parsed.options.help) {
    out << cli::helpText(GetFileVersion(cli::executablePath()));
    return standardOutput.finish(cli::kExitSuccess, std::cerr);
  }
  // Before anything is read or written: no output may destroy an input or another output.
  const std::string collision = cli::pathCollision(parsed.options, output::identifyStandardOutput());
  if (!collision.empty()) {
    err << "tramis-cli: " << collision << '\n' << cli::usageHint();
    return cli::kExitUsage;
  }
  cli::Options options = parsed.options;
  if (!options.reportPath.empty()) options.programVersion = GetFileVersion(cli::executablePath());
  // The protocol passes through the terminal escapes on its way to the checked output; JSON
  // escapes by its own rules.
  cli::TerminalStream protocol(out);
  std::ostream& report = options.format == cli::OutputFormat::Json ? out : protocol;
  err.tie(&report);  // what was written before a message shows before it
  const int exitCode = cli::runCommand(options, report, err);
  protocol.flush();
  return standardOutput.finish(exitCode, err);
}
