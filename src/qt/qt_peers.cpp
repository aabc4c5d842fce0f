#include "qt/qt_peers.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/bitmap.h"

namespace audiodsp {

namespace {

QString qs(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::optional<MouseButton> buttonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return MouseButton::Left;
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::MiddleButton:
      return MouseButton::Middle;
    default:
      return std::nullopt;
  }
}

// The button a move reports: the one held, else the left one (moves without a button are reported too,
// and handlers that drag keep their own state of whether a drag is on).
MouseButton heldButton(Qt::MouseButtons held) {
  if (held & Qt::RightButton) return MouseButton::Right;
  if (held & Qt::MiddleButton) return MouseButton::Middle;
  return MouseButton::Left;
}

}  // namespace

PeerLineEdit::PeerLineEdit(Edit& edit, QWidget* parent) : QLineEdit(parent), edit_(edit) {
  connect(this, &QLineEdit::cursorPositionChanged, this, [this] { reportSelection(); });
  connect(this, &QLineEdit::selectionChanged, this, [this] { reportSelection(); });
}

void PeerLineEdit::showState() {
  mirroring_ = true;
  const QString text = qs(edit_.text());
  if (this->text() != text) setText(text);
  const int start = static_cast<int>(edit_.selStart());
  const int length = static_cast<int>(edit_.selLength());
  if (length > 0) {
    setSelection(start, length);
  } else {
    setCursorPosition(start);
  }
  setReadOnly(edit_.readOnly());
  mirroring_ = false;
}

void PeerLineEdit::reportSelection() {
  if (mirroring_) return;
  const int start = hasSelectedText() ? selectionStart() : cursorPosition();
  const int length = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
  edit_.setSelection(static_cast<size_t>(start), static_cast<size_t>(length));
}

void PeerLineEdit::replaceSelectionByUser(const QString& with) {
  if (edit_.readOnly()) return;
  QString text = this->text();
  const int start = hasSelectedText() ? selectionStart() : cursorPosition();
  const int length = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
  text.replace(start, length, with);
  const std::string bytes = text.toStdString();
  if (edit_.maxLength() > 0 && bytes.size() > edit_.maxLength()) return;
  edit_.userSetText(bytes);
  edit_.setCaret(static_cast<size_t>(start + with.size()));
}

void PeerLineEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    replaceSelectionByUser(QApplication::clipboard()->text().remove('\r').remove('\n'));
    return;
  }
  if (event->matches(QKeySequence::Cut)) {
    if (hasSelectedText() && !edit_.readOnly()) {
      QApplication::clipboard()->setText(selectedText());
      replaceSelectionByUser({});
    }
    return;
  }
  switch (event->key()) {
    case Qt::Key_Backspace:
      edit_.userKey(kKeyBackspace);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      edit_.userKey(kKeyEnter);
      return;
    case Qt::Key_Delete:
      if (!hasSelectedText()) {
        if (cursorPosition() >= text().size()) return;
        setSelection(cursorPosition(), 1);
      }
      replaceSelectionByUser({});
      return;
    default:
      break;
  }
  const QString typed = event->text();
  const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (!command && typed.size() == 1 && typed[0].unicode() >= 0x20 && typed[0].unicode() < 0x7F) {
    edit_.userKey(static_cast<char>(typed[0].unicode()));
    return;
  }
  // Caret moves, selecting, copying: the widget does them and reports the new selection.
  QLineEdit::keyPressEvent(event);
}

void PeerLineEdit::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) edit_.userClickAt(static_cast<size_t>(cursorPosition()));
}

PeerImage::PeerImage(Image& image, QWidget* parent) : QWidget(parent), image_(image) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PeerImage::paintEvent(QPaintEvent*) {
  const auto& bitmap = image_.picture();
  if (!bitmap || bitmap->width() == 0 || bitmap->height() == 0) return;
  const QImage pixels(bitmap->bits(), bitmap->width(), bitmap->height(), bitmap->bytesPerLine(),
                      QImage::Format_RGB888);
  QPainter painter(this);
  painter.drawImage(0, 0, pixels);
}

void PeerImage::mousePressEvent(QMouseEvent* event) {
  if (const auto b = buttonOf(event->button())) {
    const QPoint p = event->position().toPoint();
    image_.userMouseDown(*b, p.x(), p.y());
  }
}

void PeerImage::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  image_.userMouseMove(heldButton(event->buttons()), p.x(), p.y());
}

void PeerImage::mouseReleaseEvent(QMouseEvent* event) {
  if (const auto b = buttonOf(event->button())) {
    const QPoint p = event->position().toPoint();
    image_.userMouseUp(*b, p.x(), p.y());
  }
}

PeerStatusBar::PeerStatusBar(StatusBar& bar, QWidget* parent) : QWidget(parent), bar_(bar) {}

void PeerStatusBar::showPanels() {
  const auto& panels = bar_.panels();
  while (labels_.size() > panels.size()) {
    delete labels_.back();
    labels_.pop_back();
  }
  while (labels_.size() < panels.size()) {
    auto* label = new QLabel(this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(2);
    label->show();
    labels_.push_back(label);
  }
  int left = 0;
  for (size_t i = 0; i < panels.size(); ++i) {
    labels_[i]->setText(qs(panels[i].text));
    labels_[i]->setAccessibleName(qs(bar_.name() + " panel " + std::to_string(i + 1)));
    // The last panel takes the rest of the bar, as the system's status bar draws it.
    const int width =
        i + 1 == panels.size() ? std::max(panels[i].width, this->width() - left) : panels[i].width;
    labels_[i]->setGeometry(left, 0, width, height());
    left += panels[i].width;
  }
}

PeerSpinButtons::PeerSpinButtons(SpinButtons& spin, QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
  }
  up_->setAccessibleName(QString::fromStdString(spin.name() + " up"));
  down_->setAccessibleName(QString::fromStdString(spin.name() + " down"));
  connect(up_, &QToolButton::clicked, this, [&spin] { spin.userClickUp(); });
  connect(down_, &QToolButton::clicked, this, [&spin] { spin.userClickDown(); });
}

void PeerSpinButtons::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace audiodsp
