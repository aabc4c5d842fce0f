#include "qt/qt_form_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <functional>
#include <memory>

#include "platform/bitmap.h"
#include "platform/controls.h"
#include "qt/qt_peers.h"
#include "qt_app.h"

namespace audiodsp {
namespace {

// A small window with one control of every kind.
struct Window {
  Window() {
    form.setBounds(0, 0, 400, 339);
    box = &form.add<GroupBox>("Box");
    box->setBounds(5, 5, 300, 200);
    label = &form.add<Label>("Lbl", box);
    button = &form.add<Button>("Btn", box);
    edit = &form.add<Edit>("Ed", box);
    combo = &form.add<ComboBox>("Cb", box);
    list = &form.add<ListBox>("Lb");
    track = &form.add<TrackBar>("Tb");
    scroll = &form.add<ScrollBar>("Sb");
    progress = &form.add<ProgressBar>("Pb");
    status = &form.add<StatusBar>("St");
    image = &form.add<Image>("Img");
    memo = &form.add<Memo>("Memo");
    menu = &form.add<MenuItem>("FileMenu");
    menu->setCaption("File");
    exit = &form.add<MenuItem>("Exit1", menu);
    exit->setCaption("Exit");
    for (Control* c : form.controls()) {
      if (c != box && c != menu && c != exit) c->setBounds(10, 20, 80, 21);
    }
    status->addPanel(120, "Disconnect");
    view = std::make_unique<QtFormView>(form);
  }
  template <class W>
  W* peer(const Control& c) const {
    return dynamic_cast<W*>(view->peer(c));
  }

  Form form{"TTest", "Audio "};
  GroupBox* box;
  Label* label;
  Button* button;
  Edit* edit;
  ComboBox* combo;
  ListBox* list;
  TrackBar* track;
  ScrollBar* scroll;
  ProgressBar* progress;
  StatusBar* status;
  Image* image;
  Memo* memo;
  MenuItem* menu;
  MenuItem* exit;
  std::unique_ptr<QtFormView> view;
};

class QtFormViewTest : public ::testing::Test {
 protected:
  // The application must exist before the window's widgets: ctest runs each test in a process of its own.
  QApplication& app = test::qtApp();
  Window w;
};

TEST_F(QtFormViewTest, WindowHasCaptionClientSizeMenusAndParentsAsTheControls) {
  QMainWindow* main = w.view->mainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->windowTitle(), "Audio ");
  EXPECT_EQ(main->centralWidget()->size(),
            QSize(400 - QtFormView::kFrameWidth, 339 - QtFormView::kFrameHeight));
  const auto menus = main->menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), "File");
  ASSERT_EQ(menus[0]->menu()->actions().size(), 1);
  EXPECT_EQ(menus[0]->menu()->actions()[0]->text(), "Exit");
  EXPECT_EQ(w.view->peer(*w.edit)->parentWidget(), w.view->peer(*w.box));
  EXPECT_EQ(w.view->peer(*w.list)->parentWidget(), main->centralWidget());
  EXPECT_EQ(w.view->peer(*w.edit)->geometry(), QRect(10, 20, 80, 21));
}

// Each case changes one property of one control and reads it back off the peer.
struct MirrorCase {
  const char* what;
  std::function<void(Window&)> change;
  std::function<bool(Window&)> shown;
};

