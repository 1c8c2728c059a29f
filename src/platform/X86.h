// The processor's identification instructions on x86 and x86-64, the same for every host: the
// identification-flag test and CPUID. Elsewhere CPUID does not exist.
#pragma once
#include <cstdint>

#include "platform/System.h"

namespace platform {

// Whether bit 21 of EFLAGS can be flipped (then CPUID exists).
bool X86IdFlagToggles();
// CPUID with EAX = leaf; all zero where there is no such instruction.
TCpuIdRegs X86CpuId(uint32_t leaf);

}  // namespace platform
