#pragma once
// The pending-frame table: 50 flags scanned by the send timer, and the 20-byte frame
// buffer that belongs to each parameter slot (1..36). Editors build into a slot's
// buffer and mark it; the send chain writes the buffer as it stands when its turn comes,
// so several edits of one block between two passes cost a single frame.
#include <array>
#include <cstdint>

namespace audiodsp {

class SendTable {
 public:
  static constexpr int kSlots = 50;
  static constexpr int kFrameSlots = 36;  // slots 1..36 carry a parameter frame
  static constexpr int kSystemReadSlot = 37;
  using Frame = std::array<uint8_t, 20>;

  void mark(int slot) {
    if (slot >= 1 && slot <= kSlots) flags_[slot - 1] = 1;
  }
  bool pending(int slot) const { return slot >= 1 && slot <= kSlots && flags_[slot - 1] == 1; }
  void clearSlot(int slot) {
    if (slot >= 1 && slot <= kSlots) flags_[slot - 1] = 0;
  }
  void clearAll() { flags_.fill(0); }
  // Lowest pending slot, or 0 when none is pending.
  int lowestPending() const {
    for (int s = 1; s <= kSlots; ++s)
      if (flags_[s - 1] == 1) return s;
    return 0;
  }

  // Buffer of a parameter slot 1..36; out-of-range slots map to a scratch buffer that
  // is never sent, so a bad slot number cannot write outside the table.
  Frame& frame(int slot) { return slot >= 1 && slot <= kFrameSlots ? frames_[slot - 1] : scratch_; }
  const Frame& frame(int slot) const {
    return slot >= 1 && slot <= kFrameSlots ? frames_[slot - 1] : scratch_;
  }

 private:
  std::array<int, kSlots> flags_{};
  std::array<Frame, kFrameSlots> frames_{};
  Frame scratch_{};
};

}  // namespace audiodsp
