// The system information window headless, against the fake host and a fake processor: its tables,
// the operating system tab (registry, paths, address), the processor tab, the feature boxes, the
// failure path of CPU identification, and the window's life as a modal window of the main one.
#include <gtest/gtest.h>

#include "TestApplication.h"
#include "app/Brisko.h"
#include "app/uMain.h"
#include "sysinfo/UCpu.h"
#include "base/SysUtils.h"

namespace {

using platform::TRootKey;
constexpr const char* CurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";

class SysInfoTest : public ::testing::Test {
protected:
  TTestApplication Env;
  void SetUp() override {
    auto& cpu = Env.Host.System.Leaves;
    cpu[0] = {1, 0x756E6547, 0x6C65746E, 0x49656E69};  // GenuineIntel
    cpu[1] = {0x00000F29, 0, 0, (1u << 0) | (1u << 4) | (1u << 23)};
    cpu[0x80000000] = {0x80000004, 0, 0, 0};
    Env.Host.Registry.SetString(TRootKey::LocalMachine, CurrentVersion, "ProductName", "Microsoft Windows XP");
    Env.Host.Registry.SetString(TRootKey::LocalMachine, CurrentVersion, "ProductId", "55274-640");
    Env.Host.Registry.SetString(TRootKey::LocalMachine, CurrentVersion, "RegisteredOwner", "张三");
    Env.Host.System.Version.CSDVersion = "Service Pack 3";
    Env.Host.System.Addresses["brisko-pc"] = {"10.0.0.1", "192.168.1.5"};
  }
  // The window as the main window's button makes it: created, then shown.
  TCpuForm* Open() {
    auto* form = new TCpuForm(&Env.App);
    form->Show();
    return form;
  }
  std::vector<int> Ticked(TCpuForm* form) {
    std::vector<int> bits;
    for (int bit = 0; bit < 32; ++bit)
      if (auto* box = dynamic_cast<TCheckBox*>(form->FindComponent("CheckBox" + std::to_string(bit))); box && box->Checked())
        bits.push_back(bit);
    return bits;
  }
};

TEST_F(SysInfoTest, TheTablesPlaceEveryControl) {
  TCpuForm* form = Open();
  EXPECT_EQ(form->Caption(), "系统信息");
  EXPECT_EQ(form->ClientWidth(), 384);
  EXPECT_EQ(form->PageControl->ActivePage(), form->TabSheetOS);
  EXPECT_EQ(form->PageControl->PageCount(), 3);
  EXPECT_EQ(form->TabSheet2->Caption(), "CPU指令支持");
  EXPECT_EQ(form->edtOS->BoundsRect(), (TRect{64, 32, 337, 52}));
  EXPECT_EQ(form->Label8->Parent(), form->GroupBoxPath);
  EXPECT_EQ(form->Label8->Caption(), "IP地址");
  EXPECT_EQ(form->edtCpuID->BoundsRect(), (TRect{146, 110, 306, 130}));
  EXPECT_FALSE(form->GroupBoxCache->Visible());
  int boxes = 0;
  for (TControl* c : form->GroupBox1->Controls()) boxes += dynamic_cast<TCheckBox*>(c) ? 1 : 0;
  EXPECT_EQ(boxes, 27);
  auto* box13 = dynamic_cast<TCheckBox*>(form->FindComponent("CheckBox13"));
  ASSERT_TRUE(box13);
  EXPECT_EQ(box13->BoundsRect(), (TRect{192, 16, 305, 33}));
  EXPECT_FALSE(box13->EffectivelyEnabled());  // greyed in the disabled box
  EXPECT_EQ(form->FeatureCaptions[13], "全局页面目录入口标志位 ");
  EXPECT_TRUE(form->edtVendor->ReadOnly());
}

TEST_F(SysInfoTest, TheOperatingSystemTabReadsRegistryPathsAndAddress) {
  TCpuForm* form = Open();
  EXPECT_EQ(form->edtOS->Text(), "Microsoft Windows XP Service Pack 3");
  EXPECT_EQ(form->edtID->Text(), "55274-640");
  EXPECT_EQ(form->edtUser->Text(), "张三");
  EXPECT_EQ(form->edtOrg->Text(), "");
  EXPECT_EQ(Env.Host.Registry.OpenAccess, std::vector<platform::TRegAccess>{platform::TRegAccess::Read});
  EXPECT_EQ(form->edtWin->Text(), "C:\\WINDOWS");
  EXPECT_EQ(form->edtIP->Text(), "192.168.1.5");  // the last address of the list
  form->Release();

  Env.Host.Registry.Keys.clear();
  Env.Host.System.TempDir = "/var/tmp";
  Env.Host.System.Host = "a-host-name-of-16";  // does not fit the name buffer
  Env.Host.System.Addresses["a-host-name-of-16"] = {"10.0.0.2"};
  form = Open();
  EXPECT_EQ(form->edtOS->Text(), " Service Pack 3");
  EXPECT_EQ(form->edtID->Text(), "");
  EXPECT_EQ(form->edtTemp->Text(), std::string("/var/tmp") + PathDelim);
  EXPECT_EQ(form->edtIP->Text(), "");
}

TEST_F(SysInfoTest, TheProcessorTabAndTheFeatureBoxes) {
  TCpuForm* form = Open();
  EXPECT_EQ(form->edtCPU->Text(), "1  x  ");  // one processor, an empty brand string
  EXPECT_EQ(form->edtVendor->Text(), "GenuineIntel");
  EXPECT_EQ(form->edtBrand->Text(), "15");
  EXPECT_EQ(form->edtModel->Text(), "2");
  EXPECT_EQ(form->edtStepping->Text(), "9");
  EXPECT_EQ(form->edtCpuID->Text().size(), 19u);
  EXPECT_EQ(form->edtL1Code->Text(), "0");
  EXPECT_EQ(Ticked(form), (std::vector<int>{0, 4, 23}));
  // The boxes are enabled themselves but shown greyed, as their disabled group box is.
  auto* fpu = dynamic_cast<TControl*>(form->FindComponent("CheckBox0"));
  ASSERT_TRUE(fpu);
  EXPECT_TRUE(fpu->Enabled());
  EXPECT_FALSE(fpu->EffectivelyEnabled());
  EXPECT_TRUE(form->edtCPU->EffectivelyEnabled());
  form->Release();

  // Reserved bits tick nothing.
  Env.Host.System.Leaves[1].EDX = (1u << 10) | (1u << 20) | (1u << 28) | (1u << 30) | (1u << 31);
  EXPECT_TRUE(Ticked(Open()).empty());
}

TEST_F(SysInfoTest, WithoutCpuidTheErrorIsShownAndTheWindowOpensWithWhatItFilled) {
  Env.Host.System.HasCpuId = false;
  TCpuForm* form = Open();
  ASSERT_EQ(Env.Widgets.MessageBoxes.size(), 1u);
  EXPECT_EQ(Env.Widgets.MessageBoxes[0].Text, "Cannot acquire CPU information (CPUID not supported)");
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->edtVendor->Text(), "");
  EXPECT_TRUE(Ticked(form).empty());
  EXPECT_EQ(form->edtID->Text(), "55274-640");
}

TEST_F(SysInfoTest, TheButtonOpensAFreshModalWindowEachTimeAndFreesIt) {
  StartBrisko();
  Env.Widgets.Advance(1200);
  for (int opening = 0; opening < 2; ++opening) {
    bool mainTookNoInput = false;
    auto* closer = new TTimer(&Env.App);  // the user, a moment after the window shows
    closer->SetInterval(100);
    closer->OnTimer = [&, closer](TObject*) {
      closer->SetEnabled(false);
      mainTookNoInput = !frmMain->Enabled() && CpuForm && CpuForm->Visible();
      CpuForm->Close();
    };
    frmMain->btnSysInfo->UserClicked();
    EXPECT_TRUE(mainTookNoInput);
    EXPECT_TRUE(frmMain->Enabled());
    Env.Widgets.ProcessMessages();
    EXPECT_EQ(frmMain->FindComponent("CpuForm"), nullptr);  // freed
  }
}

}  // namespace
