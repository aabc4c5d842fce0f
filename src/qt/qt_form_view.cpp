#include "qt/qt_form_view.h"

#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>

#include "qt/qt_peers.h"
#include "qt/qt_text_renderer.h"

namespace audiodsp {

namespace {

QString qs(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QColor qc(Color c) {
  return QColor(c.r, c.g, c.b);
}

QStringList itemList(const ListControl& list) {
  QStringList out;
  for (const auto& item : list.items()) out << qs(item);
  return out;
}

Qt::Orientation qtOrientation(const RangeControl& range) {
  return range.orientation() == Orientation::Vertical ? Qt::Vertical : Qt::Horizontal;
}

}  // namespace

QtFormView::QtFormView(Form& form, Kind kind, QWidget* host) : form_(form), kind_(kind), host_(host) {
  if (kind_ == Kind::MainWindow) {
    main_ = new QMainWindow();
    main_->setObjectName(qs(form.name()));
    client_ = new QWidget(main_);
    main_->setCentralWidget(client_);
    main_->installEventFilter(this);
  } else {
    client_ = new QWidget(host);
  }
  client_->setObjectName(qs(form.name() + "Client"));
  client_->setAutoFillBackground(true);
  build();
  focusConnection_ = std::make_unique<QMetaObject::Connection>(
      QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (mirroring_) return;
        if (Control* c = controlOf(now)) {
          if (form_.focusedControl() != c) form_.userFocus(*c);
          // A control that cannot have the focus (by the program's rules) gives it back.
          if (form_.focusedControl() != c) applyFocus();
        } else if (now == nullptr && QApplication::activeWindow() == window()->window()) {
          form_.clearFocus();
        }
      }));
}

QtFormView::~QtFormView() {
  QObject::disconnect(*focusConnection_);
  for (Control* c : form_.controls()) {
    if (c->observer() == this) c->setObserver(nullptr);
  }
  if (form_.observer() == this) form_.setObserver(nullptr);
  if (main_ != nullptr) {
    main_->removeEventFilter(this);
    delete main_;
  } else if (!host_.isNull()) {
    delete client_;
  }
}

QWidget* QtFormView::window() const {
  return main_ != nullptr ? static_cast<QWidget*>(main_) : client_;
}

QWidget* QtFormView::peer(const Control& control) const {
  const auto it = peers_.find(&control);
  return it == peers_.end() ? nullptr : it->second.widget;
}

QAction* QtFormView::action(const Control& menuItem) const {
  const auto it = peers_.find(&menuItem);
  return it == peers_.end() ? nullptr : it->second.action;
}

Control* QtFormView::controlOf(QWidget* widget) const {
  for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    const auto it = controls_.find(w);
    if (it != controls_.end()) return it->second;
  }
  return nullptr;
}

void QtFormView::build() {
  form_.setObserver(this);
  for (Control* c : form_.controls()) makePeer(*c);
  mirroring_ = true;
  applyFormGeometry();
  applyColors(form_, client_);
  window()->setWindowTitle(qs(form_.caption()));
  for (Control* c : form_.controls()) applyAll(*c);
  mirroring_ = false;
}

QWidget* QtFormView::containerOf(Control* control) const {
  if (control == nullptr || control == &form_) return client_;
  QWidget* w = peer(*control);
  return w != nullptr ? w : client_;
}

