// The state objects of one run and the handler context over them, for tests that call
// handlers directly. The output file is the test's to set.
#pragma once

#include "Common/Settings.h"
#include "TestSupport.h"
#include "resources/Context.h"

namespace testsupport {

struct ContextFixture {
  TempDir dir;
  tessel::RunSettings settings;
  tessel::ErrorContext errors;
  tessel::Lexer lex{errors};
  tessel::OutputWriter out{errors};
  tessel::KeyContext keys{errors};
  tessel::Context ctx{settings, errors, lex, out, keys};
};

}  // namespace testsupport
