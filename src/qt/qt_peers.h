#pragma once
// The widgets that stand for controls whose input needs more than a Qt signal: text fields whose keys
// go through the control's key filter, images that show a bitmap and report the mouse in its pixels,
// the status bar's panels and the pair of spin arrows.
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/controls.h"

namespace audiodsp {

// A text field that edits nothing by itself: every key that changes the text goes to the Edit control
// (typed characters through its key filter, pasting and deleting as whole-text changes) and the
// control's text and selection come back through the observer.
class PeerLineEdit final : public QLineEdit {
 public:
  PeerLineEdit(Edit& edit, QWidget* parent);

  // Mirrors the control's text and selection without reporting them back.
  void showState();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void replaceSelectionByUser(const QString& with);
  void reportSelection();

  Edit& edit_;
  bool mirroring_ = false;
};

// Shows an Image's bitmap pixel for pixel and feeds the mouse to it in image pixels.
class PeerImage final : public QWidget {
 public:
  PeerImage(Image& image, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Image& image_;
};

// The status bar: one sunken text panel per StatusPanel, at the panel's width.
class PeerStatusBar final : public QWidget {
 public:
  PeerStatusBar(StatusBar& bar, QWidget* parent);
  void showPanels();
  const std::vector<QLabel*>& panelLabels() const { return labels_; }

 private:
  StatusBar& bar_;
  std::vector<QLabel*> labels_;
};

// Up and down arrows, stacked, that never take the focus.
class PeerSpinButtons final : public QWidget {
 public:
  PeerSpinButtons(SpinButtons& spin, QWidget* parent);
  QToolButton* up() const { return up_; }
  QToolButton* down() const { return down_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace audiodsp
