// CPU identification (see CpuIdent.h); the instruction itself comes from the host.
#include "sysinfo/CpuIdent.h"

#include <algorithm>
#include <array>

#include "platform/Host.h"

uint32_t CpuIdLevel = 0;

namespace {

constexpr uint32_t MaxStdLevelLeaf = 0, MaxExtLevelLeaf = 0x80000000, VendorLeaf = 0, StandardLeaf = 1;
constexpr uint32_t BrandLeaves[] = {0x80000002, 0x80000003, 0x80000004};
constexpr char HexAlphabet[] = "0123456789ABCDEF";

constexpr std::array<uint32_t, 256> CrcTable = [] {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();

uint32_t HighestLeaf(uint32_t leaf) {
  if (!CpuIdSupported()) return 0;
  CpuIdLevel = leaf;
  TCpuIdRegs regs;
  RawCpuId(regs);
  return regs.EAX;
}

TCpuIdRegs StandardRegs() {
  TCpuIdRegs regs;
  ExecCpuId(StandardLeaf, 1, regs);
  return regs;
}

TBytes BytesOf(const std::string& s) { return TBytes(s.begin(), s.end()); }

uint32_t Crc32Of(const std::string& s) { return Crc32(BytesOf(s), static_cast<int32_t>(s.size())); }

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

bool CpuIdSupported() { return platform::Host().System->CpuIdSupported(); }

void RawCpuId(TCpuIdRegs& regs) { regs = platform::Host().System->CpuId(CpuIdLevel); }

uint32_t GetMaxStdLevel() { return HighestLeaf(MaxStdLevelLeaf); }

uint32_t GetMaxExtLevel() { return HighestLeaf(MaxExtLevelLeaf); }

bool ExecCpuId(uint32_t level, uint8_t times, TCpuIdRegs& regs) {
  if (!CpuIdSupported()) throw ECpuIdError("Cannot acquire CPU information (CPUID not supported)");
  // Signed: every extended leaf reads as negative and passes; the extended maximum is then compared
  // unsigned only for a standard leaf above the standard maximum.
  if (static_cast<int32_t>(GetMaxStdLevel()) < static_cast<int32_t>(level) && level > GetMaxExtLevel())
    throw ECpuIdError("CPUID: execution level not supported");
  CpuIdLevel = level;
  for (uint8_t i = 0; i < times; ++i) RawCpuId(regs);
  return true;
}

std::string DwordToChars(uint32_t value) {
  std::string chars(4, '\0');
  for (int i = 0; i < 4; ++i) chars[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return chars;
}

std::string GetCpuVendor() {
  TCpuIdRegs regs;
  ExecCpuId(VendorLeaf, 1, regs);
  return DwordToChars(regs.EBX) + DwordToChars(regs.EDX) + DwordToChars(regs.ECX);
}

uint32_t GetCpuSignature() { return StandardRegs().EAX; }
uint32_t GetCpuFeatures() { return StandardRegs().EDX; }
uint32_t GetCpuBrandIndex() { return StandardRegs().EBX & 0xFF; }
uint32_t GetCpuFamily() { return (GetCpuSignature() >> 8) & 0xF; }
uint32_t GetCpuModel() { return (GetCpuSignature() >> 4) & 0xF; }
uint32_t GetCpuStepping() { return GetCpuSignature() & 0xF; }

std::string CpuIdLevelText(uint32_t level) {
  TCpuIdRegs regs;
  ExecCpuId(level, 1, regs);
  return DwordToChars(regs.EAX) + DwordToChars(regs.EBX) + DwordToChars(regs.ECX) + DwordToChars(regs.EDX);
}

std::string GetCpuBrandString() {
  std::string brand;
  for (uint32_t leaf : BrandLeaves) brand += CpuIdLevelText(leaf);
  while (!brand.empty() && IsBlankOrControl(brand.front())) brand.erase(0, 1);
  while (!brand.empty() && IsBlankOrControl(brand.back())) brand.pop_back();
  for (char c : brand)
    if (static_cast<unsigned char>(c) < 32) return "unknown";
  return brand;
}

std::string GetCpuIdHex() {
  const TCpuIdRegs first = StandardRegs();
  const TCpuIdRegs second = StandardRegs();
  return HexDigits(first.EAX, 8) + HexDigits(second.EDX, 8) + HexDigits(second.ECX, 8);
}

int32_t GetCpuCount() { return platform::Host().System->ProcessorCount(); }

std::string GetCpuIdentifier() {
  const auto signedText = [](uint32_t value) { return std::to_string(static_cast<int32_t>(value)); };
  const std::string s1 = GetCpuVendor() + std::to_string(GetCpuCount()) + GetCpuBrandString() +
                         signedText(GetCpuBrandIndex()) + signedText(GetCpuSignature()) + signedText(GetCpuFeatures());
  const uint32_t c1 = Crc32Of(s1);
  const uint32_t c2 = Crc32Of(GetCpuIdHex());
  const std::string t = HexDigits(c1, 4) + HexDigits(c2, 8);
  std::string r = t + "-" + HexDigits(Crc32Of(t), 4);
  r.insert(4, "-");
  r.insert(9, "-");
  return r;
}

std::string HexDigits(uint32_t value, uint8_t count) {
  const int digits = count == 0 ? 1 : count > 8 ? 8 : count;
  std::string text(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = HexAlphabet[value & 0xF];
  return text;
}

uint32_t Crc32(const TBytes& bytes, int32_t length) {
  uint32_t crc = 0xFFFFFFFFu;
  const size_t n = length < 0 ? 0 : std::min(bytes.size(), static_cast<size_t>(length));
  for (size_t i = 0; i < n; ++i) crc = CrcTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}
