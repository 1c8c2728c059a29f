// The registry service on Linux (the mapping is described in Registry.h): the settings file with its
// atomic replace and set-aside of damaged files, and the autostart entry with Windows-style command lines
// translated to and from Desktop Entry Exec lines. Nothing here throws; failures are null keys or false.
#include "platform/linux/Registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/linux/PerfData.h"

namespace platform::linux {

namespace {

constexpr std::string_view CurrentUserRoot = "HKEY_CURRENT_USER";
constexpr std::string_view RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::string_view AutostartValueName = "Brisko Memory";
constexpr std::string_view ProcessorObject = "238";
constexpr long ErrorFileNotFound = 2;
// A settings file beyond this is not one this program wrote; it is set aside rather than read into memory.
constexpr size_t MaxSettingsFileSize = 16u << 20;
constexpr size_t MaxDesktopFileSize = 1u << 20;

std::string ErrorText(int error) { return std::strerror(error); }

// Every missing folder of path is made with the given mode; true when path is a folder afterwards.
bool MakeFolders(const std::string& path, mode_t mode) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string part = path.substr(0, slash);
    if (!part.empty() && mkdir(part.c_str(), mode) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// What a file reading gives: the text, or an errno-style reason.
bool ReadWholeFile(const std::string& path, size_t limit, std::string& text, std::string& why, bool& tooLarge) {
  tooLarge = false;
  // Non-blocking, so a FIFO in the file's place cannot hang the program before it is found to be no file.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    why = ErrorText(errno);
    return false;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    why = "it is not a regular file";
    close(fd);
    return false;
  }
  text.clear();
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      why = ErrorText(errno);
      close(fd);
      return false;
    }
    if (n == 0) break;
    text.append(buffer, size_t(n));
    if (text.size() > limit) {
      tooLarge = true;
      why = "the file is larger than " + std::to_string(limit >> 20) + " MiB";
      close(fd);
      return false;
    }
  }
  close(fd);
  return true;
}

