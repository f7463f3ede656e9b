// Tests of tramis-cli's option parsing: which command lines are accepted and what they set,
// and the reading of "Xo Yo a o". Rejected command lines are checked on the built program.
#include <gtest/gtest.h>

#include "Options.h"

#include <string>

namespace {

using cli::OutputFormat;

TEST(Options, AcceptedCommandLinesSetTheirFields) {
  cli::ParseResult r = cli::parseOptions(
      {"--json", "--strict", "--pair-by-name", "--decimal-comma", "a", "-oerg.erg", "b"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.format, OutputFormat::Json);
  EXPECT_TRUE(r.options.strict);
  EXPECT_EQ(r.options.pairing, cli::Pairing::ByName);
  EXPECT_EQ(r.options.decimalSeparator, ',');
  EXPECT_EQ(r.options.resultPath, "erg.erg");
  EXPECT_EQ(r.options.oldPath + "|" + r.options.newPath, "a|b");

  // "--" ends the options, so a file may start with a dash.
  r = cli::parseOptions({"--proj", "--output=x.erg", "--", "-alt.txt", "--neu.txt"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.format, OutputFormat::Proj);
  EXPECT_EQ(r.options.resultPath, "x.erg");
  EXPECT_EQ(r.options.oldPath + "|" + r.options.newPath, "-alt.txt|--neu.txt");

  r = cli::parseOptions({"--apply=-1.5 2,25 0.9999 -0.0001", "alt.txt", "--output", "e.erg"});
  ASSERT_TRUE(r.ok()) << r.error;
  ASSERT_TRUE(r.options.apply.has_value());
  EXPECT_EQ(r.options.apply->Xo, -1.5);
  EXPECT_EQ(r.options.apply->Yo, 2.25);
  EXPECT_EQ(r.options.apply->a, 0.9999);
  EXPECT_EQ(r.options.apply->o, -0.0001);
  EXPECT_EQ(r.options.resultPath, "e.erg");
}

TEST(Options, HelpWinsOverMistakesOnTheSameLine) {
  const cli::ParseResult r = cli::parseOptions({"--nonsense", "--help"});
  EXPECT_TRUE(r.ok());
  EXPECT_TRUE(r.options.help);
}

TEST(Options, KnownParametersNeedExactlyFourFiniteNumbers) {
  const struct {
    const char* text;
    bool accepted;
  } cases[] = {{"\t1,5  2.5\t3 4 ", true}, {"1 2 3", false},       {"1 2 3 4 5", false},
               {"1;2;3;4", false},         {"1 2 3 1e999", false}, {"1 2 3 nan", false},
               {"1.234,5 2 3 4", false}};
  for (const auto& c : cases)
    EXPECT_EQ(cli::parseKnownParameters(c.text).has_value(), c.accepted) << '"' << c.text << '"';
}

}  // namespace
