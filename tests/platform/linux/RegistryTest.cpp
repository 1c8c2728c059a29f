// The Linux registry against real files in a fresh temp folder: the settings file (order, types, atomic
// replace, mode, damaged files set aside) and the Run key as an XDG autostart entry.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/CommandLine.h"
#include "platform/linux/Registry.h"

using namespace platform;
using platform::linux::TLinuxRegistry;
namespace fs = std::filesystem;

namespace {

bool WriteOne(IRegistryKey& key, const std::string& name, uint32_t value) {
  return key.WriteDWords({{name, value}}) == 1;
}

constexpr const char* KeyPath = "Software\\Norvanta Tech\\Ramsweep";
constexpr const char* RunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

ino_t Inode(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_ino;
}

std::string String(const TRegValue& v) { return {v.Data.begin(), v.Data.end()}; }

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/brisko-registry-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    FRoot = pattern;
    Config = FRoot + "/config";
    Settings = Config + "/brisko/registry.reg";
    Desktop = Config + "/autostart/brisko-memory.desktop";
  }
  void TearDown() override { fs::remove_all(FRoot); }

  void Watch(TLinuxRegistry& r) {
    r.SetOnSettingsError([this](const std::string& m) { Messages.push_back(m); });
  }

  std::string FRoot, Config, Settings, Desktop;
  std::vector<std::string> Messages;
};

}  // namespace

TEST_F(RegistryTest, SettingsAreWrittenInOrderAndReadBackByAFreshRegistry) {
  {
    TLinuxRegistry r(Config);
    Watch(r);
    EXPECT_EQ(r.SettingsFile(), Settings);
    EXPECT_EQ(r.OpenKey(TRootKey::CurrentUser, KeyPath, TRegAccess::Read), nullptr);
    auto key = r.CreateKey(TRootKey::CurrentUser, KeyPath);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(WriteOne(*key, "Depth", 0x400));
    EXPECT_TRUE(key->WriteString("Name", "a \"b\" c:\\d 内存"));
    EXPECT_TRUE(WriteOne(*key, "Zeta", 1));
    EXPECT_TRUE(WriteOne(*key, "Depth", 0x800));  // keeps its place
    EXPECT_TRUE(key->DeleteValue("Zeta"));
    EXPECT_TRUE(key->DeleteValue("Zeta"));
    EXPECT_TRUE(WriteOne(*key, "Alpha", 0xffffffff));
  }
  EXPECT_EQ(ReadFile(Settings),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Norvanta Tech\\Ramsweep]\n"
            "\"Depth\"=dword:00000800\n\"Name\"=\"a \\\"b\\\" c:\\\\d 内存\"\n\"Alpha\"=dword:ffffffff\n\n");
  TLinuxRegistry r(Config);
  Watch(r);
  auto key = r.OpenKey(TRootKey::CurrentUser, "software\\NORVANTA TECH\\ramsweep\\", TRegAccess::Read);
  ASSERT_NE(key, nullptr);
  TRegValue v;
  ASSERT_TRUE(key->ReadValue("depth", v));
  EXPECT_EQ(v.Type, TRegType::DWord);
  EXPECT_EQ(v.Data, (std::vector<uint8_t>{0, 8, 0, 0}));
  ASSERT_TRUE(key->ReadValue("Name", v));
  EXPECT_EQ(v.Type, TRegType::String);
  EXPECT_EQ(String(v), "a \"b\" c:\\d 内存");
  EXPECT_FALSE(key->ValueExists("Zeta"));
  EXPECT_FALSE(key->ReadValue("Zeta", v));
  EXPECT_TRUE(Messages.empty());
}

