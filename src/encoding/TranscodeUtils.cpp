// Placeholder: replaced by the transcoder.
#include "encoding/TranscodeUtils.h"

namespace tessel {
int32_t EncodingFromName(std::string_view name) {
  if (name == "utf8" || name == "utf-8" || name == "U8") return kEncodingUtf8;
  if (name == "utf16" || name == "utf-16" || name == "U16") return kEncodingUtf16;
  if (name.empty() || name.find_first_not_of("0123456789") != std::string_view::npos || name.size() > 9) return -1;
  return std::stoi(std::string(name));
}
std::u16string WideFromLiteral(Lexer&, const char*) { return {}; }
size_t WideLengthOfLiteral(Lexer&, const char*) { return 0; }
}  // namespace tessel

namespace TranscodeUtils {
bool Transcoder::CheckSourceMark(const char*, size_t, int*) const { return true; }
int32_t Transcoder::Transcode(const char*, int32_t, int32_t, bool, bool, std::string&) const { return -1; }
std::string_view TargetMark(int32_t) { return {}; }
bool ansi2unicode(const char*, size_t, uint32_t, std::u16string&) { return false; }
}  // namespace TranscodeUtils
