// Windows: a top-level QWidget per form whose close box, activation, frame and keys go to the form,
// which decides what they mean.
#pragma once
#include <QIcon>
#include <QMargins>

#include "ui/Forms.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

// Window flags for a form's border style and title-bar buttons.
Qt::WindowFlags FormWindowFlags(const TCustomForm& form);
// Every image of an .ico file as one icon; empty when the bytes hold none.
QIcon IconFromIco(const TIconData& icon);
// The frame around a window's client area, as the window manager has drawn it so far.
QMargins FrameMargins(const QWidget& window);

std::unique_ptr<IPeer> MakeFormPeer(TComponent& form, IControlPeer* parent);

}  // namespace widgetset::qt
