#include "presets/group_files.h"

#include "presets/group_file_format.h"
#include "presets/image_upload.h"
#include "presets/preset_slots.h"
#include "protocol/frame_codec.h"
#include "protocol/timer_map.h"

namespace audiodsp {
namespace {

constexpr int kProgressLeft = 208;
constexpr int kProgressTop = 232;
constexpr uint32_t kSingleLoadWaitMs = 8000;

FileDialogSpec groupFileDialog() {
  return FileDialogSpec{"", kGroupFileName, kGroupFileFilter, "", ""};
}
FileDialogSpec bankFileDialog() {
  return FileDialogSpec{"", kBankFileName, kBankFileFilter, "", ""};
}

}  // namespace

GroupFiles::GroupFiles(MainForm& form)
    : Button6(form.form.add<Button>("Button6", form.c.GroupBox3)),
      Button7(form.form.add<Button>("Button7", form.c.GroupBox3)),
      Button4(form.form.add<Button>("Button4", form.c.GroupBox3)),
      Button5(form.form.add<Button>("Button5", form.c.GroupBox3)),
      RzMemo1(form.form.add<Memo>("RzMemo1", form.c.GroupBox3)),
      Timer8(makeTimer(form.loop, timers::Timer8)),
      Timer9(makeTimer(form.loop, timers::Timer9)),
      Timer10(makeTimer(form.loop, timers::Timer10)),
      Timer12(makeTimer(form.loop, timers::Timer12)),
      singleSaveTimer(form.loop, "singleSaveTimer", kSingleSaveTimeoutMs),
      f_(form) {
  struct Side {
    Button& button;
    const char* caption;
    int top;
  };
  for (const Side& s : {Side{Button6, "save one group to PC", 56}, Side{Button7, "load one group to DV", 80},
                        Side{Button4, "save 8-group to PC", 104}, Side{Button5, "load 8-group to DV", 128}}) {
    s.button.setBounds(4, s.top, 114, 22);
    s.button.setCaption(s.caption);
  }
  RzMemo1.setBounds(0, 0, 0, 0);
  RzMemo1.hide();

  Button6.onClick = [this] { saveOne(); };
  Button7.onClick = [this] { loadOne(); };
  Button4.onClick = [this] { saveBank(); };
  Button5.onClick = [this] { loadBank(); };
  Timer8.onTimer = [this] { bankReadTick(); };
  Timer9.onTimer = [this] { bankSaveTimedOut(); };
  Timer10.onTimer = [this] { bankWriteTick(); };
  Timer12.onTimer = [this] {
    ++progress_;
    f_.c.RzProgressBar1->setPercent(progress_ * 10);
    if (progress_ >= 10) Timer12.stop();
  };
  singleSaveTimer.onTimer = [this] { singleSaveTimedOut(); };

  ReplyHandlers& h = form.dispatcher.handlers;
  h.singleSaveGroup = [this](const std::string& line) { singleSaveGroup(line); };
  h.storedGroup = [this](const std::string& line) { storedGroup(line); };
}

void GroupFiles::endExchange() {
  f_.hideProgressBox();
  f_.setExchangeLock(false);
}

void GroupFiles::saveLines(const FileDialogSpec& dialog, const std::vector<std::string>& lines) {
  const std::optional<std::string> path = f_.dialogs.saveFile(dialog);
  if (!path) return;
  const std::string failure = writeFileLines(*path, lines);
  if (!failure.empty()) f_.dialogs.message(saveFailedText(*path, failure));
}

bool GroupFiles::readIntoMemo(const std::string& path) {
  const FileLines file = readFileLines(path);
  if (file.status == FileLines::Status::Unreadable) {
    f_.dialogs.message(readFailedText(path, file.reason));
    return false;
  }
  if (file.status == FileLines::Status::Damaged) {
    f_.dialogs.message(kFileDamaged);
    return false;
  }
  RzMemo1.setLines(file.lines);
  return true;
}

// ---- save one group

void GroupFiles::saveOne() {
  if (!f_.portOpen()) return;
  f_.setExchangeLock(true);
  f_.chain.stopPolling();
  f_.flags.singleSaveMode = true;
  f_.waitProcessingMessages(50);
  RzMemo1.clear();
  f_.link.rxText().clear();
  f_.link.txBuffer().clear();
  f_.chain.writeNow(groupReadFrame(f_.deviceId, 0));
  // Without an answer polling would stay stopped for good; the time-out resumes it.
  singleSaveTimer.start();
  f_.waitProcessingMessages(50);
  endExchange();
}

void GroupFiles::singleSaveGroup(const std::string& line) {
  // The dispatcher has cleared single-save mode and resumes polling after this.
  singleSaveTimer.stop();
  RzMemo1.clear();
  RzMemo1.addLine(line);
  saveLines(groupFileDialog(), RzMemo1.lines());
}

void GroupFiles::singleSaveTimedOut() {
  singleSaveTimer.stop();
  f_.flags.singleSaveMode = false;
  f_.chain.startPolling();
  f_.dialogs.message(kOvertime);
}

// ---- save all stored groups

void GroupFiles::saveBank() {
  if (!f_.portOpen()) return;
  f_.keepGraphPanel = false;
  f_.closeCurrentPanel();
  f_.chain.stopPolling();
  f_.waitProcessingMessages(50);
  f_.link.rxText().clear();
  requestCounter_ = 0;
  replyCounter_ = 0;
  f_.flags.bankSaveMode = true;
  f_.showProgressBox(kProgressLeft, kProgressTop, 0);
  f_.setExchangeLock(true);
  RzMemo1.clear();
  Timer8.start();
  Timer9.start();
}

void GroupFiles::bankReadTick() {
  ++requestCounter_;
  f_.chain.writeNow(blockReadFrame(f_.deviceId, static_cast<uint8_t>(requestCounter_)));
  f_.c.RzProgressBar1->setPercent(requestCounter_ * 5);
  if (requestCounter_ >= static_cast<int>(kBankGroups)) Timer8.stop();
}

void GroupFiles::storedGroup(const std::string& line) {
  RzMemo1.addLine(line);
  ++replyCounter_;
  if (replyCounter_ < static_cast<int>(kBankGroups)) return;
  Timer9.stop();
  endExchange();
  replyCounter_ = 0;
  f_.flags.bankSaveMode = false;
  saveLines(bankFileDialog(), RzMemo1.lines());
  f_.chain.startPolling();
}

void GroupFiles::bankSaveTimedOut() {
  // Replies that still come are collected; a 20th one offers the save after all.
  Timer9.stop();
  endExchange();
  f_.chain.startPolling();
  f_.dialogs.message(kOvertime);
}

// ---- load one group

void GroupFiles::loadOne() {
  if (!f_.portOpen()) return;
  f_.keepGraphPanel = false;
  f_.closeCurrentPanel();
  f_.chain.Timer1.stop();
  f_.chain.intimer.stop();
  uploadText_.clear();
  RzMemo1.clear();
  const std::optional<std::string> path = f_.dialogs.openFile(groupFileDialog());
  if (!path) {
    f_.chain.Timer1.start();
    return;
  }
  const bool read = readIntoMemo(*path);
  const std::optional<std::string> text = read ? groupFileText(RzMemo1.lines()) : std::nullopt;
  if (!text) {
    f_.chain.Timer1.start();
    if (read) f_.dialogs.message(kFileDamaged);
    return;
  }
  uploadText_ = *text;
  f_.showProgressBox(kProgressLeft, kProgressTop, 0);
  f_.setExchangeLock(true);
  progress_ = 0;
  Timer12.start();
  sendImageHeader(f_, kCurrentGroupTarget);
  f_.waitProcessingMessages(100);
  imageUpload(f_, uploadText_, kCurrentGroupTarget);
  f_.applyImage(uploadText_);
  f_.waitProcessingMessages(kSingleLoadWaitMs);
  f_.chain.Timer1.start();
  endExchange();
}

// ---- load all stored groups

void GroupFiles::loadBank() {
  if (!f_.portOpen()) return;
  f_.keepGraphPanel = false;
  f_.closeCurrentPanel();
  f_.chain.Timer1.stop();
  f_.chain.intimer.stop();
  RzMemo1.clear();
  const std::optional<std::string> path = f_.dialogs.openFile(bankFileDialog());
  const bool read = path && readIntoMemo(*path);
  if (path && !read) {
    f_.chain.Timer1.start();
    return;
  }
  if (RzMemo1.lineCount() == 0) {
    f_.chain.Timer1.start();
    return;
  }
  if (!isBankFile(RzMemo1.lines())) {
    f_.chain.Timer1.start();
    f_.dialogs.message(kFileDamaged);
    return;
  }
  f_.showProgressBox(kProgressLeft, kProgressTop, 0);
  f_.setExchangeLock(true);
  groupCounter_ = 0;
  Timer10.start();
}

void GroupFiles::bankWriteTick() {
  Timer10.stop();
  f_.chain.Timer1.stop();
  f_.chain.intimer.stop();
  uploadText_ = RzMemo1.lines()[groupCounter_];
  const int slot = ++groupCounter_;
  sendImageHeader(f_, slot);
  f_.waitProcessingMessages(50);
  if (!imageUpload(f_, uploadText_, slot)) {
    // The line is gone: the rest cannot follow, and the window must not stay locked.
    groupCounter_ = 0;
    f_.chain.Timer1.start();
    endExchange();
    return;
  }
  f_.c.RzProgressBar1->setPercent(slot * 5);
  if (slot < static_cast<int>(kBankGroups)) {
    Timer10.start();  // the next line follows a second later
    return;
  }
  groupCounter_ = 0;
  f_.waitProcessingMessages(1000);
  f_.link.rxText().clear();
  f_.link.txBuffer().clear();
  // The device's names may have changed with the groups.
  f_.chain.writeNow(namesRequestFrame(f_.deviceId));
  f_.waitProcessingMessages(50);
  f_.chain.Timer1.start();
  endExchange();
}

}  // namespace audiodsp
