// The Qt peers: one widget per control at its exact bounds, properties translated into widget calls,
// user input handed to the User* sinks. What the program pushes never comes back as input, and a peer
// may be destroyed inside its own widget's callback (the widget is deleted once the callback is over).
#pragma once
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QMetaObject>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/Peers.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace widgetset::qt {

QColor ToQColor(TColor color);

// Deletes now, or later when a handler of the program is running (the widget may be the one whose
// signal is being handled); the loop deletes what waits once no handler runs.
void Dispose(QObject* object);

// A peer over one widget, which it owns.
class TWidgetPeer : public virtual IControlPeer {
public:
  ~TWidgetPeer() override;
  TWidgetPeer(const TWidgetPeer&) = delete;
  TWidgetPeer& operator=(const TWidgetPeer&) = delete;

  // Null once the widget is gone with its parent's (a group box destroyed before its children).
  QWidget* Widget() const { return FWidget; }
  template <class W>
  W* As() const { return static_cast<W*>(FWidget.data()); }

  void SetBounds(const TRect& bounds) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetText(const std::string&) override {}
  void SetFont(const gfx::TFontSpec& font) override;
  void SetColor(TColor color) override;

protected:
  // background: the palette role the control's colour paints; NoRole leaves the background alone.
  TWidgetPeer(QWidget* widget, QPalette::ColorRole background);
  // Connections are cut when the peer goes, so a widget waiting for deletion calls nothing back.
  template <class Sender, class Signal, class Slot>
  void Connect(Sender* sender, Signal signal, Slot slot) {
    FConnections.push_back(QObject::connect(sender, signal, FWidget, slot));
  }

private:
  QPointer<QWidget> FWidget;
  QPalette::ColorRole FBackground;
  std::vector<QMetaObject::Connection> FConnections;
};

// The parent widget of a new peer: the widget of the parent control's peer.
QWidget* ParentWidget(IControlPeer& parent);

class TLabelPeer : public TWidgetPeer {
public:
  TLabelPeer(TLabel& control, QWidget* parent);
  void SetText(const std::string& text) override;

};

class TEditPeer : public TWidgetPeer {
public:
  TEditPeer(TEdit& control, QWidget* parent);
  void SetText(const std::string& text) override;

};

class TGroupBoxPeer : public TWidgetPeer {
public:
  TGroupBoxPeer(TGroupBox& control, QWidget* parent);
  void SetText(const std::string& text) override;

};

class TPanelPeer : public TWidgetPeer {
public:
  TPanelPeer(TPanel& control, QWidget* parent);
};

class TButtonPeer : public TWidgetPeer, public IButtonPeer {
public:
  TButtonPeer(TButton& control, QWidget* parent);
  void SetText(const std::string& text) override;
  void SetDefault(bool isDefault) override;

};

class TCheckBoxPeer : public TWidgetPeer, public ICheckBoxPeer {
public:
  TCheckBoxPeer(TCheckBox& control, QWidget* parent);
  void SetText(const std::string& text) override;
  void SetChecked(bool checked) override;

};

class TComboBoxPeer : public TWidgetPeer, public IComboBoxPeer {
public:
  TComboBoxPeer(TComboBox& control, QWidget* parent);
  void SetItems(const std::vector<std::string>& items) override;
  void SetItemIndex(int index) override;

};

class TTrackBarPeer : public TWidgetPeer, public ITrackBarPeer {
public:
  TTrackBarPeer(TTrackBar& control, QWidget* parent);
  void SetRange(int min, int max) override;
  void SetPosition(int position) override;
  void SetFrequency(int frequency) override;
  QSlider* Slider() const;
};

// A classic status bar drawn by hand (sunken panels, the last one reaching the right end), which is a
// plain widget so that hosted controls are its children and paint over the panels.
class TStatusBarWidget : public QWidget {
public:
  explicit TStatusBarWidget(QWidget* parent);
  void SetPanels(const std::vector<TStatusPanelSpec>& panels);
  // The sunken frame of panel index in this widget's coordinates; empty when there is no such panel.
  QRect PanelRect(size_t index) const;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  std::vector<TStatusPanelSpec> FPanels;
};

class TStatusBarPeer : public TWidgetPeer, public IStatusBarPeer {
public:
  TStatusBarPeer(TStatusBar& control, QWidget* parent);
  // The bar keeps the system's status-bar font; only the control's text colour is taken.
  void SetFont(const gfx::TFontSpec& font) override;
  void SetPanels(const std::vector<TStatusPanelSpec>& panels) override;

};

// Shows a finished picture unscaled from its top-left corner.
class TPictureWidget : public QWidget {
public:
  explicit TPictureWidget(QWidget* parent);
  void SetPicture(const gfx::Bitmap& picture);
  const QImage& Image() const { return FImage; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QImage FImage;
};

class TPicturePeer : public TWidgetPeer, public IPicturePeer {
public:
  TPicturePeer(TGraphicControl& control, QWidget* parent);
  // The picture already holds the control's colours and text.
  void SetFont(const gfx::TFontSpec&) override {}
  void SetColor(TColor) override {}
  void SetPicture(const gfx::Bitmap& picture) override;

};

// The top-level window of a form: the close box, activation and the Enter key go to the form.
class TFormWindow : public QWidget {
public:
  TFormWindow(TCustomForm& form, Qt::WindowFlags flags);
  void Detach() { FForm = nullptr; }
  void CenterOnDesktop();

protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  TCustomForm* FForm;
  // The frame is known only once the window manager has framed the window; centring is redone then.
  bool FCenterPending = false;
  QMargins FCentredWith;
};

// Window flags for a form's border style and title-bar buttons.
Qt::WindowFlags FormWindowFlags(const TCustomForm& form);
// Every image of an .ico file as one icon; empty when the bytes hold none.
QIcon IconFromIco(const TIconData& icon);

class TFormPeer : public TWidgetPeer, public IFormPeer {
public:
  explicit TFormPeer(TCustomForm& form);
  ~TFormPeer() override;
  void SetBounds(const TRect& bounds) override;
  void SetVisible(bool visible) override;
  void SetText(const std::string& text) override;
  void SetIcon(const TIconData& icon) override;
  void CenterOnDesktop() override;
  void Repaint() override;
  void SetMinimized(bool minimized) override;

private:
  bool FFixedSize;
};

}  // namespace widgetset::qt
