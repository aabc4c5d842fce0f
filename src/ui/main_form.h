#pragma once
// The main window TForm1 and everything it owns: the link, the send chain and reply dispatcher, the
// parameter model with its frames, the response graph, the selection state of the channel panel, and
// the parts of the window that live in their own files (connection control, device addressing and
// search, the editors, presets and PC files). There are no globals: a test builds a fresh MainForm on a
// virtual loop with scripted dialogs and a simulated line, and drives it through its controls.
//
// Every part is constructed after the layout, creates the controls inside its own boxes, hooks the
// events of the controls it owns, and reaches the rest of the window through this object.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graph/response_graph.h"
#include "link/serial_link.h"
#include "model/param_frames.h"
#include "model/param_model.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/event_loop.h"
#include "platform/timer.h"
#include "protocol/reply_dispatcher.h"
#include "protocol/send_chain.h"
#include "protocol/send_table.h"
#include "ui/form_pictures.h"
#include "ui/numeric_field.h"
#include "ui/port_source.h"

namespace audiodsp {

// A part of the window that lives in its own files (connection control, addressing, editors, presets
// and files). Parts are made by constructParts(); they reach each other through the form.
class FormPart {
 public:
  virtual ~FormPart() = default;
};

// The panels of the editor area, the values of `CurrentPanel`.
enum PanelId : int {
  kNoPanel = -1,
  kEqPanel = 0,
  kLimiterPanel = 1,
  kDelayPanel = 2,
  kGainPanel = 3,
  kSearchResultPanel = 4,
  kTempPanel = 6,
};

// The controls the layout creates, by their names on the form.
struct FormControls {
  // regions
  GroupBox* GroupBox1;    // channel panel
  GroupBox* GroupBox2;    // device bar
  GroupBox* GroupBox3;    // side buttons
  GroupBox* RzGroupBox1;  // ProgressBox "Please wait,doing data exchange."
  ProgressBar* RzProgressBar1;
  GroupBox* RzGroupBox2;  // search result box
  GroupBox* RzGroupBox3;  // "Checking available device ID"
  ProgressBar* RzProgressBar2;
  GroupBox* RzGroupBox4;   // presets
  GroupBox* RzGroupBox5;   // gain pop-up
  GroupBox* RzGroupBox6;   // delay pop-up
  GroupBox* RzGroupBox7;   // limiter pop-up
  GroupBox* RzGroupBox8;   // EQ/HPF/LPF panel
  GroupBox* RzGroupBox13;  // temperature panel
  GroupBox* RzGroupBox16;  // initial data box
  GroupBox* RzGroupBox35;  // crossover group inside the EQ panel
  GroupBox* RzGroupBox36;  // EQ table inside the EQ panel
  Panel* GraphPanel;       // double-buffered panel that holds Image5
  Image* Image5;           // the response graph
  Panel* FaderPanel;       // double-buffered panel that holds Image2
  Image* Image2;           // the gain fader
  // device bar
  ComboBox* RzComboBox1;  // port list
  ComboBox* RzComboBox6;  // device list
  ComboBox* RzComboBox7;  // hidden: port check while disconnected
  ComboBox* RzComboBox8;  // hidden: port check while connected
  Label* RzLabel10;       // "Device ID:"
  GroupBox* RzGroupBox9;
  GroupBox* RzGroupBox10;
  GroupBox* RzGroupBox15;  // "Set device id :"
  Button* Button3;         // connect/disconnect
  Image* Image15;          // connection lamp
  // side buttons: status box readouts
  Label* RzLabel29;  // temperature, beside "Temp:"
  Label* RzLabel32;  // attenuation, beside "Attenuation dB :"
  // channel panel rows
  Button* RzButton4;
  Button* RzButton5;
  Button* RzButton6;  // Main EQ, Main delay, Main polarity
  TrackBar* TrackBar1;
  Label* Label1;  // master volume and its level
  Button* RzButton46;
  Button* RzButton45;
  Button* RzButton41;
  Button* RzButton43;
  Button* RzButton44;
  Button* RzButton1;
  Button* RzButton11;  // High row, "Temp set"
  Button* RzButton52;
  Button* RzButton51;
  Button* RzButton47;
  Button* RzButton49;
  Button* RzButton50;
  Button* RzButton2;
  Button* RzButton7;  // Mid row, "BTL Mode"
  Button* RzButton58;
  Button* RzButton57;
  Button* RzButton53;
  Button* RzButton55;
  Button* RzButton56;
  Button* RzButton3;
  Button* RzButton98;  // Low row, "recoup"
  Image* Image12;
  Image* Image38;
  Image* Image1;
  Image* Image4;  // row icons Main, High, Mid, Low
  Image* Image16;
  Image* Image6;
  Image* Image7;
  Image* Image8;  // row lines
  // panel titles
  Label* RzLabel19;  // "High--EQ"
  Label* RzLabel18;  // "High--H/LPF"
  Label* RzLabel5;   // limiter title
  Label* RzLabel4;   // delay title
  Label* RzLabel2;   // gain title
  // close glyphs
  SpeedButton* SpeedButton22;
  SpeedButton* SpeedButton17;
  SpeedButton* SpeedButton18;
  SpeedButton* SpeedButton21;
  SpeedButton* SpeedButton4;
  SpeedButton* SpeedButton1;
  // menus and status bar
  MenuItem* FileMenu;
  MenuItem* Exit1;
  MenuItem* HelpMenu;
  MenuItem* BTL1;
  MenuItem* N9;
  StatusBar* StatusBar1;
  // the BTL picture dialog
  Image* TForm4Image;
};

// What the window is built on: the loop, the dialogs, the serial backend and the source of port names.
struct FormEnvironment {
  EventLoop& loop;
  Dialogs& dialogs;
  SerialDevice& device;  // the default backend (termios); other paths may be routed on `link`
  PortSource& ports;
  const TextRenderer* text = nullptr;  // font for the canvases; the built-in one when null
};

class MainForm {
 public:
  explicit MainForm(FormEnvironment env);
  ~MainForm();
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  EventLoop& loop;
  Dialogs& dialogs;
  PortSource& ports;

