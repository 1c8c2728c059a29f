// The process's capabilities, through libcap. The program holds none; the trimming helper keeps the
// three it needs to page out other users' processes permitted but not effective until a trim asks for
// them: CAP_SYS_NICE for process_madvise, CAP_SYS_PTRACE to read their mappings, and CAP_FOWNER, without
// which the kernel pages out only the pages of files the caller owns or may write.
#pragma once

namespace platform::linux {

// Clears every capability of a thread not run by root (capabilities a file gave it); false when the
// system refuses. Root's capabilities come with the user, not the file, and are left alone.
bool DropNonRootCapabilities();

// Run as root through pkexec, which names the user who asked in pkexecUid (PKEXEC_UID): becomes that
// user and group, keeping the permitted capabilities, so that nothing but them is more than the user
// has. True, changing nothing, when not run that way; false when it cannot become that user.
bool BecomeInvokingUser(const char* pkexecUid);

// Keeps of the permitted set only the trimming capabilities, none effective or inheritable.
bool LimitToTrimCapabilities();

// Makes the permitted trimming capabilities effective; true when CAP_SYS_NICE is then effective.
bool RaiseTrimCapabilities();

}  // namespace platform::linux
