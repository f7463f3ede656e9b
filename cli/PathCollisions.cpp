// Every output against every input, the outputs against each other, and all of them
// against standard output.
#include "PathCollisions.h"

#include "TextConversions.h"

#include <initializer_list>
#include <utility>
#include <vector>

namespace cli {

namespace {

struct NamedFile {
  std::string role;  // as the usage text names it: "-o", "--report", "ALT", "NEU"
  std::string path;
  std::optional<output::FileIdentity> identity;
};

std::vector<NamedFile> namedFiles(std::initializer_list<std::pair<const char*, const std::string*>> files) {
  std::vector<NamedFile> named;
  for (const auto& [role, path] : files)
    if (!path->empty()) named.push_back({role, *path, output::identifyFile(*path)});
  return named;
}

std::string shown(const NamedFile& file) { return file.role + " " + toolkit::DisplayText(file.path); }

// What standard output carries in this run.
const char* standardOutputText(OutputFormat format) {
  switch (format) {
    case OutputFormat::Json:
      return "die JSON-Ausgabe";
    case OutputFormat::Proj:
      return "die PROJ-Operation";
    case OutputFormat::Protocol:
      break;
  }
  return "das Protokoll";
}

}  // namespace

std::string pathCollision(const Options& options,
                          const std::optional<output::FileIdentity>& standardOutput) {
  const std::vector<NamedFile> outputs =
      namedFiles({{"-o", &options.resultPath}, {"--report", &options.reportPath},
                  {"--points-out", &options.pointsOutPath}, {"--tinshift", &options.tinshiftPath}});
  const std::vector<NamedFile> inputs = namedFiles(
      {{"ALT", &options.oldPath}, {"NEU", &options.newPath}, {"--points", &options.pointsPath},
                 {"--transform", &options.transformPath}});

  for (const NamedFile& written : outputs)
    for (const NamedFile& read : inputs)
      if (output::overwrites(written.identity, read.identity))
        return shown(written) + " ist dieselbe Datei wie die Eingabedatei " + shown(read) +
               ": sie würde überschrieben.";
  for (std::size_t i = 0; i < outputs.size(); ++i)
    for (std::size_t j = i + 1; j < outputs.size(); ++j)
      if (output::overwrites(outputs[i].identity, outputs[j].identity))
        return shown(outputs[i]) + " und " + shown(outputs[j]) +
               " sind dieselbe Datei: die eine Ausgabe würde die andere ersetzen.";
  const std::string carried = standardOutputText(options.format);
  for (const NamedFile& written : outputs)
    if (output::sameFile(written.identity, standardOutput))
      return shown(written) + " ist die Standardausgabe, auf die schon " + carried +
             " geht: beides in einem Datenstrom wäre nicht zu trennen.";
  for (const NamedFile& read : inputs)
    if (output::overwrites(read.identity, standardOutput))
      return "Die Standardausgabe ist die Eingabedatei " + shown(read) + ": " + carried +
             " würde sie verändern.";
  return {};
}

}  // namespace cli