  Form form{"TForm1", "Audio "};
  Form btlForm{"TForm4", "BTL Mode"};  // the "About BTL" picture dialog

  // ---- link and protocol
  uint8_t deviceId = 0;       // wire address of every frame; 0xFF in broadcast mode
  int displayedDeviceId = 1;  // the device number the operator sees, 1..255
  bool broadcastOn = false;
  SerialLink link;
  SendTable sendTable;
  SendChain chain;
  ExchangeFlags flags;
  ReplyDispatcher dispatcher;

  // ---- model
  ParamModel model;
  SystemBlock systemBlock;
  ParamFrames frames;
  ResponseGraph graph;
  FormPictures pictures;
  bool sliderGuard = false;     // SliderGuard: the master volume slider is being set from code
  int currentBandSlot = 0;      // CurrentBandSlot
  FieldSnapshot fieldSnapshot;  // PrevText and SnapshotArmed of every committing numeric field

  // ---- selection (channel panel)
  int currentOutput = -1;       // CurrentOutput
  int currentPanel = kNoPanel;  // CurrentPanel
  bool keepGraphPanel = false;  // KeepGraphPanel

  // ---- operations shared by the parts
  // Close current panel; callers that are not a selection clear keepGraphPanel first.
  void closeCurrentPanel();
  // The common frame of every selection handler: output o, panel p.
  void select(int output, int panel);
  // The BTL presentation for the model's BtlMode, without closing the open panel.
  void showBtlPresentation(bool on);
  // Decodes a group frame text into the editor (ApplyImage).
  void applyImage(const std::string& text);
  // ExchangeLock: GroupBox1, GroupBox2, GroupBox3, RzGroupBox4 and the two menus.
  void setExchangeLock(bool locked);
  // ProgressBox: RzGroupBox1 with RzProgressBar1 at the given place.
  void showProgressBox(int left, int top, int percent = 0);
  void hideProgressBox();
  // The message-processing wait.
  void waitProcessingMessages(uint32_t ms) { loop.wait(ms); }
  // The connect/disconnect command (Button3Click); the connection control installs it.
  void connectCommand();
  // Background paint, the output's total curve and its markers on Image5.
  void redrawOutput(int output);
  // Where a band's marker stands before any image is read.
  static Point startMarker(int band);
  // The selection button of (output, panel), or null.
  Button* panelButton(int output, int panel) const;

  // What the parts plug into the shell.
  struct PanelLoaders {
    std::function<void(int output)> eqRows;                 // the six EQ rows show the output's bands
    std::function<void(int output)> crossover;              // HPF/LPF fields and slope lists of the output
    std::function<void(int panel, int output)> levelPanel;  // limiter, delay or gain panel load
  } panelLoaders;
  struct Commands {
    std::function<void()> connect;  // Button3Click
  } commands;
  bool portOpen() const { return link.portOpen(); }

  // ---- the parts
  std::vector<std::unique_ptr<FormPart>> parts;
  // The part of type T, or null when the window has none.
  template <class T>
  T* part() const {
    for (const auto& p : parts)
      if (T* t = dynamic_cast<T*>(p.get())) return t;
    return nullptr;
  }

  // ---- timers of the window itself
  Timer Timer13;  // connection lamp, 1000 ms

  // ---- controls of the layout (the named controls several parts use)
  FormControls c{};

  // Shorthand for the form's controls by name.
  template <class T>
  T& get(const std::string& name) const {
    return form.get<T>(name);
  }

 private:
  void formCreate();
  void constructParts();  // in form_parts.cpp, the one place that knows every part
  void buildLayout();
  void hookChannelPanel();
  void btlSwitch();
  void drawLamp();
  std::shared_ptr<Bitmap> faderImage;  // Image2's picture
  std::shared_ptr<Bitmap> lampImage;   // Image15's picture
  std::shared_ptr<Bitmap> midImage;    // Image1's picture
};

}  // namespace audiodsp