// Splits and stores a key path given to CreateKey/OpenKey: one trailing backslash is allowed, empty
// parts and characters the file cannot carry are not.
bool NormalizePath(const std::string& path, std::string& out) {
  out = path;
  if (!out.empty() && out.back() == '\\') out.pop_back();
  if (!IsWritableName(out)) return false;
  if (out.empty()) return path.empty();
  for (size_t start = 0;;) {
    size_t end = out.find('\\', start);
    if (end == start || start == out.size()) return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

// --- Windows-style command lines (the rules of the C runtime's argument parser) ---

std::vector<std::string> SplitWindowsCommandLine(std::string_view s) {
  std::vector<std::string> args;
  size_t i = 0;
  auto blank = [&](size_t k) { return k < s.size() && (s[k] == ' ' || s[k] == '\t'); };
  while (blank(i)) ++i;
  if (i >= s.size()) return args;
  // The program name takes no escapes: it runs to the closing quote or to the first blank.
  std::string program;
  if (s[i] == '"') {
    size_t close = s.find('"', i + 1);
    program = s.substr(i + 1, (close == std::string_view::npos ? s.size() : close) - i - 1);
    i = close == std::string_view::npos ? s.size() : close + 1;
  }
  while (i < s.size() && !blank(i)) program += s[i++];
  args.push_back(program);
  for (;;) {
    while (blank(i)) ++i;
    if (i >= s.size()) break;
    std::string arg;
    bool quoted = false;
    while (i < s.size() && (quoted || !blank(i))) {
      if (s[i] == '\\') {
        size_t count = 0;
        while (i < s.size() && s[i] == '\\') ++count, ++i;
        if (i < s.size() && s[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2) arg += s[i++];
        } else {
          arg.append(count, '\\');
        }
      } else if (s[i] == '"') {
        if (quoted && i + 1 < s.size() && s[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += s[i++];
      }
    }
    args.push_back(arg);
  }
  return args;
}

std::string JoinWindowsCommandLine(const std::vector<std::string>& args) {
  std::string out;
  for (size_t n = 0; n < args.size(); ++n) {
    const std::string& a = args[n];
    if (n > 0) out += ' ';
    if (n == 0) {
      bool quote = a.empty() || a.find_first_of(" \t") != std::string::npos;
      out += quote ? "\"" + a + "\"" : a;
      continue;
    }
    if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) {
      out += a;
      continue;
    }
    out += '"';
    size_t backslashes = 0;
    for (char c : a) {
      if (c == '\\') {
        ++backslashes;
        continue;
      }
      out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
      backslashes = 0;
      out += c;
    }
    out.append(2 * backslashes, '\\');
    out += '"';
  }
  return out;
}

// --- Desktop Entry values ---

constexpr std::string_view ExecReserved = " \t\n\"'\\><~|&;$*?#()`";

std::string ExecLine(const std::vector<std::string>& args) {
  std::string out;
  for (const auto& arg : args) {
    if (!out.empty()) out += ' ';
    std::string a;
    for (char c : arg) a += c == '%' ? std::string("%%") : std::string(1, c);
    if (!a.empty() && a.find_first_of(ExecReserved) == std::string::npos) {
      out += a;
      continue;
    }
    out += '"';
    for (char c : a) {
      if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
      out += c;
    }
    out += '"';
  }
  return out;
}

// Field codes (%f, %U ...) expand to nothing for an autostart entry; %% is a percent sign.
std::string DropFieldCodes(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      out += s[i];
    } else if (i + 1 < s.size()) {
      if (s[++i] == '%') out += '%';
    }
  }
  return out;
}

bool ParseExecLine(std::string_view s, std::vector<std::string>& args) {
  args.clear();
  size_t i = 0;
  for (;;) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i >= s.size()) return !args.empty();
    std::string arg;
    if (s[i] == '"') {
      for (++i; i < s.size() && s[i] != '"'; ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) ++i;
        arg += s[i];
      }
      if (i >= s.size()) return false;
      ++i;
      if (i < s.size() && s[i] != ' ' && s[i] != '\t') return false;
      args.push_back(DropFieldCodes(arg));
    } else {
      while (i < s.size() && s[i] != ' ' && s[i] != '\t') arg += s[i++];
      if (arg.size() == 2 && arg[0] == '%' && arg[1] != '%') continue;
      args.push_back(DropFieldCodes(arg));
    }
  }
}

// The escapes of Desktop Entry string values; a leading blank is escaped since readers trim it.
std::string EscapeDesktopValue(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\r') out += "\\r";
    else if (c == ' ' && i == 0) out += "\\s";
    else out += c;
  }
  return out;
}

std::string UnescapeDesktopValue(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      out += s[i];
      continue;
    }
    switch (s[++i]) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      default: out += '\\'; out += s[i];
    }
  }
  return out;
}

// The value of key in the [Desktop Entry] group, unescaped; false when it is absent.
bool DesktopEntryValue(std::string_view text, std::string_view key, std::string& value) {
  bool inEntry = false;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == '[') {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    size_t eq = line.find('=');
    if (!inEntry || eq == std::string_view::npos) continue;
    std::string_view name = line.substr(0, eq);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (name != key) continue;
    std::string_view raw = line.substr(eq + 1);
    while (!raw.empty() && raw.front() == ' ') raw.remove_prefix(1);
    value = UnescapeDesktopValue(raw);
    return true;
  }
  return false;
}

std::string DesktopFileText(const std::string& commandLine, const std::vector<std::string>& args) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Brisko内存整理 4.0\n"
         "Exec=" + EscapeDesktopValue(ExecLine(args)) + "\n"
         "Icon=brisko\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n"
         "X-Brisko-CommandLine=" + EscapeDesktopValue(commandLine) + "\n";
}

void SetString(TRegValue& value, std::string_view text) {
  value.Type = TRegType::String;
  value.Data.assign(text.begin(), text.end());
}

}  // namespace

// --- keys ---

class TLinuxRegistry::TSettingsKey : public IRegistryKey {
public:
  TSettingsKey(TLinuxRegistry& owner, std::string fullPath, bool writable)
      : FOwner(owner), FPath(std::move(fullPath)), FWritable(writable) {}

