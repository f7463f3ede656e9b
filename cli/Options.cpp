// Parsing of tramis-cli's command line and its help texts.
#include "Options.h"

#include <Kelstring.h>

#include "Exclusion.h"

#include <cmath>

namespace cli {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Accepts "--name VALUE" and "--name=VALUE" (and "-o VALUE", "-oVALUE" for the short form).
// Returns true when `argument` is this option; `value` is then set or `error` explains.
bool takeValue(const std::vector<std::string>& arguments, std::size_t& index,
               std::string_view longName, std::string_view shortName, std::string& value,
               std::string& error) {
  const std::string& argument = arguments[index];
  std::string_view rest;
  bool attached = false;
  if (argument == longName || (!shortName.empty() && argument == shortName)) {
    attached = false;
  } else if (argument.size() > longName.size() && argument.compare(0, longName.size(), longName) == 0 &&
             argument[longName.size()] == '=') {
    rest = std::string_view(argument).substr(longName.size() + 1);
    attached = true;
  } else if (!shortName.empty() && argument.size() > shortName.size() &&
             argument.compare(0, shortName.size(), shortName) == 0) {
    rest = std::string_view(argument).substr(shortName.size());
    attached = true;
  } else {
    return false;
  }
  if (attached) {
    value = rest;
  } else if (index + 1 < arguments.size()) {
    value = arguments[++index];
  } else {
    error = "Option " + argument + " erwartet einen Wert.";
    return true;
  }
  if (value.empty()) error = "Option " + std::string(longName) + " erwartet einen Wert.";
  return true;
}

}  // namespace

std::optional<KnownParameters> parseKnownParameters(std::string_view text) {
  double values[4] = {};
  int count = 0;
  std::size_t at = 0;
  while (true) {
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at == text.size()) break;
    const std::size_t start = at;
    while (at < text.size() && !isBlank(text[at])) ++at;
    if (count == 4) return std::nullopt;
    double value = 0;
    if (!kel::StrToDouble(std::string(text.substr(start, at - start)), value) ||
        !std::isfinite(value))
      return std::nullopt;
    values[count++] = value;
  }
  if (count != 4) return std::nullopt;
  return KnownParameters{values[0], values[1], values[2], values[3]};
}

ParseResult parseOptions(const std::vector<std::string>& arguments) {
  ParseResult result;
  Options& options = result.options;
  std::string& error = result.error;
  std::vector<std::string> files;
  bool json = false;
  bool proj = false;
  bool comma = false;
  bool point = false;
  bool optionsEnded = false;

  // Asking for help wins over everything else on the line, also over mistakes.
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (argument == "-h" || argument == "--help") {
      options.help = true;
      return result;
    }
  }

  for (std::size_t i = 0; i < arguments.size() && error.empty(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
      files.push_back(argument);
      continue;
    }
    std::string value;
    if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--strict") {
      options.strict = true;
    } else if (argument == "--json") {
      json = true;
    } else if (argument == "--proj") {
      proj = true;
    } else if (argument == "--pair-by-name") {
      options.pairing = Pairing::ByName;
    } else if (argument == "--decimal-comma") {
      comma = true;
    } else if (argument == "--decimal-point") {
      point = true;
    } else if (takeValue(arguments, i, "--output", "-o", value, error)) {
      if (error.empty()) options.resultPath = value;
    } else if (takeValue(arguments, i, "--report", "", value, error)) {
      if (error.empty()) options.reportPath = value;
    } else if (takeValue(arguments, i, "--apply", "", value, error)) {
      if (!error.empty()) break;
      options.apply = parseKnownParameters(value);
      if (!options.apply)
        error = "--apply erwartet vier Zahlen \"Xo Yo a o\", erhalten: \"" + value + "\".";
    } else if (takeValue(arguments, i, "--exclude", "", value, error)) {
      if (error.empty()) options.exclude = value;
    } else if (takeValue(arguments, i, "--alpha", "", value, error)) {
      if (!error.empty()) break;
      options.alphaGiven = true;
      if (!kel::StrToDouble(value, options.alpha) || !(options.alpha > 0 && options.alpha < 0.5))
        error = "--alpha erwartet eine Irrtumswahrscheinlichkeit zwischen 0 und 0,5 (ohne die Grenzen), "
                "erhalten: \"" + value + "\".";
    } else {
      error = "Unbekannte Option " + argument + ".";
    }
  }
  if (!error.empty()) return result;

  if (json && proj) {
    error = "--json und --proj schließen einander aus.";
  } else if (comma && point) {
    error = "--decimal-comma und --decimal-point schließen einander aus.";
  } else if (options.apply) {
    if (files.size() != 1)
      error = "Mit --apply wird genau eine Datei (ALT) erwartet.";
    else if (options.resultPath.empty())
      error = "Mit --apply wird die Ergebnisdatei mit -o ERGEBNIS.erg erwartet.";
    else if (options.pairing == Pairing::ByName)
      error = "--pair-by-name passt nicht zu --apply: es werden keine Paßpunkte gepaart.";
    else if (!options.exclude.empty() || options.alphaGiven)
      error = "--exclude und --alpha passen nicht zu --apply: es werden keine Paßpunkte ausgewertet.";
    else if (!options.reportPath.empty())
      error = "--report passt nicht zu --apply: ohne Schätzung gibt es kein Transformationsprotokoll.";
  } else if (files.size() != 2) {
    error = files.size() < 2 ? "Zwei Koordinatendateien ALT und NEU werden erwartet."
                             : "Zu viele Dateien angegeben: erwartet werden ALT und NEU.";
  } else if (!options.exclude.empty()) {
    error = checkExcludeList(options.exclude, options.pairing);
  }
  if (!error.empty()) return result;

  options.format = json ? OutputFormat::Json : proj ? OutputFormat::Proj : OutputFormat::Protocol;
  options.decimalSeparator = comma ? ',' : point ? '.' : 0;
  options.oldPath = files[0];
  if (files.size() > 1) options.newPath = files[1];
  return result;
}

