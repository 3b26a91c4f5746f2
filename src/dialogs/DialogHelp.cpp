#include "dialogs/DialogHelp.h"

#include <cstring>

#include "dialogs/AnchorIndex.h"
#include "frontend/Values.h"
#include "resources/Context.h"

namespace tessel {

namespace {

constexpr const char* kAnchorMissing = "Resource Anchor is missing for item with index: ";
constexpr size_t kDialogAnchorLimit = 1023;
constexpr size_t kHelpListTextLimit = 1023;  // 'DLGH', raw text with its quotes
constexpr size_t kHelpTextLimit = 271;       // 'DHLP'

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

// The help list of a dialog: the dialog's anchor, then per item index a help text and an anchor.
void ConvertHelpList(Context& ctx) {
  Lexer& lex = ctx.lex;
  std::string id = ReadResourceId(ctx);
  std::string dialogAnchor = ReadAnchor(ctx);
  if (dialogAnchor.size() > kDialogAnchorLimit) ctx.Fail("String is too long");
  ctx.keys.PushKeyScope("DLGH");
  ctx.keys.PushKeyScope(id);
  std::string title;
  if (!ctx.keys.IsKeyExtraction()) title = FindDialogTitle(ctx, id);
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  ctx.out.Printf("%s DLGH", id.c_str());
  ctx.out.WriteNewLine();
  ctx.out.WriteLine("BEGIN");

  lex.SavePosition();
  long size = StringByteCount(lex, dialogAnchor.c_str()) + 3;
  unsigned count = 0;
  while (lex.PeekToken() != TOK_RBRACE) {
    ++count;
    if (lex.PeekToken() == TOK_NAME) lex.ExpectTokenOnNewLine(TOK_NAME, kAnchorMissing);
    std::string text = ReadHelpText(ctx, kHelpListTextLimit);
    size += StringByteCount(lex, text.c_str());
    std::string anchor = ReadAnchor(ctx);
    size += StringByteCount(lex, anchor.c_str()) + 2;
  }
  WriteSize(ctx, size);
  ctx.out.Printf("\t\"%s\\0\",", dialogAnchor.c_str());
  ctx.out.WriteNewLine();
  ctx.out.Printf("\t%u,", count);
  ctx.out.WriteNewLine();
  lex.RestorePosition();
  if (ctx.anchorFile) {
    ctx.out.PrintfTo(ctx.anchorFile, "%s\t%s\t0\t%s\t\"\"", dialogAnchor.c_str(), id.c_str(), title.c_str());
    ctx.out.WriteNewLine(ctx.anchorFile);
  }

  unsigned index = 1;
  while (lex.PeekToken() != TOK_RBRACE) {
    if (lex.PeekToken() == TOK_NAME) {
      unsigned given = ParseUShort(lex, lex.ExpectTokenOnNewLine(TOK_NAME, kAnchorMissing));
      if (given < index) ctx.Fail("Current index is less then previous one");
      index = given;
    }
    std::string text = ReadHelpText(ctx, kHelpListTextLimit);
    std::string anchor = ReadAnchor(ctx);
    ctx.out.Printf("\t%u,", index);
    ctx.out.WriteNewLine();
    ctx.out.WriteDataString(lex, text.c_str(), 2);
    ctx.out.WriteDataString(lex, anchor.c_str(), 2);
    if (ctx.anchorFile) {
      ctx.out.PrintfTo(ctx.anchorFile, "%s-%s\t%s\t%u\t%s\t%s", dialogAnchor.c_str(), anchor.c_str(), id.c_str(),
                       index, title.c_str(), ctx.keys.IsKeyExtraction() ? "\"\"" : text.c_str());
      ctx.out.WriteNewLine(ctx.anchorFile);
    }
  }
  ctx.out.WriteLineBlank("END");
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  ctx.keys.PopKeyScope();
  ctx.keys.PopKeyScope();
}

// A plain list of help texts with anchors, numbered from 1.
void ConvertHelpTexts(Context& ctx) {
  Lexer& lex = ctx.lex;
  std::string id = ReadResourceId(ctx);
  ctx.keys.PushKeyScope("DHLP");
  ctx.keys.PushKeyScope(id);
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  ctx.out.Printf("%s DHLP", id.c_str());
  ctx.out.WriteNewLine();
  ctx.out.WriteLine("BEGIN");

  lex.SavePosition();
  long size = 2;
  unsigned count = 0;
  while (lex.PeekToken() != TOK_RBRACE) {
    ++count;
    lex.CheckLineEnd();
    std::string text = ReadHelpText(ctx, kHelpTextLimit);
    size += StringByteCount(lex, text.c_str());
    std::string anchor = ReadAnchor(ctx);
    size += StringByteCount(lex, anchor.c_str());
  }
  WriteSize(ctx, size);
  ctx.out.Printf("\t%u,", count);
  ctx.out.WriteNewLine();
  lex.RestorePosition();

  unsigned number = 0;
  while (lex.PeekToken() != TOK_RBRACE) {
    ++number;
    lex.CheckLineEnd();
    std::string text = ReadHelpText(ctx, kHelpTextLimit);
    std::string anchor = ReadAnchor(ctx);
    ctx.out.WriteDataString(lex, text.c_str(), 2);
    ctx.out.WriteDataString(lex, anchor.c_str(), 2);
    if (ctx.anchorFile) {
      ctx.out.PrintfTo(ctx.anchorFile, "%s\t%s\t%u\t%s\t%s", anchor.c_str(), id.c_str(), number, "DHLP", text.c_str());
      ctx.out.WriteNewLine(ctx.anchorFile);
    }
  }
  ctx.out.WriteLineBlank("END");
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  ctx.keys.PopKeyScope();
  ctx.keys.PopKeyScope();
}

}  // namespace

void ConvertDialogHelp(Context& ctx, int code) {
  if (code == RES_DLGH) ConvertHelpList(ctx);
  else ConvertHelpTexts(ctx);
}

}  // namespace tessel
