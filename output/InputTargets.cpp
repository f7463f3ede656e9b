// Comparing a chosen target with the files read, and the window's text for a refusal.
#include "InputTargets.h"

#include "FileIdentity.h"
#include "TextConversions.h"

namespace output {

std::string inputTargetRefusal(const std::string& target, const std::vector<std::string>& inputs) {
  const std::optional<FileIdentity> written = identifyFile(target);
  for (const std::string& input : inputs)
    if (!input.empty() && overwrites(written, identifyFile(input)))
      return "Datei " + toolkit::DisplayText(target) +
             " ist eine eingelesene Koordinatendatei und wird nicht überschrieben.\n"
             "Bitte eine andere Datei wählen.";
  return {};
}

}  // namespace output
