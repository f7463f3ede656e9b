// German names and messages of the Restklaffenverteilung.
#include "DistributionTexts.h"

namespace distribution {

std::string_view methodName(Method method) {
  for (const MethodName& entry : kMethodNames)
    if (entry.method == method) return entry.name;
  return {};
}

std::string setupProblemMessage(const SetupResult& result, std::size_t controlPointCount,
                                const std::function<std::string(std::size_t)>& pointName) {
  const std::string prefix = "Restklaffenverteilung nicht möglich: ";
  switch (result.problem) {
    case SetupProblem::None:
      return {};
    case SetupProblem::NonFiniteInput:
      return prefix + "Paßpunkt " + pointName(result.first) + " hat keine endliche Koordinate oder Restklaffe.";
    case SetupProblem::CoincidentControlPoints:
      return prefix + "die Paßpunkte " + pointName(result.first) + " und " + pointName(result.second) +
             " liegen im Altsystem an derselben Stelle, haben aber verschiedene Restklaffen.";
    case SetupProblem::InvalidRadius:
      return prefix + "der Radius muß eine Länge über 0 sein.";
    case SetupProblem::InvalidDelta:
      return prefix + "δ muß eine Länge ab 0 sein.";
    case SetupProblem::TooManyForMultiquadric:
      return prefix + "die Multiquadratische Interpolation nimmt höchstens " +
             std::to_string(kMaxMultiquadricPoints) + " Paßpunkte, hier sind es " +
             std::to_string(controlPointCount) + ". Für mehr Paßpunkte: Gewichtung oder Dreiecksvermaschung.";
    case SetupProblem::MultiquadricIllConditioned:
      return prefix + "das Gleichungssystem der Multiquadratischen Interpolation gibt die Paßpunkte nicht "
                      "auf 1e-9 m wieder (schlecht konditioniert); ein anderes δ oder Verfahren wählen.";
  }
  return prefix;
}

}  // namespace distribution
