// The system information window's layout, read as tables (name, parent, left, top, width, height,
// caption), and its filling: the operating system at creation, the processor when shown.
#include "sysinfo/UCpu.h"

#include <string>

#include "gfx/Bmp.h"
#include "platform/Host.h"
#include "platform/Resources.h"
#include "sysinfo/CpuCache.h"
#include "sysinfo/CpuIdent.h"
#include "base/SysUtils.h"

TCpuForm* CpuForm = nullptr;

namespace {

constexpr const char* Reserved = "保留";
constexpr const char* CurrentVersionKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr size_t HostNameLimit = 16;  // gethostname's buffer: longer names do not fit

struct TFeatureBox {
  int Bit;
  const char* Caption;
  int Left, Top, Width;
};

constexpr TFeatureBox FeatureBoxes[] = {
    { 0, "内置浮点计算单元", 16, 16, 113},
    { 1, "虚拟8086模式", 16, 40, 113},
    { 2, "支持调试功能", 16, 64, 113},
    { 3, "大于4MB的分页大小", 16, 88, 137},
    { 4, "支持RDTSC指令", 16, 112, 113},
    { 5, "支持RDMSR与WRMSR", 16, 136, 113},
    { 6, "大于32bit的物理地址", 16, 160, 137},
    { 7, "Machine Check Exception", 16, 184, 161},
    { 8, "8Byte数的比较与交换指令", 16, 208, 161},
    { 9, "支持APIC", 16, 232, 113},
    {11, "SYSENTER与SYSEXIT指令", 16, 256, 113},
    {12, "支持MTTR", 16, 280, 113},
    {13, "全局页面目录入口标志位", 192, 16, 113},
    {14, "支持MCA", 192, 38, 113},
    {15, "CMOV指令", 192, 60, 113},
    {16, "支持PAT", 192, 82, 113},
    {17, "支持4GB的扩展内存", 192, 104, 129},
    {18, "支持处理器序列号", 192, 126, 113},
    {19, "支持CLFLUSH", 192, 148, 113},
    {21, "把调试信息写入缓存", 192, 171, 137},
    {22, "软件控制处理器的周期", 192, 193, 137},
    {23, "支持MMX", 192, 215, 113},
    {24, "FXSAVE与FXRSTOR指令", 192, 237, 145},
    {25, "支持SSE", 192, 259, 113},
    {26, "支持SSE2", 16, 304, 113},
    {27, "支持总线监视", 192, 281, 113},
    {29, "支持温度控制", 192, 304, 113},
};

std::string ReadString(platform::IRegistryKey* key, const char* name) {
  platform::TRegValue value;
  if (!key || !key->ReadValue(name, value) || (value.Type != platform::TRegType::String && value.Type != platform::TRegType::ExpandString))
    return {};
  return {value.Data.begin(), value.Data.end()};
}

// A picture of the program's resources, shown unscaled; a transparent one lets the parent's colour
// through where it has its bottom-left pixel's colour.
void ShowArtwork(TImage* image, const char* resource, bool transparent) {
  const gfx::Bitmap picture = gfx::DecodeBmp(platform::FindResource(resource));
  if (picture.Width() == 0) return;
  gfx::Canvas& canvas = image->Canvas();
  if (transparent) {
    canvas.Brush.Color = image->Parent() ? image->Parent()->Color() : clBtnFace;
    canvas.FillRect(image->ClientRect());
    const gfx::TPixel key = picture.Pixel(0, picture.Height() - 1);
    canvas.DrawTransparent(0, 0, picture, RGB(static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 8), static_cast<uint8_t>(key)));
  } else {
    canvas.Draw(0, 0, picture);
  }
  image->Changed();
}

}  // namespace

TCpuForm::TCpuForm(TComponent* owner) : TForm(owner) {
  SetName("CpuForm");
  SetCaption("系统信息");
  SetBorderStyle(TFormBorderStyle::Single);
  SetBorderIcons(BorderIcon::SystemMenu);
  SetPosition(TPosition::MainFormCenter);
  SetClientSize(384, 392);
  SetFont({"宋体", 12, false, clBlack});
  SetColor(clBtnFace);
  PageControl = Add<TPageControl>("PageControl", this, 8, 8, 369, 374);
  BuildOsTab();
  BuildCpuTab();
  BuildFeatureTab();
  PageControl->SetActivePage(TabSheetOS);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  EndCreate();
}

TCpuForm::~TCpuForm() {
  if (CpuForm == this) CpuForm = nullptr;
}

TEdit* TCpuForm::ValueField(const char* name, TWinControl* parent, int left, int top, int width) {
  auto* edit = Add<TEdit>(name, parent, left, top, width, 20);
  edit->SetReadOnly(true);
  edit->SetBorderStyle(TBorderStyle::None);
  edit->SetParentColor(true);
  return edit;
}

