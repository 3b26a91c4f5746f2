#include "resources/DataFiles.h"

#include <cstdint>
#include <cstdio>

#include "encoding/TranscodeUtils.h"
#include "platform/Platform.h"
#include "resources/Context.h"
#include "resources/ResourceTypes.h"

namespace tessel {

namespace {

// The size field of an embedded file holds 32 bits.
constexpr uint64_t kMaxContent = UINT32_MAX;

// The whole content of a file (valid until the next read); none when it cannot be opened or
// read (a directory, say), or when its length does not fit the size field. A file read is noted
// for the dependency file.
const std::string* ReadEmbeddedFile(Context& ctx, const std::string& path) {
  const std::string* content = ctx.embeddedFiles.Read(path, kMaxContent);
  if (content) ctx.RecordRead(path);
  return content;
}

// The resource ID (set for messages) and the literal on its line, without quotes. With a
// key scope name the literal is read inside the scopes of that name and the ID.
std::string ReadIdAndLiteral(Context& ctx, const char* keyScope, std::string& literal) {
  std::string id = ctx.lex.ExpectTokenOnLine(TOK_NAME, "Resource ID is missing");
  ctx.errors.SetResourceID(id.c_str());
  if (keyScope) {
    ctx.keys.PushKeyScope(keyScope);
    ctx.keys.PushKeyScope(id);
  }
  literal = Lexer::StripQuotes(ctx.lex.ExpectTokenOnLine(TOK_STRING, "String is missing"));
  if (keyScope) {
    ctx.keys.PopKeyScope();
    ctx.keys.PopKeyScope();
  }
  return id;
}

// The opening brace and the file name literal on a later line, without quotes.
std::string ReadFileName(Context& ctx) {
  ctx.lex.ExpectToken(TOK_LBRACE, "{ is expected");
  return Lexer::StripQuotes(ctx.lex.ExpectTokenOnNewLine(TOK_STRING, "String is missing"));
}

// Key extraction reads the rest of the body without opening the file.
void SkipFurtherStrings(Context& ctx) {
  while (ctx.lex.PeekToken() == TOK_STRING) ctx.lex.GetToken();
}

void ExpectClosingBrace(Context& ctx) { ctx.lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected"); }

// Modes d and h have no path list and write no resources: embedded files are checked for
// their syntax only, so that a valid source passes these modes.
bool ChecksSyntaxOnly(const Context& ctx) {
  return ctx.settings.mode == Mode::kDependencies || ctx.settings.mode == Mode::kCheckHelpBitmaps;
}

// The first file that opens among the set entries of the path list joined with the name,
// then (when asked) the name alone.
const std::string* ReadFromPathList(Context& ctx, const std::string& name, bool tryNameAlone) {
  for (const std::string& entry : ctx.paths) {
    if (entry.empty()) continue;
    if (const std::string* content = ReadEmbeddedFile(ctx, entry + "\\" + name)) return content;
  }
  if (tryNameAlone) return ReadEmbeddedFile(ctx, name);
  return nullptr;
}

// The block of an embedded file: header, size line, data words. An odd last byte is padded
// with a zero byte, or written as a one-byte string when padOdd is false.
void WriteFileBlock(Context& ctx, const std::string& header, const std::string& content, bool padOdd) {
  OutputWriter& out = ctx.out;
  out.WriteLine(header);
  out.WriteLine("BEGIN");
  long length = static_cast<long>(content.size());
  out.Printf("\t%ld, %ld,", length % 65536, length / 65536);
  out.WriteNewLine();
  out.StartDataBlock(1);
  out.WriteDataBytes(content);
  if (padOdd && content.size() % 2 != 0) out.WriteDataByte(0);
  out.FlushDataBytes();
  out.WriteLineBlank("END");
}

// The folder text for the comment line: a "*/" inside must not end the comment.
std::string CommentText(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == '*' && i + 1 < text.size() && text[i + 1] == '/') result += ' ';
  }
  return result;
}

}  // namespace

