#include "sim/virtual_line.h"

#include <algorithm>

#include "protocol/frame_codec.h"

namespace audiodsp {

namespace {

constexpr uint64_t kDriftStepMs = 1000;
// Skipped bytes with no longer pause between them are reported as one run.
constexpr uint64_t kSkipGroupMs = 20;
constexpr size_t kSkipRunMax = 256;  // a longer stream of noise is reported in runs of this size
constexpr uint16_t kHottestReading = 1123, kCoolestReading = 5118;
constexpr int kMaxDriftAttenuationDb = 20;

// Whole milliseconds that n bytes take at 9600 baud, 10 bits each, rounded up.
uint64_t wireMs(size_t n) {
  return (uint64_t(n) * 10000 + 9599) / 9600;
}

bool syncAt(const std::vector<uint8_t>& b, size_t i) {
  return i + 3 <= b.size() && b[i] == kSyncByte && b[i + 1] == kSyncByte && b[i + 2] == kSyncByte;
}

}  // namespace

VirtualLine::VirtualLine(SimConfig cfg) : cfg_(std::move(cfg)), random_(cfg_.seed) {
  devices_.reserve(cfg_.ids.size());
  for (int id : cfg_.ids) {
    SimDevice& d = devices_.emplace_back(id);
    d.temperatureReading = cfg_.temperatureReading;
    d.attenuationDb = cfg_.attenuationDb;
  }
}

SimDevice* VirtualLine::device(int displayedId) {
  for (SimDevice& d : devices_)
    if (d.displayedId() == displayedId) return &d;
  return nullptr;
}

void VirtualLine::setSilent(int displayedId, bool silent) {
  if (SimDevice* d = device(displayedId)) d->silent = silent;
}

void VirtualLine::setAllSilent(bool silent) {
  for (SimDevice& d : devices_) d.silent = silent;
}

void VirtualLine::skip(std::span<const uint8_t> bytes, uint64_t atMs) {
  if (skipped_.empty()) skippedAtMs_ = atMs;
  skipped_.insert(skipped_.end(), bytes.begin(), bytes.end());
  skippedLastMs_ = atMs;
  if (skipped_.size() >= kSkipRunMax) flushSkipped();
}

void VirtualLine::flushSkipped() {
  heard(skipped_, skippedAtMs_, false);
  skipped_.clear();
}

void VirtualLine::heard(std::span<const uint8_t> bytes, uint64_t atMs, bool frame) {
  if (observer_ && !bytes.empty()) observer_(SimHeard{atMs, {bytes.begin(), bytes.end()}, frame});
}

std::vector<SimReply> VirtualLine::receive(std::span<const uint8_t> bytes, uint64_t nowMs) {
  std::vector<SimReply> out;
  // A frame whose rest never came (the host gave up half way) must not swallow the
  // frames that follow it.
  if (!pending_.empty() && nowMs - pendingSinceMs_ > cfg_.frameTimeoutMs) {
    skip(pending_, nowMs);
    pending_.clear();
  }
  if (!skipped_.empty() && nowMs - skippedLastMs_ > kSkipGroupMs) flushSkipped();
  if (pending_.empty()) pendingSinceMs_ = nowMs;
  pending_.insert(pending_.end(), bytes.begin(), bytes.end());

  size_t pos = 0, skipFrom = 0;
  auto skipUpTo = [&](size_t end) {  // bytes [skipFrom, end) belong to no frame
    if (end > skipFrom) skip(std::span(pending_).subspan(skipFrom, end - skipFrom), nowMs);
    skipFrom = end;
  };
  while (pos < pending_.size()) {
    if (!syncAt(pending_, pos)) {
      // Keep a trailing A5 or A5 A5: it may be the start of the next sync.
      const size_t left = pending_.size() - pos;
      if (left < 3 &&
          std::all_of(pending_.begin() + pos, pending_.end(), [](uint8_t b) { return b == kSyncByte; }))
        break;
      ++pos;
      continue;
    }
    if (pending_.size() - pos < kHeaderSize) break;
    const size_t length = size_t(pending_[pos + 8]) << 8 | pending_[pos + 9];
    if (length > kImageSize) {  // no host frame is that long: not a real header
      ++pos;
      continue;
    }
    const size_t total = length + kFrameOverhead;
    if (pending_.size() - pos < total) break;
    const auto frame = std::span(pending_).subspan(pos, total);
    if (frame.back() != kEndByte) {
      ++pos;
      continue;
    }
    skipUpTo(pos);
    flushSkipped();
    heard(frame, nowMs, true);
    const bool checkOk = checkByte(frame.subspan(3, total - 5)) == frame[total - 2];
    if (checkOk || !cfg_.checkCheckByte) deliver(frame, nowMs, out);
    pos += total;
    skipFrom = pos;
  }
  skipUpTo(pos);
  if (pos > 0) {
    pending_.erase(pending_.begin(), pending_.begin() + pos);
    pendingSinceMs_ = nowMs;
  }
  return out;
}

void VirtualLine::deliver(std::span<const uint8_t> frame, uint64_t nowMs, std::vector<SimReply>& out) {
  updateDrift(nowMs);
  const uint8_t address = frame[3];
  for (SimDevice& d : devices_) {
    if (d.silent || (address != kBroadcastAddress && address != d.wireId())) continue;
    if (auto reply = d.take(frame, nowMs)) emit(std::move(*reply), nowMs, out);
  }
}

void VirtualLine::updateDrift(uint64_t nowMs) {
  if (!cfg_.drift) return;
  if (!driftStarted_) {
    driftStarted_ = true;
    driftAtMs_ = nowMs;
    return;
  }
  for (; nowMs - driftAtMs_ >= kDriftStepMs; driftAtMs_ += kDriftStepMs) {
    for (SimDevice& d : devices_) {
      const int64_t reading = int64_t(d.temperatureReading) + random_.range(-20, 20);
      d.temperatureReading = uint16_t(std::clamp<int64_t>(reading, kHottestReading, kCoolestReading));
      if (random_.chance(0.1)) {
        const int atten = int(d.attenuationDb) + (random_.chance(0.5) ? 1 : -1);
        d.attenuationDb = uint8_t(std::clamp(atten, 0, kMaxDriftAttenuationDb));
      }
    }
  }
}

void VirtualLine::emit(std::vector<uint8_t> reply, uint64_t nowMs, std::vector<SimReply>& out) {
  if (random_.chance(cfg_.dropP)) return;
  if (random_.chance(cfg_.noiseP)) {
    if (random_.chance(0.5)) {
      reply[size_t(random_.range(0, int64_t(reply.size()) - 1))] ^= uint8_t(random_.range(1, 255));
    } else {
      const auto at = random_.range(0, int64_t(reply.size()));
      reply.insert(reply.begin() + at, uint8_t(random_.range(0, 255)));
    }
  }
  uint64_t at = nowMs + cfg_.replyDelayMs;
  if (!cfg_.split) {
    out.push_back({at, std::move(reply)});
    return;
  }
  // Distinct cut points, in order, so every piece has at least one byte.
  const int64_t pieces = random_.range(2, 4);
  std::vector<size_t> cuts;
  while (int64_t(cuts.size()) < pieces - 1) {
    const auto cut = size_t(random_.range(1, int64_t(reply.size()) - 1));
    if (std::find(cuts.begin(), cuts.end(), cut) == cuts.end()) cuts.push_back(cut);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.push_back(reply.size());
  size_t from = 0;
  for (size_t cut : cuts) {
    out.push_back({at, std::vector<uint8_t>(reply.begin() + from, reply.begin() + cut)});
    at += wireMs(cut - from) + uint64_t(random_.range(1, std::max<int64_t>(1, cfg_.splitGapMaxMs)));
    from = cut;
  }
}

}  // namespace audiodsp
