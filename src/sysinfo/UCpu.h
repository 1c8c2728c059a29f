// The system information window: three tabs with the operating system (registration, paths,
// address), the processor, and its instruction features as ticked boxes. Created per opening with
// the main window as owner, shown modally, freed when closed; everything is read afresh each time.
#pragma once
#include <array>
#include <string>

#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

class TCpuForm : public TForm {
public:
  explicit TCpuForm(TComponent* owner);
  ~TCpuForm() override;

  TPageControl* PageControl;
  TTabSheet* TabSheetOS;
  TImage* imgOS;
  TEdit* edtOS;
  TGroupBox* GroupBoxReg;
  TLabel *Label1, *Label3, *Label4;
  TEdit *edtID, *edtUser, *edtOrg;
  TGroupBox* GroupBoxPath;
  TLabel *Label5, *Label6, *Label7, *Label8;
  TEdit *edtWin, *edtSys, *edtTemp, *edtIP;
  TTabSheet* TabSheet1;
  TImage* imgCPU;
  TEdit* edtCPU;
  TGroupBox* GroupBoxModel;
  TLabel *Label9, *Label10, *Label13, *Label14, *Label12;
  TEdit *edtVendor, *edtBrand, *edtModel, *edtStepping, *edtCpuID;
  TGroupBox* GroupBoxCache;
  TLabel *Label15, *Label16, *Label17, *Label18;
  TEdit *edtL1Code, *edtL1Data, *edtL2, *edtL3;
  TTabSheet* TabSheet2;
  TGroupBox* GroupBox1;

  // The name of each feature bit; "保留" marks the bits without a box.
  std::array<std::string, 32> FeatureCaptions;

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void CpuInfo();
  void ReadSystemPaths();
  void ReadRegistryInfo();
  void InitFeatureCaptions();

private:
  void BuildOsTab();
  void BuildCpuTab();
  void BuildFeatureTab();
  // A value field: a borderless read-only edit in its parent's colour.
  TEdit* ValueField(const char* name, TWinControl* parent, int left, int top, int width);
};

// The one window of its kind, while it exists.
extern TCpuForm* CpuForm;

std::string GetServicePack();
// The temporary-files directory, ending in the path separator.
std::string GetTempDir();
// The dotted address of the local host (the last its name resolves to), or empty.
std::string GetLocalIP();
