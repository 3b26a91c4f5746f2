#include "resources/ConfigResources.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "encoding/TranscodeUtils.h"
#include "frontend/ReadAhead.h"
#include "frontend/Values.h"
#include "resources/Context.h"
#include "resources/ResourceBlock.h"
#include "resources/ResourceTypes.h"

namespace tessel {

namespace {

constexpr char kStringMissing[] = "String is missing";
constexpr char kItemMissing[] = "An item is missing";
constexpr long kConfigTextBytes = 32;
constexpr long kTemplateLabelLimit = 255;  // the template stores a label's length in one byte
constexpr size_t kCountLimit = 65535;      // group and command counts are 16-bit words

void WriteSizeLine(Context& ctx, long size) {
  ctx.out.Printf("\t%ld, %ld,", size % 65536, size / 65536);
  ctx.out.WriteNewLine();
}

std::string Unquoted(const char* literal) {
  std::string copy(literal);
  return Lexer::StripQuotes(copy.data());
}

// A sum: a name followed on its line by any number of "+" and a further name.
std::string ReadSum(Lexer& lex) {
  std::string sum = lex.ExpectTokenOnNewLine(TOK_NAME, kItemMissing);
  while (lex.PeekTokenOnLine() == TOK_PLUS) {
    lex.GetToken();
    sum += " + ";
    sum += lex.ExpectTokenOnLine(TOK_NAME, kItemMissing);
  }
  return sum;
}

void CheckMethod(Context& ctx, const std::string& method) {
  if (method == "IoVEXMethod") ctx.Fail("Can't recognize item ", method);
  if (IsDecimal(method.c_str())) {
    ParseLong(ctx.lex, method.c_str());
  } else {
    ParseHexLong(ctx.lex, method.c_str());
  }
}

void WriteUnits(Context& ctx, const std::u16string& units) {
  for (char16_t unit : units) ctx.out.WriteDataWord(unit);
  ctx.out.WriteDataWord(0);
}

// What the checking reading of a command table finds: the data size and the number of
// commands of each group.
struct CommandTotals {
  long size = 0;
  std::vector<uint16_t> commands;
};

// A command or detail string, in its key scope numbered with the command.
std::string ReadCommandText(Context& ctx, const char* scope, unsigned number) {
  ctx.keys.PushKeyScope(scope);
  ctx.keys.SetKeyItem(static_cast<uint16_t>(number));
  std::string text = Unquoted(ctx.lex.ExpectToken(TOK_STRING, kStringMissing));
  ctx.keys.PopKeyScope();
  return text;
}

// Counts a text's data words with their terminating zero, and writes them when writing.
void TakeUnits(Context& ctx, const std::string& text, bool writing, long& size) {
  const std::u16string units = WideFromLiteral(ctx.lex, text.c_str());
  size += 2 * (static_cast<long>(units.size()) + 1);
  if (writing) WriteUnits(ctx, units);
}

// The table from its title to its closing brace. The checking reading counts; the writing
// reading writes everything after the size line, with the counts of the checking reading.
CommandTotals ReadCommandTable(Context& ctx, bool writing, const CommandTotals& counted) {
  Lexer& lex = ctx.lex;
  OutputWriter& out = ctx.out;
  CommandTotals totals;
  const std::string title = Unquoted(lex.ExpectTokenOnLine(TOK_STRING, kStringMissing));
  if (writing) {
    out.Printf("\t/* %s */", CommentSafe(title).c_str());
    out.WriteNewLine();
    out.StartDataBlock(1);
  }
  TakeUnits(ctx, title, writing, totals.size);
  totals.size += 2;
  if (writing) out.FlushDataBytes();
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  if (writing) {
    out.Printf("\t%ld,", static_cast<long>(counted.commands.size()));
    out.WriteNewLine();
  }

  while (lex.PeekToken() == TOK_NAME) {
    const std::string group = lex.ExpectTokenOnNewLine(TOK_NAME, kItemMissing);
    if (totals.commands.size() == kCountLimit) ctx.Fail("Internal error");
    ctx.keys.PushKeyScope(group);
    const std::string icon = lex.ExpectTokenOnLine(TOK_NAME, kItemMissing);
    totals.size += 6;
    if (writing) {
      out.Printf("\t%s,", group.c_str());
      out.WriteNewLine();
      if (icon == "noIcon") {
        out.WriteLine("\t0xffff,");
      } else {
        out.Printf("\t%s,", icon.c_str());
        out.WriteNewLine();
      }
      out.Printf("\t%ld,", static_cast<long>(counted.commands[totals.commands.size()]));
      out.WriteNewLine();
      out.StartDataBlock(1);
    }
    unsigned commands = 0;
    while (lex.PeekToken() == TOK_STRING) {
      const std::string command = ReadCommandText(ctx, "Command", commands + 1);
      if (commands == kCountLimit) ctx.Fail("Internal error");
      ++commands;
      TakeUnits(ctx, command, writing, totals.size);
      if (lex.PeekTokenOnLine() == TOK_STRING) {
        TakeUnits(ctx, ReadCommandText(ctx, "Detail", commands), writing, totals.size);
      } else {
        totals.size += 2;
        if (writing) out.WriteDataWord(0);
      }
    }
    totals.commands.push_back(static_cast<uint16_t>(commands));
    if (writing) out.FlushDataBytes();
    lex.CheckLineEnd();
    if (writing) out.WriteNewLine();
    ctx.keys.PopKeyScope();
  }
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  return totals;
}

}  // namespace

std::string PaddedConfigText(std::string_view literal, long bytes) {
  std::string text(literal.substr(0, literal.empty() ? 0 : literal.size() - 1));
  for (long i = bytes; i < kConfigTextBytes; ++i) text += "\\0";
  text += '"';
  return text;
}

std::string CommentSafe(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    safe += text[i];
    if (text[i] == '*' && i + 1 < text.size() && text[i + 1] == '/') safe += ' ';
  }
  return safe;
}

