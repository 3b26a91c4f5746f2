#include "resources/ConfigResources.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "encoding/TranscodeUtils.h"
#include "frontend/Values.h"
#include "resources/Context.h"
#include "resources/StringResources.h"

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

long WideBytes(Context& ctx, const char* literal) {
  return 2 * (static_cast<long>(WideLengthOfLiteral(ctx.lex, Unquoted(literal).c_str())) + 1);
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

void ConvertConfigRecord(Context& ctx) {
  Lexer& lex = ctx.lex;
  BeginResourceBlock(ctx, "ACNF");
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

void ConvertLabelValueList(Context& ctx) {
  Lexer& lex = ctx.lex;
  const std::string id = BeginResourceBlock(ctx, "ACP0");
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

void ConvertCommandTable(Context& ctx) {
  Lexer& lex = ctx.lex;
  const std::string id = BeginResourceBlock(ctx, "CMND");
  ctx.keys.PushKeyScope("CMND");
  ctx.keys.PushKeyScope(id);

  // Counting pass: the size and the number of commands of each group.
  lex.SavePosition();
  long size = WideBytes(ctx, lex.ExpectTokenOnLine(TOK_STRING, kStringMissing)) + 2;
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  std::vector<uint16_t> commandCounts;
  while (lex.PeekToken() == TOK_NAME) {
    lex.ExpectTokenOnNewLine(TOK_NAME, kItemMissing);
    if (commandCounts.size() == kCountLimit) ctx.Fail("Internal error");
    lex.ExpectTokenOnLine(TOK_NAME, kItemMissing);
    size += 6;
    size_t commands = 0;
    while (lex.PeekToken() == TOK_STRING) {
      const char* command = lex.GetTokenText();
      if (commands == kCountLimit) ctx.Fail("Internal error");
      size += WideBytes(ctx, command);
      size += lex.PeekTokenOnLine() == TOK_STRING ? WideBytes(ctx, lex.GetTokenText()) : 2;
      ++commands;
    }
    commandCounts.push_back(static_cast<uint16_t>(commands));
    lex.CheckLineEnd();
  }
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  lex.RestorePosition();

  WriteSizeLine(ctx, size);
  const std::string title = Unquoted(lex.ExpectTokenOnLine(TOK_STRING, kStringMissing));
  ctx.out.Printf("\t/* %s */", CommentSafe(title).c_str());
  ctx.out.WriteNewLine();
  ctx.out.StartDataBlock(1);
  WriteUnits(ctx, WideFromLiteral(lex, title.c_str()));
  ctx.out.FlushDataBytes();
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  ctx.out.Printf("\t%ld,", static_cast<long>(commandCounts.size()));
  ctx.out.WriteNewLine();

  for (uint16_t commands : commandCounts) {
    const std::string group = lex.ExpectTokenOnNewLine(TOK_NAME, kItemMissing);
    ctx.keys.PushKeyScope(group);
    const std::string icon = lex.ExpectTokenOnLine(TOK_NAME, kItemMissing);
    ctx.out.Printf("\t%s,", group.c_str());
    ctx.out.WriteNewLine();
    if (icon == "noIcon") {
      ctx.out.WriteLine("\t0xffff,");
    } else {
      ctx.out.Printf("\t%s,", icon.c_str());
      ctx.out.WriteNewLine();
    }
    ctx.out.Printf("\t%ld,", static_cast<long>(commands));
    ctx.out.WriteNewLine();
    ctx.out.StartDataBlock(1);
    for (unsigned i = 1; i <= commands; ++i) {
      ctx.keys.PushKeyScope("Command");
      ctx.keys.SetKeyItem(static_cast<uint16_t>(i));
      const std::string command = Unquoted(lex.ExpectToken(TOK_STRING, kStringMissing));
      ctx.keys.PopKeyScope();
      WriteUnits(ctx, WideFromLiteral(lex, command.c_str()));
      if (lex.PeekTokenOnLine() == TOK_STRING) {
        ctx.keys.PushKeyScope("Detail");
        ctx.keys.SetKeyItem(static_cast<uint16_t>(i));
        const std::string detail = Unquoted(lex.ExpectToken(TOK_STRING, kStringMissing));
        ctx.keys.PopKeyScope();
        WriteUnits(ctx, WideFromLiteral(lex, detail.c_str()));
      } else {
        ctx.out.WriteDataWord(0);
      }
    }
    ctx.out.FlushDataBytes();
    lex.CheckLineEnd();
    ctx.out.WriteNewLine();
    ctx.keys.PopKeyScope();
  }

  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  ctx.out.WriteLineBlank("END");
  ctx.keys.PopKeyScope();
  ctx.keys.PopKeyScope();
}

}  // namespace tessel
