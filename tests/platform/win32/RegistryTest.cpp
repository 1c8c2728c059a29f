// The Windows registry service against the real registry (under Wine in CI): typed values round trip
// through a fresh key under HKCU\Software\BriskoTest, values written by other programs are read with
// their types, access rights are honoured, and the machine Run key the settings need can be opened.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Registry.h"
#include "platform/win32/System.h"

using namespace platform;
using platform::win32::TRegistry;

namespace {

bool WriteOne(IRegistryKey& key, const std::string& name, uint32_t value) {
  return key.WriteDWords({{name, value}}) == 1;
}

constexpr const char* RunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string Text(const TRegValue& v) { return {v.Data.begin(), v.Data.end()}; }

std::vector<uint8_t> Bytes(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  return {p, p + size};
}

std::string UniqueSuffix() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(now.QuadPart);
}

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    Path = "Software\\BriskoTest\\" + UniqueSuffix();
    WidePath = std::wstring(Path.begin(), Path.end());
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, WidePath.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\BriskoTest");  // only succeeds once it is empty
  }

  // Writes through the plain API, as another program (or regedit) would.
  void RawSet(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, WidePath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }

  // Reads through the plain API: what the service really stored.
  bool RawGet(const wchar_t* name, DWORD& type, std::vector<uint8_t>& data) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WidePath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool ok = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    data.assign(size, 0);
    ok = ok && RegQueryValueExW(key, name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
  }

  TRegistry Registry;
  std::string Path;
  std::wstring WidePath;
};

}  // namespace

TEST_F(RegistryTest, DWordsAndChineseStringsAreStoredAsNativeValuesAndReadBack) {
  {
    auto key = Registry.CreateKey(TRootKey::CurrentUser, Path);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(WriteOne(*key, "Depth", 0x12345678));
    EXPECT_TRUE(key->WriteString("名称", "内存整理 4.0 \"引号\" C:\\路径"));
    EXPECT_TRUE(key->WriteString("Empty", ""));
  }

  DWORD type = 0;
  std::vector<uint8_t> raw;
  ASSERT_TRUE(RawGet(L"Depth", type, raw));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(raw, (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12}));
  const wchar_t expected[] = L"内存整理 4.0 \"引号\" C:\\路径";
  ASSERT_TRUE(RawGet(L"名称", type, raw));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw, Bytes(expected, sizeof expected)) << "UTF-16 with its terminator";
  ASSERT_TRUE(RawGet(L"Empty", type, raw));
  EXPECT_EQ(raw, (std::vector<uint8_t>{0, 0}));

  // A fresh handle with read rights sees what was written.
  auto key = Registry.OpenKey(TRootKey::CurrentUser, Path, TRegAccess::Read);
  ASSERT_NE(key, nullptr);
  TRegValue v;
  ASSERT_TRUE(key->ReadValue("Depth", v));
  EXPECT_EQ(v.Type, TRegType::DWord);
  EXPECT_EQ(v.Data, (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12}));
  ASSERT_TRUE(key->ReadValue("名称", v));
  EXPECT_EQ(v.Type, TRegType::String);
  EXPECT_EQ(Text(v), "内存整理 4.0 \"引号\" C:\\路径");
  ASSERT_TRUE(key->ReadValue("Empty", v));
  EXPECT_EQ(v.Type, TRegType::String);
  EXPECT_TRUE(v.Data.empty());
}

TEST_F(RegistryTest, ValuesExistUntilDeletedAndDeletingAnAbsentValueSucceeds) {
  auto key = Registry.CreateKey(TRootKey::CurrentUser, Path);
  ASSERT_NE(key, nullptr);
  TRegValue v;
  EXPECT_FALSE(key->ValueExists("IsMemCondition"));
  EXPECT_FALSE(key->ReadValue("IsMemCondition", v));
  ASSERT_TRUE(WriteOne(*key, "IsMemCondition", 0));
  EXPECT_TRUE(key->ValueExists("IsMemCondition"));
  EXPECT_TRUE(key->ValueExists("ismemcondition")) << "value names ignore case";
  EXPECT_TRUE(key->DeleteValue("IsMemCondition"));
  EXPECT_FALSE(key->ValueExists("IsMemCondition"));
  EXPECT_FALSE(key->ReadValue("IsMemCondition", v));
  EXPECT_TRUE(key->DeleteValue("IsMemCondition")) << "absent is not an error";
  DWORD type;
  std::vector<uint8_t> raw;
  EXPECT_FALSE(RawGet(L"IsMemCondition", type, raw));
}

