// Capabilities through libcap's cap_get_proc/cap_set_proc (see Capabilities.h).
#include "platform/linux/Capabilities.h"

#include <grp.h>
#include <pwd.h>
#include <sys/capability.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <memory>

#include "platform/linux/ProcText.h"

namespace platform::linux {

namespace {

struct TCapFree {
  void operator()(cap_t caps) const { cap_free(caps); }
};
using TCaps = std::unique_ptr<std::remove_pointer_t<cap_t>, TCapFree>;

constexpr cap_value_t TrimCapabilities[] = {CAP_SYS_NICE, CAP_SYS_PTRACE, CAP_FOWNER};

bool Has(cap_t caps, cap_value_t cap, cap_flag_t set) {
  cap_flag_value_t value = CAP_CLEAR;
  return cap_get_flag(caps, cap, set, &value) == 0 && value == CAP_SET;
}

// Sets the trimming capabilities that are permitted now in the given sets, clearing everything else.
bool SetTrimCapabilities(bool effective) {
  const TCaps now(cap_get_proc());
  const TCaps wanted(cap_init());
  if (!now || !wanted) return false;
  for (cap_value_t cap : TrimCapabilities) {
    if (!Has(now.get(), cap, CAP_PERMITTED)) continue;
    cap_set_flag(wanted.get(), CAP_PERMITTED, 1, &cap, CAP_SET);
    if (effective) cap_set_flag(wanted.get(), CAP_EFFECTIVE, 1, &cap, CAP_SET);
  }
  return cap_set_proc(wanted.get()) == 0;
}

}  // namespace

bool DropNonRootCapabilities() {
  const TCaps now(cap_get_proc());
  const TCaps none(cap_init());
  if (!now || !none) return false;
  return getuid() == 0 || cap_compare(now.get(), none.get()) == 0 || cap_set_proc(none.get()) == 0;
}

bool BecomeInvokingUser(const char* pkexecUid) {
  if (getuid() != 0 || !pkexecUid) return true;
  uint64_t uid = 0;
  if (!ParseDecimal(pkexecUid, uid) || uid >= UINT32_MAX) return false;
  if (uid == 0) return true;
  passwd entry{};
  passwd* found = nullptr;
  std::array<char, 16384> strings{};
  if (getpwuid_r(static_cast<uid_t>(uid), &entry, strings.data(), strings.size(), &found) != 0 || !found) return false;
  const gid_t gid = found->pw_gid;
  return prctl(PR_SET_KEEPCAPS, 1) == 0 && setgroups(0, nullptr) == 0 && setresgid(gid, gid, gid) == 0 &&
         setresuid(found->pw_uid, found->pw_uid, found->pw_uid) == 0 && prctl(PR_SET_KEEPCAPS, 0) == 0;
}

bool LimitToTrimCapabilities() { return SetTrimCapabilities(false); }

bool RaiseTrimCapabilities() {
  if (!SetTrimCapabilities(true)) return false;
  const TCaps now(cap_get_proc());
  return now && Has(now.get(), CAP_SYS_NICE, CAP_EFFECTIVE);
}

}  // namespace platform::linux
