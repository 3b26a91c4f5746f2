#include "dialogs/DialogHelp.h"

#include <cstring>
#include <initializer_list>
#include <string_view>

#include "Common/Format.h"
#include "dialogs/AnchorIndex.h"
#include "frontend/Values.h"
#include "resources/Context.h"
#include "resources/ResourceTypes.h"
#include "resources/SizedBody.h"

namespace tessel {

namespace {

constexpr const char* kAnchorMissing = "Resource Anchor is missing for item with index: ";
constexpr size_t kDialogAnchorLimit = 1023;
constexpr size_t kHelpListTextLimit = 1023;  // 'DLGH', raw text with its quotes
constexpr size_t kHelpTextLimit = 271;       // 'DHLP'

// One line of the anchor list: the fields, each up to its first zero byte (as a C string), joined
// by tabs, then the line end. Appended piece by piece: these lines carry whole help texts.
void ListAnchor(OutputWriter& out, std::initializer_list<std::string_view> fields) {
  constexpr OutputTarget kList = OutputTarget::kAnchorList;
  const char* separator = "";
  for (std::string_view field : fields) {
    out.WriteString(separator, kList);
    out.WriteString(field.substr(0, field.find('\0')), kList);
    separator = "\t";
  }
  out.WriteNewLine(kList);
}

std::string ReadResourceId(Context& ctx) {
  std::string id = ctx.lex.ExpectTokenOnLine(TOK_NAME, "Resource ID is missing");
  ctx.errors.SetResourceID(id.c_str());
  return id;
}

// The help text of an entry: a string literal, possibly joined from several.
std::string ReadHelpText(Context& ctx, size_t limit) {
  const char* text = ctx.lex.GetOptionalString();
  if (!text) {
    ctx.lex.ExpectToken(TOK_STRING, "String is missing");  // reports at the line of the token found instead
    ctx.Fail("String is missing");
  }
  if (std::strlen(text) > limit) ctx.Fail("String is too long");
  return text;
}

std::string ReadAnchor(Context& ctx) { return ctx.lex.ExpectTokenOnLine(TOK_NAME, kAnchorMissing); }

void WriteSize(Context& ctx, long size) {
  ctx.out.Printf("\t%ld, %ld,", size % 65536, size / 65536);
  ctx.out.WriteNewLine();
}

struct HelpTotals {
  long size = 0;
  unsigned count = 0;
};

// What the entries of a help list are written and listed with.
struct HelpListHead {
  std::string id;
  std::string dialogAnchor;
  std::string title;
};

// The entries of a dialog's help list up to its closing brace: an optional item index on a
// new line, a help text and an anchor. The checking reading counts; the writing reading
// checks the indexes, writes the entries and lists their anchors.
HelpTotals ReadHelpListEntries(Context& ctx, const HelpListHead& head, bool writing) {
  Lexer& lex = ctx.lex;
  HelpTotals totals;
  unsigned index = 1;
  while (lex.PeekToken() != TOK_RBRACE) {
    ++totals.count;
    if (lex.PeekToken() == TOK_NAME) {
      const char* given = lex.ExpectTokenOnNewLine(TOK_NAME, kAnchorMissing);
      if (writing) {
        const unsigned number = ParseUShort(lex, given);
        if (number < index) ctx.Fail("Current index is less then previous one");
        index = number;
      }
    }
    std::string text = ReadHelpText(ctx, kHelpListTextLimit);
    totals.size += StringByteCount(lex, text.c_str());
    std::string anchor = ReadAnchor(ctx);
    totals.size += StringByteCount(lex, anchor.c_str()) + 2;
    if (!writing) continue;
    ctx.out.WriteString("\t");
    ctx.out.WriteString(DecimalText(index).View());
    ctx.out.WriteLine(",");
    ctx.out.WriteDataString(lex, text.c_str(), 2);
    ctx.out.WriteDataString(lex, anchor.c_str(), 2);
    if (ctx.out.Writing(OutputTarget::kAnchorList)) {
      ctx.out.WriteString(std::string_view(head.dialogAnchor.c_str()), OutputTarget::kAnchorList);
      ctx.out.WriteString("-", OutputTarget::kAnchorList);
      ListAnchor(ctx.out, {anchor, head.id, DecimalText(index).View(), head.title,
                           ctx.keys.IsKeyExtraction() ? std::string_view("\"\"") : std::string_view(text)});
    }
  }
  return totals;
}

// The entries of a plain help list up to its closing brace, numbered from 1: a help text and
// an anchor on a line of their own. The checking reading counts; the writing reading writes
// them and lists their anchors.
HelpTotals ReadHelpTextEntries(Context& ctx, const std::string& id, bool writing) {
  Lexer& lex = ctx.lex;
  HelpTotals totals;
  while (lex.PeekToken() != TOK_RBRACE) {
    ++totals.count;
    lex.CheckLineEnd();
    std::string text = ReadHelpText(ctx, kHelpTextLimit);
    totals.size += StringByteCount(lex, text.c_str());
    std::string anchor = ReadAnchor(ctx);
    totals.size += StringByteCount(lex, anchor.c_str());
    if (!writing) continue;
    ctx.out.WriteDataString(lex, text.c_str(), 2);
    ctx.out.WriteDataString(lex, anchor.c_str(), 2);
    if (ctx.out.Writing(OutputTarget::kAnchorList)) {
      ListAnchor(ctx.out, {anchor, id, DecimalText(totals.count).View(), "DHLP", text});
    }
  }
  return totals;
}

}  // namespace

// The help list of a dialog: the dialog's anchor, then per item index a help text and an anchor.
void ConvertHelpList(Context& ctx, const ResourceType& type) {
  Lexer& lex = ctx.lex;
  HelpListHead head;
  head.id = ReadResourceId(ctx);
  head.dialogAnchor = ReadAnchor(ctx);
  if (head.dialogAnchor.size() > kDialogAnchorLimit) ctx.Fail("String is too long");
  ctx.keys.PushKeyScope("DLGH");
  ctx.keys.PushKeyScope(head.id);
  if (!ctx.keys.IsKeyExtraction()) head.title = FindDialogTitle(ctx, head.id);
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  ctx.out.Printf("%s %s", head.id.c_str(), type.outputType);
  ctx.out.WriteNewLine();
  ctx.out.WriteLine("BEGIN");

  const long anchorSize = StringByteCount(lex, head.dialogAnchor.c_str()) + 3;
  ReadSizedBody(
      ctx, [&](bool writing) { return ReadHelpListEntries(ctx, head, writing); },
      [&](const HelpTotals& totals) {
        WriteSize(ctx, anchorSize + totals.size);
        ctx.out.Printf("\t\"%s\\0\",", head.dialogAnchor.c_str());
        ctx.out.WriteNewLine();
        ctx.out.Printf("\t%u,", totals.count);
        ctx.out.WriteNewLine();
        if (ctx.out.Writing(OutputTarget::kAnchorList)) {
          ListAnchor(ctx.out, {head.dialogAnchor, head.id, "0", head.title, "\"\""});
        }
      });
  ctx.out.WriteLineBlank("END");
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  ctx.keys.PopKeyScope();
  ctx.keys.PopKeyScope();
}

// A plain list of help texts with anchors.
void ConvertHelpTexts(Context& ctx, const ResourceType& type) {
  Lexer& lex = ctx.lex;
  std::string id = ReadResourceId(ctx);
  ctx.keys.PushKeyScope("DHLP");
  ctx.keys.PushKeyScope(id);
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  ctx.out.Printf("%s %s", id.c_str(), type.outputType);
  ctx.out.WriteNewLine();
  ctx.out.WriteLine("BEGIN");

  ReadSizedBody(
      ctx, [&](bool writing) { return ReadHelpTextEntries(ctx, id, writing); },
      [&](const HelpTotals& totals) {
        WriteSize(ctx, totals.size + 2);
        ctx.out.Printf("\t%u,", totals.count);
        ctx.out.WriteNewLine();
      });
  ctx.out.WriteLineBlank("END");
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  ctx.keys.PopKeyScope();
  ctx.keys.PopKeyScope();
}

}  // namespace tessel
