// Tests of tramis-cli's option parsing: which command lines are accepted and what they set,
// and the reading of "Xo Yo a o". Rejected command lines are checked on the built program.
#include <gtest/gtest.h>

#include "Options.h"

#include <string>
#include <vector>

namespace {

std::string paths(const cli::Options& o) { return o.resultPath + "|" + o.oldPath + "|" + o.newPath; }

TEST(Options, AcceptedCommandLinesSetTheirFields) {
  cli::ParseResult r = cli::parseOptions(
      {"--json", "--strict", "--pair-by-name", "--decimal-comma", "a", "-oerg.erg", "b"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.format, cli::OutputFormat::Json);
  EXPECT_TRUE(r.options.strict && r.options.pairing == cli::Pairing::ByName);
  EXPECT_EQ(r.options.decimalSeparator, ',');
  EXPECT_EQ(paths(r.options), "erg.erg|a|b");

  // "--" ends the options, so a file may start with a dash.
  r = cli::parseOptions({"--proj", "--output=x.erg", "--", "-alt.txt", "--neu.txt"});
  EXPECT_EQ(r.options.format, cli::OutputFormat::Proj) << r.error;
  EXPECT_EQ(paths(r.options), "x.erg|-alt.txt|--neu.txt");

  r = cli::parseOptions({"--apply=-1.5 2,25 0.9999 -0.0001", "alt.txt", "--output", "e.erg"});
  ASSERT_TRUE(r.ok() && r.options.apply) << r.error;
  const cli::KnownParameters& p = *r.options.apply;
  EXPECT_TRUE(p.Xo == -1.5 && p.Yo == 2.25 && p.a == 0.9999 && p.o == -0.0001);
  EXPECT_EQ(paths(r.options), "e.erg|alt.txt|");

  // Help wins over mistakes on the same line.
  r = cli::parseOptions({"--nonsense", "--help"});
  EXPECT_TRUE(r.ok() && r.options.help);
}

TEST(Options, KnownParametersNeedExactlyFourFiniteNumbers) {
  for (const auto& [text, accepted] : std::initializer_list<std::pair<const char*, bool>>{
           {"\t1,5  2.5\t3 4 ", true}, {"1 2 3", false}, {"1 2 3 4 5", false}, {"1;2;3;4", false},
           {"1 2 3 1e999", false}, {"1 2 3 nan", false}, {"1.234,5 2 3 4", false}})
    EXPECT_EQ(cli::parseKnownParameters(text).has_value(), accepted) << '"' << text << '"';
}

// Guards against "last one wins": a second -o, --alpha or --report silently replaced the first.
TEST(Options, EveryOptionButExcludeGivenTwiceIsAUsageError) {
  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } table[] = {
      {{"-o", "a.erg", "-o", "b.erg"}, "Option -o darf nur einmal angegeben werden."},
      {{"-oa.erg", "--output=b.erg"}, "Option --output darf nur einmal angegeben werden."},
      {{"--report", "a.html", "--report=b.html"}, "Option --report darf nur einmal angegeben werden."},
      {{"--alpha", "0.01", "--alpha", "0.05"}, "Option --alpha darf nur einmal angegeben werden."},
      {{"--apply", "0 0 1 0", "--apply", "1 1 1 0"}, "Option --apply darf nur einmal angegeben werden."},
      {{"--strict", "--strict"}, "Option --strict darf nur einmal angegeben werden."},
      {{"--json", "--json"}, "Option --json darf nur einmal angegeben werden."},
      {{"--proj", "--proj"}, "Option --proj darf nur einmal angegeben werden."},
      {{"--pair-by-name", "--pair-by-name"}, "Option --pair-by-name darf nur einmal angegeben werden."},
      {{"--decimal-comma", "--decimal-comma"}, "Option --decimal-comma darf nur einmal angegeben werden."},
      {{"--decimal-point", "--decimal-point"}, "Option --decimal-point darf nur einmal angegeben werden."},
      // The repetition is found where it stands, before a later mistake on the line.
      {{"--alpha", "0.01", "--alpha", "7", "--fast"}, "Option --alpha darf nur einmal angegeben werden."},
      // A value that looks like an option is a value, not a repetition.
      {{"-o", "--json", "--json"}, ""},
  };
  for (const auto& row : table) {
    std::vector<std::string> arguments = row.arguments;
    arguments.insert(arguments.end(), {"alt.txt", "neu.txt"});
    if (row.arguments[0] == "--apply") arguments.pop_back();
    EXPECT_EQ(cli::parseOptions(arguments).error, row.error) << row.arguments[0] << " " << row.arguments[1];
  }
}

TEST(Options, ExcludeListsAddUpAndAreCheckedOneByOne) {
  cli::ParseResult r = cli::parseOptions({"--exclude", "3", "a", "--exclude=7-9", "b", "--exclude", " 1 ,2"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.exclude, (std::vector<std::string>{"3", "7-9", " 1 ,2"}));

  // The message quotes the list that is wrong, not all of them joined.
  r = cli::parseOptions({"--exclude", "3", "--exclude", "2-x", "a", "b"});
  EXPECT_EQ(r.error, "--exclude erwartet Nummern und Bereiche der Paßpunkte wie \"3,7-9\", erhalten: \"2-x\".");

  // Names are checked against the pairing given later on the line.
  r = cli::parseOptions({"--exclude", "P1", "--exclude", "P7", "a", "b", "--pair-by-name"});
  EXPECT_TRUE(r.ok()) << r.error;
}

TEST(Options, ValuesMissingEmptyOrAttached) {
  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } table[] = {
      {{"a", "b", "-o"}, "Option -o erwartet einen Wert."},
      {{"a", "b", "--report"}, "Option --report erwartet einen Wert."},
      {{"--output=", "a", "b"}, "Option --output erwartet einen Wert."},
      {{"-o", "", "a", "b"}, "Option --output erwartet einen Wert."},
      {{"--exclude=", "a", "b"}, "Option --exclude erwartet einen Wert."},
      {{"--alpha=0,5", "a", "b"},
       "--alpha erwartet eine Irrtumswahrscheinlichkeit zwischen 0 und 0,5 (ohne die Grenzen), erhalten: \"0,5\"."},
      {{"--apply", "1 2 3", "a"}, "--apply erwartet vier Zahlen \"Xo Yo a o\", erhalten: \"1 2 3\"."},
      // Only options that take a value take one attached; a switch with "=" is unknown.
      {{"--json=true", "a", "b"}, "Unbekannte Option --json=true."},
      {{"--strict=", "a", "b"}, "Unbekannte Option --strict=."},
      {{"-hx", "a", "b"}, "Unbekannte Option -hx."},
      {{"-5", "a", "b"}, "Unbekannte Option -5."},
      {{"---output", "a", "b"}, "Unbekannte Option ---output."},
      {{"--outputx", "a", "b"}, "Unbekannte Option --outputx."},
  };
  for (const auto& row : table) EXPECT_EQ(cli::parseOptions(row.arguments).error, row.error) << row.arguments[0];
}

// Guards against "Unbekannte Option -h." when a "--" before it was the value of an option.
TEST(Options, HelpAfterADoubleDashTakenAsAValue) {
  const cli::ParseResult r = cli::parseOptions({"-o", "--", "-h", "--fast"});
  EXPECT_TRUE(r.ok() && r.options.help) << r.error;
  // After a real "--", "-h" is a file.
  EXPECT_FALSE(cli::parseOptions({"--", "-h", "x"}).options.help);
}

}  // namespace

