// The resources of the built brisko.exe, read as the shell reads them: the version record with its
// exact strings, the application icon group first with a 32×32 and a 48×48 image of 256 colours,
// and the manifest asking for common controls 6 without elevation.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring ProgramPath() {
  const char* path = std::getenv("BRISKO_EXE");
  std::wstring wide;
  for (const char* c = path ? path : "brisko.exe"; *c; ++c) wide += static_cast<wchar_t>(*c == '/' ? '\\' : *c);
  return !wide.empty() && wide[0] == L'\\' ? L"Z:" + wide : wide;  // Wine's drive for the Unix root
}

class ExecutableTest : public ::testing::Test {
protected:
  void SetUp() override {
    Module = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(Module, nullptr);
  }
  void TearDown() override {
    if (Module) FreeLibrary(Module);
  }
  std::vector<BYTE> Resource(LPCWSTR type, LPCWSTR name) {
    HRSRC info = FindResourceW(Module, name, type);
    if (!info) return {};
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(Module, info)));
    return data ? std::vector<BYTE>(data, data + SizeofResource(Module, info)) : std::vector<BYTE>{};
  }
  HMODULE Module = nullptr;
};

// The strings of the version record's only string table, by name; nothing when absent.
bool VersionString(std::vector<BYTE>& record, const wchar_t* name, std::wstring& value) {
  struct TTranslation {
    WORD Language, CodePage;
  }* translations = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &size) ||
      size < sizeof(TTranslation))
    return false;
  wchar_t path[128];
  swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations->Language, translations->CodePage, name);
  wchar_t* text = nullptr;
  if (!VerQueryValueW(record.data(), path, reinterpret_cast<void**>(&text), &size)) return false;
  value.assign(text, size && text[size - 1] == 0 ? size - 1 : size);
  return true;
}

TEST_F(ExecutableTest, VersionRecordCarriesTheTitleAndOnlyTheStatedStrings) {
  std::vector<BYTE> record = Resource(MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1));  // RT_VERSION
  ASSERT_FALSE(record.empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 4));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 4));
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  std::wstring value;
  ASSERT_TRUE(VersionString(record, L"FileDescription", value));
  EXPECT_EQ(value, L"Brisko内存整理 4.0");
  ASSERT_TRUE(VersionString(record, L"FileVersion", value));
  EXPECT_EQ(value, L"4.0.0.0");
  ASSERT_TRUE(VersionString(record, L"ProductVersion", value));
  EXPECT_EQ(value, L"1.0.0.0");
  for (const wchar_t* name : {L"CompanyName", L"InternalName", L"LegalCopyright", L"OriginalFilename", L"ProductName"}) {
    value = L"?";
    EXPECT_TRUE(VersionString(record, name, value)) << "no " << static_cast<char>(name[0]) << "... string";
    EXPECT_TRUE(value.empty());
  }
}

BOOL CALLBACK FirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
  auto* first = reinterpret_cast<std::wstring*>(found);
  *first = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : std::wstring(name);
  return FALSE;
}

TEST_F(ExecutableTest, FirstIconGroupIsTheApplicationIconIn32And48PixelsOf256Colours) {
  std::wstring first;
  EnumResourceNamesW(Module, MAKEINTRESOURCEW(14), FirstName, reinterpret_cast<LONG_PTR>(&first));  // RT_GROUP_ICON
  EXPECT_EQ(first, L"MAINICON");
  const std::vector<BYTE> group = Resource(MAKEINTRESOURCEW(14), L"MAINICON");
  ASSERT_GE(group.size(), 6u + 2 * 14);
  ASSERT_EQ(group[4], 2);  // images in the group
  for (int i = 0; i < 2; ++i) {
    const BYTE* entry = group.data() + 6 + 14 * i;  // GRPICONDIRENTRY
    const int side = i == 0 ? 32 : 48;
    EXPECT_EQ(entry[0], side);
    EXPECT_EQ(entry[1], side);
    EXPECT_EQ(entry[6] | (entry[7] << 8), 8);  // bits per pixel: 256 colours
  }
  // The same icon as .ico bytes, for the program's own windows.
  const std::vector<BYTE> ico = Resource(MAKEINTRESOURCEW(10), L"MAINICON");  // RT_RCDATA
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(ico[2], 1);
  EXPECT_EQ(ico[4], 2);
  const std::vector<BYTE> splash = Resource(MAKEINTRESOURCEW(10), L"SPLASH");
  ASSERT_GE(splash.size(), 2u);
  EXPECT_EQ(splash[0], 0xFF);  // a JPEG's start-of-image marker
  EXPECT_EQ(splash[1], 0xD8);
}

TEST_F(ExecutableTest, ManifestAsksForCommonControls6AsInvoker) {
  const std::vector<BYTE> manifest = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));  // RT_MANIFEST
  const std::string text(manifest.begin(), manifest.end());
  EXPECT_NE(text.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"), std::string::npos) << text;
  EXPECT_NE(text.find(R"(requestedExecutionLevel level="asInvoker")"), std::string::npos) << text;
}

}  // namespace
