// A lexer over an in-memory source, and helpers to check fatal reports.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Common/Errors.h"
#include "frontend/Lexer.h"

namespace frontendtest {

inline tessel::ErrorContext MakeErrors() {
  tessel::ErrorContext errors;
  errors.SetInputName("t.klx");
  errors.SetCurrentDirectory("/w");
  return errors;
}

// Runs the action and returns the fatal error it raised (a failure is recorded when none was raised).
inline tessel::FatalError Catch(const std::function<void()>& action) {
  try {
    action();
  } catch (const tessel::FatalError& error) {
    return error;
  }
  ADD_FAILURE() << "no fatal error";
  return {};
}

// The report of a source error: message and line, in the layout of every fatal report.
inline std::string Report(const std::string& text, int line) {
  return "\n\n/w/t.klx (" + std::to_string(line) + ") : " + text + "\n\n";
}

struct LexerFixture : ::testing::Test {
  tessel::ErrorContext errors = MakeErrors();
  tessel::Lexer lex{errors};

  void Source(const std::string& text, uint16_t codePage = 0) {
    lex.SetSource(text);
    lex.SetCodePage(codePage);
  }
  // Expects the action to fail with this message at this line.
  void ExpectFailure(const std::function<void()>& action, const std::string& text, int line) {
    tessel::FatalError error = Catch(action);
    EXPECT_EQ(error.text, text);
    EXPECT_EQ(error.report, Report(text, line));
  }
  // Reads every token up to the end.
  void ReadAll() {
    while (lex.GetToken() != tessel::TOK_END) {
    }
  }
};

}  // namespace frontendtest