TEST_F(RegistryTest, ForeignValueTypesAreReadAndKeptWhenTheFileIsRewritten) {
  const std::string original =
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Norvanta Tech\\Ramsweep]\r\n"
      "\"Bin\"=hex:de,ad\r\n\"Exp\"=hex(2):25,50,25,00\r\n\"Multi\"=hex(7):61,00,00\r\n"
      "\"Q\"=hex(b):01,00,00,00,00,00,00,80\r\n";
  WriteFile(Settings, original);
  TLinuxRegistry r(Config);
  Watch(r);
  auto key = r.OpenKey(TRootKey::CurrentUser, "SOFTWARE\\norvanta tech\\Ramsweep", TRegAccess::AllAccess);
  ASSERT_NE(key, nullptr);
  TRegValue v;
  ASSERT_TRUE(key->ReadValue("Bin", v));
  EXPECT_EQ(v.Type, TRegType::Binary);
  EXPECT_EQ(v.Data, (std::vector<uint8_t>{0xde, 0xad}));
  ASSERT_TRUE(key->ReadValue("Exp", v));
  EXPECT_EQ(v.Type, TRegType::ExpandString);
  EXPECT_EQ(String(v), "%P%");
  ASSERT_TRUE(key->ReadValue("Multi", v));
  EXPECT_EQ(v.Type, TRegType::MultiString);
  EXPECT_EQ(v.Data, (std::vector<uint8_t>{'a', 0, 0}));
  ASSERT_TRUE(key->ReadValue("Q", v));
  EXPECT_EQ(v.Type, TRegType::QWord);
  EXPECT_EQ(v.Data.back(), 0x80);

  EXPECT_EQ(ReadFile(Settings), original) << "reading must not rewrite";
  EXPECT_TRUE(key->WriteString("Bin", "now text"));  // a value may change its type, in place
  EXPECT_TRUE(WriteOne(*key, "New", 7));
  EXPECT_EQ(ReadFile(Settings),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Norvanta Tech\\Ramsweep]\n"
            "\"Bin\"=\"now text\"\n\"Exp\"=hex(2):25,50,25,00\n\"Multi\"=hex(7):61,00,00\n"
            "\"Q\"=hex(b):01,00,00,00,00,00,00,80\n\"New\"=dword:00000007\n\n");
}

TEST_F(RegistryTest, KeysExistAsWindowsHasThemAndOnlyChangesRewriteTheFile) {
  TLinuxRegistry r(Config);
  Watch(r);
  ASSERT_NE(r.CreateKey(TRootKey::CurrentUser, "Software\\Empty Key\\With\\Parts"), nullptr);
  EXPECT_EQ(ReadFile(Settings), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Empty Key\\With\\Parts]\n\n");
  EXPECT_NE(r.OpenKey(TRootKey::CurrentUser, "Software\\Empty Key", TRegAccess::Read), nullptr);
  EXPECT_NE(r.OpenKey(TRootKey::CurrentUser, "", TRegAccess::Read), nullptr);
  EXPECT_EQ(r.OpenKey(TRootKey::CurrentUser, "Software\\Empty", TRegAccess::Read), nullptr);
  for (const char* bad : {"Software\\\\X", "\\Software", "Soft\nware"}) {
    EXPECT_EQ(r.CreateKey(TRootKey::CurrentUser, bad), nullptr) << bad;
    EXPECT_EQ(r.OpenKey(TRootKey::CurrentUser, bad, TRegAccess::Read), nullptr) << bad;
  }

  auto key = r.CreateKey(TRootKey::CurrentUser, KeyPath);
  ASSERT_TRUE(WriteOne(*key, "Depth", 5));
  ino_t before = Inode(Settings);
  EXPECT_NE(r.CreateKey(TRootKey::CurrentUser, "software\\norvanta tech\\RAMSWEEP"), nullptr);
  EXPECT_TRUE(WriteOne(*key, "DEPTH", 5));
  EXPECT_TRUE(key->DeleteValue("Missing"));
  EXPECT_EQ(Inode(Settings), before) << "nothing changed, so nothing was written";
  EXPECT_FALSE(key->WriteString("Bad\nName", "x"));

  auto readOnly = r.OpenKey(TRootKey::CurrentUser, KeyPath, TRegAccess::Read);
  EXPECT_FALSE(WriteOne(*readOnly, "Depth", 6));
  EXPECT_FALSE(readOnly->DeleteValue("Depth"));
  EXPECT_TRUE(readOnly->ValueExists("Depth"));
}