void TCpuForm::BuildOsTab() {
  TabSheetOS = new TTabSheet(this);
  TabSheetOS->SetName("TabSheetOS");
  TabSheetOS->SetCaption("操作系统");
  TabSheetOS->SetPageControl(PageControl);
  imgOS = Add<TImage>("imgOS", TabSheetOS, 16, 16, 39, 30);
  edtOS = ValueField("edtOS", TabSheetOS, 64, 32, 273);
  GroupBoxReg = Add<TGroupBox>("GroupBoxReg", TabSheetOS, 8, 72, 345, 121, "注册信息");
  Label1 = Add<TLabel>("Label1", GroupBoxReg, 16, 24, 0, 0, "产品系列号");
  edtID = ValueField("edtID", GroupBoxReg, 112, 20, 220);
  Label3 = Add<TLabel>("Label3", GroupBoxReg, 16, 48, 0, 0, "用户名");
  edtUser = ValueField("edtUser", GroupBoxReg, 112, 44, 220);
  Label4 = Add<TLabel>("Label4", GroupBoxReg, 16, 72, 0, 0, "公司");
  edtOrg = ValueField("edtOrg", GroupBoxReg, 112, 68, 220);
  GroupBoxPath = Add<TGroupBox>("GroupBoxPath", TabSheetOS, 8, 200, 345, 137, "系统路径");
  Label5 = Add<TLabel>("Label5", GroupBoxPath, 16, 24, 0, 0, "安装路径");
  edtWin = ValueField("edtWin", GroupBoxPath, 112, 22, 220);
  Label6 = Add<TLabel>("Label6", GroupBoxPath, 16, 52, 0, 0, "系统路径");
  edtSys = ValueField("edtSys", GroupBoxPath, 112, 48, 220);
  Label7 = Add<TLabel>("Label7", GroupBoxPath, 16, 80, 0, 0, "临时文件路径");
  edtTemp = ValueField("edtTemp", GroupBoxPath, 112, 74, 220);
  Label8 = Add<TLabel>("Label8", GroupBoxPath, 16, 104, 0, 0, "IP地址");
  edtIP = ValueField("edtIP", GroupBoxPath, 112, 100, 220);
  ShowArtwork(imgOS, "OSLOGO", false);
}

void TCpuForm::BuildCpuTab() {
  TabSheet1 = new TTabSheet(this);
  TabSheet1->SetName("TabSheet1");
  TabSheet1->SetCaption("CPU");
  TabSheet1->SetPageControl(PageControl);
  imgCPU = Add<TImage>("imgCPU", TabSheet1, 16, 16, 35, 34);
  edtCPU = ValueField("edtCPU", TabSheet1, 56, 32, 257);
  GroupBoxModel = Add<TGroupBox>("GroupBoxModel", TabSheet1, 8, 72, 345, 137);
  Label9 = Add<TLabel>("Label9", GroupBoxModel, 32, 16, 0, 0, "生产公司：");
  edtVendor = ValueField("edtVendor", GroupBoxModel, 146, 14, 160);
  Label10 = Add<TLabel>("Label10", GroupBoxModel, 32, 40, 0, 0, "家族 ：");
  edtBrand = ValueField("edtBrand", GroupBoxModel, 146, 38, 160);
  Label13 = Add<TLabel>("Label13", GroupBoxModel, 32, 64, 0, 0, "型号 ：");
  edtModel = ValueField("edtModel", GroupBoxModel, 146, 62, 160);
  Label14 = Add<TLabel>("Label14", GroupBoxModel, 32, 88, 0, 0, "Stepping ：");
  edtStepping = ValueField("edtStepping", GroupBoxModel, 146, 86, 160);
  Label12 = Add<TLabel>("Label12", GroupBoxModel, 32, 112, 0, 0, "CPU ID ：");
  edtCpuID = ValueField("edtCpuID", GroupBoxModel, 146, 110, 160);
  GroupBoxCache = Add<TGroupBox>("GroupBoxCache", TabSheet1, 8, 215, 345, 121);
  GroupBoxCache->SetVisible(false);
  Label15 = Add<TLabel>("Label15", GroupBoxCache, 32, 24, 0, 0, "一级指令缓存：");
  edtL1Code = Add<TEdit>("edtL1Code", GroupBoxCache, 146, 22, 160, 20);
  Label16 = Add<TLabel>("Label16", GroupBoxCache, 32, 46, 0, 0, "一级数据缓存：");
  edtL1Data = Add<TEdit>("edtL1Data", GroupBoxCache, 146, 46, 160, 20);
  Label17 = Add<TLabel>("Label17", GroupBoxCache, 32, 68, 0, 0, "二级缓存：");
  Label17->SetVisible(false);
  edtL2 = Add<TEdit>("edtL2", GroupBoxCache, 146, 70, 160, 20);
  edtL2->SetVisible(false);
  Label18 = Add<TLabel>("Label18", GroupBoxCache, 32, 96, 0, 0, "三级缓存：");
  Label18->SetVisible(false);
  edtL3 = Add<TEdit>("edtL3", GroupBoxCache, 146, 94, 160, 20);
  edtL3->SetVisible(false);
  ShowArtwork(imgCPU, "CPUCHIP", true);
}

