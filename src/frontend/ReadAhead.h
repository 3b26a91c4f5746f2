// The checking reading of a handler that reads its body twice: the body reader runs once
// to check and size the body, and the lexer is put back for the writing reading.
#pragma once

#include "frontend/Lexer.h"

namespace tessel {

// Runs `read` with the read position saved, restores it, and returns what `read` returned.
// While a position is saved nothing is echoed or keyed during key extraction. The scans of the
// reading are kept, so that the reading that follows takes its tokens without scanning again.
template <typename Read>
auto ReadAhead(Lexer& lex, Read&& read) {
  struct Keeping {
    Lexer& lex;
    explicit Keeping(Lexer& l) : lex(l) { lex.BeginKeepingScans(); }
    ~Keeping() { lex.EndKeepingScans(); }
  } keeping(lex);
  lex.SavePosition();
  auto result = read();
  lex.RestorePosition();
  return result;
}

}  // namespace tessel