  bool ValueExists(const std::string& name) override { return Find(name) != nullptr; }

  bool ReadValue(const std::string& name, TRegValue& value) override {
    const TRegFileValue* found = Find(name);
    if (!found) return false;
    value.Type = found->Type;
    value.Data = found->Data;
    return true;
  }

  bool WriteDWord(const std::string& name, uint32_t value) override {
    std::vector<uint8_t> data;
    for (int i = 0; i < 4; ++i) data.push_back(uint8_t(value >> (8 * i)));
    return Write(name, TRegType::DWord, std::move(data));
  }

  bool WriteString(const std::string& name, const std::string& value) override {
    return Write(name, TRegType::String, std::vector<uint8_t>(value.begin(), value.end()));
  }

  bool DeleteValue(const std::string& name) override {
    if (!FWritable) return false;
    return FOwner.Change([&](TRegFileContent& content) {
      TRegFileKey* key = FindKey(content, FPath);
      if (!key) return false;
      for (auto it = key->Values.begin(); it != key->Values.end(); ++it)
        if (SameName(it->Name, name)) {
          key->Values.erase(it);
          return true;
        }
      return false;
    });
  }

private:
  const TRegFileValue* Find(const std::string& name) {
    FOwner.Refresh();
    TRegFileKey* key = FindKey(FOwner.FContent, FPath);
    return key ? FindValue(*key, name) : nullptr;
  }

  bool Write(const std::string& name, TRegType type, std::vector<uint8_t> data) {
    if (!FWritable || !IsWritableName(name)) return false;
    return FOwner.Change([&](TRegFileContent& content) {
      TRegFileKey* key = FindKey(content, FPath);
      if (!key) {
        content.Keys.push_back({FPath, {}});
        key = &content.Keys.back();
      }
      TRegFileValue* value = FindValue(*key, name);
      if (!value) {
        key->Values.push_back({name, type, std::move(data)});
        return true;
      }
      if (value->Type == type && value->Data == data) return false;
      value->Type = type;
      value->Data = std::move(data);
      return true;
    });
  }

  TLinuxRegistry& FOwner;
  std::string FPath;
  bool FWritable;
};

class TLinuxRegistry::TAutostartKey : public IRegistryKey {
public:
  TAutostartKey(TLinuxRegistry& owner, bool writable) : FOwner(owner), FWritable(writable) {}

  bool ValueExists(const std::string& name) override {
    struct stat st;
    return SameName(name, AutostartValueName) && lstat(FOwner.FAutostartFile.c_str(), &st) == 0;
  }

  // The command line kept beside Exec is answered while it still means what Exec runs (someone may
  // have edited the entry); otherwise the command line is rebuilt from Exec.
  bool ReadValue(const std::string& name, TRegValue& value) override {
    std::string text, why, exec, commandLine;
    bool tooLarge;
    if (!SameName(name, AutostartValueName) ||
        !ReadWholeFile(FOwner.FAutostartFile, MaxDesktopFileSize, text, why, tooLarge))
      return false;
    std::vector<std::string> args;
    bool hasExec = DesktopEntryValue(text, "Exec", exec) && ParseExecLine(exec, args);
    if (DesktopEntryValue(text, "X-Brisko-CommandLine", commandLine) &&
        (!hasExec || SplitWindowsCommandLine(commandLine) == args)) {
      SetString(value, commandLine);
      return true;
    }
    if (!hasExec) return false;
    SetString(value, JoinWindowsCommandLine(args));
    return true;
  }

  bool WriteDWord(const std::string&, uint32_t) override { return false; }

  bool WriteString(const std::string& name, const std::string& value) override {
    if (!FWritable || !SameName(name, AutostartValueName) || value.find('\0') != std::string::npos) return false;
    std::vector<std::string> args = SplitWindowsCommandLine(value);
    if (args.empty() || args[0].empty()) return false;
    std::string text = DesktopFileText(value, args), old, why;
    bool tooLarge;
    if (ReadWholeFile(FOwner.FAutostartFile, MaxDesktopFileSize, old, why, tooLarge) && old == text) return true;
    return MakeFolders(FOwner.FAutostartDir, 0700) && FOwner.ReplaceFile(FOwner.FAutostartFile, text, 0644);
  }

