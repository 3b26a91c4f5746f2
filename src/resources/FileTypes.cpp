#include "resources/FileTypes.h"

#include <cstring>
#include <new>
#include <string_view>
#include <unordered_map>

#include "frontend/ReadAhead.h"
#include "frontend/Values.h"
#include "resources/Context.h"
#include "resources/ResourceBlock.h"
#include "resources/ResourceTypes.h"

namespace tessel {

namespace {

constexpr char kStringMissing[] = "String is missing";
constexpr char kItemMissing[] = "An item is missing";

// Stores into the record lists; when memory runs out the lists are freed and the run ends.
template <typename Store>
void Remember(Context& ctx, Store&& store) {
  try {
    store();
  } catch (const std::bad_alloc&) {
    ctx.fileTypes = FileTypeState{};
    ctx.Fail("Not enough memory");
  }
}

void WriteSizeLine(Context& ctx, long size) {
  ctx.out.Printf("\t%ld, %ld,", size % 65536, size / 65536);
  ctx.out.WriteNewLine();
}

// Bytes of a text literal without its quotes.
long TextBytes(Context& ctx, const char* literal) { return StringByteCount(ctx.lex, literal) - 2; }

struct GroupTotals {
  long size = 0;
  long children = 0;
  long types = 0;
};

// A brace-enclosed list of names, one per line. The writing reading writes the count line
// (the count of the checking reading) and a line per name, and keeps the names in `store`
// when given. Returns the number of names.
long ReadNames(Context& ctx, bool writing, long counted, std::vector<FileTypeReference>* store, bool commaAfterLast) {
  Lexer& lex = ctx.lex;
  lex.ExpectTokenOnNewLine(TOK_LBRACE, "{ is expected");
  if (writing) {
    ctx.out.Printf("\t%ld,", counted);
    ctx.out.WriteNewLine();
  }
  long count = 0;
  while (const char* name = lex.ExpectTokenOnNewLine(TOK_NAME, nullptr)) {
    ++count;
    if (!writing) continue;
    if (store) Remember(ctx, [&] { store->push_back(FileTypeReference{name}); });
    ctx.out.Printf(count < counted || commaAfterLast ? "\t\t%s," : "\t\t%s", name);
    ctx.out.WriteNewLine();
  }
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  return count;
}

// A group from its first text to the end of its type names. The first text is never keyed.
GroupTotals ReadGroupBody(Context& ctx, FileTypeGroupRecord* record, bool writing, const GroupTotals& counted) {
  Lexer& lex = ctx.lex;
  GroupTotals totals;
  ctx.keys.SuppressKeys();
  const char* title = lex.ExpectTokenOnLine(TOK_STRING, kStringMissing);
  totals.size = TextBytes(ctx, title);
  if (writing) ctx.out.WriteDataString(lex, title, 1);
  ctx.keys.ResumeKeys();
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  ctx.keys.PushKeyScope("Description");
  const char* description = lex.ExpectTokenOnNewLine(TOK_STRING, kStringMissing);
  totals.size += TextBytes(ctx, description);
  if (writing) ctx.out.WriteDataString(lex, description, 1);
  ctx.keys.PopKeyScope();
  totals.children = ReadNames(ctx, writing, counted.children, record ? &record->children : nullptr, true);
  totals.types = ReadNames(ctx, writing, counted.types, record ? &record->types : nullptr, false);
  return totals;
}

// IDs indexed once: the first record of each ID, and for each record the next one with the same ID.
class IdIndex {
 public:
  template <typename Records>
  explicit IdIndex(const Records& records) : next_(records.size(), kNoRecord) {
    first_.reserve(records.size());
    for (size_t i = records.size(); i-- > 0;) {
      auto [it, added] = first_.try_emplace(records[i].id, i);
      if (!added) {
        next_[i] = it->second;
        it->second = i;
      }
    }
  }
  size_t First(std::string_view id) const {
    auto it = first_.find(id);
    return it == first_.end() ? kNoRecord : it->second;
  }
  size_t Next(size_t record) const { return next_[record]; }

