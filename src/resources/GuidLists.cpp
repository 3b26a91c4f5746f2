#include "resources/GuidLists.h"

#include <array>
#include <cstdint>

#include "encoding/TranscodeUtils.h"
#include "frontend/Values.h"
#include "resources/Context.h"
#include "resources/ResourceBlock.h"
#include "resources/ResourceTypes.h"
#include "resources/SizedBody.h"

namespace tessel {

namespace {

constexpr char kStringMissing[] = "String is missing";
constexpr char kValueMissing[] = "An item is missing in the previous unit";
constexpr int kMaxValues = 11;

using Values = std::array<uint16_t, kMaxValues>;
using ValueParser = uint16_t (*)(Lexer&, const char*);

struct GuidListKind {
  uint16_t headWord;  // first word of each record
  uint32_t tag;       // third field of each record
  long fixedSize;     // record bytes besides the name
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

constexpr GuidListKind kLay2{2, 60, 55, 2, {ParseUShort, ParseHexShort}, WriteLay2Tail};
constexpr GuidListKind kMeps{1,
                             72,
                             67,
                             11,
                             {ParseUShort, ParseUShort, ParseUShort, ParseUShort, ParseUShort, ParseUShort, ParseUShort,
                              ParseUShort, ParseUShort, ParseUShort, ParseUShort},
                             WriteMepsTail};

std::u16string NameUnits(Lexer& lex, const char* literal) {
  std::string copy(literal);
  return WideFromLiteral(lex, Lexer::StripQuotes(copy.data()));
}

struct ListTotals {
  unsigned long size = 4;
  unsigned long records = 0;
};

// The records up to the closing brace: each a GUID literal on a new line, its name and its
// values on lines of their own. The checking reading checks the GUIDs and counts; the
// writing reading parses each record's values before any field of it is written.
ListTotals ReadGuidRecords(Context& ctx, const GuidListKind& kind, bool writing) {
  Lexer& lex = ctx.lex;
  OutputWriter& out = ctx.out;
  ListTotals totals;
  while (const char* literal = lex.ExpectTokenOnNewLine(TOK_STRING, nullptr)) {
    const std::string guid = literal;
    // Refused here: the size already counts the field's bytes.
    if (!OutputWriter::IsGuidText(guid.c_str())) ctx.Fail("Can't recognize item ", guid);
    const std::u16string name = NameUnits(lex, lex.ExpectToken(TOK_STRING, kStringMissing));
    Values values{};
    for (int i = 0; i < kind.valueCount; ++i) {
      const char* value = lex.ExpectTokenOnNewLine(TOK_NAME, kValueMissing);
      if (writing) values[i] = kind.parsers[i](lex, value);
    }
    totals.size += static_cast<unsigned long>(kind.fixedSize) + 2 * name.size();
    ++totals.records;
    if (!writing) continue;
    out.WriteDataShort(kind.headWord);
    out.WriteDataShort(2);
    out.WriteDataLong(kind.tag);
    out.WriteGuidData(guid.c_str());
    out.WriteDataShort(1);
    out.WriteDataLong(static_cast<uint32_t>(name.size()));
    for (char16_t unit : name) out.WriteDataShort(unit);
    kind.writeTail(out, values);
  }
  if (writing) out.FlushDataBytes();
  if (totals.records == 0) ctx.errors.SourceError(kStringMissing, {}, {}, lex.PendingTokenLine());
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  return totals;
}

void ConvertGuidList(Context& ctx, const ResourceType& type, const GuidListKind& kind) {
  Lexer& lex = ctx.lex;
  BeginResourceBlock(ctx, type.outputType);
  lex.ExpectTokenOnLine(TOK_STRING, kStringMissing);
  lex.ExpectToken(TOK_LBRACE, "{ is expected");

  ReadSizedBody(
      ctx,
      [&](bool writing) {
        if (writing) ctx.out.StartDataBlock(1);
        return ReadGuidRecords(ctx, kind, writing);
      },
      [&](const ListTotals& totals) {
        ctx.out.Printf("\t%ld, %ld,", static_cast<long>(totals.size % 65536), static_cast<long>(totals.size / 65536));
        ctx.out.WriteNewLine();
        ctx.out.Printf("\t0x%04lX, 0x%04lX,", totals.records & 0xFFFF, (totals.records >> 16) & 0xFFFF);
        ctx.out.WriteNewLine();
      });
  ctx.out.WriteLineBlank("END");
}

}  // namespace

void ConvertLay2List(Context& ctx, const ResourceType& type) { ConvertGuidList(ctx, type, kLay2); }
void ConvertMepsList(Context& ctx, const ResourceType& type) { ConvertGuidList(ctx, type, kMeps); }

}  // namespace tessel
