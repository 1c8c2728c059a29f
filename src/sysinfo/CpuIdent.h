// CPU identification through the CPUID instruction (from the host): the vendor string, family, model,
// stepping, feature words, the brand string, the processor count and a 19-character processor
// identifier derived from them with CRC-32. Nothing is cached; every call asks the processor again.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/System.h"
#include "base/SysUtils.h"

using TCpuIdRegs = platform::TCpuIdRegs;
using TBytes = std::vector<uint8_t>;

class ESysInfoError : public Exception {
public:
  using Exception::Exception;
};

class ECpuIdError : public ESysInfoError {
public:
  using ESysInfoError::ESysInfoError;
};

// The leaf RawCpuId executes; every routine that executes CPUID stores its leaf here first.
extern uint32_t CpuIdLevel;

bool CpuIdSupported();
// Executes CPUID once for the leaf held in CpuIdLevel.
void RawCpuId(TCpuIdRegs& regs);
// EAX of leaf 0 and of leaf 0x80000000; 0 without CPUID.
uint32_t GetMaxStdLevel();
uint32_t GetMaxExtLevel();
// Executes leaf Level Times times, Regs holding the last execution; raises ECpuIdError without CPUID
// or for a leaf above both highest leaves. Answers true.
bool ExecCpuId(uint32_t level, uint8_t times, TCpuIdRegs& regs);

std::string GetCpuVendor();
uint32_t GetCpuSignature();
uint32_t GetCpuFeatures();
uint32_t GetCpuBrandIndex();
uint32_t GetCpuFamily();
uint32_t GetCpuModel();
uint32_t GetCpuStepping();
// The four registers of a leaf as 16 characters.
std::string CpuIdLevelText(uint32_t level);
// The brand string without leading and trailing blanks and control characters; "unknown" when a
// control character remains inside.
std::string GetCpuBrandString();
// Leaf 1's EAX, EDX and ECX as 24 upper-case hexadecimal digits.
std::string GetCpuIdHex();
int32_t GetCpuCount();
// "XXXX-XXXX-XXXX-XXXX" from CRC-32s of the identification values.
std::string GetCpuIdentifier();

// The four bytes of value as characters, lowest first (zero bytes included).
std::string DwordToChars(uint32_t value);
// The Count (clamped to 1..8) lowest hexadecimal digits of value, most significant first.
std::string HexDigits(uint32_t value, uint8_t count);
// CRC-32 of IEEE 802.3 (the crc32 of zlib) of the first length bytes.
uint32_t Crc32(const TBytes& bytes, int32_t length);
