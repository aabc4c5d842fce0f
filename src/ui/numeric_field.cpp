#include "ui/numeric_field.h"

#include <charconv>
#include <limits>
#include <utility>

namespace audiodsp {

bool passesKey(char key, KeySet keys) {
  if (key == kKeyBackspace || key == kKeyEnter || key == '.') return true;
  if (key >= '0' && key <= '9') return true;
  return keys == KeySet::Signed && key == '-';
}

std::optional<double> parseDecimal(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view body = negative ? text.substr(1) : text;
  int points = 0;
  int digits = 0;
  bool nonzeroBeforePoint = false;
  for (char ch : body) {
    if (ch == '.') {
      ++points;
    } else if (ch >= '0' && ch <= '9') {
      ++digits;
      if (points == 0 && ch != '0') nonzeroBeforePoint = true;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || points > 1) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Without an exponent only a huge whole part overflows; anything else is a vanishing fraction.
    value = nonzeroBeforePoint ? std::numeric_limits<double>::max() : 0.0;
  } else if (ec != std::errc() || end != body.data() + body.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<double> readChangedText(Edit& field, const FieldSnapshot& snapshot) {
  if (field.text() == snapshot.prevText) return std::nullopt;
  const std::optional<double> value = parseDecimal(field.text());
  if (!value) field.setText(snapshot.prevText);
  return value;
}

void hookCommitField(Edit& field, FieldSnapshot& snapshot, KeySet keys, std::function<bool()> commit) {
  field.onEnter = [&field, &snapshot] { snapshot.take(field.text()); };
  field.onExit = [&snapshot, commit] {
    snapshot.arm();
    commit();
  };
  field.onKeyPress = [&field, &snapshot, keys, commit = std::move(commit)](char& key) {
    if (!passesKey(key, keys)) {
      key = 0;
      return;
    }
    if (key != kKeyEnter) return;
    key = 0;
    // A second Enter, or the later focus loss, then finds the text unchanged.
    if (commit()) snapshot.prevText = field.text();
  };
}

}  // namespace audiodsp
