// Encodings of the -q pair, byte-order marks and the conversions between code pages,
// UTF-8 and UTF-16 (iconv underneath).
#pragma once

#include <cstddef>
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

  // Whether the text begins with the source's mark; *markLength (when given) receives its
  // length when found. Encodings other than UTF-8 and UTF-16: true with length 0.
  bool CheckSourceMark(const char* text, size_t length, int* markLength = nullptr) const;
  // Converts `length` bytes from the source to the target encoding. On success `out` holds
  // the target mark (when asked for), the text and `extra` reserved zero bytes, and the
  // result is out.size(). On failure the result is -1, after the diagnostics on standard
  // output and standard error (none when the required source mark is missing).
  int64_t Transcode(const char* text, size_t length, size_t extra, bool checkSourceMark, bool writeTargetMark,
                    std::string& out) const;

  uint32_t source;
  uint32_t target;

 private:
  void SourceDiagnostic(const char* text, size_t length) const;
  void TargetDiagnostic(const std::u16string& wide) const;
};

// The byte-order mark of an encoding: EF BB BF for UTF-8, FF FE for UTF-16, empty otherwise.
std::string_view TargetMark(int32_t encoding);

// `length` bytes of text in the code page decoded strictly to UTF-16; false when the text
// is invalid, the code page unknown or the result empty.
bool ansi2unicode(const char* text, size_t length, uint32_t codePage, std::u16string& out);

}  // namespace TranscodeUtils
