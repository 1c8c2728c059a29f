// The REGEDIT4 parser and writer: every value kind read and written, names that need escaping, line
// endings, merging of repeated keys, and the line number of the first line a damaged file fails on.
#include <gtest/gtest.h>

#include "platform/linux/RegFile.h"

using namespace platform;
using namespace platform::linux;

namespace {

std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

TRegFileContent Parse(std::string_view text) {
  TRegFileContent content;
  TRegFileError error;
  EXPECT_TRUE(ParseRegFile(text, content, error)) << "line " << error.Line << ": " << error.Reason;
  return content;
}

constexpr std::string_view AllKinds =
    "REGEDIT4\n"
    "\n"
    "[HKEY_CURRENT_USER\\Software\\Norvanta Tech\\Ramsweep]\n"
    "\"Depth\"=dword:00000400\n"
    "\"Name\"=\"say \\\"hi\\\" to C:\\\\temp\"\n"
    "@=\"default\"\n"
    "\"Blob\"=hex:00,7f,80,ff\n"
    "\"Path\"=hex(2):25,41,25,00\n"
    "\"List\"=hex(7):61,00,62,00,00\n"
    "\"Big\"=hex(b):01,02,03,04,05,06,07,08\n"
    "\"Empty\"=hex:\n"
    "\n";

}  // namespace

TEST(RegFile, ReadsEveryValueKindWithItsTypeAndBytes) {
  TRegFileContent c = Parse(AllKinds);
  ASSERT_EQ(c.Keys.size(), 1u);
  EXPECT_EQ(c.Keys[0].Path, "HKEY_CURRENT_USER\\Software\\Norvanta Tech\\Ramsweep");
  const std::vector<TRegFileValue> expected = {
      {"Depth", TRegType::DWord, {0x00, 0x04, 0x00, 0x00}},
      {"Name", TRegType::String, Bytes("say \"hi\" to C:\\temp")},
      {"", TRegType::String, Bytes("default")},
      {"Blob", TRegType::Binary, {0x00, 0x7f, 0x80, 0xff}},
      {"Path", TRegType::ExpandString, Bytes("%A%")},  // the terminator is not part of a string
      {"List", TRegType::MultiString, {'a', 0, 'b', 0, 0}},
      {"Big", TRegType::QWord, {1, 2, 3, 4, 5, 6, 7, 8}},
      {"Empty", TRegType::Binary, {}},
  };
  EXPECT_EQ(c.Keys[0].Values, expected);
}

TEST(RegFile, WritesTheFormItReads) {
  TRegFileContent c = Parse(AllKinds);
  std::string text = SerializeRegFile(c);
  EXPECT_EQ(text, AllKinds);
  EXPECT_EQ(Parse(text), c);
}

TEST(RegFile, StringsWithLineBreaksOrNulTravelAsHexAndComeBackEqual) {
  TRegFileContent c{{{"HKEY_CURRENT_USER\\K", {{"A", TRegType::String, Bytes("one\ntwo\r")},
                                               {"B", TRegType::String, {'x', 0}},
                                               {"C", TRegType::ExpandString, {}},
                                               {"D", TRegType::DWord, {1, 2}}}}}};
  std::string text = SerializeRegFile(c);
  EXPECT_NE(text.find("\"A\"=hex(1):6f,6e,65,0a,74,77,6f,0d,00\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"C\"=hex(2):00\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"D\"=hex(4):01,02\n"), std::string::npos) << text;  // not 4 bytes: no dword form
  EXPECT_EQ(Parse(text), c);
}

TEST(RegFile, LongHexIsWrappedAndJoinedAgain) {
  TRegFileValue v{"Long", TRegType::Binary, {}};
  for (int i = 0; i < 100; ++i) v.Data.push_back(uint8_t(i));
  TRegFileContent c{{{"HKEY_CURRENT_USER\\K", {v}}}};
  std::string text = SerializeRegFile(c);
  size_t lines = 0;
  for (size_t pos = 0, end; (end = text.find('\n', pos)) != std::string::npos; pos = end + 1, ++lines)
    EXPECT_LE(end - pos, 80u) << text.substr(pos, end - pos);
  EXPECT_GT(lines, 6u);
  EXPECT_EQ(Parse(text), c);
}

TEST(RegFile, KeyNamesWithBlanksBracketsAndManyPartsSurvive) {
  TRegFileContent c{{{"HKEY_CURRENT_USER\\Software\\A B  C\\[x]\\end]", {}},
                     {"HKEY_CURRENT_USER\\Software\\名字\\\"q\"", {{"v\\\"", TRegType::String, Bytes("\\\\")}}}}};
  EXPECT_EQ(Parse(SerializeRegFile(c)), c);
}

