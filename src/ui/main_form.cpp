#include "ui/main_form.h"

#include "model/display_format.h"
#include "model/value_tables.h"
#include "platform/canvas.h"

namespace audiodsp {
namespace {

constexpr Color kSelected = colors::kLightYellow;
constexpr Color kIdle = colors::kLightGrey;

}  // namespace

MainForm::MainForm(FormEnvironment env)
    : loop(env.loop),
      dialogs(env.dialogs),
      ports(env.ports),
      link(env.loop, env.device),
      chain(env.loop, link, sendTable, deviceId, env.dialogs),
      dispatcher(chain, flags),
      frames(FrameContext{model, systemBlock, sendTable, [this] { return link.portOpen(); }, deviceId,
                          link.rxText(),
                          [this](int number) {
                            if (c.RzComboBox6) c.RzComboBox6->setItemIndex(number - 1);
                          }}),
      graph(env.text),
      Timer13(env.loop, "Timer13", 1000, true) {
  link.onDispatch = [this] { dispatcher.dispatch(); };
  chain.disconnect = [this] { connectCommand(); };
  chain.showProgress = [this](int percent) { c.RzProgressBar1->setPercent(percent); };
  chain.progressFinished = [this] {
    hideProgressBox();
    for (Control* box : {static_cast<Control*>(c.RzGroupBox8), static_cast<Control*>(c.GroupBox1),
                         static_cast<Control*>(c.GroupBox2), static_cast<Control*>(c.GroupBox3)})
      box->setEnabled(true);
  };
  dispatcher.handlers.applyImage = [this](const std::string& text) { applyImage(text); };
  dispatcher.handlers.lockSelectors = [this] {
    c.RzComboBox6->setEnabled(false);
    c.RzComboBox1->setEnabled(false);
  };
  dispatcher.handlers.temperature = [this](const std::string& t) { c.RzLabel29->setCaption(t); };
  dispatcher.handlers.attenuation = [this](const std::string& t) { c.RzLabel32->setCaption(t); };
  dispatcher.handlers.systemBlock = [this](uint8_t last, uint8_t b1, uint8_t b2, uint8_t threshold) {
    systemBlock.lastPreset = last;
    systemBlock.echo1 = b1;
    systemBlock.echo2 = b2;
    systemBlock.threshold = threshold;
    if (ListControl* list = dynamic_cast<ListControl*>(form.find("RzComboBox9")))
      list->setItemIndex(threshold);
  };
  Timer13.onTimer = [this] { drawLamp(); };

  buildLayout();
  hookChannelPanel();
  formCreate();
  constructParts();
}

void MainForm::formCreate() {
  // The window opens showing only the search progress box.
  for (Control* r : {static_cast<Control*>(c.GroupBox1), static_cast<Control*>(c.GroupBox2),
                     static_cast<Control*>(c.GroupBox3), static_cast<Control*>(c.FileMenu),
                     static_cast<Control*>(c.HelpMenu)})
    r->hide();
  c.RzProgressBar2->setPercent(0);
  c.RzGroupBox3->show();

  flags = ExchangeFlags{};
  broadcastOn = false;
  model = ParamModel{};  // band, crossover and output start values, BTL off, all outputs on
  sliderGuard = false;
  chain.frameProgress = FrameProgress{};
  deviceId = 0;
  displayedDeviceId = 1;
  for (int slot = 0; slot < kBandSlotCount; ++slot)
    graph.setMarker(slot, startMarker(slot % kBandsPerOutput));
  currentOutput = -1;
  currentPanel = kNoPanel;

  c.RzGroupBox1->moveTo(208, 504);
  c.RzGroupBox2->moveTo(7, 232);
  c.RzGroupBox3->moveTo(176, 232);
  c.RzGroupBox8->moveTo(7, 232);
  c.GroupBox1->moveTo(7, 98);
  c.GroupBox2->moveTo(7, 2);

  keepGraphPanel = false;
  graph.paintBackground();
  c.Image5->setPicture(graph.image());
  form.resize(750, 753);

  faderImage = std::make_shared<Bitmap>(163, 250);
  Canvas fader(*faderImage);
  fader.draw(0, 0, *pictures.faderBackground);
  fader.draw(73, 56, *pictures.faderKnob);
  c.Image2->setPicture(faderImage);
  c.GraphPanel->setDoubleBuffered(true);
  c.FaderPanel->setDoubleBuffered(true);
  lampImage = std::make_shared<Bitmap>(25, 25);
  c.Image15->setPicture(lampImage);
  midImage = std::make_shared<Bitmap>(30, 30, colors::kButtonFace);
  c.Image1->setPicture(midImage);
  showBtlPresentation(false);
  drawLamp();
}

Point MainForm::startMarker(int band) {
  static constexpr int kX[kBandsPerOutput] = {101, 177, 236, 294, 371, 429};
  return Point{kX[band], 86};
}

void MainForm::hookChannelPanel() {
  struct Sel {
    Button* button;
    int output;
    int panel;
  };
  const Sel sels[] = {
      {c.RzButton41, 0, kEqPanel},      {c.RzButton47, 1, kEqPanel},      {c.RzButton53, 2, kEqPanel},
      {c.RzButton4, 3, kEqPanel},       {c.RzButton43, 0, kLimiterPanel}, {c.RzButton49, 1, kLimiterPanel},
      {c.RzButton55, 2, kLimiterPanel}, {c.RzButton44, 0, kDelayPanel},   {c.RzButton50, 1, kDelayPanel},
      {c.RzButton56, 2, kDelayPanel},   {c.RzButton5, 3, kDelayPanel},    {c.RzButton45, 0, kGainPanel},
      {c.RzButton51, 1, kGainPanel},    {c.RzButton57, 2, kGainPanel},    {c.RzButton11, 0, kTempPanel},
  };
  for (const Sel& s : sels) s.button->onClick = [this, s] { select(s.output, s.panel); };
  for (SpeedButton* close :
       {c.SpeedButton22, c.SpeedButton17, c.SpeedButton18, c.SpeedButton21, c.SpeedButton4, c.SpeedButton1})
    close->onClick = [this] {
      keepGraphPanel = false;
      closeCurrentPanel();
    };
  c.RzButton7->onClick = [this] { btlSwitch(); };
  c.BTL1->onClick = [this] { dialogs.showModal(btlForm); };
  c.N9->onClick = [this] { dialogs.message("API for Version K_7146_6.2.8\rbuilt on 2013-12-16"); };
  c.Exit1->onClick = [this] { form.close(); };
  c.Button3->onClick = [this] { connectCommand(); };
}

Button* MainForm::panelButton(int output, int panel) const {
  switch (panel) {
    case kEqPanel: {
      Button* b[] = {c.RzButton41, c.RzButton47, c.RzButton53, c.RzButton4};
      return output >= 0 && output < 4 ? b[output] : nullptr;
    }
    case kLimiterPanel: {
      Button* b[] = {c.RzButton43, c.RzButton49, c.RzButton55};
      return output >= 0 && output < 3 ? b[output] : nullptr;
    }
    case kDelayPanel: {
      Button* b[] = {c.RzButton44, c.RzButton50, c.RzButton56, c.RzButton5};
      return output >= 0 && output < 4 ? b[output] : nullptr;
    }
    case kGainPanel: {
      Button* b[] = {c.RzButton45, c.RzButton51, c.RzButton57};
      return output >= 0 && output < 3 ? b[output] : nullptr;
    }
    case kTempPanel:
      return c.RzButton11;
    default:
      return nullptr;
  }
}

void MainForm::closeCurrentPanel() {
  Button* b = panelButton(currentOutput, currentPanel);
  switch (currentPanel) {
    case kEqPanel:
      if (!keepGraphPanel) c.RzGroupBox8->hide();
      break;
    case kLimiterPanel:
      c.RzGroupBox7->hide();
      break;
    case kDelayPanel:
      c.RzGroupBox6->hide();
      break;
    case kGainPanel:
      c.RzGroupBox5->hide();
      break;
    case kSearchResultPanel:
      c.RzGroupBox2->hide();
      break;
    case kTempPanel:
      c.RzGroupBox13->hide();
      break;
    default:
      break;
  }
  if (b) b->setColor(kIdle);
  keepGraphPanel = false;
  currentOutput = -1;
  currentPanel = kNoPanel;
}

void MainForm::select(int output, int panel) {
  static const char* kNames[4] = {"High", "Mid", "Low", "Main"};
  if (panel == kEqPanel) keepGraphPanel = true;
  if (currentPanel != panel || currentOutput != output) closeCurrentPanel();
  if (panel == kEqPanel) keepGraphPanel = false;
  currentPanel = panel;
  currentOutput = output;
  Button* pressed = panelButton(output, panel);
  if (pressed) pressed->setColor(kSelected);
  const std::string name = kNames[output];
  switch (panel) {
    case kEqPanel:
      c.RzLabel19->setCaption(name + "--EQ");
      c.RzLabel18->setCaption(name + "--H/LPF");
      break;
    case kLimiterPanel:
      c.RzLabel5->setCaption(name + "--Limiter");
      break;
    case kDelayPanel:
      // The Main delay panel has always been titled so.
      c.RzLabel4->setCaption(output == kMainOutput ? "Mian--Delay" : name + "--Delay");
      break;
    case kGainPanel:
      c.RzLabel2->setCaption(name + "--Gain");
      break;
    default:
      break;
  }
  GroupBox* box = nullptr;
  switch (panel) {
    case kEqPanel:
      c.RzGroupBox35->show();
      if (panelLoaders.eqRows) panelLoaders.eqRows(output);
      if (panelLoaders.crossover) panelLoaders.crossover(output);
      redrawOutput(output);
      box = c.RzGroupBox8;
      break;
    case kLimiterPanel:
    case kDelayPanel:
    case kGainPanel:
      if (panelLoaders.levelPanel) panelLoaders.levelPanel(panel, output);
      box = panel == kLimiterPanel ? c.RzGroupBox7 : panel == kDelayPanel ? c.RzGroupBox6 : c.RzGroupBox5;
      box->moveTo(c.GroupBox1->left() + pressed->left() + pressed->width(),
                  c.GroupBox1->top() + pressed->top() + pressed->height());
      break;
    case kTempPanel:
      c.RzGroupBox13->moveTo(7, 232);
      box = c.RzGroupBox13;
      break;
    default:
      break;
  }
  if (box) box->show();
}

void MainForm::redrawOutput(int output) {
  graph.paintBackground();
  graph.drawTotal(output);
  graph.drawMarkers(output);
  c.Image5->repaint();
}

void MainForm::btlSwitch() {
  const bool on = model.btlOn();
  if (dialogs.question("Notice", on ? "Cancel the BTL model?" : "Switch to BTL mode?", DialogIcon::Question,
                       Answer::No) != Answer::Yes)
    return;
  keepGraphPanel = false;
  closeCurrentPanel();
  model.btl = on ? 0 : 1;
  showBtlPresentation(model.btlOn());
  frames.buildMain();
}

void MainForm::showBtlPresentation(bool on) {
  for (Control* ctl : {static_cast<Control*>(c.RzButton52), static_cast<Control*>(c.RzButton51),
                       static_cast<Control*>(c.RzButton47), static_cast<Control*>(c.RzButton49),
                       static_cast<Control*>(c.RzButton50), static_cast<Control*>(c.RzButton2),
                       static_cast<Control*>(c.Image7)})
    ctl->setVisible(!on);
  Canvas icon(*midImage);
  midImage->fill(colors::kButtonFace);
  icon.draw(0, 0, on ? *pictures.btlIcon : *pictures.midIcon);
  c.Image1->repaint();
  c.RzButton7->setColor(on ? colors::kGreen : kIdle);
}

void MainForm::setExchangeLock(bool locked) {
  for (Control* ctl : {static_cast<Control*>(c.GroupBox1), static_cast<Control*>(c.GroupBox2),
                       static_cast<Control*>(c.GroupBox3), static_cast<Control*>(c.RzGroupBox4),
                       static_cast<Control*>(c.FileMenu), static_cast<Control*>(c.HelpMenu)})
    ctl->setEnabled(!locked);
}

void MainForm::showProgressBox(int left, int top, int percent) {
  c.RzGroupBox1->moveTo(left, top);
  c.RzProgressBar1->setPercent(percent);
  c.RzGroupBox1->show();
}

void MainForm::hideProgressBox() {
  c.RzGroupBox1->hide();
}

void MainForm::connectCommand() {
  if (commands.connect) commands.connect();
}

void MainForm::drawLamp() {
  Canvas lamp(*lampImage);
  lamp.draw(0, 0, portOpen() ? *pictures.lampOn : *pictures.lampOff);
  c.Image15->repaint();
}

}  // namespace audiodsp
