// CPU identification against a fake processor: the vendor, signature and brand rules, the leaf
// limits with their signed and unsigned comparisons, the hexadecimal and CRC helpers (CRC against
// zlib), and the identifier against a value worked out independently (with Python's zlib).
#include <gtest/gtest.h>
#ifdef BRISKO_HAVE_ZLIB
#include <zlib.h>
#endif

#include "TestApplication.h"
#include "sysinfo/CpuIdent.h"

namespace {

using platform::TCpuIdRegs;

class CpuIdentTest : public ::testing::Test {
protected:
  TTestApplication Env;
  std::map<uint32_t, TCpuIdRegs>& Leaves = Env.Host.System.Leaves;
  void SetUp() override {
    Leaves[0] = {1, 0x756E6547, 0x6C65746E, 0x49656E69};                // "Genu" "ntel" "ineI"
    Leaves[1] = {0x0FF00F65, 0x0000000A, 0x00000201, 0x80000011};       // family 15 with extended bits
    Leaves[0x80000000] = {0x80000004, 0, 0, 0};
    Leaves[0x80000002] = {0x72422020, 0x6F6B7369, 0x73655420, 0x50432074};  // "  Brisko Test CPU"
    Leaves[0x80000003] = {0x20402055, 0x30302E31, 0x007A4847, 0};           // " @ 1.00GHz" and zeros
    Leaves[0x80000004] = {};
    Env.Host.System.Processors = 2;
  }
};

TEST_F(CpuIdentTest, VendorSignatureAndBrandFollowTheirRules) {
  EXPECT_EQ(GetCpuVendor(), "GenuineIntel");
  EXPECT_EQ(GetCpuFamily(), 15u);  // the extended family is not added
  EXPECT_EQ(GetCpuModel(), 6u);
  EXPECT_EQ(GetCpuStepping(), 5u);
  EXPECT_EQ(GetCpuBrandIndex(), 10u);
  EXPECT_EQ(GetCpuBrandString(), "Brisko Test CPU @ 1.00GHz");
  EXPECT_EQ(GetCpuIdHex(), "0FF00F658000001100000201");

  Leaves[0].ECX = 0x6C650074;  // a zero byte still makes a character
  EXPECT_EQ(GetCpuVendor(), std::string("GenuineIt\0el", 12));
  Leaves[0x80000003].EAX = 0x20002055;  // a zero byte between words
  EXPECT_EQ(GetCpuBrandString(), "unknown");
  Leaves[0x80000002] = {0x20202020, 0, 0x20202020, 0};
  Leaves[0x80000003] = {};
  EXPECT_EQ(GetCpuBrandString(), "");
}

TEST_F(CpuIdentTest, LeavesAboveTheHighestStandardOneNeedAHigherExtendedOne) {
  TCpuIdRegs regs;
  EXPECT_TRUE(ExecCpuId(2, 1, regs));  // 2 is below the highest extended leaf, compared unsigned
  Leaves[0x80000000].EAX = 1;
  try {
    ExecCpuId(2, 1, regs);
    ADD_FAILURE() << "leaf 2 executed";
  } catch (const ECpuIdError& e) {
    EXPECT_STREQ(e.what(), "CPUID: execution level not supported");
  }
  EXPECT_TRUE(ExecCpuId(0x80000004, 1, regs));  // extended leaves read as negative: always executed

  regs = {7, 7, 7, 7};
  const size_t calls = Env.Host.System.CpuIdCalls.size();
  EXPECT_TRUE(ExecCpuId(1, 0, regs));
  EXPECT_EQ(regs.EAX, 7u);
  EXPECT_EQ(Env.Host.System.CpuIdCalls.size(), calls + 1);  // only the highest-leaf query

  Env.Host.System.HasCpuId = false;
  EXPECT_EQ(GetMaxStdLevel(), 0u);
  EXPECT_THROW(GetCpuVendor(), ECpuIdError);
}

TEST(CpuIdentHelpers, HexDigitsClampAndCrcMatchesZlib) {
  EXPECT_EQ(HexDigits(0xABCDEF12, 0), "2");
  EXPECT_EQ(HexDigits(0xABCDEF12, 12), "ABCDEF12");
  EXPECT_EQ(HexDigits(0x2F, 4), "002F");
  EXPECT_EQ(DwordToChars(0x00414243), std::string("CBA\0", 4));
  EXPECT_EQ(Crc32(TBytes{'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 9), 0xCBF43926u);  // the standard check value
  EXPECT_EQ(Crc32(TBytes{'1', '2', '3'}, 2), Crc32(TBytes{'1', '2'}, 2));
#ifdef BRISKO_HAVE_ZLIB
  for (const std::string& text : {std::string(), std::string("GenuineIntel"), std::string(1000, '\xFF')}) {
    const TBytes bytes(text.begin(), text.end());
    EXPECT_EQ(Crc32(bytes, static_cast<int32_t>(bytes.size())),
              crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
  }
#endif
}

TEST_F(CpuIdentTest, TheIdentifierIsTheWorkedOutOneAndFollowsTheProcessorCount) {
  // S1 ends in the feature word as a negative decimal: "...10267390821-2147483631".
  EXPECT_EQ(GetCpuIdentifier(), "A6F2-8556-4916-19DB");
  Env.Host.System.Processors = 4;
  EXPECT_NE(GetCpuIdentifier(), "A6F2-8556-4916-19DB");
}

}  // namespace
