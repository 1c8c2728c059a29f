// The real brisko.exe under Wine, seen from outside with the Win32 API: the main window after the
// splash (title, client size, frame, native controls at their places), a "/LOAD" start that shows
// nothing and keeps running, and a clean exit on WM_CLOSE; the installer and the uninstaller run
// silently. The program runs on a desktop of its own.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t* const Title = L"Brisko内存整理 4.0";
const wchar_t* const SplashTitle = L"关于";
const wchar_t* const DesktopName = L"BriskoGuiTest";

// A path from the environment, a Unix path (as CTest knows it) or a Windows one; fallback without it.
std::wstring PathFromEnvironment(const char* variable, const wchar_t* fallback) {
  const char* path = std::getenv(variable);
  if (!path || !*path) return fallback;
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, path, -1, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path, -1, wide.data(), static_cast<int>(wide.size()));
  wide.pop_back();
  if (!wide.empty() && wide[0] == L'/') {
    for (wchar_t& c : wide)
      if (c == L'/') c = L'\\';
    wide = L"Z:" + wide;  // Wine's drive for the Unix root
  }
  return wide;
}

// The program under test.
std::wstring ProgramPath() { return PathFromEnvironment("BRISKO_EXE", L"brisko.exe"); }

// WM_GETTEXT itself: GetWindowTextW would answer another process's window from the system's copy of
// the caption, which a status bar does not keep.
std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &length);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::string Narrow(const std::wstring& wide) {
  std::string text(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
  text.pop_back();
  return text;
}

// Polls until the predicate holds or the time is up.
template <class F>
bool WaitFor(F predicate, int milliseconds = 10000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

struct TPlace {
  std::wstring Class;
  std::wstring Text;
  RECT Bounds;  // relative to the main window's client area
  bool Visible;
  LONG Style;
  LONG ExStyle;
  HWND Handle;
};

struct TProcessWindows {
  DWORD Process;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TProcessWindows*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->Process) search->Found.push_back(window);
  return TRUE;
}

struct TDescendants {
  HWND Main;
  std::vector<TPlace> Found;
};

BOOL CALLBACK CollectDescendant(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TDescendants*>(data);
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, search->Main, reinterpret_cast<POINT*>(&r), 2);
  search->Found.push_back({ClassOf(window), TextOf(window), r, IsWindowVisible(window) != FALSE,
                           GetWindowLongW(window, GWL_STYLE), GetWindowLongW(window, GWL_EXSTYLE), window});
  return TRUE;
}

