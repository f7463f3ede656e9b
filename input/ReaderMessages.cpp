// Composes the reader's messages and status text.
#include "ReaderMessages.h"

#include "TextConversions.h"

#include <Kelfile.h>

namespace input {

namespace {

constexpr SystemTexts kOldSystem{"Koordinatendatei Altsystem öffnen", "Old: [", 0};
constexpr SystemTexts kNewSystem{"Koordinatendatei Neusystem öffnen", "New: [", 1};

// A message box cannot show a token of megabytes; the start of it identifies the line.
constexpr std::size_t kShownTokenLength = 60;

std::string shownToken(const std::string& token) {
  if (token.size() <= kShownTokenLength) return toolkit::DisplayText(token);
  std::string start = token.substr(0, kShownTokenLength);
  // Do not cut a UTF-8 sequence in two.
  while (!start.empty() && (static_cast<unsigned char>(start.back()) & 0xC0) == 0x80) start.pop_back();
  if (!start.empty() && static_cast<unsigned char>(start.back()) >= 0xC0) start.pop_back();
  return toolkit::DisplayText(start) + "…";
}

}  // namespace

const SystemTexts& textsFor(bool oldSystem) { return oldSystem ? kOldSystem : kNewSystem; }

std::string openErrorMessage(const std::string& path) {
  return "Datei " + toolkit::DisplayText(path) + " kann nicht geöffnet werden.";
}

std::string readErrorMessage(const std::string& path) {
  return "Datei " + toolkit::DisplayText(path) + " kann nicht gelesen werden.";
}

std::string badValueMessage(const std::string& path, const BadLine& line) {
  return "Es trat ein Problem in folgender Datei auf:\n\n\"" + toolkit::DisplayText(path) +
         "\"\n\nEin Wert in Zeile " + std::to_string(line.lineNumber) +
         " ist keine Gleitkommazahl.\n\n\"" + shownToken(line.firstShown) + " " +
         shownToken(line.secondShown) + "\"\n\nSoll das Einlesen der Daten fortgesetzt werden ?";
}

std::string statusText(const SystemTexts& system, std::size_t pointCount, const std::string& path) {
  return system.statusPrefix + std::to_string(pointCount) + "]  " +
         toolkit::DisplayText(kel::FileNamePart(path.c_str(), 'p'));
}

}  // namespace input
