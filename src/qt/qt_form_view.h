#pragma once
// The window of a Form: one QWidget peer per control, at the control's geometry and parented as the
// controls are. The view observes every control and mirrors each property change onto its peer; the
// operator's input on a peer goes back through the control's user* entry points, so the program's
// handlers run exactly as they do in the headless tests.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

#include "platform/controls.h"

class QAction;
class QMainWindow;
class QMenu;

namespace audiodsp {

class QtFormView final : public QObject, public ControlObserver {
 public:
  // The frame the layout's outer window sizes allow for: the client area of a window whose outer size
  // is W x H is (W - kFrameWidth) x (H - kFrameHeight); the menu bar comes on top of it.
  static constexpr int kFrameWidth = 8;
  static constexpr int kFrameHeight = 39;

  enum class Kind {
    MainWindow,  // a top-level window with the menus and the form's geometry as its outer size
    Embedded,    // the form's controls inside a host widget (a modal dialog), the form's size as client
  };

  // Builds the peers of every control now on the form. Embedded views need a host.
  explicit QtFormView(Form& form, Kind kind = Kind::MainWindow, QWidget* host = nullptr);
  ~QtFormView() override;
  QtFormView(const QtFormView&) = delete;
  QtFormView& operator=(const QtFormView&) = delete;

  Form& form() const { return form_; }
  // The top-level window (MainWindow) or the client widget inside the host (Embedded).
  QWidget* window() const;
  // The peer widget of a control (null for menus and controls without a peer).
  QWidget* peer(const Control& control) const;
  QAction* action(const Control& menuItem) const;
  QMainWindow* mainWindow() const { return main_; }

  void changed(Control& control, Property property) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Peer {
    QWidget* widget = nullptr;
    QMenu* menu = nullptr;      // top-level menu
    QAction* action = nullptr;  // menu entry or the menu's own action
  };

  void build();
  void makePeer(Control& control);
  QWidget* containerOf(Control* control) const;
  void apply(Control& control, Property property);
  void applyAll(Control& control);
  void applyFormGeometry();
  void applyColors(Control& control, QWidget* widget);
  void applyFocus();
  void applyAccessibleName(Control& control);
  Control* controlOf(QWidget* widget) const;

  Form& form_;
  Kind kind_;
  QPointer<QWidget> host_;
  QMainWindow* main_ = nullptr;
  QWidget* client_ = nullptr;
  std::map<const Control*, Peer> peers_;
  std::map<const QWidget*, Control*> controls_;
  bool mirroring_ = false;  // peers are being set from the controls: their signals are not input
  std::unique_ptr<QMetaObject::Connection> focusConnection_;
};

}  // namespace audiodsp