// A started brisko.exe; ended by force if a test leaves it running.
class TBrisko {
public:
  explicit TBrisko(const std::wstring& arguments, const std::wstring& program = ProgramPath()) {
    std::wstring command = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = const_cast<wchar_t*>(DesktopName);
    FStarted = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &FProcess);
  }
  ~TBrisko() {
    if (!FStarted) return;
    if (WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(FProcess.hProcess, 99);
    CloseHandle(FProcess.hThread);
    CloseHandle(FProcess.hProcess);
  }
  TBrisko(const TBrisko&) = delete;
  TBrisko& operator=(const TBrisko&) = delete;

  bool Started() const { return FStarted; }
  DWORD Id() const { return FProcess.dwProcessId; }
  bool Running() const { return WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT; }

  // A top-level window of this process with the title, shown or not.
  HWND FindTopLevel(const wchar_t* title) const {
    for (HWND window : TopLevelWindows())
      if (TextOf(window) == title) return window;
    return nullptr;
  }
  std::vector<HWND> TopLevelWindows() const {
    TProcessWindows search{FProcess.dwProcessId, {}};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
  }
  std::vector<HWND> VisibleTopLevelWindows() const {
    std::vector<HWND> visible;
    for (HWND window : TopLevelWindows())
      if (IsWindowVisible(window)) visible.push_back(window);
    return visible;
  }
  // The exit status, or nothing when the program does not end in time.
  std::optional<DWORD> WaitForExit() {
    if (WaitForSingleObject(FProcess.hProcess, 10000) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(FProcess.hProcess, &code);
    return code;
  }
  std::optional<DWORD> CloseAndWait(HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    return WaitForExit();
  }

private:
  PROCESS_INFORMATION FProcess{};
  bool FStarted = false;
};

// Every window inside main, with its place relative to main's client area.
std::vector<TPlace> Descendants(HWND main) {
  TDescendants search{main, {}};
  EnumChildWindows(main, CollectDescendant, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

const TPlace* Find(const std::vector<TPlace>& places, const std::wstring& cls, const std::wstring& text) {
  for (const TPlace& p : places)
    if (p.Class == cls && p.Text == text) return &p;
  return nullptr;
}

::testing::AssertionResult IsAt(const TPlace* place, int left, int top, int width, int height) {
  if (!place) return ::testing::AssertionFailure() << "no such window";
  const RECT& r = place->Bounds;
  if (r.left == left && r.top == top && r.right - r.left == width && r.bottom - r.top == height)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << Narrow(place->Class) << " \"" << Narrow(place->Text) << "\" is at " << r.left
                                       << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
}

// Sends a message whose lParam points to a buffer, with the buffer in the program's process (the
// system does not carry such pointers across processes); the buffer's bytes afterwards, or none.
std::vector<char> SendWithRemoteBuffer(HWND window, DWORD process, UINT msg, WPARAM wParam, LRESULT& result) {
  std::vector<char> bytes;
  HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, process);
  if (!target) return bytes;
  void* remote = VirtualAllocEx(target, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
  if (remote) {
    result = SendMessageW(window, msg, wParam, reinterpret_cast<LPARAM>(remote));
    bytes.resize(4096);
    SIZE_T read = 0;
    if (!ReadProcessMemory(target, remote, bytes.data(), bytes.size(), &read)) bytes.clear();
    VirtualFreeEx(target, remote, 0, MEM_RELEASE);
  }
  CloseHandle(target);
  return bytes;
}

std::vector<int> StatusBarParts(HWND bar, DWORD process) {
  LRESULT count = 0;
  const std::vector<char> bytes = SendWithRemoteBuffer(bar, process, SB_GETPARTS, 16, count);
  if (bytes.empty() || count <= 0 || count > 16) return {};
  std::vector<int> parts(static_cast<size_t>(count));
  std::memcpy(parts.data(), bytes.data(), parts.size() * sizeof(int));
  return parts;
}

std::wstring StatusBarText(HWND bar, DWORD process, int part) {
  LRESULT ignored = 0;
  const std::vector<char> bytes = SendWithRemoteBuffer(bar, process, SB_GETTEXTW, static_cast<WPARAM>(part), ignored);
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

// The keyboard focus of the program's interface thread.
HWND FocusOf(HWND main) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) ? info.hwndFocus : nullptr;
}

// A click on a button, answered once the program has handled it.
void Click(HWND button) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
}

HWND WaitForVisibleMain(const TBrisko& brisko) {
  HWND main = nullptr;
  WaitFor([&] {
    main = brisko.FindTopLevel(Title);
    return main && IsWindowVisible(main);
  });
  return main && IsWindowVisible(main) ? main : nullptr;
}

// Clicks the main window's button and waits for the window with the title: shown, with its client
// size, while the main window takes no input. Null when it does not come.
HWND OpenModal(const TBrisko& brisko, HWND main, const wchar_t* button, const wchar_t* title, int width, int height) {
  const TPlace* place = Find(Descendants(main), L"Button", button);
  if (!place) return nullptr;
  PostMessageW(place->Handle, BM_CLICK, 0, 0);
  HWND window = nullptr;
  if (!WaitFor([&] { return (window = brisko.FindTopLevel(title)) && IsWindowVisible(window); })) return nullptr;
  EXPECT_FALSE(IsWindowEnabled(main)) << "modal";
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, width);
  EXPECT_EQ(client.bottom, height);
  return window;
}

// A message box of the program's, once it shows; null when none comes.
HWND WaitForMessageBox(const TBrisko& brisko) {
  HWND box = nullptr;
  WaitFor([&] {
    for (HWND window : brisko.VisibleTopLevelWindows())
      if (ClassOf(window) == L"#32770") box = window;
    return box != nullptr;
  });
  return box;
}

// Presses a message box's OK; true once the box is gone.
bool PressOk(HWND box) {
  const TPlace* ok = Find(Descendants(box), L"Button", L"OK");
  if (!ok) return false;
  PostMessageW(ok->Handle, BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(box); }, 5000);
}