void ConvertTextFile(Context& ctx, const ResourceType& type) {
  std::string literal;
  std::string id = ReadIdAndLiteral(ctx, nullptr, literal);
  std::string name = ReadFileName(ctx);
  if (ctx.keys.IsKeyExtraction()) {
    SkipFurtherStrings(ctx);
  } else if (!ChecksOnly(ctx.settings.mode)) {  // the check-only modes do not open the file
    const std::string& firstPath = ctx.FirstPath();
    std::string path = !firstPath.empty() ? firstPath + "\\" + name : name;
    const std::string* content = ReadEmbeddedFile(ctx, path);
    if (!content) ctx.Fail("Can't open file: ", path);
    std::string converted;
    if (ctx.toTarget) {
      if (ctx.toTarget->Transcode(content->data(), content->size(), 1, true, false, converted) < 0) {
        std::fprintf(stderr, "When processing file:\"%s\"\n", path.c_str());
        std::fflush(stderr);
        ctx.errors.GeneralError("Memory allocation error");
      }
      converted.pop_back();  // the reserved byte
      if (converted.size() > kMaxContent) ctx.Fail("Can't open file: ", path);
      content = &converted;
    }
    WriteFileBlock(ctx, id + " " + type.outputType, *content, false);
  }
  ExpectClosingBrace(ctx);
}

void ListTextDependency(Context& ctx, const std::string& destinationPath, int indent) {
  std::string literal;
  ReadIdAndLiteral(ctx, nullptr, literal);
  std::string name = ReadFileName(ctx);
  ctx.out.Printf("%*s%s\\%s", indent, "", destinationPath.c_str(), name.c_str());
  ExpectClosingBrace(ctx);
}

void ConvertFile(Context& ctx, const ResourceType& type) {
  std::string folder;
  std::string id = ReadIdAndLiteral(ctx, "FILE", folder);
  bool extracting = ctx.keys.IsKeyExtraction();
  std::u16string wide;
  if (!extracting) {
    // Checked here, so that a bad folder name is reported at its own line.
    if (folder.size() > kFolderTextLimit) ctx.Fail("String is too long");
    wide = WideFromLiteral(ctx.lex, folder.c_str());
  }
  std::string name = ReadFileName(ctx);
  if (extracting) {
    SkipFurtherStrings(ctx);
    ExpectClosingBrace(ctx);
    return;
  }
  if (ChecksSyntaxOnly(ctx)) {
    ExpectClosingBrace(ctx);
    return;
  }
  const std::string* content = ReadFromPathList(ctx, name, true);
  if (!content) ctx.Fail("Can't open file: ", name);
  WriteFileBlock(ctx, id + " " + type.outputType, *content, true);
  ExpectClosingBrace(ctx);
  ctx.folders.entries.push_back(FolderEntry{id, "\"" + folder + "\"", std::move(wide), 0});
}

void ConvertDataFile(Context& ctx, const ResourceType& type) {
  std::string literal;
  std::string id = ReadIdAndLiteral(ctx, nullptr, literal);
  std::string name = ReadFileName(ctx);
  if (ctx.keys.IsKeyExtraction()) {
    SkipFurtherStrings(ctx);
  } else if (!ChecksSyntaxOnly(ctx)) {
    const std::string* content = ReadFromPathList(ctx, name, false);
    if (!content) ctx.Fail("Can't open file: ", name);
    WriteFileBlock(ctx, id + " " + type.outputType, *content, true);
  }
  ExpectClosingBrace(ctx);
}

int WriteFolderTable(Context& ctx) {
  const std::vector<FolderEntry>& entries = ctx.folders.entries;
  if (entries.empty()) return 0;
  OutputWriter& out = ctx.out;
  long count = static_cast<long>(entries.size());
  out.Printf("%d FLDR", 128);
  out.WriteNewLine();
  out.WriteLine("{");
  out.Printf("%ldL,", 526 * count + 2);
  out.WriteNewLine();
  out.Printf("%ld,", count);
  out.WriteNewLine();
  for (const FolderEntry& entry : entries) {
    std::string_view text = std::string_view(entry.folder).substr(1, entry.folder.size() - 2);
    out.WriteNewLine();
    out.WriteTabs(1);
    out.Printf("/* \"%s\" */", CommentText(text).c_str());
    out.WriteNewLine();
    out.WriteTabs(1);
    for (char16_t unit : entry.wide) out.Printf("0x%04X,", static_cast<unsigned>(unit));
    out.WriteNewLine();
    out.WriteTabs(1);
    for (size_t i = entry.wide.size(); i < kFolderUnits; ++i) out.WriteString("0,");
    out.WriteNewLine();
    out.WriteTabs(1);
    out.Printf("%ld,", static_cast<long>(entry.flag));
    out.WriteNewLine();
    out.WriteTabs(1);
    out.Printf("%s,", entry.id.c_str());
    out.WriteNewLine();
  }
  out.WriteLineBlank("}");
  return static_cast<int>(count);
}

}  // namespace tessel
