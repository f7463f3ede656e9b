// Fuzz target for tramis-cli's option parser: any bytes, split at zero bytes into the
// arguments (as the system hands them over, none can hold a zero byte). The parser must
// never crash or throw; a command line it refuses gets one of the program's German usage
// messages, and one it accepts names files that were given and values it can use.
#include "Exclusion.h"
#include "Options.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what, const std::vector<std::string>& arguments, const std::string& detail) {
  std::fprintf(stderr, "parseOptions: %s: %s\narguments:", what, detail.c_str());
  for (const std::string& argument : arguments) std::fprintf(stderr, " [%s]", argument.c_str());
  std::fprintf(stderr, "\n");
  std::abort();
}

// How each of the parser's usage messages begins. A message not among them (an English
// library text, an empty or garbled one) is a fault.
constexpr std::string_view kMessageOpenings[] = {
    "Unbekannte Option ",
    "Option ",
    "--apply erwartet vier Zahlen \"Xo Yo a o\", erhalten: \"",
    "--alpha erwartet eine Irrtumswahrscheinlichkeit zwischen 0 und 0,5 (ohne die Grenzen), erhalten: \"",
    "--exclude erwartet ",
    "--json und --proj schließen einander aus.",
    "--decimal-comma und --decimal-point schließen einander aus.",
    "Mit --apply wird ",
    "--pair-by-name passt nicht zu --apply: ",
    "--exclude und --alpha passen nicht zu --apply: ",
    "--report passt nicht zu --apply: ",
    "Zwei Koordinatendateien ALT und NEU werden erwartet.",
    "Zu viele Dateien angegeben: erwartet werden ALT und NEU.",
    "--output-format ",
    "--columns",
    "--delimiter erwartet ",
    "--points und --points-out passen nicht zu --apply: ",
    "Mit --points werden keine Dateien ALT und NEU erwartet: ",
    "--pair-by-name passt nicht zu --points: ",
    "--model ",
    "--distribute",
    "--idw-radius ",
    "--mq-delta ",
    "Mit --transform wird ",
    "--tinshift setzt --distribute triangles voraus: ",
    "--proj mit --distribute setzt ",
    "Der Pfad von --tinshift ",
    "--transform gibt es nur für das Helmert-Modell",
};

bool isUsageMessage(const std::string& error) {
  if (error.empty() || error.back() != '.') return false;
  return std::any_of(std::begin(kMessageOpenings), std::end(kMessageOpenings),
                     [&](std::string_view opening) { return error.starts_with(opening); });
}

bool given(const std::vector<std::string>& arguments, const std::string& file) {
  return std::find(arguments.begin(), arguments.end(), file) != arguments.end();
}

void checkAccepted(const std::vector<std::string>& arguments, const cli::Options& options) {
  // --points: one QGIS file holds both systems; ALT and NEU are not given.
  if (!options.pointsPath.empty()) {
    if ((!given(arguments, options.pointsPath) && !given(arguments, "--points=" + options.pointsPath)) ||
        !options.oldPath.empty() || !options.newPath.empty())
      fail("--points accepted with other input files", arguments, options.pointsPath);
    return;
  }
  if (!given(arguments, options.oldPath)) fail("old file not among the arguments", arguments, options.oldPath);
  if (options.apply) {
    if (!options.newPath.empty() || options.resultPath.empty() || !options.exclude.empty() ||
        options.alphaGiven || !options.reportPath.empty() || options.pairing != cli::Pairing::ByPosition)
      fail("--apply accepted with options it excludes", arguments, options.resultPath);
    return;
  }
  if (!given(arguments, options.newPath)) fail("new file not among the arguments", arguments, options.newPath);
  if (!(options.alpha > 0 && options.alpha < 0.5)) fail("alpha out of range", arguments, std::to_string(options.alpha));
  for (const std::string& list : options.exclude)
    if (list.empty() || !cli::checkExcludeList(list, options.pairing).empty())
      fail("--exclude list accepted that its check refuses", arguments, list);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start <= bytes.size()) {
    const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
    arguments.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
  }

  const cli::ParseResult result = cli::parseOptions(arguments);
  if (!result.ok()) {
    if (!isUsageMessage(result.error)) fail("not one of the usage messages", arguments, result.error);
  } else if (!result.options.help) {
    checkAccepted(arguments, result.options);
  }
  return 0;
}
