// Parsing of tramis-cli's command line and its help texts: a table of the options, read in
// order by one small loop. Not CLI11: every message has to be German, so its error texts
// would all be replaced, and its reading differs where this program is strict ("--output= x"
// would take x as the file, "--json=true" would be --json; both are usage errors here).
#include "Options.h"

#include <Kelstring.h>

#include "ColumnNames.h"
#include "DistributionOptions.h"
#include "Exclusion.h"
#include "ModelTexts.h"

#include <cmath>
#include <iterator>

namespace cli {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// What the options ask for while the command line is read; parseOptions checks how they
// combine once all of it is read.
struct ParseState {
  Options& options;
  std::vector<std::string> files;
  bool json = false;
  bool proj = false;
  bool comma = false;
  bool point = false;
  bool outputFormat = false;  // --output-format given
};

// Stores what an option asks for; returns the German usage error, or "" when the value is fine.
using ApplyOption = std::string (*)(ParseState& state, const std::string& value);

// A switch that only has to be remembered until the combination is checked.
template <bool ParseState::*given>
std::string rememberSwitch(ParseState& state, const std::string&) {
  state.*given = true;
  return {};
}

// An option whose value is taken as it is, such as a file name.
template <std::string Options::*field>
std::string storeValue(ParseState& state, const std::string& value) {
  state.options.*field = value;
  return {};
}

std::string showHelp(ParseState& state, const std::string&) {
  state.options.help = true;
  return {};
}

// One option of the command line. Adding an option is adding a row to kOptionRules (and a
// field to Options): its names, whether it takes a value, its lines of the help, and what
// it sets.
struct OptionRule {
  std::string_view shortName;  // "-o"; empty when there is none
  std::string_view longName;   // "--output"
  bool takesValue;             // "--name VALUE", "--name=VALUE" (and "-o VALUE", "-oVALUE")
  bool accumulates;            // may be given several times; any other option only once
  std::string_view help;       // its lines of the help text, exactly as shown
  ApplyOption apply;
};

constexpr OptionRule kOptionRules[] = {
    {"-o", "--output", true, false,
     "  -o, --output DATEI     Ergebnisdatei schreiben: alle Punkte von ALT, transformiert\n"
     "                         (mit --distribute verbessert; mit --transform die Punkte\n"
     "                         jener Datei statt ALT);\n"
     "                         eine Pipe, ein Terminal oder Gerät wird direkt beschrieben\n",
     storeValue<&Options::resultPath>},
    {"", "--strict", false, false,
     "      --strict           bei der ersten fehlerhaften Zeile abbrechen\n"
     "                         (sonst wird sie gemeldet und übersprungen)\n",
     [](ParseState& s, const std::string&) {
       s.options.strict = true;
       return std::string();
     }},
    {"", "--json", false, false,
     "      --json             alle Ergebnisse maschinenlesbar als JSON ausgeben\n",
     rememberSwitch<&ParseState::json>},
    {"", "--proj", false, false,
     "      --proj             die gleichwertige PROJ-Operation ausgeben (PROJ, GDAL, QGIS):\n"
     "                         +proj=helmert +x=Yo +y=Xo +s=m +theta=atan2(o, a) in\n"
     "                         Bogensekunden, mit rw als x und hw als y (kongruent: s=1;\n"
     "                         affin: +proj=affine +xoff=Yo +yoff=Xo +s11=a1 +s12=a2\n"
     "                         +s21=b1 +s22=b2)\n",
     rememberSwitch<&ParseState::proj>},
    {"", "--apply", true, false,
     "      --apply \"Xo Yo a o\" bekannte Parameter auf ALT anwenden, ohne Schätzung;\n"
     "                         ALT wird abschnittsweise auf allen Kernen gelesen und\n"
     "                         geschrieben: Dateien jeder Größe, wenig Arbeitsspeicher\n",
     [](ParseState& s, const std::string& value) {
       s.options.apply = parseKnownParameters(value);
       if (!s.options.apply) return "--apply erwartet vier Zahlen \"Xo Yo a o\", erhalten: \"" + value + "\".";
       return std::string();
     }},
    {"", "--report", true, false,
     "      --report DATEI.html  das Transformationsprotokoll als HTML-Datei schreiben:\n"
     "                         Dateien, Modell, Parameter, Schwerpunkte, Ausreißertest,\n"
     "                         Restklaffenplot und alle Paßpunkte; --exclude und --alpha\n"
     "                         gelten wie für die Ausgabe. Eine vorhandene Datei wird erst\n"
     "                         ersetzt, wenn das Protokoll vollständig geschrieben ist.\n",
     storeValue<&Options::reportPath>},
    {"", "--output-format", true, false,
     "      --output-format F  Format der Ergebnisdatei: erg (voreingestellt) oder csv,\n"
     "                         Punkt;RW;HW[;H;Code] mit Kopfzeile, Dezimalzeichen wie im\n"
     "                         Protokoll (nie aus dem Dateinamen geschlossen)\n",
     [](ParseState& s, const std::string& value) {
       s.outputFormat = true;
       if (value == "erg") s.options.resultFormat = ResultFormat::Erg;
       else if (value == "csv") s.options.resultFormat = ResultFormat::Csv;
       else return "--output-format erwartet erg oder csv, erhalten: \"" + value + "\".";
       return std::string();
     }},
    {"", "--columns", true, false,
     "      --columns LISTE    die Spalten von ALT und NEU in Dateireihenfolge, z. B.\n"
     "                         name,rw,hw,h,code oder -,rw,hw (- wird nicht gelesen);\n"
     "                         ohne --columns wird das Format am Dateianfang erkannt\n",
     [](ParseState& s, const std::string& value) {
       pointfiles::ColumnChoice choice = pointfiles::parseColumnChoice(value);
       if (!choice.ok()) return "--columns: " + choice.error;
       s.options.columns = std::move(choice.columns);
       return std::string();
     }},
    {"", "--delimiter", true, false,
     "      --delimiter Z      Trennzeichen der Spalten von ALT und NEU: ';', ',', tab\n"
     "                         oder blank (Leerzeichen und Tabulatoren)\n",
     [](ParseState& s, const std::string& value) {
       s.options.delimiter = pointfiles::parseSeparatorChoice(value);
       if (!s.options.delimiter) return "--delimiter erwartet ';', ',', tab oder blank, erhalten: \"" + value + "\".";
       return std::string();
     }},
    {"", "--points", true, false,
     "      --points DATEI.points  Paßpunkte aus einer QGIS-Paßpunktdatei statt ALT und NEU:\n"
     "                         sourceX, sourceY als Altsystem, mapX, mapY als Neusystem;\n"
     "                         Paare mit enable 0 sind abgeschaltet wie mit --exclude\n",
     storeValue<&Options::pointsPath>},
    {"", "--points-out", true, false,
     "      --points-out DATEI.points  die Paßpunkte mit ihrem Aktiv-Zustand und ihren\n"
     "                         Verbesserungen als QGIS-Paßpunktdatei schreiben (ohne Namen)\n",
     storeValue<&Options::pointsOutPath>},
    {"", "--pair-by-name", false, false,
     "      --pair-by-name     Paßpunkte nach Punktnamen paaren statt nach Reihenfolge\n",
     [](ParseState& s, const std::string&) {
       s.options.pairing = Pairing::ByName;
       return std::string();
     }},
    // Its lists are checked once the pairing is known, which may come later on the line.
    {"", "--exclude", true, true,
     "      --exclude LISTE    Paßpunkte abschalten: Nummern „Pkt.“ und Bereiche wie 3,7-9,\n"
     "                         mit --pair-by-name Punktnamen; geschätzt wird aus den\n"
     "                         übrigen, die abgeschalteten sind Kontrollpunkte;\n"
     "                         mehrmals angegeben gelten alle Listen zusammen\n",
     [](ParseState& s, const std::string& value) {
       s.options.exclude.push_back(value);
       return std::string();
     }},
    {"", "--alpha", true, false,
     "      --alpha P          Irrtumswahrscheinlichkeit des Punkttests, 0 < P < 0,5\n"
     "                         (voreingestellt 0,001 = 0,1 %)\n",
     [](ParseState& s, const std::string& value) {
       s.options.alphaGiven = true;
       if (!kel::StrToDouble(value, s.options.alpha) || !(s.options.alpha > 0 && s.options.alpha < 0.5))
         return "--alpha erwartet eine Irrtumswahrscheinlichkeit zwischen 0 und 0,5 (ohne die Grenzen), "
                "erhalten: \"" + value + "\".";
       return std::string();
     }},
    {"", "--distribute", true, false,
     "      --distribute V     Restklaffenverteilung nach der Schätzung: die Restklaffen\n"
     "                         der aktiven Paßpunkte werden auf die Punkte von -o verteilt,\n"
     "                         Paßpunkte erhalten ihre Neukoordinaten. V: idw1, idw1.5,\n"
     "                         idw2 (Gewichtung 1/s, 1/s^1,5, 1/s²), multiquadric\n"
     "                         (Multiquadratische Interpolation) oder triangles\n"
     "                         (Dreiecksvermaschung; außerhalb der Dreiecke keine\n"
     "                         Verbesserung). s wird im Altsystem gemessen.\n",
     [](ParseState& s, const std::string& value) {
       s.options.distribute = distributionMethod(value);
       if (!s.options.distribute)
         return "--distribute erwartet idw1, idw1.5, idw2, multiquadric oder triangles, erhalten: \"" + value +
                "\".";
       return std::string();
     }},
    {"", "--idw-radius", true, false,
     "      --idw-radius R     nur für idw: Paßpunkte weiter als R Meter zählen nicht;\n"
     "                         ein Punkt ohne Paßpunkt im Radius bleibt unverbessert\n",
     [](ParseState& s, const std::string& value) {
       s.options.idwRadius = lengthValue(value, false);
       if (!s.options.idwRadius) return "--idw-radius erwartet eine Länge über 0 in Metern, erhalten: \"" + value + "\".";
       return std::string();
     }},
    {"", "--mq-delta", true, false,
     "      --mq-delta D       nur für multiquadric: der Glättungsparameter δ in Metern\n"
     "                         (voreingestellt: mittlerer Abstand der Paßpunkte zu ihrem\n"
     "                         nächsten Nachbarn)\n",
     [](ParseState& s, const std::string& value) {
       s.options.mqDelta = lengthValue(value, true);
       if (!s.options.mqDelta) return "--mq-delta erwartet eine Länge ab 0 in Metern, erhalten: \"" + value + "\".";
       return std::string();
     }},
    {"", "--transform", true, false,
     "      --transform DATEI  eine weitere Datei im Altsystem (die Neupunkte) mit der\n"
     "                         Schätzung (und Restklaffenverteilung) dieses Laufs\n"
     "                         transformieren; -o ist dann ihre Ergebnisdatei. Sie wird\n"
     "                         wie bei --apply abschnittsweise gelesen und geschrieben\n",
     storeValue<&Options::transformPath>},
    {"", "--tinshift", true, false,
     "      --tinshift DATEI.json  mit --distribute triangles: die Dreiecke als PROJ-\n"
     "                         tinshift-Datei (Format 1.0) schreiben; --proj gibt dann\n"
     "                         die Pipeline helmert + tinshift aus. PROJ transformiert\n"
     "                         Punkte außerhalb der Dreiecke nicht: cct meldet sie je\n"
     "                         Punkt als Fehler und endet trotzdem mit 0\n",
     storeValue<&Options::tinshiftPath>},
    {"", "--model", true, false,
     "      --model M          Transformationsmodell: helmert (voreingestellt, 4 Parameter),\n"
     "                         kongruent (congruent: 3 Parameter, Maßstab 1) oder affin\n"
     "                         (affine: 6 Parameter, zwei Maßstäbe und Scherung); es gilt\n"
     "                         für Punkttest, -o und --proj. Protokoll und JSON zeigen\n"
     "                         dazu den Vergleich der drei Modelle mit F-Tests\n",
     [](ParseState& s, const std::string& value) {
       s.options.model = analysis::modelFromName(value);
       if (!s.options.model)
         return "--model erwartet kongruent, helmert oder affin (congruent, affine), erhalten: \"" + value + "\".";
       return std::string();
     }},
    {"", "--decimal-comma", false, false,
     "      --decimal-comma    Zahlen im Protokoll mit Dezimalkomma\n",
     rememberSwitch<&ParseState::comma>},
    {"", "--decimal-point", false, false,
     "      --decimal-point    Zahlen im Protokoll mit Dezimalpunkt\n"
     "                         (ohne beide: wie im Gebietsschema eingestellt)\n",
     rememberSwitch<&ParseState::point>},
    // Asking for help wins over everything else on the line, also over mistakes.
    {"-h", "--help", false, false, "  -h, --help             diese Hilfe\n", showHelp},
};

// The option an argument names, and how: "--name" or "-o" alone (a value, if any, follows
// as the next argument), or "--name=VALUE" and "-oVALUE" with the value attached.
struct OptionUse {
  const OptionRule* rule = nullptr;  // null: no option of this name
  std::string_view name;             // the name as typed: "-o" or "--output"
  bool attached = false;
  std::string_view value;            // the attached value
};

OptionUse findOption(std::string_view argument) {
  for (const OptionRule& rule : kOptionRules)
    if (argument == rule.longName || (!rule.shortName.empty() && argument == rule.shortName))
      return {&rule, argument, false, {}};
  for (const OptionRule& rule : kOptionRules) {
    if (!rule.takesValue) continue;
    if (argument.size() > rule.longName.size() && argument.starts_with(rule.longName) &&
        argument[rule.longName.size()] == '=')
      return {&rule, rule.longName, true, argument.substr(rule.longName.size() + 1)};
    if (!rule.shortName.empty() && argument.size() > rule.shortName.size() && argument.starts_with(rule.shortName))
      return {&rule, rule.shortName, true, argument.substr(rule.shortName.size())};
  }
  return {};
}

// Reads the options and files in order; stops at the first argument that is wrong, and at
// a request for help.
std::string readArguments(const std::vector<std::string>& arguments, ParseState& state) {
  bool given[std::size(kOptionRules)] = {};
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
      state.files.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const OptionUse use = findOption(argument);
    if (!use.rule) return "Unbekannte Option " + argument + ".";
    bool& givenBefore = given[use.rule - kOptionRules];
    if (givenBefore && !use.rule->accumulates)
      return "Option " + std::string(use.name) + " darf nur einmal angegeben werden.";
    givenBefore = true;
    std::string value;
    if (use.rule->takesValue) {
      if (use.attached)
        value = use.value;
      else if (i + 1 < arguments.size())
        value = arguments[++i];
      else
        return "Option " + argument + " erwartet einen Wert.";
      if (value.empty()) return "Option " + std::string(use.rule->longName) + " erwartet einen Wert.";
    }
    std::string error = use.rule->apply(state, value);
    if (!error.empty() || state.options.help) return error;
  }
  return {};
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

  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (const OptionUse use = findOption(argument); use.rule && use.rule->apply == showHelp) {
      options.help = true;
      return result;
    }
  }

  ParseState state{options, {}};
  error = readArguments(arguments, state);
  if (!error.empty() || options.help) return result;

  const std::vector<std::string>& files = state.files;
  if (state.json && state.proj) {
    error = "--json und --proj schließen einander aus.";
  } else if (state.comma && state.point) {
    error = "--decimal-comma und --decimal-point schließen einander aus.";
  } else if (state.outputFormat && options.resultPath.empty()) {
    error = "--output-format gilt für die Ergebnisdatei: dazu fehlt -o DATEI.";
  } else if (options.apply) {
    if (files.size() != 1)
      error = "Mit --apply wird genau eine Datei (ALT) erwartet.";
    else if (options.resultPath.empty())
      error = "Mit --apply wird die Ergebnisdatei mit -o ERGEBNIS.erg erwartet.";
    else if (options.pairing == Pairing::ByName)
      error = "--pair-by-name passt nicht zu --apply: es werden keine Paßpunkte gepaart.";
    else if (!options.exclude.empty() || options.alphaGiven)
      error = "--exclude und --alpha passen nicht zu --apply: es werden keine Paßpunkte ausgewertet.";
    else if (options.model)
      error = "--model passt nicht zu --apply: die bekannten Parameter \"Xo Yo a o\" sind die einer "
              "Helmert-Transformation.";
    else if (!options.reportPath.empty())
      error = "--report passt nicht zu --apply: ohne Schätzung gibt es kein Transformationsprotokoll.";
    else if (!options.pointsPath.empty() || !options.pointsOutPath.empty())
      error = "--points und --points-out passen nicht zu --apply: es werden keine Paßpunkte gepaart.";
    // The stream reads ALT block by block as a coordinate list and writes .erg lines.
    else if (options.columns || options.delimiter)
      error = "--columns und --delimiter passen nicht zu --apply: ALT wird dort abschnittsweise als "
              "Koordinatendatei gelesen.";
    else if (options.resultFormat == ResultFormat::Csv)
      error = "--output-format csv passt nicht zu --apply: die Ergebnisdatei wird dort abschnittsweise "
              "im Format erg geschrieben.";
  } else if (!options.pointsPath.empty()) {
    if (!files.empty())
      error = "Mit --points werden keine Dateien ALT und NEU erwartet: die QGIS-Datei enthält beide Systeme.";
    else if (options.pairing == Pairing::ByName)
      error = "--pair-by-name passt nicht zu --points: eine QGIS-Paßpunktdatei enthält keine Punktnamen.";
    else if (options.columns || options.delimiter)
      error = "--columns und --delimiter passen nicht zu --points: die QGIS-Paßpunktdatei hat ihr eigenes Format.";
    else
      for (const std::string& list : options.exclude)
        if (error = checkExcludeList(list, options.pairing); !error.empty()) break;
  } else if (files.size() != 2) {
    error = files.size() < 2 ? "Zwei Koordinatendateien ALT und NEU werden erwartet."
                             : "Zu viele Dateien angegeben: erwartet werden ALT und NEU.";
  } else {
    for (const std::string& list : options.exclude)
      if (error = checkExcludeList(list, options.pairing); !error.empty()) break;
  }
  if (error.empty()) error = distributionUsageError(options, state.proj);
  // The Restklaffenverteilung and --transform carry the Helmert estimate only.
  if (error.empty() && options.model && *options.model != models::Model::Helmert &&
      (options.distribute || !options.transformPath.empty()))
    error = std::string(options.distribute ? "--distribute" : "--transform") +
            " gibt es nur für das Helmert-Modell, nicht mit --model " +
            std::string(analysis::modelKey(*options.model)) + ".";
  if (!error.empty()) return result;

  options.format = state.json ? OutputFormat::Json : state.proj ? OutputFormat::Proj : OutputFormat::Protocol;
  options.decimalSeparator = state.comma ? ',' : state.point ? '.' : 0;
  if (!files.empty()) options.oldPath = files[0];
  if (files.size() > 1) options.newPath = files[1];
  return result;
}