  bool DeleteValue(const std::string& name) override {
    if (!FWritable) return false;
    if (!SameName(name, AutostartValueName)) return true;
    return unlink(FOwner.FAutostartFile.c_str()) == 0 || errno == ENOENT;
  }

private:
  TLinuxRegistry& FOwner;
  bool FWritable;
};

// --- the registry ---

TLinuxRegistry::TLinuxRegistry(std::string configDir) : FConfigDir(std::move(configDir)) {
  if (FConfigDir.empty()) {
    // Relative values of XDG_CONFIG_HOME are invalid by the base-directory rules and are ignored.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
      FConfigDir = xdg;
    } else {
      const char* home = std::getenv("HOME");
      if (!home || !*home) {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : "/";
      }
      FConfigDir = std::string(home) + "/.config";
    }
  }
  while (FConfigDir.size() > 1 && FConfigDir.back() == '/') FConfigDir.pop_back();
  FSettingsDir = FConfigDir + "/brisko";
  FSettingsFile = FSettingsDir + "/registry.reg";
  FAutostartDir = FConfigDir + "/autostart";
  FAutostartFile = FAutostartDir + "/brisko-memory.desktop";
}

TLinuxRegistry::~TLinuxRegistry() = default;

void TLinuxRegistry::SetOnSettingsError(TMessageEvent handler) {
  FOnSettingsError = std::move(handler);
  if (!FOnSettingsError) return;
  std::vector<std::string> pending;
  pending.swap(FPendingReports);
  for (const auto& message : pending) FOnSettingsError(message);
}

void TLinuxRegistry::Report(std::string message) {
  if (FOnSettingsError)
    FOnSettingsError(message);
  else
    FPendingReports.push_back(std::move(message));
}

void TLinuxRegistry::Refresh() {
  struct stat st;
  if (stat(FSettingsFile.c_str(), &st) != 0) {
    // No file (or no way to reach one): a first start, with nothing on disk to protect.
    FContent = {};
    FIdentity = {};
    FWritesBlocked = false;
    FLoaded = true;
    return;
  }
  TFileIdentity identity{true, uint64_t(st.st_dev), uint64_t(st.st_ino), uint64_t(st.st_size),
                         int64_t(st.st_mtim.tv_sec), int64_t(st.st_mtim.tv_nsec)};
  if (FLoaded && identity == FIdentity) return;
  FLoaded = true;
  FIdentity = identity;
  FContent = {};
  FWritesBlocked = false;

  std::string text, why;
  bool tooLarge;
  TRegFileError error;
  if (ReadWholeFile(FSettingsFile, MaxSettingsFileSize, text, why, tooLarge)) {
    if (ParseRegFile(text, FContent, error)) return;
    why = "line " + std::to_string(error.Line) + ": " + error.Reason;
  } else if (!tooLarge) {
    FWritesBlocked = true;
    Report("The settings file " + FSettingsFile + " could not be read (" + why +
           "). Changes to the settings are not saved until it can be read.");
    return;
  }
  std::string damaged = FSettingsFile + ".damaged";
  if (rename(FSettingsFile.c_str(), damaged.c_str()) == 0) {
    FIdentity = {};
    Report("The settings file " + FSettingsFile + " could not be read (" + why + ") and was set aside as " +
           damaged + ".");
  } else {
    FWritesBlocked = true;
    Report("The settings file " + FSettingsFile + " could not be read (" + why + ") and could not be set aside as " +
           damaged + " (" + ErrorText(errno) + "). Changes to the settings are not saved until it is repaired.");
  }
}

