// The performance details window: a snapshot of the system's counters in six groups (basic figures,
// I/O, file cache, processor times, pages, pools), taken each time the window is shown. Created per
// opening with the main window as owner, shown modally, freed when closed. No failure shows a
// message: a query that fails leaves its lists empty, a list that cannot be counted shows 0.
#pragma once
#include <cstdint>
#include <string>

#include "ui/Forms.h"
#include "ui/StdCtrls.h"

// The figures of the basic group that the main window already shows: the physical memory and the
// free physical memory, as it shows them.
struct TInfoFigures {
  std::string Physical, FreePhysical;
};

class TInfoForm : public TForm {
public:
  explicit TInfoForm(TComponent* owner, TInfoFigures figures = {});
  ~TInfoForm() override;

  TGroupBox* GroupTotal;
  TListBox* ListBoxCache;
  TGroupBox* GroupBoxPage;
  TListBox* ListBoxPage;
  TGroupBox* GroupBoxPageFile;
  TListBox* ListBoxPageFile;
  TGroupBox* GroupBoxCpu;
  TListBox* ListBoxCpu;
  TGroupBox* GroupBoxBaseInfo;
  TListBox* ListBoxBase;
  TGroupBox* GroupBoxIO;
  TListBox* ListBoxIO;
  TLabel* Labels[24];  // Label1 to Label24, four to a group

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);

private:
  TInfoFigures FFigures;
  void FillBasic();
  // A group box with its four labels and its value list; the labels are numbered from firstLabel.
  TListBox* AddGroup(TGroupBox*& box, const char* boxName, const char* caption, int left, int top, int height,
                     const char* listName, int listLeft, int listWidth, int firstLabel, const char* const (&labels)[4]);
};

// The one window of its kind, while it exists.
extern TInfoForm* InfoForm;

// The number formats of the window. F: count / 1024 with two decimals (halves away from zero), at
// least five characters wide, then "K". KB: bytes in whole kilobytes, then "K". H: a time in 100 ns
// units in whole hours.
std::string FormatF(uint32_t count);
std::string FormatKB(uint32_t bytes);
std::string FormatH(int64_t time100ns);
