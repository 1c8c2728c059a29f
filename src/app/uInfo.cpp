// The performance details window: its layout table, then the four fill steps of a showing.
#include "app/uInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include "platform/Host.h"

TInfoForm* InfoForm = nullptr;

std::string FormatF(uint32_t count) {
  // In hundredths, exactly: x / 1024 rounded at the second decimal with halves going up.
  const uint64_t hundredths = (uint64_t{count} * 100 + 512) / 1024;
  char text[32];
  std::snprintf(text, sizeof text, "%2u.%02uK", static_cast<unsigned>(hundredths / 100), static_cast<unsigned>(hundredths % 100));
  return text;
}

std::string FormatKB(uint32_t bytes) { return std::to_string(bytes >> 10) + "K"; }

std::string FormatH(int64_t time100ns) { return std::to_string(time100ns / 10000 / 3600000); }

namespace {

uint32_t Field32(std::span<const uint8_t> record, size_t offset) {
  uint32_t value;
  std::memcpy(&value, record.data() + offset, sizeof value);
  return value;
}

int64_t Field64(std::span<const uint8_t> record, size_t offset) {
  int64_t value;
  std::memcpy(&value, record.data() + offset, sizeof value);
  return value;
}

// The record of a system query, or nothing when the query fails.
std::vector<uint8_t> Query(uint32_t infoClass, size_t size) {
  std::vector<uint8_t> record(size);
  if (!platform::Host().System->QuerySystemInformation(infoClass, record)) record.clear();
  return record;
}

// The four values of a group, each after an empty row: eight rows, level with the labels.
void Fill(TListBox* list, const std::string (&values)[4]) {
  for (const std::string& value : values) {
    list->AddItem("");
    list->AddItem(value);
  }
}

void FillCache() {
  const std::vector<uint8_t> r = Query(platform::SystemInfoFileCache, platform::SystemInfoFileCacheSize);
  if (r.empty()) return;
  Fill(InfoForm->ListBoxCache, {FormatKB(Field32(r, 0)), FormatKB(Field32(r, 4)), FormatF(Field32(r, 16)), FormatF(Field32(r, 12))});
}

void FillPerformance() {
  const std::vector<uint8_t> r = Query(platform::SystemInfoPerformance, platform::SystemInfoPerformanceSize);
  if (r.empty()) return;
  const auto f = [&](size_t offset) { return FormatF(Field32(r, offset)); };
  Fill(InfoForm->ListBoxIO, {f(32), f(36), f(40), f(84)});
  Fill(InfoForm->ListBoxPage, {f(44), f(48), f(52), f(56)});
  Fill(InfoForm->ListBoxPageFile, {f(112), f(116), f(128), f(132)});
}

void FillProcessor() {
  // Room for every processor's record: the query may refuse a buffer that holds fewer.
  const auto processors = static_cast<size_t>(std::max(1, platform::Host().System->ProcessorCount()));
  const std::vector<uint8_t> r = Query(platform::SystemInfoProcessorTimes, processors * platform::SystemInfoProcessorTimesSize);
  if (r.empty()) return;
  Fill(InfoForm->ListBoxCpu, {FormatH(Field64(r, 0)), FormatH(Field64(r, 8)), FormatH(Field64(r, 32)), std::to_string(Field32(r, 40))});
}

}  // namespace

TInfoForm::TInfoForm(TComponent* owner, TInfoFigures figures) : TForm(owner), FFigures(std::move(figures)) {
  SetName("InfoForm");
  SetCaption("详细信息");
  SetBorderStyle(TFormBorderStyle::Single);
  SetBorderIcons(BorderIcon::SystemMenu);
  SetPosition(TPosition::MainFormCenter);
  SetClientSize(434, 403);
  SetFont({"宋体", 12, false, clBlack});
  SetColor(clBtnFace);
  // In the order the window declares them; the tab order follows below.
  ListBoxCache = AddGroup(GroupTotal, "GroupTotal", "缓存信息", 12, 136, 121, "ListBoxCache", 112, 81, 9,
                          {"容量:", "峰值:", "最大页:", "最小页:"});
  ListBoxPage = AddGroup(GroupBoxPage, "GroupBoxPage", "页面信息", 12, 264, 129, "ListBoxPage", 112, 81, 17,
                         {"可获得的页数目:", "总共提交页数目:", "已提交页数目:", "页提交峰值:"});
  ListBoxPageFile = AddGroup(GroupBoxPageFile, "GroupBoxPageFile", "分页池信息", 224, 264, 129, "ListBoxPageFile", 136, 57,
                             21, {"分页池使用:", "非分页池使用:", "分页池分配情况:", "分页池释放情况:"});
  ListBoxCpu = AddGroup(GroupBoxCpu, "GroupBoxCpu", "处理器信息", 224, 136, 121, "ListBoxCpu", 128, 65, 13,
                        {"空闲时间:", "内核模式时间:", "中断时间:", "中断次数:"});
  ListBoxBase = AddGroup(GroupBoxBaseInfo, "GroupBoxBaseInfo", "基本信息", 12, 8, 121, "ListBoxBase", 112, 81, 1,
                         {"进程数:", "线程数:", "物理内存:", "可用物理内存:"});
  ListBoxIO = AddGroup(GroupBoxIO, "GroupBoxIO", "I/O信息", 224, 8, 121, "ListBoxIO", 128, 65, 5,
                       {"I/O读数据数:", "I/O写数据数:", "I/O其他操作数据数:", "读页I/O操作数:"});
  int order = 0;
  for (TGroupBox* box : {GroupTotal, GroupBoxPage, GroupBoxPageFile, GroupBoxCpu, GroupBoxBaseInfo, GroupBoxIO})
    box->SetTabOrder(order++);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  EndCreate();
}

TInfoForm::~TInfoForm() {
  if (InfoForm == this) InfoForm = nullptr;
}

TListBox* TInfoForm::AddGroup(TGroupBox*& box, const char* boxName, const char* caption, int left, int top, int height,
                              const char* listName, int listLeft, int listWidth, int firstLabel,
                              const char* const (&labels)[4]) {
  box = Add<TGroupBox>(boxName, this, left, top, 201, height, caption);
  constexpr int LabelTops[4] = {27, 52, 76, 100};
  for (int k = 0; k < 4; ++k) {
    const int number = firstLabel + k;
    Labels[number - 1] = Add<TLabel>(("Label" + std::to_string(number)).c_str(), box, 16, LabelTops[k], 0, 12, labels[k]);
  }
  auto* list = Add<TListBox>(listName, box, listLeft, 16, listWidth, height - 24);
  list->SetBorderStyle(TBorderStyle::None);
  list->SetColor(box->Color());
  list->SetItemHeight(12);
  return list;
}

void TInfoForm::FormCreate(TObject*) { InfoForm = this; }

void TInfoForm::FillBasic() {
  std::vector<uint32_t> processes;
  const size_t processCount = platform::ReadProcessList(*platform::Host().Processes, processes) ? processes.size() : 0;
  const std::string threads = std::to_string(platform::Host().System->ThreadCount());
  Fill(ListBoxBase, {std::to_string(processCount), threads, FFigures.Physical, FFigures.FreePhysical});
}

void TInfoForm::FormShow(TObject*) {
  for (TListBox* list : {ListBoxCache, ListBoxIO, ListBoxPage, ListBoxPageFile, ListBoxCpu, ListBoxBase}) list->Clear();
  FillCache();
  FillPerformance();
  FillProcessor();
  FillBasic();
}
