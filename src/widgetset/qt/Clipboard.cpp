// QClipboard's clipboard mode.
#include "widgetset/qt/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace widgetset::qt {

void TClipboard::Empty() { QGuiApplication::clipboard()->clear(QClipboard::Clipboard); }

}  // namespace widgetset::qt