void QtFormView::makePeer(Control& control) {
  control.setObserver(this);
  Peer p;
  QWidget* parent = containerOf(control.parent());
  if (auto* item = dynamic_cast<MenuItem*>(&control)) {
    if (main_ == nullptr) return;
    if (item->parent() == &form_) {
      p.menu = main_->menuBar()->addMenu(qs(item->caption()));
      p.action = p.menu->menuAction();
    } else {
      const auto it = peers_.find(item->parent());
      if (it == peers_.end() || it->second.menu == nullptr) return;
      p.action = it->second.menu->addAction(qs(item->caption()));
      connect(p.action, &QAction::triggered, this, [item] { item->userClick(); });
    }
    peers_[&control] = p;
    return;
  }
  QWidget* w = nullptr;
  if (dynamic_cast<GroupBox*>(&control)) {
    w = new QGroupBox(parent);
  } else if (dynamic_cast<Panel*>(&control)) {
    w = new QFrame(parent);
  } else if (dynamic_cast<Label*>(&control)) {
    w = new QLabel(parent);
  } else if (dynamic_cast<SpeedButton*>(&control)) {
    auto* b = new QToolButton(parent);
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, [&control] { control.userClick(); });
    w = b;
  } else if (dynamic_cast<Button*>(&control)) {
    auto* b = new QPushButton(parent);
    connect(b, &QPushButton::clicked, this, [&control] { control.userClick(); });
    w = b;
  } else if (auto* spin = dynamic_cast<SpinButtons*>(&control)) {
    w = new PeerSpinButtons(*spin, parent);
  } else if (auto* combo = dynamic_cast<ComboBox*>(&control)) {
    auto* box = new QComboBox(parent);
    box->setEditable(combo->editable());
    box->setMaxVisibleItems(20);
    connect(box, &QComboBox::activated, this, [this, combo](int i) {
      if (!mirroring_) combo->userSelect(i);
    });
    if (combo->editable()) {
      connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, combo](const QString& s) {
        if (!mirroring_) combo->userSetText(s.toStdString());
      });
    }
    w = box;
  } else if (auto* list = dynamic_cast<ListBox*>(&control)) {
    auto* box = new QListWidget(parent);
    connect(box, &QListWidget::currentRowChanged, this, [this, list](int row) {
      if (!mirroring_ && row >= 0) list->userSelect(row);
    });
    w = box;
  } else if (auto* edit = dynamic_cast<Edit*>(&control)) {
    w = new PeerLineEdit(*edit, parent);
  } else if (dynamic_cast<Memo*>(&control)) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setReadOnly(true);
    w = memo;
  } else if (auto* range = dynamic_cast<RangeControl*>(&control)) {
    QAbstractSlider* slider = nullptr;
    if (dynamic_cast<TrackBar*>(&control)) {
      auto* s = new QSlider(parent);
      s->setTickPosition(QSlider::TicksBelow);
      s->setTickInterval(1);
      slider = s;
    } else {
      slider = new QScrollBar(parent);
    }
    connect(slider, &QAbstractSlider::valueChanged, this, [this, range](int v) {
      if (!mirroring_) range->userSetPosition(v);
    });
    w = slider;
  } else if (dynamic_cast<ProgressBar*>(&control)) {
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 100);
    w = bar;
  } else if (auto* status = dynamic_cast<StatusBar*>(&control)) {
    w = new PeerStatusBar(*status, parent);
  } else if (auto* image = dynamic_cast<Image*>(&control)) {
    w = new PeerImage(*image, parent);
  } else {
    w = new QWidget(parent);
  }
  w->setObjectName(qs(control.name()));
  w->setFocusPolicy(control.focusable() ? Qt::StrongFocus : Qt::NoFocus);
  p.widget = w;
  peers_[&control] = p;
  controls_[w] = &control;
}

void QtFormView::changed(Control& control, Property property) {
  const bool was = mirroring_;
  mirroring_ = true;
  apply(control, property);
  mirroring_ = was;
}

void QtFormView::applyAll(Control& control) {
  for (Property p :
       {Property::Geometry, Property::Text, Property::Color, Property::Font, Property::Hint, Property::Items,
        Property::ItemIndex, Property::Selection, Property::Range, Property::Position, Property::Lines,
        Property::Percent, Property::Panels, Property::Picture, Property::Enabled, Property::Visible}) {
    apply(control, p);
  }
}

void QtFormView::applyFormGeometry() {
  if (main_ != nullptr) {
    const QSize size(form_.width() - kFrameWidth, form_.height() - kFrameHeight);
    client_->setFixedSize(size);
    main_->setFixedSize(size.width(), size.height() + main_->menuBar()->sizeHint().height());
  } else {
    client_->setFixedSize(form_.width(), form_.height());
  }
}

void QtFormView::applyFocus() {
  Control* focused = form_.focusedControl();
  QWidget* w = focused != nullptr ? peer(*focused) : nullptr;
  const bool was = mirroring_;
  mirroring_ = true;
  if (w != nullptr) {
    w->setFocus(Qt::OtherFocusReason);
  } else if (QWidget* current = QApplication::focusWidget(); current != nullptr && controlOf(current)) {
    current->clearFocus();
  }
  mirroring_ = was;
}

void QtFormView::applyAccessibleName(Control& control) {
  QWidget* w = peer(control);
  if (w == nullptr) return;
  const std::string& name = !control.caption().empty() ? control.caption()
                            : !control.hint().empty()  ? control.hint()
                                                       : control.name();
  w->setAccessibleName(qs(name));
}

void QtFormView::applyColors(Control& control, QWidget* w) {
  QPalette pal = w->palette();
  const QColor back = qc(control.color());
  const QColor ink = qc(control.fontColor());
  const bool fieldDefault = control.color() == colors::kButtonFace;  // fields are white unless coloured
  if (dynamic_cast<Button*>(&control)) {
    pal.setColor(QPalette::Button, back);
    pal.setColor(QPalette::ButtonText, ink);
  } else if (dynamic_cast<Edit*>(&control) || dynamic_cast<ListControl*>(&control) ||
             dynamic_cast<Memo*>(&control)) {
    if (!fieldDefault) pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Text, ink);
    pal.setColor(QPalette::ButtonText, ink);
  } else if (dynamic_cast<Label*>(&control)) {
    pal.setColor(QPalette::WindowText, ink);
    const Control* under = control.parent();
    const bool own = under != nullptr && under->color() != control.color();
    pal.setColor(QPalette::Window, back);
    w->setAutoFillBackground(own);
  } else if (dynamic_cast<Image*>(&control) || dynamic_cast<ProgressBar*>(&control)) {
    return;
  } else {
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::WindowText, ink);
    w->setAutoFillBackground(true);
  }
  w->setPalette(pal);
}

