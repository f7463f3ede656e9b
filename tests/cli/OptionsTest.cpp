// Tests of tramis-cli's option parsing: which command lines are accepted and what they set,
// and the reading of "Xo Yo a o". Rejected command lines are checked on the built program.
#include <gtest/gtest.h>

#include "Options.h"

#include <string>

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

}  // namespace
