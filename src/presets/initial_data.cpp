#include "presets/initial_data.h"

#include <charconv>

#include "presets/group_file_format.h"
#include "presets/image_upload.h"
#include "protocol/frame_codec.h"
#include "protocol/timer_map.h"

namespace audiodsp {
namespace {

constexpr int kProgressLeft = 208;
constexpr int kProgressTop = 232;
constexpr int kProgressTicks = 20;
constexpr uint32_t kFromFilePauseMs = 100;
constexpr uint32_t kFromDevicePauseMs = 1000;

std::optional<int> parseInt(const std::string& s) {
  int value = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

}  // namespace

InitialData::InitialData(MainForm& form)
    : title(form.form.add<Label>("RzLabel41", form.c.RzGroupBox16)),
      RzEdit3(form.form.add<Edit>("RzEdit3", form.c.RzGroupBox16)),
      Button10(form.form.add<Button>("Button10", form.c.RzGroupBox16)),
      Button11(form.form.add<Button>("Button11", form.c.RzGroupBox16)),
      SpeedButton3(form.form.add<SpeedButton>("SpeedButton3", form.c.RzGroupBox16)),
      RzMemo2(form.form.add<Memo>("RzMemo2", form.c.RzGroupBox16)),
      Timer333(makeTimer(form.loop, timers::Timer333)),
      Timer332(makeTimer(form.loop, timers::Timer332)),
      trunon1(makeTimer(form.loop, timers::trunon1)),
      Timer342(makeTimer(form.loop, timers::Timer342)),
      f_(form) {
  form.c.RzGroupBox16->setCaption("The initial data load mode:");
  title.setBounds(12, 30, 240, 18);
  title.setCaption("Specify one device ID for initial data:");
  RzEdit3.setBounds(12, 56, 80, 22);
  RzEdit3.setText("1");
  Button10.setBounds(100, 56, 60, 22);
  Button10.setCaption("OK");
  Button11.setBounds(12, 100, 306, 30);
  Button11.setCaption("From the computer into a group as the initial data");
  SpeedButton3.setBounds(308, 2, 18, 18);
  SpeedButton3.setCaption("x");
  RzMemo2.setBounds(0, 0, 0, 0);
  RzMemo2.hide();

  Button10.onClick = [this] { fromDevice(); };
  Button11.onClick = [this] { fromFile(); };
  SpeedButton3.onClick = [this] { f_.connectCommand(); };
  RzEdit3.onKeyPress = [this](char& key) {
    if (key == kKeyEnter) {
      key = 0;
      fromDevice();
      return;
    }
    if (key != kKeyBackspace && (key < '0' || key > '9')) key = 0;
  };
  Timer333.onTimer = [this] { progressTick(Timer333); };
  Timer342.onTimer = [this] { progressTick(Timer342); };
  Timer332.onTimer = [this] { sourceTimedOut(); };
  trunon1.onTimer = [this] {
    trunon1.stop();
    Timer332.stop();
    broadcastWrites(kFromDevicePauseMs);
  };
  form.dispatcher.handlers.initialDataGroup = [this](const std::string& text) {
    uploadText_ = text;
    trunon1.start();
  };
}

void InitialData::progressTick(Timer& timer) {
  ++progress_;
  f_.c.RzProgressBar1->setPercent(progress_ * 5);
  if (progress_ < kProgressTicks) return;
  timer.stop();
  f_.c.RzGroupBox16->hide();
  f_.hideProgressBox();
  f_.setExchangeLock(false);
}

void InitialData::fromDevice() {
  const std::optional<int> typed = parseInt(RzEdit3.text());
  if (!typed || *typed < 1 || *typed > 255) {
    RzEdit3.setText(std::to_string(sourceId_ + 1));
    f_.dialogs.message(kBadIdMessage);
    return;
  }
  f_.c.RzGroupBox16->hide();
  f_.showProgressBox(kProgressLeft, kProgressTop, 0);
  progress_ = 0;
  Timer332.start();
  Timer333.start();
  f_.flags.initialDataPending = true;
  sourceId_ = *typed - 1;
  f_.link.rxText().clear();
  f_.link.txBuffer().clear();
  // With the port closed nothing goes out and the time-out follows.
  f_.chain.writeNow(groupReadFrame(static_cast<uint8_t>(sourceId_), 0));
}

void InitialData::sourceTimedOut() {
  // The request stays pending: a late answer still brings the devices together.
  f_.hideProgressBox();
  f_.c.RzGroupBox16->show();
  Timer332.stop();
  Timer333.stop();
  f_.dialogs.message(kNoSourceMessage);
}

void InitialData::fromFile() {
  if (!f_.portOpen()) return;
  f_.chain.stopPolling();
  uploadText_.clear();
  RzMemo2.clear();
  const std::optional<std::string> path =
      f_.dialogs.openFile(FileDialogSpec{"", kGroupFileName, kGroupFileFilter, "", ""});
  if (!path) return;
  const FileLines file = readFileLines(*path);
  if (file.status == FileLines::Status::Unreadable) {
    f_.dialogs.message(readFailedText(*path, file.reason));
    return;
  }
  RzMemo2.setLines(file.lines);
  const std::optional<std::string> text =
      file.status == FileLines::Status::Ok ? groupFileText(RzMemo2.lines()) : std::nullopt;
  // An empty file is as unusable as a damaged one and is reported the same way.
  if (!text) {
    f_.dialogs.message(kFileDamaged);
    return;
  }
  uploadText_ = *text;
  f_.c.RzGroupBox16->hide();
  f_.showProgressBox(kProgressLeft, kProgressTop, 0);
  progress_ = 0;
  Timer342.start();
  broadcastWrites(kFromFilePauseMs);
}

void InitialData::broadcastWrites(uint32_t secondPauseMs) {
  f_.waitProcessingMessages(500);
  f_.chain.writeNow(pollFrame(f_.deviceId));
  f_.waitProcessingMessages(500);
  f_.chain.writeNow(pollFrame(f_.deviceId));
  f_.waitProcessingMessages(500);
  sendImageHeader(f_, kCurrentGroupTarget);
  f_.waitProcessingMessages(100);
  imageUpload(f_, uploadText_, kCurrentGroupTarget);
  // The writes are not acknowledged; the whole group goes out a second time instead.
  f_.waitProcessingMessages(1000);
  sendImageHeader(f_, kCurrentGroupTarget);
  f_.waitProcessingMessages(secondPauseMs);
  imageUpload(f_, uploadText_, kCurrentGroupTarget);
  f_.applyImage(uploadText_);
  f_.waitProcessingMessages(1000);
  // Polling starts after the first queued frame has gone out.
  f_.chain.sendTimer.start();
}

}  // namespace audiodsp
