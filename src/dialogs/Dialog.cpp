#include "dialogs/Dialog.h"

#include <string>

#include "dialogs/DialogFields.h"
#include "dialogs/DialogItems.h"
#include "dialogs/DialogTables.h"
#include "frontend/Values.h"
#include "platform/Platform.h"
#include "resources/Context.h"
#include "resources/ResourceTypes.h"
#include "resources/SizedBody.h"

namespace tessel {

namespace {

constexpr size_t kTitleLimit = 256;  // bytes of the title's source text

// Cuts a string token text to at most `limit` bytes and closes it again with a quote. The cut
// never splits an escape, a doubled quote or a double-byte character, so the cut literal
// counts and writes the same bytes.
std::string CutLiteral(Lexer& lex, std::string raw, size_t limit) {
  if (raw.size() <= limit) return raw;
  size_t pos = 1;
  while (pos + 1 < raw.size()) {
    const auto c = static_cast<unsigned char>(raw[pos]);
    size_t length = 1;
    if (c == '\\')
      length = static_cast<size_t>(DecodeEscape(lex, raw.c_str() + pos).length);
    else if (c == '"' && raw[pos + 1] == '"')
      length = 2;
    else if (platform::IsLeadByte(lex.CodePage(), c))
      length = 2;
    if (pos + length > limit - 1) break;
    pos += length;
  }
  raw.resize(pos);
  raw += '"';
  return raw;
}

}  // namespace

void ConvertDialog(Context& ctx, const ResourceType& type) {
  if (ctx.settings.target == 'e') {
    ctx.Fail("Conversion of Menu, Menubar and Dialog resources are not supported for emulation.");
  }
  Lexer& lex = ctx.lex;
  KeyContext& keys = ctx.keys;
  ctx.dialogDefinitionsUsed = true;

  const std::string id = lex.ExpectTokenOnLine(TOK_NAME, "Resource ID is missing");
  ctx.errors.SetResourceID(id.c_str());
  keys.PushKeyScope("QDLG");
  keys.PushKeyScope(id);

  dialog::DialogStyle style;
  for (;;) {
    std::string keyword = lex.ExpectTokenOnLine(TOK_NAME, "An item is missing");
    if (!style.Add(keyword)) ctx.Fail("Illegal combination of styles", keyword);
    if (lex.PeekTokenOnLine() != TOK_BAR) break;
    lex.GetToken();
  }
  if (auto detail = style.CombinationError()) ctx.Fail("Illegal combination of styles", *detail);

  uint16_t box[4];
  for (auto& value : box) value = ParseUShort(lex, lex.ExpectTokenOnLine(TOK_NAME, "An item is missing"));
  if (style.IsTabPage() && (box[0] != 0 || box[1] != 0))
    ctx.Fail("Upper left corner of TabPage is not (0,0): ", "TabPage");

  keys.PushKeyScope(KeyContext::TitleKeyName(style.seen));
  std::string title = lex.ExpectTokenOnLine(TOK_STRING, "String is missing");
  if (!keys.IsKeyExtraction()) title = CutLiteral(lex, std::move(title), kTitleLimit);
  keys.PopKeyScope();

  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  lex.CheckLineEnd();
  if (keys.IsKeyExtraction() && lex.PeekToken() == RES_QDLG) {
    keys.PopKeyScope();
    keys.PopKeyScope();
    return;
  }

  const long titleSize = 13 + StringByteCount(lex, title.c_str());
  OutputWriter& out = ctx.out;
  ReadSizedBody(
      ctx, [&](bool writing) { return dialog::ReadDialogBody(ctx, id, writing); },
      [&](const dialog::BodyTotals& totals) {
        const long size = titleSize + totals.size;
        out.WriteLine(id + " " + type.outputType);
        out.WriteLine("BEGIN");
        out.WriteLine(FormatText("\t%ld, %ld,", size % 65536, size / 65536));
        out.WriteLine(FormatText("\t%d, %d,", style.type, static_cast<int>(style.styleFlags)));
        out.WriteLine(FormatText("\t%hu, %hu, %hu, %hu,", box[0], box[1], box[2], box[3]));
        out.WriteDataString(lex, title.c_str(), 1);
        out.WriteLine(FormatText("\t%u,", static_cast<unsigned>(totals.items)));
      });
  out.WriteLineBlank("END");
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  keys.PopKeyScope();
  keys.PopKeyScope();
}

}  // namespace tessel
