// brisko-helper: the Linux edition's only privileged code. The program starts it for a trim with a
// socket as standard input and output and an empty environment (or through pkexec, as root, and then
// as the user who asked); it keeps only the capabilities a trim needs, is the first process the OOM
// killer picks, and serves until the program closes.
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>

#include "helper/Helper.h"
#include "platform/linux/Capabilities.h"

namespace {

// The deep trim's blocks live here: under memory pressure this process goes before any other. A
// helper that got its capabilities from its file is not dumpable, which hands its /proc files to
// root; it is dumpable for this one write (tracing it still needs its capabilities).
void VolunteerForOomKiller() {
  const bool dumpable = prctl(PR_GET_DUMPABLE) == 1;
  if (!dumpable) prctl(PR_SET_DUMPABLE, 1);
  const int file = open("/proc/self/oom_score_adj", O_WRONLY | O_CLOEXEC);
  if (file >= 0) {
    (void)!write(file, "1000", 4);
    close(file);
  }
  if (!dumpable) prctl(PR_SET_DUMPABLE, 0);
}

}  // namespace

int main() {
  // Nothing of the program's but the socket: descriptors it did not mark close-on-exec stay there.
  close_range(STDERR_FILENO + 1, ~0u, 0);
  // Through pkexec the helper starts as root; it goes on as the user who asked.
  if (!platform::linux::BecomeInvokingUser(std::getenv("PKEXEC_UID"))) return 1;
  VolunteerForOomKiller();
  if (!platform::linux::LimitToTrimCapabilities()) return 1;
  helper::THelper helper;
  return helper.Serve(STDIN_FILENO, STDOUT_FILENO) ? 0 : 1;
}
