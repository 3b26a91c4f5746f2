#include "resources/GuidLists.h"

#include <array>
#include <cstdint>

#include "encoding/TranscodeUtils.h"
#include "frontend/Values.h"
#include "resources/Context.h"
#include "resources/StringResources.h"

namespace tessel {

namespace {

constexpr char kStringMissing[] = "String is missing";
constexpr char kValueMissing[] = "An item is missing in the previous unit";
constexpr int kMaxValues = 11;

using Values = std::array<uint16_t, kMaxValues>;
using ValueParser = uint16_t (*)(Lexer&, const char*);

struct GuidListKind {
  const char* type;
  uint16_t headWord;     // first word of each record
  uint32_t tag;          // third field of each record
  long fixedSize;        // record bytes besides the name
  int valueCount;
  std::array<ValueParser, kMaxValues> parsers;
  void (*writeTail)(OutputWriter& out, const Values& values);
};

void WriteLay2Tail(OutputWriter& out, const Values& v) {
  out.WriteDataShort(v[0]);
  out.WriteDataShort(v[1]);
  out.WriteDataLong(0);
  out.WriteDataShort(3);
  out.WriteDataShort(1);
  out.WriteDataLong(0);
  out.WriteDataLong(1);
}

// Values 2 to 4 are folded into one flag word.
void WriteMepsTail(OutputWriter& out, const Values& v) {
  out.WriteDataShort(v[0]);
  out.WriteDataShort(0);
  out.WriteDataLong(0);
  out.WriteDataShort(1);
  out.WriteDataShort(1);
  out.WriteDataLong(0);
  out.WriteDataShort(static_cast<uint16_t>((v[1] != 0 ? 1 : 0) | (v[2] != 0 ? 2 : 0) | (v[3] != 0 ? 4 : 0)));
  for (int i = 4; i < kMaxValues; ++i) out.WriteDataShort(v[i]);
}

constexpr GuidListKind kLay2{"LAY2", 2, 60, 55, 2, {ParseUShort, ParseHexShort}, WriteLay2Tail};
constexpr GuidListKind kMeps{"MEPS",
                             1,
                             72,
                             67,
                             11,
                             {ParseUShort, ParseUShort, ParseUShort, ParseUShort, ParseUShort, ParseUShort,
                              ParseUShort, ParseUShort, ParseUShort, ParseUShort, ParseUShort},
                             WriteMepsTail};

std::u16string NameUnits(Lexer& lex, const char* literal) {
  std::string copy(literal);
  return WideFromLiteral(lex, Lexer::StripQuotes(copy.data()));
}

size_t NameLength(Lexer& lex, const char* literal) {
  std::string copy(literal);
  return WideLengthOfLiteral(lex, Lexer::StripQuotes(copy.data()));
}

void WriteRecord(Context& ctx, const GuidListKind& kind) {
  Lexer& lex = ctx.lex;
  // The values are checked before any field of the record is written.
  Values values{};
  lex.SavePosition();
  lex.GetToken();
  lex.GetToken();
  for (int i = 0; i < kind.valueCount; ++i) values[i] = kind.parsers[i](lex, lex.GetTokenText());
  lex.RestorePosition();

  const std::string guid = lex.GetTokenText();
  const std::u16string name = NameUnits(lex, lex.GetTokenText());
  for (int i = 0; i < kind.valueCount; ++i) lex.GetToken();

  OutputWriter& out = ctx.out;
  out.WriteDataShort(kind.headWord);
  out.WriteDataShort(2);
  out.WriteDataLong(kind.tag);
  if (!out.WriteGuidData(guid.c_str())) ctx.Fail("Can't recognize item ", guid);
  out.WriteDataShort(1);
  out.WriteDataLong(static_cast<uint32_t>(name.size()));
  for (char16_t unit : name) out.WriteDataShort(unit);
  kind.writeTail(out, values);
}

void ConvertGuidList(Context& ctx, const GuidListKind& kind) {
  Lexer& lex = ctx.lex;
  BeginResourceBlock(ctx, kind.type);
  lex.ExpectTokenOnLine(TOK_STRING, kStringMissing);
  lex.ExpectToken(TOK_LBRACE, "{ is expected");

  // Counting pass: each record is a GUID literal on a new line, its name and its values.
  lex.SavePosition();
  unsigned long size = 4;
  unsigned long records = 0;
  while (const char* guid = lex.ExpectTokenOnNewLine(TOK_STRING, nullptr)) {
    // Refused here: the size already counts the field's bytes.
    if (!OutputWriter::IsGuidText(guid)) ctx.Fail("Can't recognize item ", guid);
    const size_t units = NameLength(lex, lex.ExpectToken(TOK_STRING, kStringMissing));
    for (int i = 0; i < kind.valueCount; ++i) lex.ExpectTokenOnNewLine(TOK_NAME, kValueMissing);
    size += static_cast<unsigned long>(kind.fixedSize) + 2 * units;
    ++records;
  }
  if (records == 0) ctx.errors.SourceError(kStringMissing, {}, {}, lex.PendingTokenLine());
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  ctx.out.Printf("\t%ld, %ld,", static_cast<long>(size % 65536), static_cast<long>(size / 65536));
  ctx.out.WriteNewLine();
  ctx.out.Printf("\t0x%04lX, 0x%04lX,", records & 0xFFFF, (records >> 16) & 0xFFFF);
  ctx.out.WriteNewLine();
  lex.RestorePosition();

  ctx.out.StartDataBlock(1);
  for (unsigned long r = 0; r < records; ++r) WriteRecord(ctx, kind);
  ctx.out.FlushDataBytes();
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  ctx.out.WriteLineBlank("END");
}

}  // namespace

void ConvertLay2List(Context& ctx) { ConvertGuidList(ctx, kLay2); }
void ConvertMepsList(Context& ctx) { ConvertGuidList(ctx, kMeps); }

}  // namespace tessel
