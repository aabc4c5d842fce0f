// ApplyImage: a group that came from outside (the device, a PC file, another device) becomes the
// editor's state. Only the controls that always show model values are set here; a panel reads the model
// afresh when it next opens.
#include "model/display_format.h"
#include "model/group_image.h"
#include "ui/main_form.h"

namespace audiodsp {

void MainForm::applyImage(const std::string& text) {
  frames.setEnabled(false);
  // The image is taken whole or not at all: a text that cannot be read leaves the editor as it was.
  if (std::optional<ParamModel> decoded = decodeImageText(text)) {
    model = *decoded;

    sliderGuard = true;
    c.TrackBar1->setPosition(model.masterVolumeSliderPosition());
    c.Label1->setCaption(formatMasterVolume(c.TrackBar1->position()));
    sliderGuard = false;

    Button* polarity[kOutputCount] = {c.RzButton1, c.RzButton2, c.RzButton3, c.RzButton6};
    for (int o = 0; o < kOutputCount; ++o) polarity[o]->setCaption(model.inverted(o) ? "-" : "+");
    Button* mute[kLevelOutputCount] = {c.RzButton46, c.RzButton52, c.RzButton58};
    for (int o = 0; o < kLevelOutputCount; ++o)
      mute[o]->setColor(model.muted(o) ? colors::kRed : colors::kLightGrey);
    // Other recoup values are the device's own business; the button keeps its colour for them.
    if (model.recoup == 0) c.RzButton98->setColor(colors::kLightGrey);
    if (model.recoup == 1) c.RzButton98->setColor(colors::kRed);
    showBtlPresentation(model.btlOn());

    for (int o = 0; o < kOutputCount; ++o) {
      currentOutput = o;
      for (int b = 0; b < kBandsPerOutput; ++b) {
        currentBandSlot = bandSlotOf(o, b);
        const EqBand& band = model.band[currentBandSlot];
        graph.bandRedraw(o, currentBandSlot, band.type, band.freq, band.gainInForce(), band.q);
      }
      const Crossover& x = model.crossover[o];
      graph.drawHighPass(o, x.hpfFreq, x.hpfSlope);
      graph.drawLowPass(o, x.lpfFreq, x.lpfSlope);
    }
  }
  sendTable.clearAll();
  link.rxText().clear();
  frames.setEnabled(true);
}

}  // namespace audiodsp