bool TLinuxRegistry::SettingsKeyExists(const std::string& fullPath) {
  Refresh();
  if (SameName(fullPath, CurrentUserRoot)) return true;
  for (const auto& key : FContent.Keys)
    if (key.Path.size() >= fullPath.size() && SameName(std::string_view(key.Path).substr(0, fullPath.size()), fullPath) &&
        (key.Path.size() == fullPath.size() || key.Path[fullPath.size()] == '\\'))
      return true;
  return false;
}

bool TLinuxRegistry::Change(const std::function<bool(TRegFileContent&)>& edit) {
  Refresh();
  if (FWritesBlocked) return false;
  TRegFileContent next = FContent;
  if (!edit(next)) return true;
  // A settings file that is a link (kept with the user's other dotfiles) is replaced where it points.
  std::string target = FSettingsFile;
  if (char* real = realpath(FSettingsFile.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  if (!MakeFolders(FConfigDir, 0700) || !MakeFolders(FSettingsDir, 0700) ||
      !ReplaceFile(target, SerializeRegFile(next), 0600))
    return false;
  FContent = std::move(next);
  struct stat st;
  if (stat(FSettingsFile.c_str(), &st) == 0)
    FIdentity = {true, uint64_t(st.st_dev), uint64_t(st.st_ino), uint64_t(st.st_size), int64_t(st.st_mtim.tv_sec),
                 int64_t(st.st_mtim.tv_nsec)};
  return true;
}

// Temp file in the target's folder (so the rename stays on one file system), synced before the rename,
// so the target is at every moment either the old file or the complete new one.
bool TLinuxRegistry::ReplaceFile(const std::string& path, const std::string& content, unsigned mode) {
  size_t slash = path.rfind('/');
  std::string folder = path.substr(0, slash);
  std::string temp = folder + "/." + path.substr(slash + 1) + ".XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fchmod(fd, mode_t(mode)) == 0;
  for (size_t done = 0; ok && done < content.size();) {
    ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += size_t(n);
  }
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && FReplaceHook && !FReplaceHook(temp)) return false;
  if (!ok || rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  // The rename itself is made durable by syncing the folder; a failure there does not undo it.
  int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

std::unique_ptr<IRegistryKey> TLinuxRegistry::CreateKey(TRootKey root, const std::string& path) {
  std::string normal;
  if (!NormalizePath(path, normal)) return nullptr;
  if (root == TRootKey::LocalMachine && SameName(normal, RunKeyPath)) {
    if (!MakeFolders(FConfigDir, 0700) || !MakeFolders(FAutostartDir, 0700) ||
        access(FAutostartDir.c_str(), W_OK | X_OK) != 0)
      return nullptr;
    return std::make_unique<TAutostartKey>(*this, true);
  }
  if (root != TRootKey::CurrentUser) return nullptr;
  std::string full = std::string(CurrentUserRoot) + (normal.empty() ? "" : "\\" + normal);
  if (!SettingsKeyExists(full) && !Change([&](TRegFileContent& content) {
        content.Keys.push_back({full, {}});
        return true;
      }))
    return nullptr;
  return std::make_unique<TSettingsKey>(*this, full, true);
}

std::unique_ptr<IRegistryKey> TLinuxRegistry::OpenKey(TRootKey root, const std::string& path, TRegAccess access) {
  std::string normal;
  if (!NormalizePath(path, normal)) return nullptr;
  bool writable = access == TRegAccess::AllAccess;
  if (root == TRootKey::LocalMachine && SameName(normal, RunKeyPath)) {
    if (!writable) return std::make_unique<TAutostartKey>(*this, false);
    return CreateKey(root, path);
  }
  if (root != TRootKey::CurrentUser) return nullptr;
  std::string full = std::string(CurrentUserRoot) + (normal.empty() ? "" : "\\" + normal);
  if (!SettingsKeyExists(full)) return nullptr;
  return std::make_unique<TSettingsKey>(*this, full, writable);
}

long TLinuxRegistry::QueryPerformanceData(const std::string& objectName, uint8_t* buffer, uint32_t size) {
  if (objectName != ProcessorObject) return ErrorFileNotFound;
  return QueryProcessorPerfData(buffer, size);
}

}  // namespace platform::linux