TEST_F(RegistryTest, ChangesMadeOnDiskMeanwhileAreKept) {
  TLinuxRegistry r(Config);
  Watch(r);
  auto key = r.CreateKey(TRootKey::CurrentUser, KeyPath);
  ASSERT_TRUE(WriteOne(*key, "Mine", 1));
  WriteFile(Settings, "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Norvanta Tech\\Ramsweep]\n\"Theirs\"=dword:2\n");
  EXPECT_FALSE(key->ValueExists("Mine"));
  ASSERT_TRUE(WriteOne(*key, "Mine", 3));
  EXPECT_NE(ReadFile(Settings).find("\"Theirs\"=dword:00000002\n\"Mine\"=dword:00000003\n"), std::string::npos);
}

TEST_F(RegistryTest, FileIsPrivateAndItsFoldersAreCreated) {
  TLinuxRegistry r(Config + "/deeper/still");
  ASSERT_NE(r.CreateKey(TRootKey::CurrentUser, KeyPath), nullptr);
  struct stat st {};
  ASSERT_EQ(stat(r.SettingsFile().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  ASSERT_EQ(stat((Config + "/deeper/still/brisko").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0700u);

  WriteFile(Settings, "");  // a file that was readable to others is replaced by a private one
  chmod(Settings.c_str(), 0644);
  TLinuxRegistry s(Config);
  Watch(s);
  ASSERT_NE(s.CreateKey(TRootKey::CurrentUser, KeyPath), nullptr);
  ASSERT_EQ(stat(Settings.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST_F(RegistryTest, InterruptedReplaceLeavesTheOldFileWhole) {
  TLinuxRegistry r(Config);
  Watch(r);
  auto key = r.CreateKey(TRootKey::CurrentUser, KeyPath);
  ASSERT_TRUE(WriteOne(*key, "Depth", 1));
  const std::string old = ReadFile(Settings);

  std::string temp;
  r.SetReplaceHook([&](const std::string& path) {
    temp = path;
    return false;
  });
  EXPECT_FALSE(WriteOne(*key, "Depth", 2));
  EXPECT_FALSE(WriteOne(*key, "Other", 2));
  EXPECT_EQ(ReadFile(Settings), old);
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(fs::path(temp).parent_path(), fs::path(Settings).parent_path());
  EXPECT_NE(ReadFile(temp).find("\"Other\"=dword:00000002"), std::string::npos) << "the new text was complete";
  TRegValue v;
  ASSERT_TRUE(key->ReadValue("Depth", v));
  EXPECT_EQ(v.Data[0], 1) << "a failed write does not change what the key answers";
  EXPECT_FALSE(key->ValueExists("Other"));

  // The leftover temp file of the "crash" disturbs neither reading nor the next write.
  r.SetReplaceHook(nullptr);
  TLinuxRegistry next(Config);
  Watch(next);
  auto again = next.OpenKey(TRootKey::CurrentUser, KeyPath, TRegAccess::AllAccess);
  ASSERT_NE(again, nullptr);
  ASSERT_TRUE(again->ReadValue("Depth", v));
  EXPECT_EQ(v.Data[0], 1);
  EXPECT_TRUE(WriteOne(*again, "Depth", 3));
  EXPECT_NE(ReadFile(Settings).find("dword:00000003"), std::string::npos);
  EXPECT_TRUE(Messages.empty());
}

TEST_F(RegistryTest, DamagedFileIsSetAsideReportedOnceAndTheNewestKept) {
  const std::string first = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"A\"=dword:xyz\r\n\xff\x01";
  WriteFile(Settings, first);
  TLinuxRegistry r(Config);  // the report waits for a handler
  EXPECT_EQ(r.OpenKey(TRootKey::CurrentUser, "Software", TRegAccess::Read), nullptr);
  EXPECT_NE(r.OpenKey(TRootKey::CurrentUser, "", TRegAccess::Read), nullptr);
  Watch(r);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].rfind("The settings file " + Settings + " could not be read (line 4: ", 0), 0u) << Messages[0];
  EXPECT_NE(Messages[0].find(") and was set aside as " + Settings + ".damaged."), std::string::npos) << Messages[0];
  EXPECT_EQ(ReadFile(Settings + ".damaged"), first);
  EXPECT_FALSE(fs::exists(Settings));

  auto key = r.CreateKey(TRootKey::CurrentUser, KeyPath);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(WriteOne(*key, "Depth", 1));
  EXPECT_EQ(Messages.size(), 1u);

  const std::string second = "not a registry file at all";
  WriteFile(Settings, second);
  EXPECT_FALSE(key->ValueExists("Depth"));
  ASSERT_EQ(Messages.size(), 2u);
  EXPECT_NE(Messages[1].find("(line 1: "), std::string::npos) << Messages[1];
  EXPECT_EQ(ReadFile(Settings + ".damaged"), second);
  EXPECT_FALSE(key->ValueExists("Depth"));
  EXPECT_EQ(Messages.size(), 2u);
}

TEST_F(RegistryTest, UnreadableSettingsAreNeverReplaced) {
  // A FIFO cannot be read as a file but could be renamed over; it must be neither (nor block the reader).
  fs::create_directories(fs::path(Settings).parent_path());
  ASSERT_EQ(mkfifo(Settings.c_str(), 0600), 0);
  TLinuxRegistry r(Config);
  Watch(r);
  EXPECT_EQ(r.CreateKey(TRootKey::CurrentUser, KeyPath), nullptr);
  auto root = r.OpenKey(TRootKey::CurrentUser, "", TRegAccess::AllAccess);
  ASSERT_NE(root, nullptr);
  EXPECT_FALSE(WriteOne(*root, "X", 1));
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_NE(Messages[0].find(Settings + " could not be read (it is not a regular file)"), std::string::npos)
      << Messages[0];
  EXPECT_TRUE(fs::is_fifo(Settings));
}

TEST_F(RegistryTest, LinkedSettingsFileIsReplacedWhereItPoints) {
  const std::string real = FRoot + "/dotfiles/registry.reg";
  WriteFile(real, "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:1\n");
  fs::create_directories(fs::path(Settings).parent_path());
  fs::create_symlink(real, Settings);
  TLinuxRegistry r(Config);
  auto key = r.OpenKey(TRootKey::CurrentUser, "K", TRegAccess::AllAccess);
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(WriteOne(*key, "B", 2));
  EXPECT_TRUE(fs::is_symlink(Settings));
  EXPECT_EQ(ReadFile(real), "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:00000001\n\"B\"=dword:00000002\n\n");
}

TEST_F(RegistryTest, UnwritableFolderMakesCreateAndWriteFail) {
  WriteFile(Config + "/brisko", "a file where the folder should be");
  TLinuxRegistry r(Config);
  Watch(r);
  EXPECT_EQ(r.CreateKey(TRootKey::CurrentUser, KeyPath), nullptr);
  auto root = r.OpenKey(TRootKey::CurrentUser, "", TRegAccess::AllAccess);
  ASSERT_NE(root, nullptr);
  EXPECT_FALSE(WriteOne(*root, "X", 1));
  EXPECT_FALSE(root->ValueExists("X"));
}

TEST_F(RegistryTest, RunValueIsTheAutostartEntry) {
  TLinuxRegistry r(Config);
  Watch(r);
  auto run = r.CreateKey(TRootKey::LocalMachine, RunPath);
  ASSERT_NE(run, nullptr);
  EXPECT_FALSE(run->ValueExists("Brisko Memory"));
  EXPECT_TRUE(run->DeleteValue("Brisko Memory"));

  struct TCase {
    std::string CommandLine, Exec;
  };
  const std::vector<TCase> cases = {
      {"/usr/bin/brisko /LOAD", "Exec=/usr/bin/brisko /LOAD"},
      {"\"/opt/my apps/brisko\" /LOAD", "Exec=\"/opt/my apps/brisko\" /LOAD"},
      {"\"/opt/a b$c/50%/x`y\\z\" \"two words\" \"say \\\"hi\\\"\"",
       // A program path with a % is started through the shell: a launcher checks the path before it
       // turns %% into %.
       "Exec=/bin/sh -c \"exec \\\\\"\\\\$0\\\\\" \\\\\"\\\\$@\\\\\"\" \"/opt/a b\\\\$c/50%%/x\\\\`y\\\\\\\\z\" \"two words\" "
       "\"say \\\\\"hi\\\\\"\""},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(run->WriteString("Brisko Memory", c.CommandLine));
    EXPECT_TRUE(run->ValueExists("brisko memory"));
    const std::string text = ReadFile(Desktop);
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    for (const char* line : {"\nType=Application\n", "\nName=Brisko内存整理 4.0\n", "\nIcon=brisko\n",
                             "\nTerminal=false\n", "\nX-GNOME-Autostart-enabled=true\n"})
      EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_NE(text.find("\n" + c.Exec + "\n"), std::string::npos) << text;
    TRegValue v;
    ASSERT_TRUE(run->ReadValue("Brisko Memory", v));
    EXPECT_EQ(v.Type, TRegType::String);
    EXPECT_EQ(String(v), c.CommandLine);
  }
  EXPECT_TRUE(run->DeleteValue("Brisko Memory"));
  EXPECT_FALSE(fs::exists(Desktop));
  EXPECT_FALSE(run->ValueExists("Brisko Memory"));
  EXPECT_TRUE(fs::exists(Config + "/autostart"));

  EXPECT_FALSE(run->WriteString("Something Else", "/bin/true"));
  EXPECT_FALSE(WriteOne(*run, "Brisko Memory", 1));
  EXPECT_FALSE(run->WriteString("Brisko Memory", ""));
  EXPECT_FALSE(fs::exists(Desktop));
}

TEST_F(RegistryTest, RunValueIsRebuiltFromAnEditedEntry) {
  TLinuxRegistry r(Config);
  Watch(r);
  auto run = r.OpenKey(TRootKey::LocalMachine, "SOFTWARE\\microsoft\\Windows\\CurrentVersion\\run", TRegAccess::Read);
  ASSERT_NE(run, nullptr);
  EXPECT_FALSE(run->WriteString("Brisko Memory", "/x"));
  WriteFile(Desktop,
            "[Desktop Entry]\r\nType=Application\r\nExec = \"/opt/my apps/brisko\" /LOAD \"50%%\" %U\r\n"
            "X-Brisko-CommandLine=/old/brisko /LOAD\r\n[Desktop Action X]\r\nExec=/wrong\r\n");
  TRegValue v;
  ASSERT_TRUE(run->ReadValue("Brisko Memory", v));
  EXPECT_EQ(String(v), "\"/opt/my apps/brisko\" /LOAD 50%");
  WriteFile(Desktop, "[Desktop Entry]\nName=broken\n");
  EXPECT_TRUE(run->ValueExists("Brisko Memory"));
  EXPECT_FALSE(run->ReadValue("Brisko Memory", v));
}

TEST_F(RegistryTest, RunKeyNeedsAWritableAutostartFolder) {
  WriteFile(Config + "/autostart", "a file where the folder should be");
  TLinuxRegistry r(Config);
  Watch(r);
  EXPECT_EQ(r.CreateKey(TRootKey::LocalMachine, RunPath), nullptr);
  EXPECT_EQ(r.OpenKey(TRootKey::LocalMachine, RunPath, TRegAccess::AllAccess), nullptr);
  auto run = r.OpenKey(TRootKey::LocalMachine, RunPath, TRegAccess::Read);
  ASSERT_NE(run, nullptr);
  EXPECT_FALSE(run->ValueExists("Brisko Memory"));
}

TEST_F(RegistryTest, OtherMachineKeysAndDynDataCannotBeOpened) {
  TLinuxRegistry r(Config);
  Watch(r);
  for (TRootKey root : {TRootKey::LocalMachine, TRootKey::DynData}) {
    EXPECT_EQ(r.CreateKey(root, KeyPath), nullptr);
    EXPECT_EQ(r.OpenKey(root, "Software\\Microsoft\\Windows\\CurrentVersion", TRegAccess::Read), nullptr);
  }
  EXPECT_EQ(r.OpenKey(TRootKey::DynData, RunPath, TRegAccess::Read), nullptr);
  EXPECT_FALSE(fs::exists(Config));
}

TEST_F(RegistryTest, PerformanceDataAnswersOnlyTheProcessorObject) {
  TLinuxRegistry r(Config);
  Watch(r);
  uint8_t buffer[8];
  EXPECT_EQ(r.QueryPerformanceData("230", buffer, sizeof buffer), 2);
  EXPECT_EQ(r.QueryPerformanceData("", buffer, sizeof buffer), 2);
  EXPECT_EQ(r.QueryPerformanceData("238", buffer, 0), ErrorMoreData);
}

namespace {

// Runs check in a child process as an ordinary user when the tests run as root (root passes every
// permission check); the child exits 0 when check holds.
[[noreturn]] void AsOrdinaryUser(const std::function<bool()>& check) {
  if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) std::_Exit(3);
  std::_Exit(check() ? 0 : 1);
}

}  // namespace

TEST_F(RegistryTest, AStoreThatCannotBeReachedFailsAndIsReportedOnce) {
  // A settings folder someone else owns.
  fs::create_directories(Config + "/brisko");
  ASSERT_EQ(chmod(Config.c_str(), 0755), 0);
  ASSERT_EQ(chmod((Config + "/brisko").c_str(), 0755), 0);
  ASSERT_EQ(chmod(FRoot.c_str(), 0755), 0);
  EXPECT_EXIT(AsOrdinaryUser([this] {
                TLinuxRegistry r(Config);
                std::vector<std::string> messages;
                r.SetOnSettingsError([&](const std::string& m) { messages.push_back(m); });
                const bool created = r.CreateKey(TRootKey::CurrentUser, KeyPath) != nullptr;
                auto root = r.OpenKey(TRootKey::CurrentUser, "", TRegAccess::AllAccess);
                const size_t stored = root ? root->WriteDWords({{"A", 1}, {"B", 2}}) : 99;
                return !created && stored == 0 && messages.size() == 1 &&
                       messages[0].find("cannot be saved (Permission denied)") != std::string::npos;
              }),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(RegistryTest, AFileThatCannotBeExaminedIsReportedAndNeverReplaced) {
  WriteFile(Settings, "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:1\n");
  ASSERT_EQ(chmod(FRoot.c_str(), 0755), 0);
  ASSERT_EQ(chmod(Config.c_str(), 0755), 0);
  ASSERT_EQ(chmod((Config + "/brisko").c_str(), 0700), 0);  // not searchable by others
  EXPECT_EXIT(AsOrdinaryUser([this] {
                TLinuxRegistry r(Config);
                std::vector<std::string> messages;
                r.SetOnSettingsError([&](const std::string& m) { messages.push_back(m); });
                const bool created = r.CreateKey(TRootKey::CurrentUser, KeyPath) != nullptr;
                return !created && messages.size() == 1 &&
                       messages[0].find(Settings + " cannot be examined (Permission denied)") != std::string::npos;
              }),
              ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadFile(Settings), "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:1\n");
}

TEST_F(RegistryTest, ASaveIsOneRewriteAndAReadOnlyFileIsRespected) {
  TLinuxRegistry r(Config);
  Watch(r);
  auto key = r.CreateKey(TRootKey::CurrentUser, KeyPath);
  ASSERT_NE(key, nullptr);
  int replacements = 0;
  r.SetReplaceHook([&](const std::string&) { return ++replacements > 0; });
  EXPECT_EQ(key->WriteDWords({{"Depth", 1}, {"MemCondition", 2}, {"IsMemCondition", 1}}), 3u);
  EXPECT_EQ(replacements, 1);
  EXPECT_EQ(key->WriteDWords({{"Depth", 1}, {"MemCondition", 2}}), 2u);  // nothing changed: no rewrite
  EXPECT_EQ(replacements, 1);

  ASSERT_EQ(chmod(Settings.c_str(), 0400), 0);
  const std::string before = ReadFile(Settings);
  EXPECT_EQ(key->WriteDWords({{"Depth", 7}, {"MemCondition", 8}}), 0u);
  EXPECT_EQ(ReadFile(Settings), before);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_NE(Messages[0].find("cannot be saved (it is read-only)"), std::string::npos) << Messages[0];
}

TEST_F(RegistryTest, DanglingLinksAreFollowedAndStaleTemporaryFilesCleanedUp) {
  const std::string real = FRoot + "/dotfiles/brisko.reg";
  fs::create_directories(fs::path(real).parent_path());
  fs::create_directories(fs::path(Settings).parent_path());
  fs::create_symlink(real, Settings);
  // Temporary files are made beside the file a write reaches: here the link's target.
  const std::string folder = fs::path(real).parent_path();
  const std::string mine = folder + "/.brisko.reg.tmp-" + std::to_string(getpid()) + "-1";
  const std::string gone = folder + "/.brisko.reg.tmp-999999999-1";  // beyond any pid
  const std::string older = folder + "/.brisko.reg.Ab12Cd";
  for (const auto& leftover : {mine, gone, older}) WriteFile(leftover, "partial");
  TLinuxRegistry r(Config);
  EXPECT_TRUE(fs::exists(mine)) << "the writer still runs";
  EXPECT_FALSE(fs::exists(gone));
  EXPECT_FALSE(fs::exists(older));
  ASSERT_NE(r.CreateKey(TRootKey::CurrentUser, "K"), nullptr);
  EXPECT_TRUE(fs::is_symlink(Settings));
  EXPECT_NE(ReadFile(real).find("[HKEY_CURRENT_USER\\K]"), std::string::npos);
}

TEST_F(RegistryTest, TheLogonEntryStartsExactlyTheProgramForAnyPath) {
  // Each program records how it was started; the entry is started as a desktop session does.
  const std::string log = FRoot + "/started";
  TLinuxRegistry r(Config);
  auto run = r.CreateKey(TRootKey::LocalMachine, RunPath);
  ASSERT_NE(run, nullptr);
  for (const std::string dir : {"tab\there", "a \"b c", "50%", "quote'$`\\x", " lead"}) {
    SCOPED_TRACE(dir);
    const std::string program = FRoot + "/" + dir + "/brisko";
    WriteFile(program, "#!/bin/sh\nprintf '%s|%s' \"$0\" \"$*\" > '" + log + "'\n");
    fs::permissions(program, fs::perms::owner_all);
    fs::remove(log);
    ASSERT_TRUE(run->WriteString("Brisko Memory", platform::JoinCommandLine({program, "/LOAD"})));
    ASSERT_EQ(std::system(("gio launch '" + Desktop + "' >/dev/null 2>&1").c_str()), 0);
    for (int k = 0; k < 200 && !fs::exists(log); ++k) usleep(10000);
    usleep(20000);
    EXPECT_EQ(ReadFile(log), program + "|/LOAD");
  }
}