namespace {

TEST(Options, FileOptionsSetTheirFields) {
  cli::ParseResult r = cli::parseOptions({"--columns", "code,rw,hw,-,name", "--delimiter=tab", "a", "b",
                                          "--output-format", "csv", "-o", "e.csv", "--points-out", "p.points"});
  ASSERT_TRUE(r.ok()) << r.error;
  using pointfiles::Column;
  EXPECT_EQ(*r.options.columns, (std::vector<Column>{Column::Code, Column::Rw, Column::Hw, Column::Skip, Column::Name}));
  EXPECT_EQ(r.options.delimiter, pointfiles::Separator::Tab);
  EXPECT_EQ(r.options.resultFormat, cli::ResultFormat::Csv);
  EXPECT_EQ(r.options.pointsOutPath, "p.points");

  // Without the options each file's start decides, and the result file is .erg.
  r = cli::parseOptions({"a", "b", "-o", "e.csv"});
  EXPECT_FALSE(r.options.columns || r.options.delimiter);
  EXPECT_EQ(r.options.resultFormat, cli::ResultFormat::Erg) << "never guessed from the file name";

  // One .points file instead of ALT and NEU; --exclude adds to its switched-off pairs.
  r = cli::parseOptions({"--points", "gcp.points", "--exclude", "3", "-o", "e.erg"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.pointsPath, "gcp.points");
  EXPECT_EQ(paths(r.options), "e.erg||");
}

TEST(Options, FileOptionsRefuseWhatTheyCannotDo) {
  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } table[] = {
      {{"--columns", "name,rw", "a", "b"}, "--columns: Die Spalten RW und HW müssen angegeben sein."},
      {{"--columns", "name,rw,hw,rw", "a", "b"}, "--columns: Die Spalte RW ist mehrfach angegeben."},
      {{"--columns=name,ost,nord,farbe", "a", "b"},
       "--columns: Unbekannte Spalte \"farbe\" (bekannt: name, rw, hw, h, code und - für eine übergangene Spalte)."},
      {{"--delimiter", "|", "a", "b"}, "--delimiter erwartet ';', ',', tab oder blank, erhalten: \"|\"."},
      {{"--output-format", "txt", "-o", "e", "a", "b"}, "--output-format erwartet erg oder csv, erhalten: \"txt\"."},
      {{"--output-format", "csv", "a", "b"}, "--output-format gilt für die Ergebnisdatei: dazu fehlt -o DATEI."},
      {{"--columns", "name,rw,hw", "--columns", "rw,hw", "a", "b"}, "Option --columns darf nur einmal angegeben werden."},
      // The stream of --apply reads a coordinate list and writes .erg lines, and pairs nothing.
      {{"--apply", "0 0 1 0", "alt", "-o", "e", "--columns", "rw,hw"},
       "--columns und --delimiter passen nicht zu --apply: ALT wird dort abschnittsweise als Koordinatendatei gelesen."},
      {{"--apply", "0 0 1 0", "alt", "-o", "e", "--delimiter", ";"},
       "--columns und --delimiter passen nicht zu --apply: ALT wird dort abschnittsweise als Koordinatendatei gelesen."},
      {{"--apply", "0 0 1 0", "alt", "-o", "e", "--output-format", "csv"},
       "--output-format csv passt nicht zu --apply: die Ergebnisdatei wird dort abschnittsweise im Format erg geschrieben."},
      {{"--apply", "0 0 1 0", "alt", "-o", "e", "--output-format", "erg"}, ""},
      {{"--apply", "0 0 1 0", "alt", "-o", "e", "--points-out", "p"},
       "--points und --points-out passen nicht zu --apply: es werden keine Paßpunkte gepaart."},
      {{"--points", "p", "a"}, "Mit --points werden keine Dateien ALT und NEU erwartet: die QGIS-Datei enthält beide Systeme."},
      {{"--points", "p", "--pair-by-name"},
       "--pair-by-name passt nicht zu --points: eine QGIS-Paßpunktdatei enthält keine Punktnamen."},
      {{"--points", "p", "--columns", "rw,hw"},
       "--columns und --delimiter passen nicht zu --points: die QGIS-Paßpunktdatei hat ihr eigenes Format."},
      {{"--points", "p", "--exclude", "2-x"},
       "--exclude erwartet Nummern und Bereiche der Paßpunkte wie \"3,7-9\", erhalten: \"2-x\"."},
  };
  for (const auto& row : table) EXPECT_EQ(cli::parseOptions(row.arguments).error, row.error) << row.arguments[0];
}

}  // namespace