void ConvertConfigRecord(Context& ctx, const ResourceType& type) {
  Lexer& lex = ctx.lex;
  BeginResourceBlock(ctx, type.outputType);
  lex.ExpectTokenOnLine(TOK_STRING, kStringMissing);
  lex.ExpectToken(TOK_LBRACE, "{ is expected");

  // Everything is read and checked before the record is written.
  const std::string first = lex.ExpectTokenOnNewLine(TOK_NAME, kItemMissing);
  const std::string second = ReadSum(lex);
  const std::string third = ReadSum(lex);
  std::string words[4];  // the method and items 5 to 7
  words[0] = lex.ExpectTokenOnNewLine(TOK_NAME, kItemMissing);
  if (!ctx.keys.IsKeyExtraction()) CheckMethod(ctx, words[0]);
  for (int i = 1; i < 4; ++i) words[i] = lex.ExpectTokenOnNewLine(TOK_NAME, kItemMissing);
  const std::string last = ReadSum(lex);
  const std::string text = lex.ExpectTokenOnNewLine(TOK_STRING, kStringMissing);
  const long bytes = StringByteCount(lex, text.c_str()) - 2;
  if (bytes > kConfigTextBytes) ctx.Fail("String is too long");
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");

  WriteSizeLine(ctx, 72);
  for (const std::string* item : {&first, &second, &third}) {
    ctx.out.Printf("\t%s, 0,", item->c_str());
    ctx.out.WriteNewLine();
  }
  for (const auto& word : words) {
    ctx.out.Printf("\t%s,", word.c_str());
    ctx.out.WriteNewLine();
  }
  ctx.out.Printf("\t0L + %s,", last.c_str());
  ctx.out.WriteNewLine();
  for (const char* tag : {"\t\"date\",", "\t\"offs\",", "\t\"slen\",", "", "\t0, 0,"}) ctx.out.WriteLine(tag);
  ctx.out.Printf("\t%s,", PaddedConfigText(text, std::max(bytes, 0L)).c_str());
  ctx.out.WriteNewLine();
  ctx.out.WriteLineBlank("END");
}