std::string usageHint() {
  return "Aufruf: tramis-cli [Optionen] ALT NEU [-o ERGEBNIS.erg]\n"
         "       tramis-cli [Optionen] --points PASSPUNKTE.points [-o ERGEBNIS.erg]\n"
         "       tramis-cli --apply \"Xo Yo a o\" ALT -o ERGEBNIS.erg\n"
         "       tramis-cli [Optionen] ALT NEU --distribute V [--transform NEUPUNKTE] -o ERGEBNIS.erg\n"
         "Alle Optionen zeigt: tramis-cli --help\n";
}

std::string helpText(const std::string& version) {
  std::string text = "tramis-cli – ebene Helmert-Transformation mit vier Parametern\n";
  if (!version.empty()) text += "Version " + version + "\n";
  text +=
      "\n"
      "Aufruf:\n"
      "  tramis-cli [Optionen] ALT NEU [-o ERGEBNIS.erg]\n"
      "  tramis-cli [Optionen] --points PASSPUNKTE.points [-o ERGEBNIS.erg]\n"
      "  tramis-cli --apply \"Xo Yo a o\" ALT -o ERGEBNIS.erg\n"
      "  tramis-cli [Optionen] ALT NEU --distribute V [--transform NEUPUNKTE] -o ERGEBNIS.erg\n"
      "\n"
      "ALT und NEU sind Koordinatendateien im Alt- und im Neusystem, je Zeile ein Punkt:\n"
      "[Name] rw hw, mit Dezimalpunkt oder Dezimalkomma. Erkannt werden auch CSV-Dateien\n"
      "mit Kopfzeile (Punkt;RW;HW;H;Code, Trennzeichen ; Tab , oder Leerzeichen), Dateien\n"
      "mit ; ohne Kopfzeile und QGIS-Paßpunktdateien; Protokoll und JSON nennen, wie jede\n"
      "Datei gelesen wurde. Andere Spalten wählen --columns und --delimiter. Die Paßpunkte\n"
      "werden wie im Programmfenster nach ihrer Reihenfolge gepaart: der i-te Punkt von\n"
      "ALT mit dem i-ten Punkt von NEU (--pair-by-name: nach Punktnamen). Geschätzt werden\n"
      "Xo, Yo, a und o; ausgegeben werden dazu m, d [gon], So, die Schwerpunkte und die\n"
      "Verbesserungen im Zielsystem.\n"
      "\n"
      "Modell:  RW = Yo + a·rw + o·hw,   HW = Xo + a·hw − o·rw\n"
      "\n"
      "Mit --model wird ein anderes Modell geschätzt und angewandt (Punkttest, -o, --proj,\n"
      "--points-out):\n"
      "  kongruent  RW = Yo + a·rw + o·hw, HW = Xo + a·hw − o·rw mit a = cos d, o = sin d:\n"
      "             Verschiebung und Drehung, Maßstab 1 fest (GNSS-Lokalisierung,\n"
      "             Systeme gleichen Maßstabs); Redundanz 2n − 3\n"
      "  helmert    das Modell oben (voreingestellt); Redundanz 2n − 4\n"
      "  affin      RW = Yo + a1·rw + a2·hw, HW = Xo + b1·rw + b2·hw: zwei Maßstäbe und\n"
      "             eine Scherung (gescannte Karten, verzogene Pläne); Redundanz 2n − 6\n"
      "Protokoll und --json zeigen dann zusätzlich den Modellvergleich: So und f jedes\n"
      "Modells und die F-Tests Helmert gegen kongruent und affin gegen Helmert auf dem\n"
      "Niveau --alpha, mit Urteil, z. B. \"Das affine Modell ist nicht signifikant besser\n"
      "als Helmert (F = 1,21 < 5,14, α = 5 %).\"\n"
      "\n"
      "Paßpunktanalyse: je Paßpunkt die Klaffe (Verbesserung nach Neuberechnung ohne den\n"
      "Punkt), der Redundanzanteil r, die Prüfgröße T und der kritische Wert k der\n"
      "F-Verteilung; T > k kennzeichnet einen Ausreißer. Darunter der Punkt mit der\n"
      "größten Prüfgröße und das Urteil, ob er ausreißerverdächtig ist; danach je\n"
      "abgeschaltetem Paßpunkt mit T > k eine Zeile \"Kontrollpunkt 7 (1007) weicht\n"
      "signifikant ab: ...\" (höchstens 20, dann die Zahl der übrigen; in --json alle\n"
      "als \"failedCheckPoints\"). T = ∞: die übrigen Paßpunkte passen exakt zusammen,\n"
      "dieser nicht (in JSON \"T\": null mit \"TInfinite\": true). Nicht bestimmte Werte\n"
      "stehen als – da (in JSON null).\n"
      "\n"
      "Optionen:\n";
  for (const OptionRule& rule : kOptionRules) text += rule.help;
  text +=
      "\n"
      "Keine Ausgabe (-o, --report, --points-out) darf eine Eingabedatei, eine andere\n"
      "Ausgabe oder die Standardausgabe sein, auch nicht über ./, Verknüpfungen oder\n"
      "harte Links. --apply liest ALT als Koordinatendatei und schreibt das Format erg:\n"
      "--columns, --delimiter, --output-format csv, --points und --points-out gelten\n"
      "dort nicht.\n"
      "\n"
      "Restklaffenverteilung (--distribute): Die Helmert-Transformation allein läßt die\n"
      "Restklaffen der Paßpunkte stehen; verteilt auf die übrigen Punkte, behalten die\n"
      "Paßpunkte ihre Neukoordinaten, und benachbarte Punkte bewegen sich gleich\n"
      "(nachbarschaftstreu). Die Verbesserung eines Punktes hängt von seinem Abstand s\n"
      "zu den Paßpunkten im Altsystem ab. idw2 (1/s²) ist die verbreitete Wahl und\n"
      "bleibt am nächsten an den Paßpunkten; idw1 und idw1.5 greifen weiter aus, --idw-radius\n"
      "begrenzt den Einfluß. multiquadric verläuft glatter, braucht aber ein\n"
      "Gleichungssystem (höchstens 3000 Paßpunkte). triangles ist linear in den Dreiecken\n"
      "der Paßpunkte, schnell und als PROJ-tinshift weiterzugeben; außerhalb der Dreiecke\n"
      "gibt es keine Verbesserung. Abgeschaltete Paßpunkte (--exclude) zählen nicht und\n"
      "werden als Kontrollpunkte nach der Verteilung gezeigt. Protokoll und JSON\n"
      "(\"distribution\") nennen Verfahren, Einstellungen, größte und mittlere\n"
      "Verbesserung an den Punkten von ALT. Die Pipeline von --proj mit --tinshift nimmt\n"
      "in cct vier Spalten (rw hw 0 0); mit nur zwei meldet PROJ jeden Punkt als Fehler.\n"
      "\n"
      "Hat ALT bei --apply Zeilen, aber keinen lesbaren Punkt (falsche Datei, Binärdatei),\n"
      "ist das ein Fehler, und es wird nichts geschrieben. Eine leere Datei (0 Byte oder\n"
      "nur Leerzeilen) ergibt eine leere Ergebnisdatei und „0 Punkte“.\n"
      "\n"
      "Die Standardausgabe wird nach dem letzten Zeichen geprüft: Kann sie nicht ganz\n"
      "geschrieben werden (volle Platte, /dev/full), ist das ein Fehler mit Meldung. Liest\n"
      "das Programm hinter einer Pipe nicht weiter (etwa head), endet tramis-cli ohne\n"
      "Meldung mit 1; Ergebnisdatei und Protokolldatei sind dann schon geschrieben.\n"
      "\n"
      "Steuerzeichen in Namen, Werten und Pfaden erscheinen im Protokoll und in den\n"
      "Meldungen als \\x1b usw.; Ergebnisdatei und JSON behalten ihre eigenen Regeln.\n"
      "\n"
      "Rückgabewerte: 0 Erfolg, 1 fehlerhafte Eingabe oder Berechnung nicht möglich,\n"
      "2 falscher Aufruf.\n";
  return text;
}

}  // namespace cli
