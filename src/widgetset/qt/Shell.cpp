// Opens a document through QDesktopServices (xdg-open on most desktops) after resolving its name.
#include "widgetset/qt/Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <system_error>

namespace widgetset::qt {

bool TShell::OpenDocument(const std::string&, const std::string& file) {
  if (file.empty()) return false;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(file), error);
  if (error || !std::filesystem::exists(absolute, error)) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(absolute.lexically_normal().string())));
}

std::string TShell::InstalledDocument(const std::string& name) {
  const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdString();
  return (folder / ".." / "share" / "brisko" / name).lexically_normal().string();
}

}  // namespace widgetset::qt