// Runs a command line on the program's desktop and waits for it; its exit status, or nothing when it
// does not end in time.
std::optional<DWORD> RunAndWait(std::wstring command) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = const_cast<wchar_t*>(DesktopName);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return std::nullopt;
  std::optional<DWORD> status;
  DWORD code = 0;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code)) status = code;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return status;
}

// A string value of the registry, or nothing when it is not there.
std::optional<std::wstring> RegistryText(HKEY root, const wchar_t* key, const wchar_t* name) {
  wchar_t text[1024];
  DWORD bytes = sizeof text;
  if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, text, &bytes) != ERROR_SUCCESS) return std::nullopt;
  return std::wstring(text);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// Closes a modal window as its close box does; true once it is gone and the main window takes input.
bool CloseModal(HWND window, HWND main) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  return WaitFor([&] { return !IsWindow(window) && IsWindowEnabled(main); }, 5000);
}

class MainWindowTest : public ::testing::Test {
protected:
  // The program's windows go to a desktop of this test's own, which Wine shows on this test's
  // display even when the session's default desktop was made without one.
  static void SetUpTestSuite() {
    Desktop = CreateDesktopW(DesktopName, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ASSERT_NE(Desktop, nullptr);
    ASSERT_TRUE(SetThreadDesktop(Desktop));
  }
  static void TearDownTestSuite() {
    if (Desktop) CloseDesktop(Desktop);
  }
  static HDESK Desktop;
};

HDESK MainWindowTest::Desktop = nullptr;

TEST_F(MainWindowTest, MainWindowAfterTheSplashHasItsLayoutAndClosesCleanly) {
  TBrisko brisko(L"");
  ASSERT_TRUE(brisko.Started()) << Narrow(ProgramPath());
  HWND main = WaitForVisibleMain(brisko);
  ASSERT_TRUE(main) << "no visible main window";
  HWND splash = brisko.FindTopLevel(SplashTitle);
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(splash); }, 3000)) << "the splash stays";
  EXPECT_EQ(brisko.VisibleTopLevelWindows(), std::vector<HWND>{main});

  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 497);
  EXPECT_EQ(client.bottom, 412);
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

  // The frame is centred in the work area.
  RECT frame, work;
  GetWindowRect(main, &frame);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2.0, (work.left + work.right) / 2.0, 1.0);
  EXPECT_NEAR((frame.top + frame.bottom) / 2.0, (work.top + work.bottom) / 2.0, 1.0);

  const std::vector<TPlace> places = Descendants(main);
  const TPlace* exit = Find(places, L"Button", L"退出");
  EXPECT_TRUE(IsAt(exit, 412, 237, 75, 25));
  EXPECT_TRUE(exit && exit->Visible);
  EXPECT_TRUE(IsAt(Find(places, L"Button", L"快速整理"), 412, 12, 75, 25));
  const TPlace* help = Find(places, L"Button", L"帮助");
  EXPECT_TRUE(IsAt(help, 412, 236, 75, 25));
  EXPECT_TRUE(help && !help->Visible);

  const TPlace* cpuGroup = Find(places, L"Button", L"CPU使用");
  EXPECT_TRUE(IsAt(cpuGroup, 8, 8, 97, 121));
  EXPECT_TRUE(cpuGroup && (cpuGroup->Style & BS_TYPEMASK) == BS_GROUPBOX);
  // Children of a group box are placed in the box: lblPhics at 8,48 in goupMemInfo at 8,264.
  const TPlace* label = Find(places, L"Static", L"可用物理内存");
  EXPECT_TRUE(IsAt(label, 16, 312, 81, 12));
  EXPECT_TRUE(label && label->Visible);

  // A read-out: a borderless read-only edit on the window, over the table's box.
  const TPlace* readOut = nullptr;
  for (const TPlace& p : places)
    if (p.Class == L"Edit" && p.Bounds.top == 312) readOut = &p;
  ASSERT_TRUE(readOut);
  EXPECT_TRUE(IsAt(readOut, 92, 312, 60, 20));
  EXPECT_TRUE(readOut->Style & ES_READONLY);
  EXPECT_FALSE(readOut->Style & WS_BORDER);
  EXPECT_FALSE(readOut->ExStyle & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(readOut->Visible);
  // The read-outs lie above the table's box, which was made before them.
  POINT centre{124, 322};
  ClientToScreen(main, &centre);
  EXPECT_EQ(WindowFromPoint(centre), readOut->Handle);

  const TPlace* bar = nullptr;
  for (const TPlace& p : places)
    if (p.Class == L"msctls_statusbar32") bar = &p;
  ASSERT_TRUE(bar);
  EXPECT_TRUE(IsAt(bar, 0, 393, 497, 19));
  EXPECT_EQ(StatusBarParts(bar->Handle, brisko.Id()), (std::vector<int>{380, -1}));
  // WM_GETTEXT answers the first part's text: the measured clock.
  const std::string clock = Narrow(bar->Text);
  EXPECT_EQ(clock.rfind("CPU频率: ", 0), 0u) << clock;
  EXPECT_EQ(clock.size() > 3 ? clock.substr(clock.size() - 3) : "", "MHz") << clock;
  // The progress gauge is a hidden child of the bar, over the second part.
  int barChildren = 0;
  for (const TPlace& p : places)
    if (GetParent(p.Handle) == bar->Handle) {
      ++barChildren;
      EXPECT_TRUE(IsAt(&p, 384, 393 + 2, 113, 16));
      EXPECT_FALSE(p.Visible);
    }
  EXPECT_EQ(barChildren, 1);

  // The window comes up with the focus on "快速整理"; Tab walks the window's own order, passing over
  // the hidden help button and settings panel.
  std::vector<const TPlace*> expected;
  for (const wchar_t* button : {L"快速整理", L"深度整理", L"设置"}) expected.push_back(Find(places, L"Button", button));
  for (int top : {312, 336, 360})
    for (const TPlace& p : places)
      if (p.Class == L"Edit" && p.Bounds.top == top) expected.push_back(&p);
  for (const wchar_t* button : {L"性能信息", L"系统信息", L"退出", L"快速整理"}) expected.push_back(Find(places, L"Button", button));
  ASSERT_EQ(expected.size(), 10u);
  for (const TPlace* p : expected) ASSERT_TRUE(p);
  for (size_t k = 0; k < expected.size(); ++k) {
    const TPlace* next = expected[k];
    if (k > 0) PostMessageW(FocusOf(main), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(main) == next->Handle; }, 2000))
        << "focus on " << Narrow(ClassOf(FocusOf(main))) << " \"" << Narrow(TextOf(FocusOf(main))) << "\", not on "
        << Narrow(next->Class) << " at " << next->Bounds.left << "," << next->Bounds.top;
  }

  EXPECT_EQ(brisko.CloseAndWait(main), std::optional<DWORD>(0));
}