TEST_F(RegistryTest, ValuesOtherProgramsWroteAreReadWithTheirTypes) {
  const uint8_t binary[] = {0xde, 0xad, 0x00, 0xbe};
  RawSet(L"Bin", REG_BINARY, binary, sizeof binary);
  RawSet(L"NoBytes", REG_BINARY, nullptr, 0);
  const wchar_t expand[] = L"%TEMP%\\内存";
  RawSet(L"Expand", REG_EXPAND_SZ, expand, sizeof expand);
  RawSet(L"Unterminated", REG_SZ, L"abc", 6);
  RawSet(L"Trailing", REG_SZ, L"ab\0cd", 12);
  RawSet(L"Odd", REG_SZ, L"xy", 5);  // a stray odd byte after the text
  const wchar_t multi[] = L"a\0b\0";
  RawSet(L"Multi", REG_MULTI_SZ, multi, sizeof multi);
  const uint64_t qword = 0x8000000000000001ull;
  RawSet(L"Q", REG_QWORD, &qword, sizeof qword);
  std::vector<uint8_t> large(100000);
  for (size_t k = 0; k < large.size(); ++k) large[k] = static_cast<uint8_t>(k * 7 + 3);
  RawSet(L"Large", REG_BINARY, large.data(), static_cast<DWORD>(large.size()));

  auto key = Registry.OpenKey(TRootKey::CurrentUser, Path, TRegAccess::Read);
  ASSERT_NE(key, nullptr);
  TRegValue v;
  ASSERT_TRUE(key->ReadValue("Bin", v));
  EXPECT_EQ(v.Type, TRegType::Binary);
  EXPECT_EQ(v.Data, Bytes(binary, sizeof binary));
  ASSERT_TRUE(key->ReadValue("NoBytes", v));
  EXPECT_EQ(v.Type, TRegType::Binary);
  EXPECT_TRUE(v.Data.empty());
  ASSERT_TRUE(key->ReadValue("Expand", v));
  EXPECT_EQ(v.Type, TRegType::ExpandString);
  EXPECT_EQ(Text(v), "%TEMP%\\内存") << "not expanded, converted";
  ASSERT_TRUE(key->ReadValue("Unterminated", v));
  EXPECT_EQ(Text(v), "abc");
  ASSERT_TRUE(key->ReadValue("Trailing", v));
  EXPECT_EQ(Text(v), "ab");
  ASSERT_TRUE(key->ReadValue("Odd", v));
  EXPECT_EQ(Text(v), "xy");
  ASSERT_TRUE(key->ReadValue("Multi", v));
  EXPECT_EQ(v.Type, TRegType::MultiString);
  EXPECT_EQ(v.Data, Bytes(multi, sizeof multi)) << "raw UTF-16";
  ASSERT_TRUE(key->ReadValue("Q", v));
  EXPECT_EQ(v.Type, TRegType::QWord);
  EXPECT_EQ(v.Data, Bytes(&qword, sizeof qword));
  ASSERT_TRUE(key->ReadValue("Large", v));
  EXPECT_EQ(v.Data, large);
}

TEST_F(RegistryTest, KeysAreOpenedWithTheAccessAskedFor) {
  ASSERT_NE(Registry.CreateKey(TRootKey::CurrentUser, Path + "\\Inner\\Deeper"), nullptr) << "parents are created";
  auto parent = Registry.OpenKey(TRootKey::CurrentUser, Path + "\\Inner", TRegAccess::AllAccess);
  ASSERT_NE(parent, nullptr);
  ASSERT_TRUE(WriteOne(*parent, "Kept", 5));

  auto again = Registry.CreateKey(TRootKey::CurrentUser, Path + "\\Inner");
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->ValueExists("Kept")) << "creating an existing key opens it as it is";

  auto readOnly = Registry.OpenKey(TRootKey::CurrentUser, Path + "\\Inner", TRegAccess::Read);
  ASSERT_NE(readOnly, nullptr);
  EXPECT_TRUE(readOnly->ValueExists("Kept"));
  EXPECT_FALSE(WriteOne(*readOnly, "Other", 1));
  EXPECT_FALSE(readOnly->WriteString("Other", "x"));
  EXPECT_FALSE(readOnly->DeleteValue("Kept"));
  EXPECT_TRUE(readOnly->ValueExists("Kept"));
  EXPECT_FALSE(readOnly->ValueExists("Other"));
}

TEST_F(RegistryTest, MissingKeysAndMalformedNamesGiveNullKeysAndFalse) {
  for (TRegAccess access : {TRegAccess::Read, TRegAccess::AllAccess})
    EXPECT_EQ(Registry.OpenKey(TRootKey::CurrentUser, Path + "\\Missing", access), nullptr);
  HKEY raw;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, WidePath.c_str(), 0, KEY_READ, &raw), ERROR_SUCCESS)
      << "opening must not create";
  EXPECT_EQ(Registry.CreateKey(TRootKey::CurrentUser, Path + "\\\xff\xfe"), nullptr);

  auto key = Registry.CreateKey(TRootKey::CurrentUser, Path);
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(WriteOne(*key, "A", 1));
  TRegValue v;
  // A name that is not UTF-8 must not reach the registry as some other name (such as U+FFFD).
  EXPECT_FALSE(WriteOne(*key, "\xc3", 1));
  EXPECT_FALSE(key->WriteString("B", "\xc3("));
  EXPECT_FALSE(key->ValueExists("\xc3"));
  EXPECT_FALSE(key->ReadValue("\xc3", v));
  EXPECT_FALSE(key->DeleteValue("\xc3"));
  DWORD type;
  std::vector<uint8_t> data;
  EXPECT_FALSE(RawGet(L"\xfffd", type, data));
  EXPECT_FALSE(RawGet(L"B", type, data));
}

// The autorun setting writes "Brisko Memory" here; in the test prefix the user owns HKLM, so it opens.
TEST_F(RegistryTest, TheMachineRunKeyCanBeCreatedOpenedAndWritten) {
  auto created = Registry.CreateKey(TRootKey::LocalMachine, RunPath);
  ASSERT_NE(created, nullptr);
  auto run = Registry.OpenKey(TRootKey::LocalMachine, RunPath, TRegAccess::AllAccess);
  ASSERT_NE(run, nullptr);
  const std::string name = "BriskoTest " + UniqueSuffix();
  ASSERT_TRUE(run->WriteString(name, "\"C:\\Program Files\\Brisko\\brisko.exe\" /LOAD"));
  TRegValue v;
  auto reader = Registry.OpenKey(TRootKey::LocalMachine, RunPath, TRegAccess::Read);
  ASSERT_NE(reader, nullptr);
  ASSERT_TRUE(reader->ReadValue(name, v));
  EXPECT_EQ(Text(v), "\"C:\\Program Files\\Brisko\\brisko.exe\" /LOAD");
  EXPECT_TRUE(run->DeleteValue(name));
  EXPECT_FALSE(reader->ValueExists(name));
}
