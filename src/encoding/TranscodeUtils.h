// Encodings of the -q pair, byte-order marks and the conversions between code pages,
// UTF-8 and UTF-16 (iconv underneath).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessel {
class Lexer;

inline constexpr int32_t kEncodingUtf8 = 65001;
inline constexpr int32_t kEncodingUtf16 = 1200;

// A decimal number, or "utf8"/"utf-8"/"U8" (65001), "utf16"/"utf-16"/"U16" (1200); else -1.
int32_t EncodingFromName(std::string_view name);

// The literal (without its enclosing quotes) decoded to bytes and then from UTF-8 to
// UTF-16; invalid UTF-8 is the source error "Illegal String". Empty during key extraction.
std::u16string WideFromLiteral(Lexer& lex, const char* text);
size_t WideLengthOfLiteral(Lexer& lex, const char* text);

}  // namespace tessel

namespace TranscodeUtils {

class Transcoder {
 public:
  Transcoder(uint32_t sourceEncoding, uint32_t targetEncoding) : source(sourceEncoding), target(targetEncoding) {}
  virtual ~Transcoder() = default;

  // Whether the text begins with the source's mark; *markLength receives its length when found
  // (other encodings: true with length 0).
  bool CheckSourceMark(const char* text, size_t length, int* markLength) const;
  // Converts `length` bytes; returns the byte count of the new buffer placed in `out` (mark,
  // text and `extra` reserved bytes), or -1 after the diagnostics.
  int32_t Transcode(const char* text, int32_t length, int32_t extra, bool checkSourceMark, bool writeTargetMark,
                    std::string& out) const;

  uint32_t source;
  uint32_t target;
};

// The target's byte-order mark: EF BB BF for UTF-8, FF FE for UTF-16, empty otherwise.
std::string_view TargetMark(int32_t encoding);

// length bytes of code page text decoded to UTF-16 (strict); false when that fails.
bool ansi2unicode(const char* text, size_t length, uint32_t codePage, std::u16string& out);

}  // namespace TranscodeUtils