std::string usageHint() {
  return "Aufruf: tramis-cli [Optionen] ALT NEU [-o ERGEBNIS.erg]\n"
         "       tramis-cli --apply \"Xo Yo a o\" ALT -o ERGEBNIS.erg\n"
         "Alle Optionen zeigt: tramis-cli --help\n";
}

std::string helpText(const std::string& version) {
  std::string text = "tramis-cli – ebene Helmert-Transformation mit vier Parametern\n";
  if (!version.empty()) text += "Version " + version + "\n";
  text +=
      "\n"
      "Aufruf:\n"
      "  tramis-cli [Optionen] ALT NEU [-o ERGEBNIS.erg]\n"
      "  tramis-cli --apply \"Xo Yo a o\" ALT -o ERGEBNIS.erg\n"
      "\n"
      "ALT und NEU sind Koordinatendateien im Alt- und im Neusystem, je Zeile ein Punkt:\n"
      "[Name] rw hw, mit Dezimalpunkt oder Dezimalkomma. Die Paßpunkte werden wie im\n"
      "Programmfenster nach ihrer Reihenfolge gepaart: der i-te Punkt von ALT mit dem\n"
      "i-ten Punkt von NEU. Geschätzt werden Xo, Yo, a und o; ausgegeben werden dazu\n"
      "m, d [gon], So, die Schwerpunkte und die Verbesserungen im Zielsystem.\n"
      "\n"
      "Modell:  RW = Yo + a·rw + o·hw,   HW = Xo + a·hw − o·rw\n"
      "\n"
      "Paßpunktanalyse: je Paßpunkt die Klaffe (Verbesserung nach Neuberechnung ohne den\n"
      "Punkt), der Redundanzanteil r, die Prüfgröße T und der kritische Wert k der\n"
      "F-Verteilung; T > k kennzeichnet einen Ausreißer. Darunter der Punkt mit der\n"
      "größten Prüfgröße und das Urteil, ob er ausreißerverdächtig ist.\n"
      "\n"
      "Optionen:\n"
      "  -o, --output DATEI     Ergebnisdatei schreiben: alle Punkte von ALT, transformiert;\n"
      "                         eine Pipe, ein Terminal oder Gerät wird direkt beschrieben\n"
      "      --strict           bei der ersten fehlerhaften Zeile abbrechen\n"
      "                         (sonst wird sie gemeldet und übersprungen)\n"
      "      --json             alle Ergebnisse maschinenlesbar als JSON ausgeben\n"
      "      --proj             die gleichwertige PROJ-Operation ausgeben (PROJ, GDAL, QGIS):\n"
      "                         +proj=helmert +x=Yo +y=Xo +s=m +theta=atan2(o, a) in\n"
      "                         Bogensekunden, mit rw als x und hw als y\n"
      "      --apply \"Xo Yo a o\" bekannte Parameter auf ALT anwenden, ohne Schätzung;\n"
      "                         ALT wird abschnittsweise auf allen Kernen gelesen und\n"
      "                         geschrieben: Dateien jeder Größe, wenig Arbeitsspeicher\n"
      "      --report DATEI.html  das Transformationsprotokoll als HTML-Datei schreiben:\n"
      "                         Dateien, Modell, Parameter, Schwerpunkte, Ausreißertest,\n"
      "                         Restklaffenplot und alle Paßpunkte; --exclude und --alpha\n"
      "                         gelten wie für die Ausgabe. Eine vorhandene Datei wird erst\n"
      "                         ersetzt, wenn das Protokoll vollständig geschrieben ist.\n"
      "      --pair-by-name     Paßpunkte nach Punktnamen paaren statt nach Reihenfolge\n"
      "      --exclude LISTE    Paßpunkte abschalten: Nummern „Pkt.“ und Bereiche wie 3,7-9,\n"
      "                         mit --pair-by-name Punktnamen; geschätzt wird aus den\n"
      "                         übrigen, die abgeschalteten sind Kontrollpunkte\n"
      "      --alpha P          Irrtumswahrscheinlichkeit des Punkttests, 0 < P < 0,5\n"
      "                         (voreingestellt 0,001 = 0,1 %)\n"
      "      --decimal-comma    Zahlen im Protokoll mit Dezimalkomma\n"
      "      --decimal-point    Zahlen im Protokoll mit Dezimalpunkt\n"
      "                         (ohne beide: wie im Gebietsschema eingestellt)\n"
      "  -h, --help             diese Hilfe\n"
      "\n"
      "Keine Ausgabe (-o, --report) darf eine Eingabedatei, die andere Ausgabe oder die\n"
      "Standardausgabe sein, auch nicht über ./, Verknüpfungen oder harte Links.\n"
      "\n"
      "Rückgabewerte: 0 Erfolg, 1 fehlerhafte Eingabe oder Berechnung nicht möglich,\n"
      "2 falscher Aufruf.\n";
  return text;
}

}  // namespace cli
