#pragma once
// The committing numeric fields of the window: one previous-text snapshot for all of them, the key
// filters, the reading of a typed number, and the focus and key wiring of a field that commits on focus
// loss and on Enter, never while typing.
//
// Every part with numeric fields uses the one FieldSnapshot the main form owns (`form.fieldSnapshot`):
//
//   FieldSnapshot::take(text)    focus entered a field: PrevText := text if armed, then disarm
//   FieldSnapshot::arm()         a field lost the focus (always first, whatever the exit does next)
//   passesKey(key, keys)         the key filter: digits, ".", backspace, Enter; KeySet::Signed adds "-"
//   parseDecimal(text)           the typed number, "." as decimal point; nullopt when unreadable
//   readChangedText(field, snap) the two first steps of a commit: nullopt when the text equals PrevText
//                                (nothing happens) or is unreadable (the field shows PrevText again)
//   hookCommitField(field, snap, keys, commit)
//                                hooks onEnter (snapshot), onExit (arm, commit) and onKeyPress (filter;
//                                Enter is dropped, commits, and renews PrevText when the commit stored);
//                                `commit` returns whether it stored a value
//
// Fields whose Enter key behaves differently (the output gain commits on Enter without comparing) hook
// their own events from take / arm / passesKey / parseDecimal.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/edit.h"

namespace audiodsp {

// PrevText and SnapshotArmed: the text a field had when the focus last entered a field while armed.
// Commits of every field compare against it, whichever field took it.
struct FieldSnapshot {
  std::string prevText;  // PrevText
  bool armed = true;     // SnapshotArmed

  void take(const std::string& text) {
    if (!armed) return;
    prevText = text;
    armed = false;
  }
  void arm() { armed = true; }
};

enum class KeySet {
  Unsigned,  // frequencies, Q, delays: no minus sign
  Signed,    // gains
};

// Whether a typed character reaches a numeric field.
bool passesKey(char key, KeySet keys);

// A decimal number with "." as its point: an optional minus sign, digits with at most one point, at
// least one digit. Empty texts, a lone point or minus, two points and anything else give nullopt. A
// number too large for a double reads as the largest double of its sign (the callers clamp it).
std::optional<double> parseDecimal(std::string_view text);

// The start of a commit: the field's number when its text differs from PrevText and reads as a number.
// Unreadable text puts PrevText back into the field.
std::optional<double> readChangedText(Edit& field, const FieldSnapshot& snapshot);

void hookCommitField(Edit& field, FieldSnapshot& snapshot, KeySet keys, std::function<bool()> commit);

}  // namespace audiodsp
