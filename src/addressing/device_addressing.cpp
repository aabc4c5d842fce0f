#include "addressing/device_addressing.h"

#include <charconv>
#include <string>

#include "protocol/frame_codec.h"
#include "protocol/timer_map.h"

namespace audiodsp {
namespace {

constexpr int kDeviceCount = 255;

}  // namespace

DeviceAddressing::DeviceAddressing(MainForm& form)
    : RzEdit2(&form.form.add<Edit>("RzEdit2", form.c.RzGroupBox15)),
      Button1(&form.form.add<Button>("Button1", form.c.RzGroupBox15)),
      RzButton8(&form.form.add<Button>("RzButton8", form.c.RzGroupBox10)),
      Timer2(makeTimer(form.loop, timers::Timer2)),
      form_(form) {
  FormControls& c = form.c;
  std::vector<std::string> numbers;
  for (int n = 1; n <= kDeviceCount; ++n) numbers.push_back(std::to_string(n));
  c.RzComboBox6->setItems(std::move(numbers));
  c.RzComboBox6->setItemIndex(0);
  c.RzComboBox6->onChange = [this] { selectTarget(form_.c.RzComboBox6->itemIndex()); };

  RzEdit2->setBounds(10, 24, 60, 21);
  RzEdit2->setText("1");
  RzEdit2->onKeyPress = [this](char& key) {
    if (key == kKeyEnter) {
      key = 0;
      assign();
    } else if (key != kKeyBackspace && (key < '0' || key > '9')) {
      key = 0;
    }
  };
  Button1->setBounds(10, 54, 60, 25);
  Button1->setCaption("OK");
  Button1->onClick = [this] { assign(); };

  RzButton8->setBounds(4, 6, 64, 34);
  RzButton8->setCaption("Broadcast\rMode");
  RzButton8->setColor(colors::kLightGrey);
  RzButton8->onClick = [this] { broadcastSwitch(); };

  Timer2.onTimer = [this] {
    Timer2.stop();
    form_.dialogs.message("DeviceID change to " + std::to_string(form_.displayedDeviceId));
  };
  form.dispatcher.handlers.idChangeAcknowledged = [this] { Timer2.start(); };
}

void DeviceAddressing::selectTarget(int index) {
  if (index < 0 || index >= kDeviceCount) return;
  form_.deviceId = static_cast<uint8_t>(index);
  form_.displayedDeviceId = index + 1;
  form_.systemBlock.deviceNumber = static_cast<uint8_t>(index + 1);
  RzEdit2->setText(std::to_string(form_.displayedDeviceId));
}

void DeviceAddressing::assign() {
  if (!form_.portOpen()) {
    form_.dialogs.message("Disconnect.");
    return;
  }
  const std::string& text = RzEdit2->text();
  int n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || n < 1 || n > kDeviceCount) {
    RzEdit2->setText(std::to_string(form_.displayedDeviceId));
    form_.dialogs.message("Please input 1~255 number.");
    return;
  }
  form_.flags.idChangePending = true;
  form_.displayedDeviceId = n;
  form_.systemBlock.deviceNumber = static_cast<uint8_t>(n);
  // Still addressed to the old number: that is how the device learns its new one. Afterwards the
  // target is the new number (outside broadcast mode), and the device list shows it.
  form_.frames.buildSystem();
  if (form_.deviceId != kBroadcastAddress) {
    form_.deviceId = static_cast<uint8_t>(n - 1);
    form_.c.RzComboBox6->setItemIndex(n - 1);
  }
}

void DeviceAddressing::broadcastSwitch() {
  if (form_.portOpen()) {
    form_.dialogs.message("Please disconnect.");
    return;
  }
  form_.keepGraphPanel = false;
  form_.closeCurrentPanel();
  if (!form_.broadcastOn) {
    layOutDeviceBar(true);
    form_.deviceId = kBroadcastAddress;
    form_.broadcastOn = true;
    RzButton8->setColor(colors::kGreen);
    form_.dialogs.message("The broadcast mode has been opened.");
  } else {
    layOutDeviceBar(false);
    form_.deviceId = static_cast<uint8_t>(form_.displayedDeviceId - 1);
    form_.broadcastOn = false;
    RzButton8->setColor(colors::kLightGrey);
    form_.dialogs.message("The broadcast mode is off.");
  }
}

// In broadcast mode the device bar shrinks to the port list, the connect button and the broadcast
// button; the device list, the new-ID box, the presets and the side buttons are out of reach.
void DeviceAddressing::layOutDeviceBar(bool broadcast) {
  FormControls& c = form_.c;
  c.Button3->setTop(broadcast ? 31 : 55);
  c.Image15->setTop(broadcast ? 29 : 54);
  c.GroupBox2->resize(broadcast ? 215 : 600, c.GroupBox2->height());
  c.GroupBox3->setVisible(!broadcast);
  c.RzLabel10->setVisible(!broadcast);
  c.RzComboBox6->setVisible(!broadcast);
}

}  // namespace audiodsp
