// The identification data on Linux: os-release quoting, full names, the registration key, and CPUID
// on this machine against what the kernel reports in /proc/cpuinfo.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "FakeHost.h"
#include "platform/linux/MachineInfo.h"
#include "platform/linux/Registry.h"
#include "platform/linux/System.h"
#include "sysinfo/CpuIdent.h"

using namespace platform::linux;

TEST(MachineInfo, OsReleaseValuesAreUnquotedAsTheShellReadsThem) {
  const auto values = ParseOsRelease(
      "# comment\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME='It''s'\nID=debian\n"
      "QUOTED=\"a \\\"b\\\" \\$c\"\nBROKEN=\"open\n=novalue\nEMPTY=\n");
  EXPECT_EQ(values.at("PRETTY_NAME"), "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(values.at("NAME"), "Its");
  EXPECT_EQ(values.at("ID"), "debian");
  EXPECT_EQ(values.at("QUOTED"), "a \"b\" $c");
  EXPECT_EQ(values.at("EMPTY"), "");
  EXPECT_FALSE(values.contains("BROKEN"));
  EXPECT_EQ(values.size(), 5u);

  EXPECT_EQ(FullName("Jane Doe,Room 1,,", "jane"), "Jane Doe");
  EXPECT_EQ(FullName(",,,", "jane"), "jane");
  EXPECT_EQ(FullName("", "jane"), "jane");
}

TEST(MachineInfo, TheRegistrationKeyReadsTheSystemAndRefusesWriting) {
  TLinuxRegistry registry(testing::TempDir() + "/machine-info-config");
  const std::string path = "Software\\Microsoft\\Windows NT\\CurrentVersion";
  EXPECT_EQ(registry.OpenKey(platform::TRootKey::LocalMachine, path, platform::TRegAccess::AllAccess), nullptr);
  const auto key = registry.OpenKey(platform::TRootKey::LocalMachine, path, platform::TRegAccess::Read);
  ASSERT_NE(key, nullptr);
  platform::TRegValue value;
  ASSERT_TRUE(key->ReadValue("ProductName", value));
  EXPECT_EQ(std::string(value.Data.begin(), value.Data.end()), ProductName());
  EXPECT_FALSE(ProductName().empty());
  EXPECT_FALSE(key->ReadValue("RegisteredOrganization", value));
  EXPECT_FALSE(key->WriteString("ProductName", "x"));
}

TEST(MachineInfo, CpuidAgreesWithTheKernelsProcessorDescription) {
  std::ifstream in("/proc/cpuinfo");
  std::map<std::string, std::string> fields;
  for (std::string line; std::getline(in, line) && !line.empty();) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = line.substr(0, colon);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    fields[name] = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
  }
  if (!fields.contains("vendor_id")) GTEST_SKIP() << "not an x86 processor";
  TFakeHost host;
  TSystem system(0, nullptr);
  platform::Host().System = &system;
  ASSERT_TRUE(CpuIdSupported());
  EXPECT_EQ(GetCpuVendor(), fields["vendor_id"]);
  if (std::stoi(fields["cpu family"]) < 15) {
    EXPECT_EQ(GetCpuFamily(), static_cast<uint32_t>(std::stoi(fields["cpu family"])));
  }
  EXPECT_EQ(GetCpuModel(), static_cast<uint32_t>(std::stoi(fields["model"])) & 0xF);
  EXPECT_EQ(GetCpuStepping(), static_cast<uint32_t>(std::stoi(fields["stepping"])));
  const std::string flags = " " + fields["flags"] + " ";
  const uint32_t features = GetCpuFeatures();
  for (const auto& [flag, bit] : {std::pair{"fpu", 0}, std::pair{"sse", 25}, std::pair{"sse2", 26}})
    EXPECT_EQ(((features >> bit) & 1) != 0, flags.find(std::string(" ") + flag + " ") != std::string::npos) << flag;
  EXPECT_EQ(GetCpuIdentifier().size(), 19u);
}
