#include "encoding/TranscodeUtils.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "frontend/Lexer.h"
#include "frontend/Values.h"
#include "keys/KeyContext.h"

using tessel::kEncodingUtf16;
using tessel::kEncodingUtf8;

namespace {

std::string IconvName(uint32_t encoding) {
  if (encoding == static_cast<uint32_t>(kEncodingUtf8)) return "UTF-8";
  if (encoding == static_cast<uint32_t>(kEncodingUtf16)) return "UTF-16LE";
  return "CP" + std::to_string(encoding);
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

std::u16string UnitsFromBytes(const std::string& bytes, size_t count) {
  std::u16string units(count / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return units;
}

std::string BytesFromUnits(const char16_t* units, size_t count) {
  std::string bytes(2 * count, '\0');
  for (size_t i = 0; i < count; ++i) {
    bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return bytes;
}

// UTF-8 form of UTF-16 units for the diagnostics; a lone surrogate shows as U+FFFD.
std::string DisplayText(const char16_t* units, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    char32_t c = units[i];
    if (IsHighSurrogate(units[i]) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i])) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else if (c < 0x800) {
      text += static_cast<char>(0xC0 | (c >> 6));
      text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      text += static_cast<char>(0xE0 | (c >> 12));
      text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      text += static_cast<char>(0xF0 | (c >> 18));
      text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return text;
}

class Iconv {
 public:
  Iconv(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Iconv() {
    if (valid()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

  // Converts [in, in + left), appending to out and advancing in and left. Returns 0 when
  // everything was taken, else the errno of the stop (EILSEQ, or EINVAL for a sequence
  // cut short by the end).
  int Step(const char*& in, size_t& left, std::string& out) {
    std::array<char, 4096> buffer;
    for (;;) {
      char* src = const_cast<char*>(in);
      char* dst = buffer.data();
      size_t room = buffer.size();
      size_t result = iconv(cd_, &src, &left, &dst, &room);
      int err = result == static_cast<size_t>(-1) ? errno : 0;
      in = src;
      out.append(buffer.data(), static_cast<size_t>(dst - buffer.data()));
      if (err == E2BIG) continue;
      return err;
    }
  }
  // Writes what a stateful converter still holds.
  void Flush(std::string& out) {
    std::array<char, 64> buffer;
    char* dst = buffer.data();
    size_t room = buffer.size();
    iconv(cd_, nullptr, nullptr, &dst, &room);
    out.append(buffer.data(), static_cast<size_t>(dst - buffer.data()));
  }

 private:
  iconv_t cd_;
};

// Strict decoding into UTF-16; false (errno set) on invalid input or an unknown encoding.
bool Decode(uint32_t encoding, const char* text, size_t length, std::u16string& out) {
  out.clear();
  // ASCII is itself in UTF-8 and needs no converter.
  if (encoding == static_cast<uint32_t>(kEncodingUtf8) &&
      std::all_of(text, text + length, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    out.assign(text, text + length);
    return true;
  }
  Iconv converter("UTF-16LE", IconvName(encoding));
  if (!converter.valid()) return false;
  std::string bytes;
  const char* in = text;
  size_t left = length;
  if (int err = converter.Step(in, left, bytes)) {
    errno = err;
    return false;
  }
  converter.Flush(bytes);
  out = UnitsFromBytes(bytes, bytes.size());
  return true;
}

struct Encoded {
  bool ok = false;  // the converter exists
  std::string bytes;
  bool replaced = false;  // a character the target lacks was replaced
};

// Encodes UTF-16 text in the target encoding. A character that a code page lacks becomes
// '?' and is reported as replaced; UTF-8 and UTF-16 never report a replacement.
class Encoder {
 public:
  explicit Encoder(uint32_t target)
      : utf16_(target == static_cast<uint32_t>(kEncodingUtf16)),
        utf8_(target == static_cast<uint32_t>(kEncodingUtf8)),
        converter_(IconvName(target), "UTF-16LE") {}

  bool valid() const { return utf16_ || converter_.valid(); }

  Encoded Encode(const char16_t* units, size_t count) {
    Encoded result;
    if (utf16_) {
      result.ok = true;
      result.bytes = BytesFromUnits(units, count);
      return result;
    }
    if (!converter_.valid()) return result;
    result.ok = true;
    converter_.Reset();
    std::string input = BytesFromUnits(units, count);
    const char* in = input.data();
    size_t left = input.size();
    while (left > 0) {
      if (converter_.Step(in, left, result.bytes) == 0) break;
      size_t unit = static_cast<size_t>(in - input.data()) / 2;
      size_t skip = IsHighSurrogate(units[unit]) && unit + 1 < count && IsLowSurrogate(units[unit + 1]) ? 4 : 2;
      skip = std::min(skip, left);
      in += skip;
      left -= skip;
      if (utf8_) {
        result.bytes += "\xEF\xBF\xBD";
      } else {
        result.bytes += '?';
        result.replaced = true;
      }
    }
    converter_.Flush(result.bytes);
    return result;
  }

 private:
  bool utf16_;
  bool utf8_;
  Iconv converter_;
};

}  // namespace

namespace tessel {

int32_t EncodingFromName(std::string_view name) {
  struct Named {
    std::string_view name;
    int32_t encoding;
  };
  static constexpr std::array<Named, 6> kNames = {{{"utf8", kEncodingUtf8},
                                                   {"utf-8", kEncodingUtf8},
                                                   {"U8", kEncodingUtf8},
                                                   {"utf16", kEncodingUtf16},
                                                   {"utf-16", kEncodingUtf16},
                                                   {"U16", kEncodingUtf16}}};
  if (!name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos) {
    int64_t value = 0;
    for (char c : name) {
      value = value * 10 + (c - '0');
      if (value > INT32_MAX) return -1;
    }
    return static_cast<int32_t>(value);
  }
  for (const Named& entry : kNames) {
    if (entry.name == name) return entry.encoding;
  }
  return -1;
}

std::u16string WideFromLiteral(Lexer& lex, const char* text) {
  if (lex.Keys() && lex.Keys()->IsKeyExtraction()) return {};
  // The whole text (no quotes to remove) and no double-byte pairs: it is UTF-8.
  std::string bytes;
  DecodeLiteral(lex, text, 0, [&bytes](unsigned char c) { bytes.push_back(static_cast<char>(c)); });
  // The decoded text ends at its first zero byte.
  bytes.resize(std::strlen(bytes.c_str()));
  std::u16string wide;
  if (!bytes.empty() && !Decode(kEncodingUtf8, bytes.data(), bytes.size(), wide)) lex.Fail("Illegal String");
  return wide;
}

size_t WideLengthOfLiteral(Lexer& lex, const char* text) { return WideFromLiteral(lex, text).size(); }

}  // namespace tessel

namespace TranscodeUtils {

std::string_view TargetMark(int32_t encoding) {
  if (encoding == kEncodingUtf8) return "\xEF\xBB\xBF";
  if (encoding == kEncodingUtf16) return "\xFF\xFE";
  return {};
}

bool ansi2unicode(const char* text, size_t length, uint32_t codePage, std::u16string& out) {
  return Decode(codePage, text, length, out) && !out.empty();
}

bool Transcoder::CheckSourceMark(const char* text, size_t length, int* markLength) const {
  auto begins = [&](std::string_view mark) {
    return length >= mark.size() && std::memcmp(text, mark.data(), mark.size()) == 0;
  };
  if (source == static_cast<uint32_t>(kEncodingUtf8)) {
    if (!begins("\xEF\xBB\xBF")) return false;
    if (markLength) *markLength = 3;
    return true;
  }
  if (source == static_cast<uint32_t>(kEncodingUtf16)) {
    if (!begins("\xFF\xFE") && !begins("\xFE\xFF")) return false;
    if (markLength) *markLength = 2;
    return true;
  }
  if (markLength) *markLength = 0;
  return true;
}

int64_t Transcoder::Transcode(const char* text, size_t length, size_t extra, bool checkSourceMark, bool writeTargetMark,
                              std::string& out) const {
  if (checkSourceMark && !CheckSourceMark(text, length)) return -1;
  std::string_view mark = writeTargetMark ? TargetMark(static_cast<int32_t>(target)) : std::string_view();

  std::u16string wide;
  errno = EINVAL;  // what an empty text reports
  if (!Decode(source, text, length, wide) || wide.empty()) {
    std::printf("GetLastErr: %u res: %d\n", static_cast<unsigned>(errno), static_cast<int>(wide.size()));
    std::fflush(stdout);
    SourceDiagnostic(text, length);
    return -1;
  }
  if (wide[0] == 0xFEFF) wide.erase(0, 1);

  Encoder encoder(target);
  Encoded encoded = encoder.Encode(wide.data(), wide.size());
  if (encoded.bytes.empty()) {
    std::printf("Result len:%d <=0\n", 0);
    std::fflush(stdout);
    TargetDiagnostic(wide);
    return -1;
  }
  if (encoded.replaced) {
    std::printf("Replacement char used\n");
    std::fflush(stdout);
    TargetDiagnostic(wide);
    return -1;
  }
  out.clear();
  out.reserve(mark.size() + encoded.bytes.size() + extra);
  out.append(mark);
  out.append(encoded.bytes);
  out.append(extra, '\0');
  return static_cast<int64_t>(out.size());
}

void Transcoder::SourceDiagnostic(const char* text, size_t length) const {
  std::fprintf(stderr, "Cannot create encoding:%u! ", source);
  std::fwrite(text, 1, strnlen(text, length), stderr);
  std::fputc('\n', stderr);
  std::u16string wide;
  if (ansi2unicode(text, length, source, wide)) return;
  std::fprintf(stderr, "ansi2unicode returned nullptr (%d)\n", static_cast<int>(length));

  // Finds the last prefix that still decodes, growing it byte by byte; a prefix that ends
  // inside a character fails, so two failures in a row mark a wrong character.
  Iconv converter("UTF-16LE", IconvName(source));
  bool broken = !converter.valid();
  std::string decoded;
  size_t consumed = 0;
  size_t goodBytes = 0;
  int failures = 0;
  for (size_t i = 0; i <= length; ++i) {
    bool good = true;
    if (i > 0) {
      if (!broken) {
        const char* in = text + consumed;
        size_t left = i - consumed;
        int err = converter.Step(in, left, decoded);
        consumed = static_cast<size_t>(in - text);
        if (err != 0 && err != EINVAL) broken = true;
      }
      good = !broken && consumed == i;
    }
    if (good) {
      goodBytes = decoded.size();
      failures = 0;
    } else {
      ++failures;
    }
    if (failures == 2 || i == length) {
      std::u16string prefix = UnitsFromBytes(decoded, goodBytes);
      std::fprintf(stderr, "The string was ok until:\n %s\n", DisplayText(prefix.data(), prefix.size()).c_str());
      long pos = static_cast<long>(i) - 2;
      auto byteAt = [&](long at) {
        return at >= 0 && static_cast<size_t>(at) < length ? static_cast<int>(static_cast<signed char>(text[at])) : 0;
      };
      std::fprintf(stderr, "Wrong char at pos:%d, [%x %x]\n", static_cast<int>(pos), static_cast<unsigned>(byteAt(pos)),
                   static_cast<unsigned>(byteAt(pos + 1)));
      break;
    }
  }
}

void Transcoder::TargetDiagnostic(const std::u16string& wide) const {
  std::fprintf(stderr, "Cannot create encoding:%u!\n", target);
  Encoder encoder(target);
  Encoded again = encoder.Encode(wide.data(), wide.size());
  if (again.ok && !again.bytes.empty() && !again.replaced) return;
  std::fputs("WideCharToMultiByte returned bad2\n", stderr);
  if (again.replaced) std::fputs("replace is used!\n", stderr);
  if (wide.size() < 2) return;

  // The shortest prefix that cannot be encoded: it ends at the first character the target
  // lacks, or inside a surrogate pair (half a pair cannot be encoded).
  size_t k = 0;
  if (!encoder.valid()) k = 1;
  for (size_t p = 0; k == 0 && p + 1 < wide.size(); ++p) {
    if (IsHighSurrogate(wide[p])) {
      k = p + 1;
      break;
    }
    Encoded one = encoder.Encode(&wide[p], 1);
    if (!one.ok || one.replaced) k = p + 1;
  }
  if (k == 0) return;
  std::fprintf(stderr, "WideCharToMultiByte returned bad at char:%d %hu\n", static_cast<int>(k),
               static_cast<unsigned short>(wide[k - 1]));
  size_t shown = std::min(k + 1, wide.size());
  std::fprintf(stderr, "\"%s\"", DisplayText(wide.data(), shown).c_str());
}

}  // namespace TranscodeUtils
