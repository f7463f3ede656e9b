// The names of the distribution methods on the command line and the rules for combining
// the distribution's options with the others.
#include "DistributionOptions.h"

#include <Kelstring.h>

#include <cmath>
#include <utility>

namespace cli {

namespace {

using distribution::Method;

constexpr std::pair<std::string_view, Method> kMethodNames[] = {
    {"idw1", Method::DistanceWeightingP1},     {"idw1.5", Method::DistanceWeightingP1_5},
    {"idw2", Method::DistanceWeightingP2},     {"multiquadric", Method::Multiquadric},
    {"triangles", Method::Triangles},
};

bool isDistanceWeighting(Method method) {
  return method == Method::DistanceWeightingP1 || method == Method::DistanceWeightingP1_5 ||
         method == Method::DistanceWeightingP2;
}

}  // namespace

std::optional<Method> distributionMethod(std::string_view name) {
  for (const auto& [text, method] : kMethodNames)
    if (text == name) return method;
  return std::nullopt;
}

std::string_view distributionMethodName(Method method) {
  for (const auto& [text, candidate] : kMethodNames)
    if (candidate == method) return text;
  return {};
}

std::optional<double> lengthValue(const std::string& text, bool zeroAllowed) {
  double value = 0;
  if (!kel::StrToDouble(text, value) || !std::isfinite(value)) return std::nullopt;
  if (value < 0 || (value == 0 && !zeroAllowed)) return std::nullopt;
  return value;
}

std::string distributionUsageError(const Options& options, bool proj) {
  const std::optional<Method>& method = options.distribute;
  if (options.idwRadius && !(method && isDistanceWeighting(*method)))
    return "--idw-radius gilt nur für --distribute idw1, idw1.5 oder idw2.";
  if (options.mqDelta && method != Method::Multiquadric)
    return "--mq-delta gilt nur für --distribute multiquadric.";
  if (options.apply && (method || !options.transformPath.empty() || !options.tinshiftPath.empty()))
    return "--distribute, --transform und --tinshift passen nicht zu --apply: ohne Schätzung gibt es "
           "keine Restklaffen (--apply transformiert ALT selbst).";
  if (method && !options.resultPath.empty() && options.resultFormat == ResultFormat::Csv)
    return "--output-format csv passt nicht zu --distribute: die Ergebnisdatei wird im Format erg geschrieben.";
  if (!options.transformPath.empty()) {
    if (options.resultPath.empty())
      return "Mit --transform wird die Ergebnisdatei mit -o ERGEBNIS.erg erwartet.";
    if (options.resultFormat == ResultFormat::Csv)
      return "--output-format csv passt nicht zu --transform: die Datei wird abschnittsweise im Format erg "
             "geschrieben.";
  }
  if (!options.tinshiftPath.empty() && method != Method::Triangles)
    return "--tinshift setzt --distribute triangles voraus: nur die Dreiecksvermaschung hat PROJ als tinshift.";
  if (proj && method && options.tinshiftPath.empty())
    return "--proj mit --distribute setzt --distribute triangles und --tinshift DATEI.json voraus: nur so gibt "
           "es eine PROJ-Operation mit der Restklaffenverteilung.";
  // PROJ splits its parameters at blanks: +file= cannot carry one.
  if (proj && options.tinshiftPath.find_first_of(" \t") != std::string::npos)
    return "Der Pfad von --tinshift darf mit --proj keine Leerzeichen enthalten: PROJ trennt an ihnen die "
           "Parameter.";
  return {};
}

}  // namespace cli