void ConvertLabelValueList(Context& ctx, const ResourceType& type) {
  Lexer& lex = ctx.lex;
  const std::string id = BeginResourceBlock(ctx, type.outputType);
  ctx.keys.PushKeyScope("ACP0");
  ctx.keys.PushKeyScope(id);
  lex.ExpectTokenOnLine(TOK_STRING, kStringMissing);
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  lex.CheckLineEnd();

  const bool withTemplate = !ctx.keys.IsKeyExtraction() && id == "128";
  std::vector<std::string> labels;  // decoded bytes, kept for the template only
  std::vector<std::string> values;
  long valueSize = 0;
  long templateSize = 0;
  while (lex.PeekToken() == TOK_STRING) {
    ctx.keys.PushKeyScope("Value");
    ctx.keys.NextKeyItem();
    ctx.keys.SuppressKeys();
    const char* label = lex.ExpectTokenOnNewLine(TOK_STRING, kStringMissing);
    if (withTemplate) {
      labels.push_back(LiteralBytes(lex, label));
      if (static_cast<long>(labels.back().size()) > kTemplateLabelLimit) ctx.Fail("String is too long");
      templateSize += static_cast<long>(labels.back().size()) + 5;
    }
    ctx.keys.ResumeKeys();
    values.emplace_back(lex.ExpectTokenOnNewLine(TOK_STRING, kStringMissing));
    valueSize += StringByteCount(lex, values.back().c_str()) - 1;
    ctx.keys.PopKeyScope();
  }
  // No pair at all: reported at the token found in place of the first label.
  if (values.empty()) lex.ExpectTokenOnNewLine(TOK_STRING, kStringMissing);
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");

  WriteSizeLine(ctx, valueSize);
  for (const auto& value : values) ctx.out.WriteDataString(lex, value.c_str(), 1);
  ctx.out.WriteLineBlank("END");

  if (withTemplate) {
    for (const char* line : {"900 TMPLNAM", "BEGIN", "\t5, 0,", "\t\"ACP0\\0\","}) ctx.out.WriteLine(line);
    ctx.out.WriteLineBlank("END");
    ctx.out.WriteLine("900 TMPL");
    ctx.out.WriteLine("BEGIN");
    WriteSizeLine(ctx, templateSize);
    ctx.out.StartDataBlock(1);
    for (const auto& label : labels) {
      ctx.out.WriteDataByte(static_cast<uint8_t>(label.size()));
      for (char c : label) ctx.out.WriteDataByte(static_cast<uint8_t>(c));
      for (char c : {'C', 'S', 'T', 'R'}) ctx.out.WriteDataByte(static_cast<uint8_t>(c));
    }
    ctx.out.FlushDataBytes();
    ctx.out.WriteLineBlank("END");
  }
  ctx.keys.PopKeyScope();
  ctx.keys.PopKeyScope();
}

void ConvertCommandTable(Context& ctx, const ResourceType& type) {
  const std::string id = BeginResourceBlock(ctx, type.outputType);
  ctx.keys.PushKeyScope("CMND");
  ctx.keys.PushKeyScope(id);
  // The size and the command count of each group precede the data they count.
  const CommandTotals counted = ReadAhead(ctx.lex, [&] { return ReadCommandTable(ctx, false, {}); });
  WriteSizeLine(ctx, counted.size);
  ReadCommandTable(ctx, true, counted);
  ctx.out.WriteLineBlank("END");
  ctx.keys.PopKeyScope();
  ctx.keys.PopKeyScope();
}

}  // namespace tessel
