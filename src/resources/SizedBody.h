// The bodies a handler reads twice: a checking reading that sizes the body and writes
// nothing, the header that holds the size, then the writing reading.
#pragma once

#include <optional>
#include <type_traits>

#include "Common/Errors.h"
#include "frontend/ReadAhead.h"
#include "resources/Context.h"

namespace tessel {

// Reads a body with `read(writing)`, which returns its totals (the same for both readings),
// after `header(totals)` has written what goes before it.
//
// Unless keys are extracted (the two readings then differ in what they echo and key), the
// writing reading runs alone with the outputs held back, and the header goes before what it
// held. A body that fails there, or that is too large to hold, is read again the two-reading
// way, so that a body with several faults reports the one the checking reading finds first.
template <typename Read, typename Header>
void ReadSizedBody(Context& ctx, Read&& read, Header&& header) {
  if (!ctx.keys.IsKeyExtraction()) {
    const Lexer::Checkpoint start = ctx.lex.Mark();
    std::optional<std::invoke_result_t<Read&, bool>> totals;
    ctx.out.HoldOutputs();
    try {
      totals = read(true);
    } catch (const FatalError&) {
    } catch (const OutputSink::HoldTooLarge&) {
    }
    ctx.out.EndHold();
    if (totals) {
      header(*totals);
      ctx.out.WriteHeld();
      return;
    }
    ctx.lex.Rewind(start);
  }
  header(ReadAhead(ctx.lex, [&] { return read(false); }));
  read(true);
}

}  // namespace tessel
