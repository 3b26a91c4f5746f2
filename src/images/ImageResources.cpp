#include "images/ImageResources.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "Common/Format.h"
#include "frontend/Values.h"
#include "images/IconWriter.h"
#include "images/SvgLookup.h"
#include "images/SvgRenderer.h"
#include "platform/OutputFile.h"
#include "platform/Platform.h"
#include "resources/Context.h"

namespace tessel {

namespace {

constexpr const char* kIconError = "An error was occured during conversion of icon ";
constexpr int kBaseDpi = 96;
constexpr int kColourScheme = 1;
constexpr size_t kMaxMultipliers = 5;

// The ID and the file name of an image resource as read from the source.
struct ImageSource {
  std::string id;
  std::string baseName;
  uint8_t hotspotX = 0;
  uint8_t hotspotY = 0;
};

// The ID on the keyword's line (checked as an unsigned short unless keys are extracted) and the
// name string after it.
std::string ReadIdAndName(Context& ctx, bool checkId) {
  std::string id = ctx.lex.ExpectTokenOnLine(TOK_NAME, "Resource ID is missing");
  ctx.errors.SetResourceID(id.c_str());
  if (checkId && !ctx.keys.IsKeyExtraction()) ParseUShort(ctx.lex, id.c_str());
  ctx.lex.ExpectTokenOnLine(TOK_STRING, "String is missing");
  return id;
}

// `{` and the optional file string on a new line; without one the ID names the image.
void ReadBraceAndFileName(Context& ctx, ImageSource& source) {
  ctx.lex.ExpectToken(TOK_LBRACE, "{ is expected");
  source.baseName = source.id;
  if (ctx.lex.PeekToken() == TOK_STRING) {
    std::string text = ctx.lex.ExpectTokenOnNewLine(TOK_STRING, "String is missing");
    source.baseName = Lexer::StripQuotes(text.data());
  }
}

ImageSource ReadIconStart(Context& ctx) {
  ImageSource source;
  source.id = ReadIdAndName(ctx, true);
  if (ctx.lex.PeekTokenOnLine() == TOK_NAME) {
    std::string word = ctx.lex.GetTokenText();
    if (word != "MacTabIcon") ctx.Fail("Can't recognize item ", word);
  }
  ReadBraceAndFileName(ctx, source);
  return source;
}

ImageSource ReadCursorStart(Context& ctx) {
  ImageSource source;
  source.id = ReadIdAndName(ctx, true);
  ReadBraceAndFileName(ctx, source);
  return source;
}

void ReadHotspot(Context& ctx, ImageSource& source) {
  source.hotspotX = ParseUChar(ctx.lex, ctx.lex.ExpectTokenOnNewLine(TOK_NAME, "An item is missing"));
  source.hotspotY = ParseUChar(ctx.lex, ctx.lex.ExpectTokenOnLine(TOK_NAME, "An item is missing"));
}

// Mode d accepts one more line of up to three words, which is ignored.
void SkipDependencyWords(Context& ctx) {
  if (ctx.lex.PeekToken() != TOK_NAME) return;
  ctx.lex.ExpectTokenOnNewLine(TOK_NAME, "An item is missing");
  for (int i = 0; i < 2 && ctx.lex.PeekTokenOnLine() == TOK_NAME; ++i) ctx.lex.GetToken();
}

void ExpectClosingBrace(Context& ctx) { ctx.lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected"); }

// Whether this run makes image files: mode r with an image directory, keys not extracted.
bool MakesImages(const Context& ctx) {
  return ctx.settings.mode == Mode::kConvert && !ctx.paths.empty() && !ctx.keys.IsKeyExtraction();
}

std::vector<float> Multipliers(const Context& ctx) {
  std::vector<float> list;
  for (double m : ctx.settings.multipliers) {
    if (list.size() < kMaxMultipliers) list.push_back(static_cast<float>(m));
  }
  return list;
}

// Looks up the images of one icon or cursor and renders missing ones from the SVG source.
class ImageLookup {
 public:
  ImageLookup(Context& ctx, const std::string& baseName)
      : ctx_(ctx), imageDir_(ctx.FirstPath()), destinationDir_(ctx.outputDir), baseName_(baseName) {
    std::string found;
    if (FindSVG(ctx.svgSources, imageDir_, baseName_, found) &&
        MatchSVGName(found, baseName_, &svgWidth_, &svgHeight_)) {
      svgPath_ = InImageDir(found);
      hasSvg_ = true;
    }
  }

  bool HasSvg() const { return hasSvg_; }

  // The image directory's PNG of a density ("base.png", "base@1.50x.png"); when it is missing
  // and there is an SVG source, the rendering in the destination directory takes its place.
  std::string Png(const std::string& name, float scale) const {
    std::string path = InImageDir(name);
    const bool exists = platform::FileExists(path);
    if (exists) ctx_.RecordRead(path);
    if (exists || !hasSvg_) return path;
    ctx_.RecordRead(svgPath_);
    std::string rendered = InDestination(name);
    // An older rendering must not stand in for a failed one (a fatal error included); one that
    // holds the same bytes as the new one is kept (see platform::OutputFile).
    struct RemoveUnlessRendered {
      Context& ctx;
      const std::string& path;
      bool rendered = false;
      ~RemoveUnlessRendered() {
        if (rendered) return;
        platform::RemoveOutput(path);
        ctx.svgSources.Changed(path);
      }
    } guard{ctx_, rendered};
    guard.rendered = ConvertSVGToPNG(ctx_.svgRenderer, ctx_.svgSources, ctx_.programPath, svgPath_, rendered,
                                     destinationDir_, baseName_, scale, svgWidth_, svgHeight_, kColourScheme);
    if (!guard.rendered) std::fprintf(stderr, "#ERROR: Failed to convert PNG file from SVG. (%s)\n", svgPath_.c_str());
    return rendered;
  }

  std::string InImageDir(const std::string& name) const { return imageDir_ + "\\" + name; }
  std::string InDestination(const std::string& name) const {
    return destinationDir_.empty() ? name : destinationDir_ + "\\" + name;
  }

 private:
  Context& ctx_;
  const std::string& imageDir_;
  const std::string& destinationDir_;
  const std::string& baseName_;
  std::string svgPath_;
  int svgWidth_ = 0;
  int svgHeight_ = 0;
  bool hasSvg_ = false;
};

std::string ScaledName(const std::string& baseName, float m) {
  return FormatText("%s@%.2fx.png", baseName.c_str(), static_cast<double>(m));
}

// One single-image icon file and its ICON line; false when the file was not written.
bool ConvertIconFile(Context& ctx, const ImageSource& source, const ImageLookup& lookup, int dpi,
                     const std::string& pngPath) {
  std::string iconName = FormatText("%s&%d.ico", source.baseName.c_str(), dpi);
  std::string iconPath = lookup.InDestination(iconName);
  bool written = false;
  {
    PngIconWriter writer;
    writer.Create(1, iconPath, 1);
    if (!writer.AddImage(pngPath, 0, 0)) ctx.Fail(kIconError, pngPath);
    written = writer.Finish();
  }
  ctx.svgSources.Changed(iconPath);
  if (!written) {
    std::fprintf(stderr, "#ERROR: Failed to write icon file. (%s)\n", iconName.c_str());
    return false;
  }
  // GNU windres reads the name only when quoted; the L prefix keeps it from joining the quoted file name
  // that ends the line before.
  std::string name = FormatText("I%s&%d", source.id.c_str(), dpi);
  if (ctx.settings.windres) name = "L\"" + name + "\"";
  ctx.out.WriteLineBlank(name + "\tICON \"" + iconName + "\"");
  return true;
}

void MakeIcons(Context& ctx, const ImageSource& source) {
  ImageLookup lookup(ctx, source.baseName);
  std::string png = lookup.Png(source.baseName + ".png", 1.0f);
  if (!platform::FileExists(png)) ctx.Fail(kIconError, png);
  if (!ConvertIconFile(ctx, source, lookup, kBaseDpi, png)) return;

  for (float m : Multipliers(ctx)) {
    int dpi = static_cast<int>(static_cast<float>(kBaseDpi) * m);
    std::string scaled = lookup.Png(ScaledName(source.baseName, m), m);
    if (platform::FileExists(scaled) || lookup.HasSvg()) {
      ConvertIconFile(ctx, source, lookup, dpi, scaled);
      continue;
    }
    // Images drawn for double density serve every multiplier that rounds to 2.
    std::string doubled = lookup.InImageDir(source.baseName + "@2x.png");
    if (static_cast<int>(static_cast<double>(m) + 0.5) == 2 && platform::FileExists(doubled)) {
      ctx.RecordRead(doubled);
      ConvertIconFile(ctx, source, lookup, dpi, doubled);
    }
  }
}

uint32_t ScaledHotspot(uint8_t value, float m) {
  float product = static_cast<float>(value) * m;
  return static_cast<uint32_t>(std::floor(static_cast<double>(product) + 0.5));
}

void MakeCursor(Context& ctx, const ImageSource& source) {
  ImageLookup lookup(ctx, source.baseName);
  DibCursorBuilder builder(lookup.InDestination(source.baseName + ".cur"), true);
  std::string png = lookup.Png(source.baseName + ".png", 1.0f);
  if (!platform::FileExists(png) || !builder.AddRepresentation(png, source.hotspotX, source.hotspotY)) {
    ctx.Fail(kIconError, png);
  }
  for (float m : Multipliers(ctx)) {
    std::string scaled = lookup.Png(ScaledName(source.baseName, m), m);
    if (!platform::FileExists(scaled) && !lookup.HasSvg()) continue;
    if (!builder.AddRepresentation(scaled, ScaledHotspot(source.hotspotX, m), ScaledHotspot(source.hotspotY, m))) {
      ctx.Fail(kIconError, scaled);
    }
  }
  bool written = builder.Write();
  ctx.svgSources.Changed(builder.Path());
  if (!written) std::fprintf(stderr, "#ERROR: Failed to write cursor file. (%s)\n", builder.Path().c_str());
}

void WriteDependency(Context& ctx, const std::string& destinationPath, int indent, const ImageSource& source) {
  ctx.out.Printf("%*s%s\\%s.png", indent, "", destinationPath.c_str(), source.baseName.c_str());
}

}  // namespace

void ConvertIcon(Context& ctx, const ResourceType&) {
  ImageSource source = ReadIconStart(ctx);
  // During key extraction further strings may follow; they are read and ignored.
  while (ctx.keys.IsKeyExtraction() && ctx.lex.PeekToken() == TOK_STRING) ctx.lex.GetToken();
  if (MakesImages(ctx)) MakeIcons(ctx, source);
  ExpectClosingBrace(ctx);
}

namespace {
// A file name that holds a character ending an unquoted name in a script is written quoted.
std::string CursorFileName(const std::string& baseName) {
  std::string name = baseName + ".cur";
  if (name.find_first_of(" \t\r\n\v\f\",") == std::string::npos) return name;
  std::string quoted = "\"";
  for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}
}  // namespace

void ConvertCursor(Context& ctx, const ResourceType&) {
  ImageSource source = ReadCursorStart(ctx);
  ctx.out.WriteLineBlank(FormatText("%s\tCURSOR %s", source.id.c_str(), CursorFileName(source.baseName).c_str()));
  ReadHotspot(ctx, source);
  if (MakesImages(ctx)) MakeCursor(ctx, source);
  ExpectClosingBrace(ctx);
}

void ConvertIconList(Context& ctx, const ResourceType&) {
  std::string id = ReadIdAndName(ctx, false);
  ctx.lex.ExpectToken(TOK_LBRACE, "{ is expected");
  if (!ctx.paths.empty()) {
    ctx.out.WriteLine(FormatText("%s\tICON %s\\%s.ico", id.c_str(), ctx.paths.front().c_str(), id.c_str()));
  } else {
    ctx.out.WriteLine(FormatText("%s\tICON %s.ico", id.c_str(), id.c_str()));
  }
  std::string kind = ctx.lex.ExpectTokenOnNewLine(TOK_NAME, "An item is missing");
  if (kind != "Mono" && kind != "Color") ctx.Fail("Can't recognize item ", kind);
  ExpectClosingBrace(ctx);
}

void ListIconDependency(Context& ctx, const std::string& destinationPath, int indent) {
  ImageSource source = ReadIconStart(ctx);
  SkipDependencyWords(ctx);
  WriteDependency(ctx, destinationPath, indent, source);
  ExpectClosingBrace(ctx);
}

void ListCursorDependency(Context& ctx, const std::string& destinationPath, int indent) {
  ImageSource source = ReadCursorStart(ctx);
  ReadHotspot(ctx, source);
  SkipDependencyWords(ctx);
  WriteDependency(ctx, destinationPath, indent, source);
  ExpectClosingBrace(ctx);
}

}  // namespace tessel
