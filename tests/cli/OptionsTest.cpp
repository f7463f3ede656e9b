// Tests of tramis-cli's option parsing: which command lines are accepted and what they set,
// and the reading of "Xo Yo a o".
#include <gtest/gtest.h>

#include "Options.h"

#include <optional>
#include <string>
#include <vector>

namespace {

using cli::OutputFormat;
using cli::Pairing;

TEST(Options, AcceptedCommandLinesSetTheirFields) {
  {
    const cli::ParseResult r = cli::parseOptions({"alt.txt", "neu.txt"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.oldPath, "alt.txt");
    EXPECT_EQ(r.options.newPath, "neu.txt");
    EXPECT_EQ(r.options.format, OutputFormat::Protocol);
    EXPECT_EQ(r.options.pairing, Pairing::ByPosition);
    EXPECT_EQ(r.options.decimalSeparator, 0);
    EXPECT_FALSE(r.options.strict);
    EXPECT_TRUE(r.options.resultPath.empty());
  }
  {
    const cli::ParseResult r = cli::parseOptions(
        {"--json", "--strict", "--pair-by-name", "--decimal-comma", "a", "-oerg.erg", "b"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.format, OutputFormat::Json);
    EXPECT_TRUE(r.options.strict);
    EXPECT_EQ(r.options.pairing, Pairing::ByName);
    EXPECT_EQ(r.options.decimalSeparator, ',');
    EXPECT_EQ(r.options.resultPath, "erg.erg");
    EXPECT_EQ(r.options.oldPath, "a");
    EXPECT_EQ(r.options.newPath, "b");
  }
  {
    // "--" ends the options, so a file may start with a dash.
    const cli::ParseResult r =
        cli::parseOptions({"--proj", "--output=x.erg", "--", "-alt.txt", "--neu.txt"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.format, OutputFormat::Proj);
    EXPECT_EQ(r.options.resultPath, "x.erg");
    EXPECT_EQ(r.options.oldPath, "-alt.txt");
    EXPECT_EQ(r.options.newPath, "--neu.txt");
  }
  {
    const cli::ParseResult r =
        cli::parseOptions({"--apply=-1.5 2,25 0.9999 -0.0001", "alt.txt", "--output", "e.erg"});
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_TRUE(r.options.apply.has_value());
    EXPECT_EQ(r.options.apply->Xo, -1.5);
    EXPECT_EQ(r.options.apply->Yo, 2.25);
    EXPECT_EQ(r.options.apply->a, 0.9999);
    EXPECT_EQ(r.options.apply->o, -0.0001);
    EXPECT_TRUE(r.options.newPath.empty());
  }
}

TEST(Options, HelpWinsOverMistakesOnTheSameLine) {
  const cli::ParseResult r = cli::parseOptions({"--nonsense", "--help"});
  EXPECT_TRUE(r.ok());
  EXPECT_TRUE(r.options.help);
}

struct ParameterCase {
  const char* text;
  bool accepted;
};

TEST(Options, KnownParametersNeedExactlyFourFiniteNumbers) {
  const ParameterCase cases[] = {
      {"1 2 3 4", true},         {"\t1,5  2.5\t3 4 ", true}, {"1 2 3", false},
      {"1 2 3 4 5", false},      {"1 2 3 x", false},         {"1;2;3;4", false},
      {"1 2 3 1e999", false},    {"", false},                {"1 2 3 nan", false},
      {"1.234,5 2 3 4", false},
  };
  for (const ParameterCase& c : cases)
    EXPECT_EQ(cli::parseKnownParameters(c.text).has_value(), c.accepted) << '"' << c.text << '"';
}

}  // namespace