 private:
  std::unordered_map<std::string_view, size_t> first_;
  std::vector<size_t> next_;
};

const char* ResolveChildren(FileTypeState& state) {
  auto& groups = state.groups;
  IdIndex index(groups);
  for (size_t g = 0; g < groups.size(); ++g) {
    for (auto& child : groups[g].children) {
      int matches = 0;
      for (size_t h = index.First(child.name); h != kNoRecord; h = index.Next(h)) {
        ++matches;
        child.resolved = h;
        if (groups[h].parent != kNoRecord) return "FTGP has multiple parent";
        groups[h].parent = g;
      }
      if (matches != 1) return "Referenced child FTGP not found";
    }
  }
  return nullptr;
}

const char* ResolveTypes(FileTypeState& state) {
  auto& types = state.types;
  IdIndex index(types);
  for (size_t g = 0; g < state.groups.size(); ++g) {
    for (auto& entry : state.groups[g].types) {
      if (types.empty()) return "Referenced FTYP not found";
      int matches = 0;
      for (size_t t = index.First(entry.name); t != kNoRecord; t = index.Next(t)) {
        ++matches;
        auto& listing = types[t].groups;
        // Groups are resolved in order, so an earlier listing by g is the last one.
        if (!listing.empty() && listing.back() == g) return "Multiple FTGP->FTYP reference";
        entry.resolved = t;
        listing.push_back(g);
      }
      if (matches != 1) return "Referenced FTYP not found";
    }
  }
  return nullptr;
}

const char* FindCycle(FileTypeState& state) {
  auto& groups = state.groups;
  std::vector<size_t> path;
  for (size_t g = 0; g < groups.size(); ++g) {
    if (groups[g].visited) continue;
    path.clear();
    for (size_t at = g;;) {
      groups[at].visited = groups[at].onPath = true;
      path.push_back(at);
      size_t up = groups[at].parent;
      if (up == kNoRecord) break;
      if (groups[up].onPath) return "Cyclic FTGP relation detected";
      // An earlier walk went on from here to a root.
      if (groups[up].visited) break;
      at = up;
    }
    for (size_t p : path) groups[p].onPath = false;
  }
  return nullptr;
}

// A type listed both by a group and by one of its ancestors. One walk down the forest,
// counting for each type how many groups on the way down list it.
const char* FindTransitiveListing(FileTypeState& state) {
  auto& groups = state.groups;
  std::vector<unsigned> listedAbove(state.types.size(), 0);
  struct Frame {
    size_t group;
    size_t nextChild;
  };
  std::vector<Frame> stack;
  for (size_t root = 0; root < groups.size(); ++root) {
    if (groups[root].parent != kNoRecord) continue;
    stack.push_back({root, 0});
    bool entering = true;
    while (!stack.empty()) {
      Frame& top = stack.back();
      const auto& group = groups[top.group];
      if (entering) {
        for (const auto& entry : group.types) {
          if (listedAbove[entry.resolved]++ > 0) return "Transitive relation detected in FTGPs";
        }
      }
      if (top.nextChild < group.children.size()) {
        size_t child = group.children[top.nextChild++].resolved;
        stack.push_back({child, 0});
        entering = true;
        continue;
      }
      for (const auto& entry : group.types) --listedAbove[entry.resolved];
      stack.pop_back();
      entering = false;
    }
  }
  return nullptr;
}

}  // namespace

uint32_t FourCharCode(const char* token) {
  uint32_t value = 0;
  for (int i = 1; i <= 4; ++i) value = (value << 8) | static_cast<unsigned char>(token[i]);
  return value;
}

const char* FindFileTypeGraphFault(FileTypeState& state) {
  for (auto rule : {ResolveChildren, ResolveTypes, FindCycle, FindTransitiveListing}) {
    if (const char* fault = rule(state)) return fault;
  }
  return nullptr;
}

void ConvertFileTypeGroup(Context& ctx, const ResourceType& type) {
  Lexer& lex = ctx.lex;
  const bool extracting = ctx.keys.IsKeyExtraction();
  if (!extracting) Remember(ctx, [&] { ctx.fileTypes.groups.emplace_back(); });
  const std::string id = BeginResourceBlock(ctx, type.outputType);
  FileTypeGroupRecord* record = extracting ? nullptr : &ctx.fileTypes.groups.back();
  if (record) Remember(ctx, [&] { record->id = id; });
  ctx.keys.PushKeyScope("FTGP");
  ctx.keys.PushKeyScope(id);

  const GroupTotals counted = ReadAhead(lex, [&] { return ReadGroupBody(ctx, record, false, {}); });
  WriteSizeLine(ctx, counted.size + 2 * (counted.children + counted.types) + 6);
  ReadGroupBody(ctx, record, true, counted);
  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  ctx.out.WriteLineBlank("END");
  ctx.keys.PopKeyScope();
  ctx.keys.PopKeyScope();
}

void ConvertFileType(Context& ctx, const ResourceType& type) {
  Lexer& lex = ctx.lex;
  const bool extracting = ctx.keys.IsKeyExtraction();
  if (!extracting) Remember(ctx, [&] { ctx.fileTypes.types.emplace_back(); });
  const std::string id = BeginResourceBlock(ctx, type.outputType);
  if (!extracting) Remember(ctx, [&] { ctx.fileTypes.types.back().id = id; });
  const std::string name = lex.ExpectTokenOnLine(TOK_STRING, kStringMissing);
  ctx.keys.PushKeyScope("FTYP");
  ctx.keys.PushKeyScope(id);
  lex.ExpectToken(TOK_LBRACE, "{ is expected");

  if (extracting) {
    ctx.keys.PushKeyScope("Description");
    lex.ExpectTokenOnNewLine(TOK_STRING, kStringMissing);
    ctx.keys.SuppressKeys();
    while (lex.ExpectTokenOnNewLine(TOK_STRING, nullptr)) {
    }
    lex.ExpectTokenOnNewLine(TOK_NAME, kItemMissing);
    ctx.keys.ResumeKeys();
    ctx.keys.PopKeyScope();
  } else {
    // The two texts are read before the size line that counts them.
    long size = TextBytes(ctx, name.c_str());
    std::string texts[2];
    for (std::string& text : texts) {
      text = lex.ExpectTokenOnNewLine(TOK_STRING, kStringMissing);
      size += TextBytes(ctx, text.c_str());
    }
    WriteSizeLine(ctx, size + 13);
    ctx.out.WriteDataString(lex, name.c_str(), 1);
    for (const std::string& text : texts) ctx.out.WriteDataString(lex, text.c_str(), 1);
    for (int i = 0; i < 2; ++i) {
      const char* code = lex.ExpectTokenOnNewLine(TOK_STRING, kStringMissing);
      if (std::strlen(code) != 6) ctx.Fail("String of four characters is expected");
      const uint32_t value = FourCharCode(code);
      ctx.out.Printf("\t0x%04lX, 0x%04lX,", static_cast<unsigned long>(value & 0xFFFF),
                     static_cast<unsigned long>(value >> 16));
      ctx.out.WriteNewLine();
    }
    ctx.out.Printf("\t%s", lex.ExpectTokenOnNewLine(TOK_NAME, kItemMissing));
    ctx.out.WriteNewLine();
  }

  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  ctx.out.WriteLineBlank("END");
  ctx.keys.PopKeyScope();
  ctx.keys.PopKeyScope();
}

void CheckFileTypeGraph(Context& ctx) {
  const char* fault = ctx.keys.IsKeyExtraction() ? nullptr : FindFileTypeGraphFault(ctx.fileTypes);
  ctx.fileTypes = FileTypeState{};
  if (!fault) return;
  // The check runs after the whole source: it reports at the line of the last pushed-back
  // token, with the ID of the last resource read.
  const std::string id = ctx.errors.LastResourceID();
  if (!id.empty()) ctx.errors.SetResourceID(id.c_str());
  ctx.errors.SourceError(fault, {}, {}, ctx.lex.PendingTokenLine());
}

}  // namespace tessel
