// The methods' names and the texts of a distribution that could not be set up.
#include "DistributionTexts.h"

namespace distribution {

const char* methodName(Method method) {
  for (const MethodName& entry : kMethodNames)
    if (entry.method == method) return entry.name;
  return "";
}

std::string setupProblemText(const SetupResult& result, const std::string& first,
                                 const std::string& second) {
  switch (result.problem) {
    case SetupProblem::None:
      return {};
    case SetupProblem::NonFiniteInput:
      return "Paßpunkt " + first + ": Koordinate oder Restklaffe ist keine endliche Zahl.";
    case SetupProblem::CoincidentControlPoints:
      return "Die Paßpunkte " + first + " und " + second +
             " liegen im Altsystem aufeinander, haben aber verschiedene Restklaffen.";
    case SetupProblem::InvalidRadius:
      return "Der Radius muß eine Zahl größer als null sein.";
    case SetupProblem::InvalidDelta:
      return "δ muß eine Zahl größer oder gleich null sein.";
    case SetupProblem::TooManyForMultiquadric:
      return "Die multiquadratische Interpolation ist auf " +
             std::to_string(kMaxMultiquadricPoints) + " Paßpunkte beschränkt.";
    case SetupProblem::MultiquadricIllConditioned:
      return "Die multiquadratische Interpolation ist numerisch instabil: die Paßpunkte werden "
             "nicht auf 1e-9 m getroffen. Bitte ein anderes δ wählen.";
  }
  return {};
}

}  // namespace distribution
