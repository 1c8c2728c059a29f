// Command lines by the C runtime's rules: how lines written on Windows split, how arguments are
// quoted, and that joining and splitting are exact inverses.
#include <gtest/gtest.h>

#include <random>

#include "platform/CommandLine.h"

using platform::JoinCommandLine;
using platform::SplitCommandLine;
using TArgs = std::vector<std::string>;

namespace {

TEST(CommandLineTest, LinesSplitByTheRuntimesRules) {
  EXPECT_EQ(SplitCommandLine("C:\\Brisko\\brisko.exe /LOAD"), (TArgs{"C:\\Brisko\\brisko.exe", "/LOAD"}));
  EXPECT_EQ(SplitCommandLine("  \"C:\\Program Files\\b.exe\"\t/LOAD  "), (TArgs{"C:\\Program Files\\b.exe", "/LOAD"}));
  EXPECT_EQ(SplitCommandLine("a\\\\\\\"b \"c\"\"d\" e\\\\f"), (TArgs{"a\\\"b", "c\"d", "e\\\\f"}));
  EXPECT_EQ(SplitCommandLine("x \"\" \"unclosed arg"), (TArgs{"x", "", "unclosed arg"}));
  EXPECT_TRUE(SplitCommandLine(" \t ").empty());
}

TEST(CommandLineTest, ArgumentsAreQuotedOnlyWhenTheyMustBe) {
  EXPECT_EQ(JoinCommandLine({"/usr/bin/brisko", "/LOAD"}), "/usr/bin/brisko /LOAD");
  EXPECT_EQ(JoinCommandLine({"C:\\Program Files\\b.exe", ""}), "\"C:\\Program Files\\b.exe\" \"\"");
  EXPECT_EQ(JoinCommandLine({"tab\there", "say \"hi\"", "end\\ "}), "\"tab\there\" \"say \\\"hi\\\"\" \"end\\ \"");
  EXPECT_EQ(JoinCommandLine({"dir\\", "q\\\"", "x\\ y\\"}), "dir\\ \"q\\\\\\\"\" \"x\\ y\\\\\"");
}

TEST(CommandLineTest, JoinAndSplitAreInverses) {
  std::mt19937 random(9);
  const std::string alphabet = "ab \t\"\\/%$x\n";
  for (int k = 0; k < 20000; ++k) {
    TArgs args(1 + random() % 4);
    for (std::string& arg : args)
      for (size_t n = random() % 7; n > 0; --n) arg += alphabet[random() % alphabet.size()];
    ASSERT_EQ(SplitCommandLine(JoinCommandLine(args)), args) << JoinCommandLine(args);
  }
}

}  // namespace
