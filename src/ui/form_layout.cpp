// The static layout of the main window: regions, the channel panel, the pop-up panel boxes, menus and
// the status bar. Positions that the program sets at creation are those of FormCreate; the rest is our
// own placement. The parts fill their boxes themselves.
#include <string>

#include "ui/main_form.h"

namespace audiodsp {
namespace {

template <class T>
T* put(Form& f, const std::string& name, Control* parent, int l, int t, int w, int h,
       const std::string& caption = {}) {
  T& c = f.add<T>(name, parent);
  c.setBounds(l, t, w, h);
  if (!caption.empty()) c.setCaption(caption);
  return &c;
}

// One button of the channel panel: idle grey, as every selection button.
Button* rowButton(Form& f, const std::string& name, Control* row, int l, int t, int w,
                  const std::string& caption) {
  Button* b = put<Button>(f, name, row, l, t, w, 24, caption);
  b->setColor(colors::kLightGrey);
  return b;
}

}  // namespace

void MainForm::buildLayout() {
  Form& f = form;
  f.setBounds(0, 0, 1815, 753);  // design-time width; creation shrinks it

  // ---- device bar
  c.GroupBox2 = put<GroupBox>(f, "GroupBox2", nullptr, 7, 2, 600, 95);
  put<Label>(f, "Label2", c.GroupBox2, 8, 14, 36, 16, "COM :");
  c.RzComboBox1 = put<ComboBox>(f, "RzComboBox1", c.GroupBox2, 48, 10, 84, 21);
  c.RzComboBox7 = put<ComboBox>(f, "RzComboBox7", c.GroupBox2, 0, 0, 0, 0);
  c.RzComboBox7->hide();
  c.RzComboBox8 = put<ComboBox>(f, "RzComboBox8", c.GroupBox2, 0, 0, 0, 0);
  c.RzComboBox8->hide();
  c.Image15 = put<Image>(f, "Image15", c.GroupBox2, 12, 54, 25, 25);
  c.Button3 = put<Button>(f, "Button3", c.GroupBox2, 48, 55, 84, 25, "Disconnect");
  c.RzGroupBox9 = put<GroupBox>(f, "RzGroupBox9", c.GroupBox2, 140, 4, 126, 40);
  c.RzLabel10 = put<Label>(f, "RzLabel10", c.RzGroupBox9, 6, 14, 60, 16, "Device ID:");
  c.RzComboBox6 = put<ComboBox>(f, "RzComboBox6", c.RzGroupBox9, 68, 10, 52, 21);
  c.RzGroupBox10 = put<GroupBox>(f, "RzGroupBox10", c.GroupBox2, 138, 46, 72, 46);
  c.RzGroupBox15 = put<GroupBox>(f, "RzGroupBox15", c.GroupBox2, 272, 4, 118, 88, "Set device id :");
  c.RzGroupBox4 = put<GroupBox>(f, "RzGroupBox4", c.GroupBox2, 396, 4, 200, 88);

  // ---- side buttons (the parts add theirs above the status box)
  c.GroupBox3 = put<GroupBox>(f, "GroupBox3", nullptr, 611, 2, 122, 228);
  GroupBox* status = put<GroupBox>(f, "GroupBox4", c.GroupBox3, 4, 164, 114, 60);
  put<Label>(f, "RzLabel28", status, 4, 8, 40, 16, "Temp:");
  c.RzLabel29 = put<Label>(f, "RzLabel29", status, 46, 8, 64, 16);
  put<Label>(f, "RzLabel31", status, 4, 30, 84, 16, "Attenuation dB :");
  c.RzLabel32 = put<Label>(f, "RzLabel32", status, 86, 30, 28, 16);

  // ---- channel panel: rows Main, High, Mid, Low
  c.GroupBox1 = put<GroupBox>(f, "GroupBox1", nullptr, 7, 98, 600, 132);
  GroupBox* g = c.GroupBox1;
  const int rowTop[4] = {6, 37, 68, 99};  // Main, High, Mid, Low
  put<Label>(f, "RzLabel11", g, 4, rowTop[0] + 4, 40, 16, " Main ");
  put<Label>(f, "RzLabel12", g, 4, rowTop[1] + 4, 40, 16, " High ");
  put<Label>(f, "RzLabel13", g, 4, rowTop[2] + 4, 40, 16, " Mid   ");
  put<Label>(f, "RzLabel14", g, 4, rowTop[3] + 4, 40, 16, " Low ");
  c.Image12 = put<Image>(f, "Image12", g, 48, rowTop[0] - 2, 30, 28);
  c.Image38 = put<Image>(f, "Image38", g, 48, rowTop[1] - 2, 30, 28);
  c.Image1 = put<Image>(f, "Image1", g, 48, rowTop[2] - 2, 30, 30);
  c.Image4 = put<Image>(f, "Image4", g, 48, rowTop[3] - 2, 30, 28);
  c.Image16 = put<Image>(f, "Image16", g, 4, rowTop[0] + 28, 590, 1);
  c.Image6 = put<Image>(f, "Image6", g, 4, rowTop[1] + 28, 590, 1);
  c.Image7 = put<Image>(f, "Image7", g, 4, rowTop[2] + 28, 590, 1);
  c.Image8 = put<Image>(f, "Image8", g, 4, rowTop[3] + 28, 590, 1);

  c.RzButton4 = rowButton(f, "RzButton4", g, 84, rowTop[0], 76, "Main EQ");
  c.RzButton5 = rowButton(f, "RzButton5", g, 164, rowTop[0], 76, "Main delay");
  c.RzButton6 = rowButton(f, "RzButton6", g, 244, rowTop[0], 28, "+");
  put<Label>(f, "RzLabel15", g, 280, rowTop[0] + 4, 44, 16, "Volume");
  c.TrackBar1 = put<TrackBar>(f, "TrackBar1", g, 326, rowTop[0] - 2, 200, 28);
  c.TrackBar1->setRange(0, 301);
  c.Label1 = put<Label>(f, "Label1", g, 530, rowTop[0] + 4, 64, 16, "Mute");

  struct Row {
    Button** mute;
    Button** gain;
    Button** eq;
    Button** limiter;
    Button** delay;
    Button** polarity;
    Button** extra;
    const char* names[7];
    const char* extraCaption;
  };
  Row rows[3] = {
      {&c.RzButton46,
       &c.RzButton45,
       &c.RzButton41,
       &c.RzButton43,
       &c.RzButton44,
       &c.RzButton1,
       &c.RzButton11,
       {"RzButton46", "RzButton45", "RzButton41", "RzButton43", "RzButton44", "RzButton1", "RzButton11"},
       "Temp set"},
      {&c.RzButton52,
       &c.RzButton51,
       &c.RzButton47,
       &c.RzButton49,
       &c.RzButton50,
       &c.RzButton2,
       &c.RzButton7,
       {"RzButton52", "RzButton51", "RzButton47", "RzButton49", "RzButton50", "RzButton2", "RzButton7"},
       "BTL Mode"},
      {&c.RzButton58,
       &c.RzButton57,
       &c.RzButton53,
       &c.RzButton55,
       &c.RzButton56,
       &c.RzButton3,
       &c.RzButton98,
       {"RzButton58", "RzButton57", "RzButton53", "RzButton55", "RzButton56", "RzButton3", "RzButton98"},
       "recoup"},
  };
  for (int r = 0; r < 3; ++r) {
    const int top = rowTop[r + 1];
    Row& row = rows[r];
    *row.mute = rowButton(f, row.names[0], g, 84, top, 56, "Mute");
    *row.gain = rowButton(f, row.names[1], g, 144, top, 56, "Gain");
    *row.eq = rowButton(f, row.names[2], g, 204, top, 80, "EQ/HPF/LPF");
    *row.limiter = rowButton(f, row.names[3], g, 288, top, 64, "Limiter");
    *row.delay = rowButton(f, row.names[4], g, 356, top, 56, "Delay");
    *row.polarity = rowButton(f, row.names[5], g, 416, top, 28, "+");
    *row.extra = rowButton(f, row.names[6], g, 452, top, 84, row.extraCaption);
  }
  c.RzButton7->setHint("可在帮助里查看成BTL图例");

  // ---- editor area: EQ/HPF/LPF panel with the graph
  c.RzGroupBox8 = put<GroupBox>(f, "RzGroupBox8", nullptr, 1000, 232, 727, 445);
  c.RzLabel19 = put<Label>(f, "RzLabel19", c.RzGroupBox8, 10, 4, 120, 16, "High--EQ");
  c.RzLabel18 = put<Label>(f, "RzLabel18", c.RzGroupBox8, 440, 4, 120, 16, "High--H/LPF");
  c.SpeedButton22 = put<SpeedButton>(f, "SpeedButton22", c.RzGroupBox8, 704, 2, 18, 18, "x");
  c.RzGroupBox36 = put<GroupBox>(f, "RzGroupBox36", c.RzGroupBox8, 4, 22, 430, 166);
  c.RzGroupBox35 = put<GroupBox>(f, "RzGroupBox35", c.RzGroupBox8, 438, 22, 284, 166);
  c.GraphPanel = put<Panel>(f, "Panel1", c.RzGroupBox8, 3, 192, 720, 249);
  c.Image5 = put<Image>(f, "Image5", c.GraphPanel, 0, 0, 720, 249);

  // ---- search result box, temperature panel, progress boxes, initial data box
  c.RzGroupBox2 = put<GroupBox>(f, "RzGroupBox2", nullptr, 1000, 232, 600, 160);
  c.SpeedButton1 = put<SpeedButton>(f, "SpeedButton1", c.RzGroupBox2, 578, 2, 18, 18, "x");
  c.RzGroupBox13 = put<GroupBox>(f, "RzGroupBox13", nullptr, 1000, 232, 260, 90);
  c.SpeedButton4 = put<SpeedButton>(f, "SpeedButton4", c.RzGroupBox13, 238, 2, 18, 18, "x");
  c.RzGroupBox3 =
      put<GroupBox>(f, "RzGroupBox3", nullptr, 1000, 232, 400, 80, "Checking available device ID");
  c.RzProgressBar2 = put<ProgressBar>(f, "RzProgressBar2", c.RzGroupBox3, 12, 34, 376, 22);
  c.RzGroupBox1 =
      put<GroupBox>(f, "RzGroupBox1", nullptr, 1000, 504, 330, 70, "Please wait,doing data exchange.");
  c.RzProgressBar1 = put<ProgressBar>(f, "RzProgressBar1", c.RzGroupBox1, 12, 30, 306, 22);
  c.RzGroupBox1->hide();
  c.RzGroupBox16 = put<GroupBox>(f, "RzGroupBox16", nullptr, 1000, 232, 330, 200);
  c.RzGroupBox16->hide();

  // ---- pop-up panels: gain (with the fader), delay, limiter
  c.RzGroupBox5 = put<GroupBox>(f, "RzGroupBox5", nullptr, 1000, 0, 200, 300);
  c.RzLabel2 = put<Label>(f, "RzLabel2", c.RzGroupBox5, 8, 4, 120, 16, "High--Gain");
  c.SpeedButton17 = put<SpeedButton>(f, "SpeedButton17", c.RzGroupBox5, 178, 2, 18, 18, "x");
  c.FaderPanel = put<Panel>(f, "Panel2", c.RzGroupBox5, 4, 22, 163, 250);
  c.Image2 = put<Image>(f, "Image2", c.FaderPanel, 0, 0, 163, 250);
  c.RzGroupBox6 = put<GroupBox>(f, "RzGroupBox6", nullptr, 1000, 0, 300, 130);
  c.RzLabel4 = put<Label>(f, "RzLabel4", c.RzGroupBox6, 8, 4, 120, 16, "High--Delay");
  c.SpeedButton18 = put<SpeedButton>(f, "SpeedButton18", c.RzGroupBox6, 278, 2, 18, 18, "x");
  c.RzGroupBox7 = put<GroupBox>(f, "RzGroupBox7", nullptr, 1000, 0, 240, 140);
  c.RzLabel5 = put<Label>(f, "RzLabel5", c.RzGroupBox7, 8, 4, 120, 16, "High--Limiter");
  c.SpeedButton21 = put<SpeedButton>(f, "SpeedButton21", c.RzGroupBox7, 218, 2, 18, 18, "x");
  for (GroupBox* popup :
       {c.RzGroupBox5, c.RzGroupBox6, c.RzGroupBox7, c.RzGroupBox8, c.RzGroupBox2, c.RzGroupBox13})
    popup->hide();

  // ---- menus and status bar
  c.FileMenu = put<MenuItem>(f, "File1", nullptr, 0, 0, 0, 0, "File");
  c.Exit1 = put<MenuItem>(f, "Exit1", c.FileMenu, 0, 0, 0, 0, "Exit");
  c.HelpMenu = put<MenuItem>(f, "Help1", nullptr, 0, 0, 0, 0, "Help");
  c.BTL1 = put<MenuItem>(f, "BTL1", c.HelpMenu, 0, 0, 0, 0, "About BTL");
  c.N9 = put<MenuItem>(f, "N9", c.HelpMenu, 0, 0, 0, 0, "Version");
  c.StatusBar1 = put<StatusBar>(f, "StatusBar1", nullptr, 0, 695, 742, 19);
  c.StatusBar1->addPanel(200, "Disconnect");

  // ---- the "BTL Mode" dialog
  btlForm.setBounds(0, 0, 722, 158);
  c.TForm4Image = put<Image>(btlForm, "Image1", nullptr, 0, 0, 713, 157);
  c.TForm4Image->setPicture(pictures.btlWiring);
}

}  // namespace audiodsp