TEST_F(MainWindowTest, ButtonsInTheWindowAndInThePanelReachTheirHandlers) {
  TBrisko brisko(L"");
  ASSERT_TRUE(brisko.Started());
  HWND main = WaitForVisibleMain(brisko);
  ASSERT_TRUE(main) << "no visible main window";
  std::vector<TPlace> places = Descendants(main);
  const TPlace* settings = Find(places, L"Button", L"设置");
  const TPlace* quick = Find(places, L"Button", L"快速整理");
  const TPlace* back = Find(places, L"Button", L"返回");
  const TPlace* exit = Find(places, L"Button", L"退出");
  ASSERT_TRUE(settings && quick && back && exit);
  EXPECT_FALSE(back->Visible);

  // "设置" shows the settings panel over the meters and disables the trim buttons.
  Click(settings->Handle);
  EXPECT_TRUE(IsWindowVisible(back->Handle));
  EXPECT_FALSE(IsWindowEnabled(quick->Handle));
  EXPECT_FALSE(IsWindowEnabled(settings->Handle));
  // The panel (8,6 393×379, single border) is the parent of its buttons: "返回" at 280,336 inside it,
  // one border pixel further in.
  places = Descendants(main);
  EXPECT_TRUE(IsAt(Find(places, L"Button", L"返回"), 8 + 1 + 280, 6 + 1 + 336, 75, 25));
  // It lies above the meters, which were made before it.
  POINT meter{50, 60};
  ClientToScreen(main, &meter);
  HWND panel = GetParent(back->Handle);
  HWND hit = WindowFromPoint(meter);
  EXPECT_TRUE(hit == panel || IsChild(panel, hit));

  // "返回", a button in the panel, hides it again.
  Click(back->Handle);
  EXPECT_FALSE(IsWindowVisible(back->Handle));
  EXPECT_TRUE(IsWindowEnabled(quick->Handle));

  // "退出" ends the program cleanly.
  Click(exit->Handle);
  EXPECT_EQ(brisko.WaitForExit(), std::optional<DWORD>(0));
}

