// The two searches over the whole source text: the title of a dialog (for its help list)
// and the help anchor of a dialog item (for its key). Each gives the first match in the
// text. The places of the 'QDLG' and 'DLGH' keywords are found in one pass per run and
// examined in source order only as far as a search needs, so that the searches of a run
// take time linear in the size of the source.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessel {

struct Context;
class Lexer;

class AnchorIndex {
 public:
  std::string DialogTitle(Context& ctx, std::string_view dialogId);
  std::string ItemAnchor(Context& ctx, std::string_view dialogId, int itemIndex);

 private:
  struct Place {
    size_t pos;  // just past the keyword and the character after it
    int line;
  };
  // The places of one keyword; `next` is the first place whose leading word was not read yet.
  struct Keyword {
    std::vector<Place> places;
    size_t next = 0;
    // Leading word -> places with that word not examined further yet, in source order.
    std::unordered_map<std::string, std::deque<size_t>> waiting;
  };
  // The entries of a help list, read as far as the searches needed them.
  struct HelpList {
    size_t pos = 0;  // read position of the next entry
    int line = 0;
    int lastIndex = 1;  // an unnumbered first entry has the index 1
    bool complete = false;
    std::unordered_map<int, std::string> anchors;  // the first anchor of each index
  };

  void Build(Lexer& lex);
  template <class Check>
  bool FindFirst(Lexer& lex, Keyword& keyword, const std::string& id, Check check);

  bool built_ = false;
  Keyword dialogs_;
  Keyword helps_;
  std::unordered_map<std::string, std::string> titles_;
  std::unordered_map<std::string, HelpList> lists_;
};

// The title of the first 'QDLG' resource with the ID (quotes removed, at most 271 bytes), or
// "dialtitle" when there is none. During key extraction: empty, nothing is searched.
std::string FindDialogTitle(Context& ctx, std::string_view dialogId);

// During key extraction: the anchor word of the first entry with the item index in the first
// 'DLGH' resource with the ID; a missing one ends the run with "Resource Anchor is missing for
// item with index: " and the index, at the current line. Outside key extraction: empty.
// The lexer's read position and token text are unchanged afterwards.
std::string FindItemAnchor(Context& ctx, std::string_view dialogId, int itemIndex);

}  // namespace tessel
