// Placeholder: replaced by the transcoder.
#include "encoding/TranscodeUtils.h"

namespace tessel {
int32_t EncodingFromName(std::string_view) { return -1; }
std::u16string WideFromLiteral(Lexer&, const char*) { return {}; }
size_t WideLengthOfLiteral(Lexer&, const char*) { return 0; }
}  // namespace tessel

namespace TranscodeUtils {
bool Transcoder::CheckSourceMark(const char*, size_t, int*) const { return true; }
int32_t Transcoder::Transcode(const char*, int32_t, int32_t, bool, bool, std::string&) const { return -1; }
std::string_view TargetMark(int32_t) { return {}; }
bool ansi2unicode(const char*, size_t, uint32_t, std::u16string&) { return false; }
}  // namespace TranscodeUtils
