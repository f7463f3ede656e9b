// The command line of tramis-cli: what the user asked for, parsed without side effects,
// and the German help and usage texts.
#pragma once

#include "ControlPointAnalysis.h"
#include "PlaneModel.h"
#include "PointFileFormat.h"
#include "ResidualDistribution.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Exit codes of the program.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitBadInput = 1;  // unreadable input, a refused file, a failed estimate
inline constexpr int kExitUsage = 2;     // the command line itself is wrong

enum class OutputFormat { Protocol, Json, Proj };
enum class Pairing { ByPosition, ByName };
// The format of the result file (-o): the window's .erg lines, or CSV with a header.
enum class ResultFormat { Erg, Csv };

// Published parameters for --apply, in the order the user types them: "Xo Yo a o".
// Xo is added to hw, Yo to rw (RW = Yo + a*rw + o*hw, HW = Xo + a*hw - o*rw).
struct KnownParameters {
  double Xo = 0;
  double Yo = 0;
  double a = 0;
  double o = 0;
};

struct Options {
  bool help = false;
  OutputFormat format = OutputFormat::Protocol;
  Pairing pairing = Pairing::ByPosition;
  bool strict = false;                    // stop at the first bad line
  char decimalSeparator = 0;              // 0: the separator of the process locale
  std::optional<KnownParameters> apply;   // transform with these instead of estimating
  std::string oldPath;
  std::string newPath;                    // empty with --apply
  std::string resultPath;                 // -o; empty when no result file is wanted
  std::vector<std::string> exclude;       // --exclude, each list as given: pairs to switch off
  double alpha = analysis::kDefaultAlpha;  // --alpha: significance level of the point test
  bool alphaGiven = false;
  std::string reportPath;                 // --report; empty when no protocol file is wanted
  // --columns and --delimiter: how ALT and NEU are read; unset, each file's start decides.
  std::optional<std::vector<pointfiles::Column>> columns;
  std::optional<pointfiles::Separator> delimiter;
  ResultFormat resultFormat = ResultFormat::Erg;  // --output-format
  std::string pointsPath;     // --points: both systems and the activity from one QGIS file
  std::string pointsOutPath;  // --points-out: the pairs written as a QGIS file
  // --distribute, --idw-radius, --mq-delta: the Restklaffenverteilung after the estimate.
  std::optional<distribution::Method> distribute;
  std::optional<double> idwRadius;  // [m]
  std::optional<double> mqDelta;    // [m]
  std::string transformPath;  // --transform: the file -o is written from, instead of ALT
  std::string tinshiftPath;   // --tinshift: the triangles as a PROJ tinshift file
  // --model: the model to estimate and apply; unset, Helmert without the comparison of the
  // models (every output as without the option).
  std::optional<models::Model> model;
  // Not from the command line: the program's file version, which main sets for --report.
  std::string programVersion;
};

struct ParseResult {
  Options options;
  std::string error;  // why the command line is wrong, in German; empty when it is fine
  bool ok() const { return error.empty(); }
};

// Parses the arguments after the program name. Every option may be given once, except
// --exclude, whose lists add up; an option given twice is a usage error.
ParseResult parseOptions(const std::vector<std::string>& arguments);

// Reads "Xo Yo a o": exactly four numbers separated by blanks or tabs, each with a
// decimal point or a decimal comma, as coordinate files accept them.
std::optional<KnownParameters> parseKnownParameters(std::string_view text);

// The full German help; `version` is the program's file version (may be empty).
std::string helpText(const std::string& version);
// The short reminder printed after a usage error.
std::string usageHint();

}  // namespace cli