TEST_F(QtFormViewTest, PeersMirrorEveryPropertyChange) {
  auto bits = std::make_shared<Bitmap>(4, 3, colors::kRed);
  const MirrorCase cases[] = {
      {"box caption", [](Window& x) { x.box->setCaption("search result :"); },
       [](Window& x) { return x.peer<QGroupBox>(*x.box)->title() == "search result :"; }},
      {"label caption", [](Window& x) { x.label->setCaption("32 °C"); },
       [](Window& x) { return x.peer<QLabel>(*x.label)->text() == QString::fromUtf8("32 °C"); }},
      {"button caption and accessible name", [](Window& x) { x.button->setCaption("Disconnect"); },
       [](Window& x) {
         auto* b = x.peer<QPushButton>(*x.button);
         return b->text() == "Disconnect" && b->accessibleName() == "Disconnect";
       }},
      {"nameless control is named after itself", [](Window&) {},
       [](Window& x) { return x.view->peer(*x.image)->accessibleName() == "Img"; }},
      {"button colour", [](Window& x) { x.button->setColor(colors::kLightYellow); },
       [](Window& x) {
         return x.peer<QPushButton>(*x.button)->palette().color(QPalette::Button) == QColor(255, 255, 128);
       }},
      {"label font colour", [](Window& x) { x.label->setFontColor(colors::kRed); },
       [](Window& x) {
         return x.peer<QLabel>(*x.label)->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
       }},
      {"hidden", [](Window& x) { x.button->hide(); },
       [](Window& x) { return x.view->peer(*x.button)->isHidden(); }},
      {"disabled box", [](Window& x) { x.box->setEnabled(false); },
       [](Window& x) { return !x.view->peer(*x.box)->isEnabled() && !x.view->peer(*x.edit)->isEnabled(); }},
      {"geometry", [](Window& x) { x.track->setBounds(7, 8, 150, 30); },
       [](Window& x) { return x.view->peer(*x.track)->geometry() == QRect(7, 8, 150, 30); }},
      {"hint", [](Window& x) { x.edit->setHint("band 1 frequency"); },
       [](Window& x) { return x.view->peer(*x.edit)->toolTip() == "band 1 frequency"; }},
      {"edit text and selection",
       [](Window& x) {
         x.edit->setText("1250");
         x.edit->setSelection(1, 2);
       },
       [](Window& x) {
         auto* e = x.peer<QLineEdit>(*x.edit);
         return e->text() == "1250" && e->selectionStart() == 1 && e->selectedText() == "25";
       }},
      {"combo items and selection",
       [](Window& x) {
         x.combo->setItems({"COM1", "COM3"});
         x.combo->setItemIndex(1);
       },
       [](Window& x) {
         auto* c = x.peer<QComboBox>(*x.combo);
         return c->count() == 2 && c->itemText(0) == "COM1" && c->currentIndex() == 1;
       }},
      {"list items and selection",
       [](Window& x) {
         x.list->setItems({"a", "b", "c"});
         x.list->setItemIndex(2);
       },
       [](Window& x) {
         auto* l = x.peer<QListWidget>(*x.list);
         return l->count() == 3 && l->currentRow() == 2;
       }},
      {"track bar range, position, vertical",
       [](Window& x) {
         x.track->setRange(0, 60);
         x.track->setPosition(42);
         x.track->setOrientation(Orientation::Vertical);
       },
       [](Window& x) {
         auto* s = x.peer<QSlider>(*x.track);
         return s->minimum() == 0 && s->maximum() == 60 && s->value() == 42 &&
                s->orientation() == Qt::Vertical && s->invertedAppearance();
       }},
      {"scroll bar position", [](Window& x) { x.scroll->setPosition(77); },
       [](Window& x) { return x.peer<QScrollBar>(*x.scroll)->value() == 77; }},
      {"progress", [](Window& x) { x.progress->setPercent(35); },
       [](Window& x) { return x.peer<QProgressBar>(*x.progress)->value() == 35; }},
      {"status panels", [](Window& x) { x.status->setPanelText(0, "Connect"); },
       [](Window& x) {
         auto* s = dynamic_cast<PeerStatusBar*>(x.view->peer(*x.status));
         return s->panelLabels().size() == 1 && s->panelLabels()[0]->text() == "Connect";
       }},
      {"memo lines",
       [](Window& x) {
         x.memo->setLines({"one", "two"});
       },
       [](Window& x) { return x.peer<QPlainTextEdit>(*x.memo)->toPlainText() == "one\ntwo"; }},
      {"menu entry caption and enabled",
       [](Window& x) {
         x.exit->setCaption("Quit");
         x.exit->setEnabled(false);
       },
       [](Window& x) {
         return x.view->action(*x.exit)->text() == "Quit" && !x.view->action(*x.exit)->isEnabled();
       }},
      {"form caption", [](Window& x) { x.form.setCaption("Audio 2"); },
       [](Window& x) { return x.view->mainWindow()->windowTitle() == "Audio 2"; }},
      {"picture shown pixel for pixel", [bits](Window& x) { x.image->setPicture(bits); },
       [](Window& x) {
         QWidget* p = x.view->peer(*x.image);
         p->resize(4, 3);
         const QImage shot = p->grab().toImage();
         return shot.pixelColor(0, 0) == QColor(255, 0, 0) && shot.pixelColor(3, 2) == QColor(255, 0, 0);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Window fresh;
    c.change(fresh);
    EXPECT_TRUE(c.shown(fresh));
  }
}

void sendKey(QWidget* w, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
}

TEST_F(QtFormViewTest, TypedKeysGoThroughTheControlsKeyFilter) {
  std::string changes;
  w.edit->onKeyPress = [](char& k) {
    if (k != kKeyBackspace && (k < '0' || k > '9')) k = 0;
  };
  w.edit->onChange = [&] { changes += w.edit->text() + ";"; };
  auto* e = w.peer<QLineEdit>(*w.edit);
  sendKey(e, Qt::Key_1, "1");
  sendKey(e, Qt::Key_A, "a");
  sendKey(e, Qt::Key_2, "2");
  sendKey(e, Qt::Key_Backspace, "\b");
  sendKey(e, Qt::Key_5, "5");
  EXPECT_EQ(w.edit->text(), "15");
  EXPECT_EQ(e->text(), "15");
  EXPECT_EQ(changes, "1;12;1;15;");
  EXPECT_EQ(w.form.focusedControl(), w.edit);
}

TEST_F(QtFormViewTest, EnterReachesTheFilterAndDeleteRemovesTheNextCharacter) {
  std::string keys;
  w.edit->onKeyPress = [&](char& k) { keys += k == kKeyEnter ? std::string("<CR>") : std::string(1, k); };
  w.edit->setText("300");
  auto* e = w.peer<QLineEdit>(*w.edit);
  sendKey(e, Qt::Key_Return, "\r");
  EXPECT_EQ(keys, "<CR>");
  EXPECT_EQ(w.edit->text(), "300");
  sendKey(e, Qt::Key_Delete, {});
  EXPECT_EQ(w.edit->text(), "00");
  EXPECT_EQ(e->text(), "00");
}

TEST_F(QtFormViewTest, UserInputOnPeersReachesTheControlsEvents) {
  std::vector<std::string> events;
  w.button->onClick = [&] { events.push_back("click"); };
  w.combo->setItems({"COM1", "COM2"});
  w.combo->onChange = [&] { events.push_back("combo " + std::to_string(w.combo->itemIndex())); };
  w.track->setRange(0, 10);
  w.track->onChange = [&] { events.push_back("track " + std::to_string(w.track->position())); };
  w.exit->onClick = [&] { events.push_back("exit"); };
  w.image->onMouseDown = [&](MouseButton b, int x, int y) {
    events.push_back("down " + std::to_string(b == MouseButton::Right) + " " + std::to_string(x) + "," +
                     std::to_string(y));
  };
  w.list->setItems({"a", "b"});
  w.list->onChange = [&] { events.push_back("list " + std::to_string(w.list->itemIndex())); };

  w.peer<QPushButton>(*w.button)->click();
  Q_EMIT w.peer<QComboBox>(*w.combo)->activated(1);
  w.peer<QSlider>(*w.track)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  w.view->action(*w.exit)->trigger();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(12, 7), QPointF(12, 7), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(w.view->peer(*w.image), &press);
  w.peer<QListWidget>(*w.list)->setCurrentRow(1);

  EXPECT_EQ(events,
            (std::vector<std::string>{"click", "combo 1", "track 1", "exit", "down 1 12,7", "list 1"}));
  EXPECT_EQ(w.combo->itemIndex(), 1);
}

TEST_F(QtFormViewTest, ChangesFromCodeAreNotReportedBackAsInput) {
  int changes = 0;
  w.combo->setItems({"x", "y"});
  w.combo->onChange = [&] { ++changes; };
  w.combo->setItemIndex(1);  // code selection never runs onChange
  w.list->setItems({"x", "y"});
  w.list->onChange = [&] { ++changes; };
  w.list->setItemIndex(1);
  EXPECT_EQ(changes, 0);
  int moves = 0;
  w.scroll->onChange = [&] { ++moves; };
  w.scroll->setPosition(30);  // one onChange, from the control itself, not a second from the peer
  EXPECT_EQ(moves, 1);
}

TEST_F(QtFormViewTest, InputOnDisabledControlsIsIgnored) {
  int clicks = 0;
  w.button->onClick = [&] { ++clicks; };
  w.box->setEnabled(false);
  w.peer<QPushButton>(*w.button)->click();
  EXPECT_EQ(clicks, 0);
  w.box->setEnabled(true);
  w.peer<QPushButton>(*w.button)->click();
  EXPECT_EQ(clicks, 1);
}

TEST_F(QtFormViewTest, ClosingTheWindowIsTheFormsClose) {
  int closes = 0;
  w.form.onClose = [&] { ++closes; };
  w.view->mainWindow()->show();
  w.view->mainWindow()->close();
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(w.form.visible());
  EXPECT_FALSE(w.view->mainWindow()->isVisible());
}

}  // namespace
}  // namespace audiodsp