TEST_F(MainWindowTest, BothTrimsRunAndRestoreEveryControl) {
  TBrisko brisko(L"");
  ASSERT_TRUE(brisko.Started());
  HWND main = WaitForVisibleMain(brisko);
  ASSERT_TRUE(main) << "no visible main window";
  const std::vector<TPlace> places = Descendants(main);
  const TPlace* quick = Find(places, L"Button", L"快速整理");
  const TPlace* depth = Find(places, L"Button", L"深度整理");
  const TPlace *bar = nullptr, *gauge = nullptr;
  for (const TPlace& p : places)
    if (p.Class == L"msctls_statusbar32") bar = &p;
  ASSERT_TRUE(quick && depth && bar);
  for (const TPlace& p : places)
    if (GetParent(p.Handle) == bar->Handle) gauge = &p;
  ASSERT_TRUE(gauge);
  auto restored = [&] {
    return IsWindowEnabled(quick->Handle) && IsWindowEnabled(depth->Handle) && !IsWindowVisible(gauge->Handle);
  };
  auto reportsFreed = [&] {
    const std::string result = Narrow(StatusBarText(bar->Handle, brisko.Id(), 1));
    return result.rfind("释放 ", 0) == 0 && result.size() > 2 && result.substr(result.size() - 2) == "MB";
  };

  // The quick trim shows the full gauge for a second, then its result.
  PostMessageW(quick->Handle, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(gauge->Handle); }, 5000)) << "no gauge";
  EXPECT_TRUE(WaitFor(restored, 5000));
  EXPECT_TRUE(WaitFor(reportsFreed, 2000)) << Narrow(StatusBarText(bar->Handle, brisko.Id(), 1));

  // The deep trim asks first: Cancel changes nothing, OK runs it.
  auto question = [&] {
    for (HWND window : brisko.VisibleTopLevelWindows())
      if (ClassOf(window) == L"#32770") return window;
    return HWND{};
  };
  for (const wchar_t* answer : {L"取消", L"确定"}) {
    PostMessageW(depth->Handle, BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = question()) != nullptr; })) << "no question";
    EXPECT_EQ(TextOf(box), Title);
    const std::vector<TPlace> boxPlaces = Descendants(box);
    EXPECT_TRUE(Find(boxPlaces, L"Static", L"确定进行'深度整理'吗?"));
    const TPlace* button = Find(boxPlaces, L"Button", answer);
    if (!button) button = Find(boxPlaces, L"Button", answer == std::wstring(L"取消") ? L"Cancel" : L"OK");
    ASSERT_TRUE(button);
    PostMessageW(button->Handle, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
    EXPECT_TRUE(WaitFor(restored, 20000));
  }
  EXPECT_TRUE(WaitFor(reportsFreed, 2000)) << Narrow(StatusBarText(bar->Handle, brisko.Id(), 1));
  EXPECT_EQ(brisko.CloseAndWait(main), std::optional<DWORD>(0));
}

TEST_F(MainWindowTest, AnErrorBoxLeftOpenPastTheSplashStillLetsTheWindowAppear) {
  // A stored setting of the wrong type: loading it opens the error box while the window is made.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Norvanta Tech\\Ramsweep", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const DWORD one = 1;
  RegSetValueExW(key, L"IsMemCondition", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  RegSetValueExW(key, L"Depth", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"512"), 8);
  TBrisko brisko(L"");
  ASSERT_TRUE(brisko.Started());
  HWND box = WaitForMessageBox(brisko);
  ASSERT_TRUE(box) << "no error box";
  // The user reads it well past the splash's 1.2 s, then presses OK.
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_FALSE(brisko.FindTopLevel(SplashTitle) && IsWindowVisible(brisko.FindTopLevel(SplashTitle)));
  EXPECT_TRUE(PressOk(box));
  HWND main = WaitForVisibleMain(brisko);
  EXPECT_TRUE(main) << "no visible main window after the box";
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Norvanta Tech\\Ramsweep");
  RegCloseKey(key);
  if (main) {
    EXPECT_EQ(brisko.CloseAndWait(main), std::optional<DWORD>(0));
  }
}

