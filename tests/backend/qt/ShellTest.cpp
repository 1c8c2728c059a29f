// Opening documents through the Qt shell: what reaches the desktop's URL handler for relative,
// absolute and missing files (a handler registered for "file" stands in for the desktop).
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QTextBrowser>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "widgetset/qt/Shell.h"
#include "widgetset/qt/WidgetSet.h"

namespace fs = std::filesystem;

namespace {

// QDesktopServices hands file URLs to setSource, which lands here instead of loading anything.
class TUrlRecorder : public QTextBrowser {
public:
  std::vector<QUrl> Urls;

protected:
  void doSetSource(const QUrl& url, QTextDocument::ResourceType) override { Urls.push_back(url); }
};

class QtShellTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Widgets = new widgetset::qt::TWidgetSet(Argc, Argv);
  }
  static void TearDownTestSuite() {
    delete Widgets;
    Widgets = nullptr;
  }
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("brisko-shell-" + std::to_string(getpid()));
    fs::create_directories(Dir / "sub");
    std::ofstream(Dir / "Help.htm") << "<html></html>";
    std::ofstream(Dir / "sub" / "页面.htm") << "<html></html>";
    Previous = fs::current_path();
    fs::current_path(Dir);
    Recorder = std::make_unique<TUrlRecorder>();
    QDesktopServices::setUrlHandler("file", Recorder.get(), "setSource");
  }
  void TearDown() override {
    QDesktopServices::unsetUrlHandler("file");
    Recorder.reset();
    fs::current_path(Previous);
    fs::remove_all(Dir);
  }

  static inline int Argc = 1;
  static inline char Name[] = "qt_backend_tests";
  static inline char* Argv[] = {Name, nullptr};
  static inline widgetset::qt::TWidgetSet* Widgets = nullptr;
  fs::path Dir, Previous;
  std::unique_ptr<TUrlRecorder> Recorder;
  widgetset::qt::TShell Shell;
};

TEST_F(QtShellTest, ExistingDocumentsOpenByTheirAbsolutePath) {
  Shell.OpenDocument("open", "Help.htm");
  Shell.OpenDocument("open", "sub/../sub/页面.htm");
  Shell.OpenDocument("open", (Dir / "Help.htm").string());
  ASSERT_EQ(Recorder->Urls.size(), 3u);
  EXPECT_EQ(Recorder->Urls[0], QUrl::fromLocalFile(QString::fromStdString((Dir / "Help.htm").string())));
  EXPECT_EQ(Recorder->Urls[1].toLocalFile(), QString::fromStdString((Dir / "sub" / "页面.htm").string()));
  EXPECT_EQ(Recorder->Urls[2], Recorder->Urls[0]);
}

TEST_F(QtShellTest, MissingDocumentsAreSilentlyNotOpened) {
  Shell.OpenDocument("open", "Missing.htm");
  Shell.OpenDocument("open", "");
  fs::current_path(Dir / "sub");
  Shell.OpenDocument("open", "Help.htm");  // exists only in the folder above
  EXPECT_TRUE(Recorder->Urls.empty());
}

}  // namespace
