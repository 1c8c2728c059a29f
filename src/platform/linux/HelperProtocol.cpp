// Whole records over the helper's socket (see HelperProtocol.h).
#include "platform/linux/HelperProtocol.h"

#include <sys/socket.h>

#include <cerrno>
#include <type_traits>

namespace platform::linux {

namespace {

template <class TData, class TCall>
bool Whole(TData* data, size_t size, TCall call) {
  auto* at = reinterpret_cast<std::conditional_t<std::is_const_v<TData>, const char, char>*>(data);
  while (size > 0) {
    const ssize_t done = call(at, size);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    at += done;
    size -= static_cast<size_t>(done);
  }
  return true;
}

}  // namespace

bool SendRecord(int fd, const void* data, size_t size) {
  return Whole(data, size, [fd](const char* at, size_t n) { return send(fd, at, n, MSG_NOSIGNAL); });
}

bool ReceiveRecord(int fd, void* data, size_t size) {
  return Whole(data, size, [fd](char* at, size_t n) { return recv(fd, at, n, MSG_WAITALL); });
}

}  // namespace platform::linux
