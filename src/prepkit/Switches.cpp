#include "prepkit/Switches.h"

#include <cctype>
#include <optional>

#include "prepkit/Console.h"

namespace tessel::prepkit {

namespace {

// A decimal number as scanf reads one: leading blanks, an optional sign where allowed,
// at least one digit; out of [min, max] it does not parse.
std::optional<int64_t> TakeNumber(std::string_view& rest, int64_t min, int64_t max) {
  size_t i = 0;
  while (i < rest.size() && std::isspace(static_cast<unsigned char>(rest[i]))) ++i;
  bool negative = false;
  if (i < rest.size() && (rest[i] == '-' || rest[i] == '+') && min < 0) negative = rest[i++] == '-';
  size_t digits = i;
  uint64_t value = 0;
  const uint64_t limit = negative ? static_cast<uint64_t>(-(min + 1)) + 1 : static_cast<uint64_t>(max);
  for (; i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i])); ++i) {
    value = value * 10 + static_cast<uint64_t>(rest[i] - '0');
    if (value > limit) return std::nullopt;
  }
  if (i == digits) return std::nullopt;
  rest.remove_prefix(i);
  return negative ? -static_cast<int64_t>(value - 1) - 1 : static_cast<int64_t>(value);
}

bool TakeChar(std::string_view& rest, char c) {
  if (rest.empty() || rest.front() != c) return false;
  rest.remove_prefix(1);
  return true;
}

// "%c%c%c%c-%c%c%c%c"
bool ReadMark(std::string_view params, Switch& sw) {
  if (params.size() != 9 || params[4] != '-') return false;
  for (size_t i = 0; i < 4; ++i) {
    sw.creator[i] = params[i];
    sw.type[i] = params[5 + i];
  }
  return true;
}

// "%ld-%ld" with two offsets
bool ReadSplit(std::string_view params, Switch& sw) {
  constexpr int64_t kMaxOffset = INT64_MAX / 2;
  auto from = TakeNumber(params, 0, kMaxOffset);
  if (!from || !TakeChar(params, '-')) return false;
  auto to = TakeNumber(params, 0, kMaxOffset);
  if (!to || !params.empty()) return false;
  sw.from = static_cast<uint64_t>(*from);
  sw.to = static_cast<uint64_t>(*to);
  return true;
}

// "{%hd,%hd,%hd,%hd,%hu}"
bool ReadPicture(std::string_view params, Switch& sw) {
  if (!TakeChar(params, '{')) return false;
  std::array<int16_t*, 4> corners{&sw.frame.y1, &sw.frame.x1, &sw.frame.y2, &sw.frame.x2};
  for (int16_t* corner : corners) {
    auto value = TakeNumber(params, INT16_MIN, INT16_MAX);
    if (!value || !TakeChar(params, ',')) return false;
    *corner = static_cast<int16_t>(*value);
  }
  auto drawMode = TakeNumber(params, 0, UINT16_MAX);
  if (!drawMode || !TakeChar(params, '}') || !params.empty()) return false;
  sw.frame.drawMode = static_cast<uint16_t>(*drawMode);
  return true;
}

struct SwitchEntry {
  char letter;  // upper case
  Conversion conversion;
  bool (*readParams)(std::string_view, Switch&);  // null: the switch takes no parameters
  std::string_view badParams;
};

constexpr SwitchEntry kSwitches[] = {
    {'D', Conversion::Data, nullptr, {}},
    {'M', Conversion::Makers, nullptr, {}},
    {'C', Conversion::Copyright, nullptr, {}},
    {'R', Conversion::Mark, ReadMark, kBadMarkParams},
    {'S', Conversion::Split, ReadSplit, kBadOffsetParams},
    {'B', Conversion::Picture, ReadPicture, kBadPictureParams},
    {'Z', Conversion::LineEnds, nullptr, {}},
    {'P', Conversion::Palette, nullptr, {}},
    {'?', Conversion::Help, nullptr, {}},
    {'H', Conversion::Help, nullptr, {}},
};

}  // namespace

bool IsSwitchArgument(std::string_view argument) {
  if (argument.empty()) return false;
  if (argument.front() == '-') return true;
  return argument.front() == '/' && argument.find('/', 1) == std::string_view::npos;
}

Switch ParseSwitch(std::string_view argument, std::string& error) {
  Switch sw;
  error.clear();
  if (argument.size() >= 2) {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(argument[1])));
    const std::string_view params = argument.substr(2);
    for (const SwitchEntry& entry : kSwitches) {
      if (entry.letter != letter) continue;
      sw.conversion = entry.conversion;
      if (entry.readParams) {
        if (!entry.readParams(params, sw)) error = entry.badParams;
        return sw;
      }
      if (params.empty()) return sw;
      break;  // a letter without parameters followed by more text
    }
  }
  error = Fill(kUnknownSwitch, argument);
  return sw;
}

}  // namespace tessel::prepkit