TEST_F(MainWindowTest, LoadSwitchShowsNoWindowAndKeepsRunningUntilClosed) {
  TBrisko brisko(L" /load ");
  ASSERT_TRUE(brisko.Started());
  HWND main = nullptr, splash = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = brisko.FindTopLevel(Title)) != nullptr; })) << "no main window";
  ASSERT_TRUE(WaitFor([&] { return (splash = brisko.FindTopLevel(SplashTitle)) != nullptr && !IsWindowVisible(splash); }))
      << "the splash does not end";
  // Past the end of the splash, nothing of the program shows, and it keeps running.
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(brisko.VisibleTopLevelWindows().empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(brisko.Running());
  EXPECT_EQ(brisko.CloseAndWait(main), std::optional<DWORD>(0));
}

TEST_F(MainWindowTest, SystemInformationIsAModalWindowMadeAfreshForEveryClick) {
  TBrisko brisko(L"");
  ASSERT_TRUE(brisko.Started());
  HWND main = WaitForVisibleMain(brisko);
  ASSERT_TRUE(main) << "no visible main window";
  HWND previous = nullptr;
  for (int round = 0; round < 2; ++round) {
    const HWND info = OpenModal(brisko, main, L"系统信息", L"系统信息", 384, 392);
    ASSERT_TRUE(info);
    EXPECT_FALSE(IsWindow(previous)) << "the last one was destroyed";
    const std::vector<TPlace> places = Descendants(info);
    const TPlace* tabs = nullptr;
    for (const TPlace& p : places)
      if (p.Class == WC_TABCONTROLW) tabs = &p;
    ASSERT_TRUE(tabs);
    DWORD_PTR count = 0;
    SendMessageTimeoutW(tabs->Handle, TCM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    EXPECT_EQ(count, 3u);
    // Every processor Wine runs on has a floating-point unit.
    const TPlace* fpu = Find(places, L"Button", L"内置浮点计算单元");
    ASSERT_TRUE(fpu);
    EXPECT_EQ(SendMessageW(fpu->Handle, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(CloseModal(info, main));
    previous = info;
  }
  EXPECT_EQ(brisko.CloseAndWait(main), std::optional<DWORD>(0));
}

TEST_F(MainWindowTest, PerformanceDetailsOpenModallyWithEightRowsAGroup) {
  TBrisko brisko(L"");
  ASSERT_TRUE(brisko.Started());
  HWND main = WaitForVisibleMain(brisko);
  ASSERT_TRUE(main) << "no visible main window";
  const HWND info = OpenModal(brisko, main, L"性能信息", L"详细信息", 434, 403);
  ASSERT_TRUE(info);
  std::vector<HWND> lists;
  for (const TPlace& p : Descendants(info))
    if (p.Class == L"ListBox") lists.push_back(p.Handle);
  ASSERT_EQ(lists.size(), 6u);
  int filled = 0;
  for (HWND list : lists) {
    const LRESULT rows = SendMessageW(list, LB_GETCOUNT, 0, 0);
    EXPECT_TRUE(rows == 0 || rows == 8) << rows;
    filled += rows == 8;
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 12);
  }
  EXPECT_GE(filled, 5) << "every group but the file cache's carries figures under Wine";
  EXPECT_TRUE(CloseModal(info, main));
  EXPECT_EQ(brisko.CloseAndWait(main), std::optional<DWORD>(0));
}

TEST_F(MainWindowTest, TrimSwitchTrimsWithoutAWindowAndPrintsOneLine) {
  wchar_t folder[MAX_PATH], path[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"brt", 0, path);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(output, INVALID_HANDLE_VALUE);
  std::wstring command = L"\"" + ProgramPath() + L"\" /Trim";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process));
  CloseHandle(output);
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  DWORD status = 99;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_TRUE(status == 0 || status == 2) << status;
  std::string text(512, '\0');
  HANDLE input = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD read = 0;
  ReadFile(input, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
  CloseHandle(input);
  DeleteFileW(path);
  text.resize(read);
  EXPECT_EQ(text.rfind("释放 ", 0), 0u) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
}

// The installer, silent, into "Program Files" (a path with a blank); the program runs from there and
// saves its logon entry quoted; the silent uninstaller closes a running copy and leaves nothing but
// the user's settings.
TEST_F(MainWindowTest, SilentSetupInstallsIntoProgramFilesAndTheUninstallerLeavesOnlyTheSettings) {
  const wchar_t* const runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const wchar_t* const uninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brisko";
  const std::wstring folder = KnownFolder(CSIDL_PROGRAM_FILES) + L"\\Brisko";
  const std::wstring shortcut = KnownFolder(CSIDL_COMMON_PROGRAMS) + L"\\" + Title + L".lnk";
  if (!std::getenv("BRISKO_SETUP")) GTEST_SKIP() << "the installer is the i686 build's (an NSIS stub is a 32-bit program)";
  ASSERT_EQ(RunAndWait(L"\"" + PathFromEnvironment("BRISKO_SETUP", L"brisko-setup.exe") + L"\" /S"), std::optional<DWORD>(0));
  EXPECT_TRUE(Exists(folder + L"\\brisko.exe") && Exists(folder + L"\\Help.htm") && Exists(folder + L"\\uninstall.exe"));
  EXPECT_TRUE(Exists(shortcut));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, uninstallKey, L"DisplayVersion"), std::optional<std::wstring>(L"4.0.0.0"));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, uninstallKey, L"DisplayName"), std::optional<std::wstring>(Title));

  const std::wstring installed = folder + L"\\brisko.exe";
  {
    TBrisko brisko(L"", installed);
    HWND main = WaitForVisibleMain(brisko);
    ASSERT_TRUE(main) << "the installed program shows no window";
    const std::vector<TPlace> places = Descendants(main);
    const TPlace* settings = Find(places, L"Button", L"设置");
    const TPlace* autorun = Find(places, L"Button", L"系统启动时，自动启动该程序");
    const TPlace* sure = Find(places, L"Button", L"确定");
    ASSERT_TRUE(settings && autorun && sure);
    Click(settings->Handle);
    // Ticked already when the kept settings of an earlier install say so.
    if (SendMessageW(autorun->Handle, BM_GETCHECK, 0, 0) != BST_CHECKED) Click(autorun->Handle);
    ASSERT_EQ(SendMessageW(autorun->Handle, BM_GETCHECK, 0, 0), BST_CHECKED);
    PostMessageW(sure->Handle, BM_CLICK, 0, 0);
    HWND box = WaitForMessageBox(brisko);
    ASSERT_TRUE(box) << "no confirmation";
    EXPECT_TRUE(Find(Descendants(box), L"Static", L"设置成功！"));
    EXPECT_TRUE(PressOk(box));
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, runKey, L"Brisko Memory"), L"\"" + installed + L"\" /LOAD");
    EXPECT_EQ(brisko.CloseAndWait(main), std::optional<DWORD>(0));
  }

  // Uninstalled while the logon entry's copy runs: the uninstaller closes it. It runs on from a copy
  // of itself, so the folder goes a moment after it returns.
  TBrisko atLogon(L"/LOAD", installed);
  ASSERT_TRUE(WaitFor([&] { return atLogon.FindTopLevel(Title) != nullptr; }));
  ASSERT_EQ(RunAndWait(L"\"" + folder + L"\\uninstall.exe\" /S"), std::optional<DWORD>(0));
  EXPECT_TRUE(WaitFor([&] { return !Exists(folder); }, 20000)) << "the folder stays";
  EXPECT_EQ(atLogon.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_FALSE(Exists(shortcut));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, runKey, L"Brisko Memory"), std::nullopt);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, uninstallKey, L"DisplayVersion"), std::nullopt);
  HKEY kept = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Norvanta Tech\\Ramsweep", 0, KEY_READ, &kept), ERROR_SUCCESS);
  if (kept) RegCloseKey(kept);
}

}  // namespace
