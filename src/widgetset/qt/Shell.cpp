// Opens a document through QDesktopServices (xdg-open on most desktops) after resolving its name.
#include "widgetset/qt/Shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <system_error>

namespace widgetset::qt {

void TShell::OpenDocument(const std::string&, const std::string& file) {
  if (file.empty()) return;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(file), error);
  if (error || !std::filesystem::exists(absolute, error)) return;
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(absolute.lexically_normal().string())));
}

}  // namespace widgetset::qt
