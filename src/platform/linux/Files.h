// Files for the Linux services: descriptors that close themselves, whole-file reads with a size limit
// that never block on a FIFO, folders made as needed, and the atomic replacement of a file (a
// temporary file beside it, synced, then renamed over it), with its leftovers cleaned up.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform::linux {

// A file descriptor, closed when the object goes.
class TFd {
public:
  TFd() = default;
  explicit TFd(int fd) : FFd(fd) {}
  ~TFd();
  TFd(TFd&& other) noexcept : FFd(other.Release()) {}
  TFd& operator=(TFd&& other) noexcept;
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;

  int Get() const { return FFd; }
  explicit operator bool() const { return FFd >= 0; }
  int Release() {
    const int fd = FFd;
    FFd = -1;
    return fd;
  }

private:
  int FFd = -1;
};

// The outcome of reading a file whole.
enum class TReadResult { Ok, Missing, TooLarge, Failed };

// Reads a regular file of at most limit bytes into text; why says what went wrong otherwise (an
// errno text, "it is not a regular file", or the limit). Missing is a file that does not exist.
TReadResult ReadFile(const std::string& path, size_t limit, std::string& text, std::string& why);

// Every missing folder of path is made with the given mode; true when path is a folder afterwards.
bool MakeFolders(const std::string& path, unsigned mode, std::string& why);

// The path a write to path reaches: where the symbolic links path is (or ends in) lead, also when the
// last one dangles; path itself when it is no link. Links are followed to a depth of 40, as the kernel does.
std::string WriteTarget(const std::string& path);

// Called with the temporary file's name once it is complete on disk, just before it is renamed over
// the target; answering false stops there, as a crash at that moment would (the replace then fails).
using TReplaceHook = std::function<bool(const std::string& tempPath)>;

// Replaces path with content, atomically: the file is at every moment either the old one or the whole
// new one. The temporary file is made beside it with O_EXCL and O_NOFOLLOW, named after path and this
// process. A file the user made read-only is not replaced (false, why "it is read-only").
bool ReplaceFile(const std::string& path, std::string_view content, unsigned mode, std::string& why,
                 const TReplaceHook& hook = {});

// Removes the temporary files that replacements of path by processes no longer running left behind.
void RemoveStaleTemporaries(const std::string& path);

}  // namespace platform::linux