void TCpuForm::BuildFeatureTab() {
  TabSheet2 = new TTabSheet(this);
  TabSheet2->SetName("TabSheet2");
  TabSheet2->SetCaption("CPU指令支持");
  TabSheet2->SetPageControl(PageControl);
  GroupBox1 = Add<TGroupBox>("GroupBox1", TabSheet2, 8, 8, 345, 329);
  GroupBox1->SetEnabled(false);
  for (const TFeatureBox& box : FeatureBoxes)
    Add<TCheckBox>(("CheckBox" + std::to_string(box.Bit)).c_str(), GroupBox1, box.Left, box.Top, box.Width, 17, box.Caption);
}

void TCpuForm::FormCreate(TObject*) {
  CpuForm = this;
  ReadSystemPaths();
  ReadRegistryInfo();
}

void TCpuForm::FormShow(TObject*) { CpuInfo(); }

void TCpuForm::ReadSystemPaths() {
  platform::ISystem& system = *platform::Host().System;
  edtWin->SetText(system.WindowsDirectory());
  edtSys->SetText(system.SystemDirectory());
  edtTemp->SetText(GetTempDir());
  edtIP->SetText(GetLocalIP());
}

void TCpuForm::ReadRegistryInfo() {
  // Read access is all this needs: asking for more is refused to ordinary users.
  const auto key = platform::Host().Registry->OpenKey(platform::TRootKey::LocalMachine, CurrentVersionKey, platform::TRegAccess::Read);
  edtID->SetText(ReadString(key.get(), "ProductId"));
  edtOS->SetText(ReadString(key.get(), "ProductName") + " " + GetServicePack());
  edtOrg->SetText(ReadString(key.get(), "RegisteredOrganization"));
  edtUser->SetText(ReadString(key.get(), "RegisteredOwner"));
}

void TCpuForm::CpuInfo() {
  const uint32_t features = GetCpuFeatures();
  const TCPUCache cache;
  edtCPU->SetText(std::to_string(GetCpuCount()) + "  x  " + GetCpuBrandString());
  edtVendor->SetText(GetCpuVendor());
  edtBrand->SetText(std::to_string(GetCpuFamily()));
  edtCpuID->SetText(GetCpuIdentifier());
  edtModel->SetText(std::to_string(GetCpuModel()));
  edtStepping->SetText(std::to_string(GetCpuStepping()));
  edtL1Code->SetText(std::to_string(cache.Level1().Code().Size()));
  edtL1Data->SetText(std::to_string(cache.Level1().Data().Size()));
  edtL2->SetText(std::to_string(cache.Level2().Size()));
  edtL3->SetText(std::to_string(cache.Level3().Size()));
  InitFeatureCaptions();
  for (int bit = 0; bit < 32; ++bit) {
    if (!((features >> bit) & 1) || FeatureCaptions[static_cast<size_t>(bit)] == Reserved) continue;
    if (auto* box = dynamic_cast<TCheckBox*>(CpuForm->FindComponent("CheckBox" + std::to_string(bit)))) box->SetChecked(true);
  }
}

void TCpuForm::InitFeatureCaptions() {
  FeatureCaptions = {
      "内置浮点计算单元",  // 0
      "支持虚拟8086模式",  // 1
      "支持调试功能",  // 2
      "支持大于4MB的分页大小",  // 3
      "支持RDTSC指令",  // 4
      "支持RDMSR与WRMSR",  // 5
      "大于32bit的物理地址",  // 6
      "Machine Check Exception",  // 7
      "8bytes(64bit)数的比较与交换指令",  // 8
      "支持APIC",  // 9
      "保留",  // 10
      "支持SYSENTER与SYSEXIT指令",  // 11
      "支持MTTR",  // 12
      "全局页面目录入口标志位 ",  // 13
      "支持MCA",  // 14
      "CMOV指令",  // 15
      "支持PAT",  // 16
      "支持4GB的扩展内存",  // 17
      "支持处理器序列号",  // 18
      "支持CLFLUSH",  // 19
      "保留",  // 20
      "支持把调试信息写入缓存",  // 21
      "允许软件控制处理器的运行周期.",  // 22
      "支持MMX",  // 23
      "FXSAVE与FXRSTOR指令",  // 24
      "支持SSE",  // 25
      "支持SSE2",  // 26
      "支持总线监视",  // 27
      "保留",  // 28
      "支持温度控制",  // 29
      "保留",  // 30
      "保留",  // 31
  };
}

std::string GetServicePack() {
  platform::TVersionInfo version;
  return platform::Host().System->GetVersion(version) ? version.CSDVersion : std::string();
}

std::string GetTempDir() {
  std::string path = platform::Host().System->TempPath();
  if (path.empty() || path.back() != PathDelim) path += PathDelim;
  return path;
}

std::string GetLocalIP() {
  const std::string name = platform::Host().System->HostName();
  if (name.empty() || name.size() >= HostNameLimit) return {};
  const std::vector<std::string> addresses = platform::Host().System->HostAddresses(name);
  return addresses.empty() ? std::string() : addresses.back();
}
