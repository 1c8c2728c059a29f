// CPUID and the identification-flag test (see X86.h).
#include "platform/X86.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace platform {

bool X86IdFlagToggles() {
  uintptr_t before = 0, after = 0;
#if defined(__x86_64__)
  // Below the stack pointer lies the red zone, where the compiler may keep locals: step over it first.
  asm volatile(
      "lea -128(%%rsp), %%rsp\n\t"
      "pushfq\n\tpopq %0\n\t"
      "movq %0, %1\n\txorq $0x200000, %1\n\t"
      "pushq %1\n\tpopfq\n\t"
      "pushfq\n\tpopq %1\n\t"
      "pushq %0\n\tpopfq\n\t"
      "lea 128(%%rsp), %%rsp"
      : "=&r"(before), "=&r"(after)
      :
      : "cc");
#elif defined(__i386__)
  asm volatile(
      "pushfl\n\tpopl %0\n\t"
      "movl %0, %1\n\txorl $0x200000, %1\n\t"
      "pushl %1\n\tpopfl\n\t"
      "pushfl\n\tpopl %1\n\t"
      "pushl %0\n\tpopfl"
      : "=&r"(before), "=&r"(after)
      :
      : "cc");
#endif
  return ((before ^ after) & 0x200000) != 0;
}

TCpuIdRegs X86CpuId(uint32_t leaf) {
  TCpuIdRegs regs;
#if defined(__i386__) || defined(__x86_64__)
  __cpuid(leaf, regs.EAX, regs.EBX, regs.ECX, regs.EDX);
#else
  (void)leaf;
#endif
  return regs;
}

}  // namespace platform
