#include "protocol/reply_dispatcher.h"

#include <string_view>

#include "model/value_tables.h"
#include "protocol/frame_codec.h"

namespace audiodsp {

namespace {

// Longest text kept between deliveries; the largest reply is 824 characters.
constexpr size_t kMaxText = 1000;
constexpr std::string_view kSync = "A5A5A5";

// Reply lengths in hex characters: header and end with 0, 8, 320 and 400 data bytes.
constexpr size_t kAckText = 24;
constexpr size_t kBlockText = 40;
constexpr size_t kGroupText = 664;
constexpr size_t kNamesText = 824;

// Frame bytes of the data read from the system and poll replies.
constexpr size_t kDataByte0 = 10;

// True when `text` holds `field` at the 1-based character position `pos`.
bool fieldAt(const std::string& text, size_t pos, std::string_view field) {
  return text.size() >= pos - 1 + field.size() &&
         std::string_view(text).substr(pos - 1, field.size()) == field;
}

// A text that is only the first bytes of the sync ("A5", "A5A5") may be a reply cut
// right after its first bytes; it stays, and the rest of the reply completes it.
bool startsLikeFrame(const std::string& text) {
  if (text.size() < kSync.size()) return kSync.starts_with(text);
  return text.starts_with(kSync);
}

uint8_t dataByte(const std::string& text, size_t j) {
  return hexByteAt(text, kDataByte0 + j).value_or(0);
}

template <typename F, typename... Args>
void notify(const F& handler, Args&&... args) {
  if (handler) handler(std::forward<Args>(args)...);
}

}  // namespace

ReplyDispatcher::ReplyDispatcher(SendChain& chain, ExchangeFlags& flags) : chain_(chain), flags_(flags) {}

void ReplyDispatcher::dispatch() {
  // Any byte from the device answers the handshake's first step and the last poll.
  chain_.chcon.stop();
  chain_.intimer.stop();
  std::string& rx = chain_.link().rxText();
  if (rx.size() >= kMaxText) rx.clear();
  if (!startsLikeFrame(rx)) rx.clear();
  systemReply();
  if (pollReply()) return;
  systemAck();
  writeAck();
  storedGroupReply();
  if (currentGroupReply()) return;
  namesReply();
}

void ReplyDispatcher::remove(size_t count) {
  std::string& rx = chain_.link().rxText();
  rx.erase(0, std::min(count, rx.size()));
}

bool ReplyDispatcher::systemReply() {
  const std::string& rx = chain_.link().rxText();
  if (!fieldAt(rx, 9, "520021000008") || rx.size() < kBlockText) return false;
  const uint8_t lastPreset = dataByte(rx, 0), byte1 = dataByte(rx, 1), byte2 = dataByte(rx, 2);
  const uint8_t threshold = dataByte(rx, 5);
  remove(kBlockText);
  notify(handlers.systemBlock, lastPreset, byte1, byte2, threshold);
  return true;
}

bool ReplyDispatcher::pollReply() {
  const std::string& rx = chain_.link().rxText();
  if (!fieldAt(rx, 9, "52002B000008") || rx.size() < kBlockText) return false;
  // The reply's own address is not compared: during a search the probed address is the one
  // that answered.
  if (flags_.searchRunning) notify(handlers.searchHit);
  const uint16_t reading = hexWordAt(rx, kDataByte0 + 2).value_or(0);
  const std::string temperature = temperatureText(temperatureIndex(reading));
  const std::string attenuation = std::to_string(dataByte(rx, 4)) + " dB";
  remove(kBlockText);
  notify(handlers.temperature, temperature);
  notify(handlers.attenuation, attenuation);
  return true;
}

void ReplyDispatcher::systemAck() {
  const std::string& rx = chain_.link().rxText();
  if (!fieldAt(rx, 9, "510021000000") || rx.size() < kAckText) return;
  remove(kAckText);
  if (flags_.idChangePending) {
    flags_.idChangePending = false;
    notify(handlers.idChangeAcknowledged);
  }
}

void ReplyDispatcher::writeAck() {
  const std::string& rx = chain_.link().rxText();
  if (!fieldAt(rx, 9, "510000000000") || rx.size() < kAckText) return;
  remove(kAckText);
  if (flags_.saveAckPending) {
    flags_.saveAckPending = false;
    notify(handlers.presetSaveAcknowledged);
  }
}

void ReplyDispatcher::storedGroupReply() {
  const std::string& rx = chain_.link().rxText();
  // Outside a bank save a stored group is left where it is, until a poll clears the text.
  if (rx.size() < kGroupText || !fieldAt(rx, 9, "52") || !fieldAt(rx, 13, "29") || !flags_.bankSaveMode)
    return;
  const std::string line = rx.substr(0, kGroupText);
  remove(kGroupText);
  notify(handlers.storedGroup, line);
}

bool ReplyDispatcher::currentGroupReply() {
  std::string& rx = chain_.link().rxText();
  if (!fieldAt(rx, 9, "52") || !fieldAt(rx, 13, "28") || rx.size() < kGroupText) return false;
  chain_.chcon112.stop();
  if (flags_.initialDataPending) {
    // The whole text is uploaded to every device as it stands.
    flags_.initialDataPending = false;
    notify(handlers.initialDataGroup, std::string(rx));
    return true;
  }
  if (flags_.singleSaveMode) {
    flags_.singleSaveMode = false;
    notify(handlers.singleSaveGroup, rx.substr(0, kGroupText));
    rx.clear();
    chain_.startPolling();
    return true;
  }
  notify(handlers.applyImage, rx.substr(0, kGroupText));
  // Whatever was collected with the group goes with it, as after every applied image.
  rx.clear();
  notify(handlers.lockSelectors);
  if (flags_.presetLoadPending) {
    flags_.presetLoadPending = false;
    // The device now reports the recalled preset as the last one loaded.
    chain_.table().mark(SendTable::kSystemReadSlot);
    notify(handlers.presetLoadFinished);
    chain_.startPolling();
    return true;
  }
  chain_.writeNow(namesRequestFrame(chain_.deviceId()));
  return false;
}

void ReplyDispatcher::namesReply() {
  std::string& rx = chain_.link().rxText();
  if (!fieldAt(rx, 9, "520026") || rx.size() < kNamesText) return;
  chain_.chcon188.stop();
  notify(handlers.presetNames, rx.substr(0, kNamesText));
  rx.clear();
  // The handshake ends here: read the device settings next, then keep the link alive.
  chain_.table().mark(SendTable::kSystemReadSlot);
  chain_.startPolling();
}

}  // namespace audiodsp