TEST(RegFile, CrlfLfAndByteOrderMarkReadAlike) {
  std::string crlf;
  for (char ch : AllKinds) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  EXPECT_EQ(Parse(crlf), Parse(AllKinds));
  EXPECT_EQ(Parse("\xEF\xBB\xBF" + std::string(AllKinds)), Parse(AllKinds));
  // Continued hex lines, indentation and comments as other tools write them.
  EXPECT_EQ(Parse("REGEDIT4\r\n; note\r\n  [K]\r\n\"B\" = hex:01,\\\r\n  02\r\n"),
            (TRegFileContent{{{"K", {{"B", TRegType::Binary, {1, 2}}}}}}));
}

TEST(RegFile, RepeatedKeysAndValuesMergeKeepingFirstPlaceAndSpelling) {
  TRegFileContent c = Parse(
      "REGEDIT4\n[HKEY_CURRENT_USER\\Soft]\n\"A\"=dword:1\n\"B\"=\"b\"\n"
      "[Other]\n[hkey_current_user\\SOFT]\n\"a\"=dword:2\n\"C\"=\"c\"\n");
  ASSERT_EQ(c.Keys.size(), 2u);
  EXPECT_EQ(c.Keys[0].Path, "HKEY_CURRENT_USER\\Soft");
  ASSERT_EQ(c.Keys[0].Values.size(), 3u);
  EXPECT_EQ(c.Keys[0].Values[0], (TRegFileValue{"A", TRegType::DWord, {2, 0, 0, 0}}));
  EXPECT_EQ(c.Keys[0].Values[2].Name, "C");
  EXPECT_NE(FindKey(c, "HKEY_CURRENT_USER\\sOfT"), nullptr);
  EXPECT_EQ(FindKey(c, "HKEY_CURRENT_USER\\Sof"), nullptr);
}

TEST(RegFile, EmptyTextIsAnEmptyStore) {
  EXPECT_TRUE(Parse("").Keys.empty());
  EXPECT_TRUE(Parse("REGEDIT4").Keys.empty());
}

TEST(RegFile, DamageIsReportedAtItsLine) {
  struct TCase {
    std::string Text;
    int Line;
  };
  const std::vector<TCase> cases = {
      {"Windows Registry Editor Version 5.00\n", 1},
      {"\n", 1},
      {"REGEDIT4\n\n\"A\"=dword:1\n", 3},
      {"REGEDIT4\n[K]\n\"A=\"x\"\n", 3},
      {"REGEDIT4\n[K]\n\"A\"=\"x\\y\"\n", 3},
      {"REGEDIT4\n[K]\n\"A\"=\"x\" y\n", 3},
      {"REGEDIT4\n[K]\n\"A\"=dword:123456789\n", 3},
      {"REGEDIT4\n[K]\n\"A\"=dword:\n", 3},
      {"REGEDIT4\n[K]\n\"A\"=hex:1,xyz\n", 3},
      {"REGEDIT4\n[K]\n\"A\"=hex:1,,2\n", 3},
      {"REGEDIT4\n[K]\n\"A\"=hex(zz):00\n", 3},
      {"REGEDIT4\n[K]\n\"A\"=-\n", 3},
      {"REGEDIT4\n[K]\n\"A\" dword:1\n", 3},
      {"REGEDIT4\n[K]\n\"A\"=str:1\n", 3},
      {"REGEDIT4\n[-K]\n", 2},
      {"REGEDIT4\n[K\\\\L]\n", 2},
      {"REGEDIT4\n[K\n", 2},
      {"REGEDIT4\n[]\n", 2},
      {"REGEDIT4\nK=1\n", 2},
      {"REGEDIT4\r\n[K]\r\n\"A\"=hex:01,\\\r\n02,\\\r\nqq\r\n", 5},
      {std::string("REGEDIT4\n[K]\n\"A\"=\"x\0\"\n", 19), 3},
  };
  for (const auto& c : cases) {
    TRegFileContent content{{{"stale", {}}}};
    TRegFileError error;
    EXPECT_FALSE(ParseRegFile(c.Text, content, error)) << c.Text;
    EXPECT_EQ(error.Line, c.Line) << c.Text;
    EXPECT_FALSE(error.Reason.empty()) << c.Text;
    EXPECT_TRUE(content.Keys.empty()) << c.Text;
  }
}
