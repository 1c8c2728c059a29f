// Files for the Linux services (see Files.h).
#include "platform/linux/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <random>

namespace platform::linux {

namespace {

std::string ErrorText(int error) { return std::strerror(error); }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".name.tmp-PID-": what every temporary file of a replacement of path by process pid starts with.
std::string TemporaryPrefix(const std::string& path) { return "." + NameOf(path) + ".tmp-"; }

bool WriteAll(int fd, std::string_view content) {
  for (size_t done = 0; done < content.size();) {
    const ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// A new, empty file beside path that no link can redirect.
TFd CreateTemporary(const std::string& path, unsigned mode, std::string& temp) {
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 16; ++attempt) {
    temp = FolderOf(path) + "/" + TemporaryPrefix(path) + std::to_string(getpid()) + "-" + std::to_string(random());
    TFd fd(open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(mode)));
    if (fd || errno != EEXIST) return fd;
  }
  return TFd();
}

// The pid in a temporary file's name, after its prefix; 0 when the name is not one of ours.
pid_t WriterOf(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return 0;
  name.remove_prefix(prefix.size());
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
  return error == std::errc() && end != name.data() && end < name.data() + name.size() && *end == '-' ? pid : 0;
}

}  // namespace

TFd::~TFd() {
  if (FFd >= 0) close(FFd);
}

TFd& TFd::operator=(TFd&& other) noexcept {
  if (this != &other) {
    if (FFd >= 0) close(FFd);
    FFd = other.Release();
  }
  return *this;
}

TReadResult ReadFile(const std::string& path, size_t limit, std::string& text, std::string& why) {
  text.clear();
  // Non-blocking, so a FIFO in the file's place cannot hang the program before it is found to be no file.
  TFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd) {
    why = ErrorText(errno);
    return errno == ENOENT ? TReadResult::Missing : TReadResult::Failed;
  }
  struct stat st;
  if (fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    why = "it is not a regular file";
    return TReadResult::Failed;
  }
  if (static_cast<uint64_t>(st.st_size) <= limit) text.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      why = ErrorText(errno);
      return TReadResult::Failed;
    }
    if (n == 0) return TReadResult::Ok;
    text.append(buffer, static_cast<size_t>(n));
    if (text.size() > limit) {
      why = "the file is larger than " + std::to_string(limit >> 20) + " MiB";
      return TReadResult::TooLarge;
    }
  }
}

bool MakeFolders(const std::string& path, unsigned mode, std::string& why) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (!part.empty() && mkdir(part.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) {
      why = "the folder " + part + " cannot be made: " + ErrorText(errno);
      return false;
    }
    if (slash == std::string::npos) break;
  }
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
  why = path + " is not a folder";
  return false;
}

std::string WriteTarget(const std::string& path) {
  std::string target = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = readlink(target.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<size_t>(n) >= link.size()) return target;
    link.resize(static_cast<size_t>(n));
    target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
  }
  return target;
}

bool ReplaceFile(const std::string& path, std::string_view content, unsigned mode, std::string& why,
                 const TReplaceHook& hook) {
  struct stat st;
  // The rename would replace a file whatever its permissions; a user who took the write bit away means it.
  if (stat(path.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR)) {
    why = "it is read-only";
    return false;
  }
  std::string temp;
  TFd fd = CreateTemporary(path, mode, temp);
  if (!fd) {
    why = ErrorText(errno);
    return false;
  }
  // fchmod: the mode given to open is narrowed by the umask.
  bool ok = fchmod(fd.Get(), static_cast<mode_t>(mode)) == 0 && WriteAll(fd.Get(), content) && fsync(fd.Get()) == 0;
  if (!ok) why = ErrorText(errno);
  ok = close(fd.Release()) == 0 && ok;
  if (ok && hook && !hook(temp)) {
    why = "the replacement was stopped";
    return false;
  }
  if (!ok || rename(temp.c_str(), path.c_str()) != 0) {
    if (ok) why = ErrorText(errno);
    unlink(temp.c_str());
    return false;
  }
  // The rename itself is made durable by syncing the folder; a failure there does not undo it.
  const TFd folder(open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder) fsync(folder.Get());
  return true;
}

// Earlier versions named their temporary files ".name.XXXXXX" (mkstemp) and named no writer.
bool IsEarlierTemporary(std::string_view name, const std::string& path) {
  const std::string prefix = "." + NameOf(path) + ".";
  if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) return false;
  for (char c : name.substr(prefix.size()))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

void RemoveStaleTemporaries(const std::string& path) {
  const std::string folder = FolderOf(path), prefix = TemporaryPrefix(path);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const pid_t writer = WriterOf(entry->d_name, prefix);
    // A writer that still runs may be in the middle of its replacement.
    const bool stale = writer > 0 ? writer != getpid() && kill(writer, 0) != 0 && errno == ESRCH
                                  : IsEarlierTemporary(entry->d_name, path);
    if (stale) unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

}  // namespace platform::linux