void QtFormView::apply(Control& control, Property property) {
  if (&control == &form_) {
    switch (property) {
      case Property::Text:
        window()->setWindowTitle(qs(form_.caption()));
        break;
      case Property::Geometry:
        applyFormGeometry();
        break;
      case Property::Visible:
        if (main_ != nullptr) main_->setVisible(form_.visible());
        break;
      case Property::Enabled:
        window()->setEnabled(form_.enabled());
        break;
      case Property::Color:
      case Property::Font:
        applyColors(form_, client_);
        client_->setFont(qtFont(form_.font()));
        break;
      case Property::Focus:
        applyFocus();
        break;
      default:
        break;
    }
    return;
  }
  const auto it = peers_.find(&control);
  if (it == peers_.end()) return;
  const Peer& p = it->second;
  if (p.action != nullptr) {
    switch (property) {
      case Property::Text:
        p.action->setText(qs(control.caption()));
        break;
      case Property::Visible:
        p.action->setVisible(control.visible());
        break;
      case Property::Enabled:
        if (p.menu != nullptr) p.menu->setEnabled(control.enabled());
        p.action->setEnabled(control.enabled());
        break;
      default:
        break;
    }
    return;
  }
  QWidget* w = p.widget;
  switch (property) {
    case Property::Visible:
      w->setVisible(control.visible());
      break;
    case Property::Enabled:
      w->setEnabled(control.enabled());
      break;
    case Property::Geometry:
      w->setGeometry(control.left(), control.top(), control.width(), control.height());
      if (auto* range = dynamic_cast<RangeControl*>(&control)) {
        auto* slider = static_cast<QAbstractSlider*>(w);
        slider->setOrientation(qtOrientation(*range));
        // The system's vertical bars have their minimum at the top.
        if (dynamic_cast<QSlider*>(w))
          slider->setInvertedAppearance(range->orientation() == Orientation::Vertical);
      }
      if (auto* status = dynamic_cast<PeerStatusBar*>(w)) status->showPanels();
      break;
    case Property::Text:
      if (auto* box = dynamic_cast<QGroupBox*>(w)) {
        box->setTitle(qs(control.caption()));
      } else if (auto* label = dynamic_cast<QLabel*>(w)) {
        label->setText(qs(control.caption()));
      } else if (auto* button = dynamic_cast<QAbstractButton*>(w)) {
        // A carriage return in a caption breaks it onto a second line ("Broadcast\rMode").
        button->setText(qs(control.caption()).replace(QChar('\r'), QChar('\n')));
      } else if (auto* edit = dynamic_cast<PeerLineEdit*>(w)) {
        edit->showState();
      } else if (auto* combo = dynamic_cast<QComboBox*>(w); combo && combo->isEditable()) {
        if (combo->currentText() != qs(control.text())) combo->setEditText(qs(control.text()));
      }
      applyAccessibleName(control);
      break;
    case Property::Color:
    case Property::Font:
      applyColors(control, w);
      w->setFont(qtFont(control.font()));
      break;
    case Property::Hint:
      w->setToolTip(qs(control.hint()));
      applyAccessibleName(control);
      break;
    case Property::Items:
    case Property::ItemIndex: {
      auto* list = dynamic_cast<ListControl*>(&control);
      if (list == nullptr) break;
      if (auto* combo = dynamic_cast<QComboBox*>(w)) {
        if (property == Property::Items) {
          combo->clear();
          combo->addItems(itemList(*list));
        }
        combo->setCurrentIndex(list->itemIndex());
        if (combo->isEditable() && list->itemIndex() < 0) combo->setEditText(qs(control.text()));
      } else if (auto* box = dynamic_cast<QListWidget*>(w)) {
        if (property == Property::Items) {
          box->clear();
          box->addItems(itemList(*list));
        }
        box->setCurrentRow(list->itemIndex());
      }
      break;
    }
    case Property::Selection:
    case Property::ReadOnly:
    case Property::MaxLength:
      if (auto* edit = dynamic_cast<PeerLineEdit*>(w)) edit->showState();
      break;
    case Property::Range:
    case Property::Position:
      if (auto* range = dynamic_cast<RangeControl*>(&control)) {
        auto* slider = static_cast<QAbstractSlider*>(w);
        slider->setRange(range->min(), range->max());
        slider->setValue(range->position());
      }
      break;
    case Property::Lines:
      if (auto* memo = dynamic_cast<Memo*>(&control)) {
        QStringList lines;
        for (const auto& line : memo->lines()) lines << qs(line);
        static_cast<QPlainTextEdit*>(w)->setPlainText(lines.join('\n'));
      }
      break;
    case Property::Percent:
      if (auto* bar = dynamic_cast<ProgressBar*>(&control))
        static_cast<QProgressBar*>(w)->setValue(bar->percent());
      break;
    case Property::Panels:
      if (auto* status = dynamic_cast<PeerStatusBar*>(w)) status->showPanels();
      break;
    case Property::Picture:
      w->update();
      break;
    case Property::Focus:
      break;
  }
}

bool QtFormView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == main_ && event->type() == QEvent::Close) {
    // Closing the window is the form's close: the program decides what happens (it ends the program).
    event->ignore();
    form_.close();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace audiodsp
