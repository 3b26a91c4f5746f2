#include "frontend/Preprocessor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrontendFixture.h"

using namespace tessel;
using frontendtest::Catch;
using frontendtest::Report;

namespace {

class PreprocessorTest : public ::testing::Test {
 protected:
  ErrorContext errors = frontendtest::MakeErrors();
  Preprocessor pre{errors};

  // Preprocesses the text with the given -d IDs; returns the text afterwards.
  std::string Run(std::string text, const std::vector<std::string>& ids = {}) {
    pre.StoreDirectiveIDs(ids);
    text.push_back('\0');
    pre.Run(text.data());
    text.pop_back();
    return text;
  }
  void ExpectFailure(const std::string& text, const std::vector<std::string>& ids, const std::string& message,
                     int line) {
    SCOPED_TRACE(text);
    FatalError error = Catch([&] { Run(text, ids); });
    EXPECT_EQ(error.text, message);
    EXPECT_EQ(error.report, Report(message, line));
  }
};

// The spaces that stand for a dropped line.
std::string Blank(const std::string& line) { return std::string(line.size(), ' '); }

TEST_F(PreprocessorTest, SelectsLinesInPlace) {
  const std::string text =
      "a\n"
      "#ifdef WIN\n"
      "b\r\n"
      "#else\r"
      "c\n"
      "#endif\n"
      "d";
  EXPECT_EQ(Run(text, {"WIN"}), "a\n" + Blank("#ifdef WIN") + "\nb\r\n" + Blank("#else") + "\r" + Blank("c") + "\n" +
                                    Blank("#endif") + "\nd");
  EXPECT_EQ(Run(text), "a\n" + Blank("#ifdef WIN") + "\n" + Blank("b") + "\r\n" + Blank("#else") + "\rc\n" +
                           Blank("#endif") + "\nd");
}

TEST_F(PreprocessorTest, Conditions) {
  struct Case {
    std::string directive;
    std::vector<std::string> ids;
    bool kept;
  };
  const std::vector<Case> cases = {
      {"#ifdef P", {"P"}, true},
      {"#ifdef P", {"Q"}, false},
      {"#ifdef P", {}, false},
      {"#ifdef p", {"P"}, false},
      {"#ifdef PX", {"P"}, false},
      {"#ifndef P", {"P"}, false},
      {"#ifndef P", {}, true},
      {"#ifdef P // and more", {"P"}, true},
      {"#ifdef\tP+Q", {"P"}, true},
      {" \t#ifdef P", {"P"}, true},
      {"#if defined(P)", {"P"}, true},
      {"#if !defined(P)", {"P"}, false},
      {"#if defined ( P ) && !defined(Q)", {"P"}, true},
      {"#if defined(P) && !defined(Q)", {"P", "Q"}, false},
      {"#if defined(P)||defined(Q)", {"Q"}, true},
      {"#if defined(P) || defined(Q) || defined(R)", {"R"}, false},
      {"#if defined(P) && defined(Q) garbage", {"P", "Q"}, true},
      {"#if\tdefined(_1)", {"_1"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directive);
    const std::string result = Run(c.directive + "\nx\n#endif\n", c.ids);
    EXPECT_EQ(result, Blank(c.directive) + (c.kept ? "\nx\n" : "\n \n") + Blank("#endif") + "\n");
  }
}

TEST_F(PreprocessorTest, DirectiveKeywords) {
  // #include and #define are ordinary lines; #pragma and #line are dropped; longer
  // keywords beginning with else or endif act as those.
  EXPECT_EQ(Run("#include \"a.h\"\n#define X 1\n#pragma once\n#line 5\n"),
            "#include \"a.h\"\n#define X 1\n" + Blank("#pragma once") + "\n" + Blank("#line 5") + "\n");
  EXPECT_EQ(Run("#ifdef P\n#include \"a.h\"\n#elseif\nb\n#endifs\n"),
            Blank("#ifdef P") + "\n" + Blank("#include \"a.h\"") + "\n" + Blank("#elseif") + "\nb\n" +
                Blank("#endifs") + "\n");
}

TEST_F(PreprocessorTest, NestedConditionals) {
  const std::string text =
      "#ifdef A\n"
      "#ifdef B\n"
      "ab\n"
      "#else\n"
      "a\n"
      "#endif\n"
      "#else\n"
      "#ifdef B\n"
      "b\n"
      "#endif\n"
      "#endif\n";
  // The words of the kept lines.
  auto kept = [&](const std::vector<std::string>& ids) {
    std::string words;
    for (char c : Run(text, ids)) {
      if (c != ' ' && c != '\n') words += c;
    }
    return words;
  };
  EXPECT_EQ(kept({"A", "B"}), "ab");
  EXPECT_EQ(kept({"A"}), "a");
  EXPECT_EQ(kept({"B"}), "b");
  EXPECT_EQ(kept({}), "");
}

TEST_F(PreprocessorTest, Errors) {
  struct Case {
    std::string text;
    std::string message;
    int line;
  };
  const std::vector<Case> cases = {
      {"a\n# ifdef X\n", "Illegal directive keyword", 2},
      {"#ifdefX\n", "Illegal directive keyword", 1},
      {"#iffy\n", "Illegal directive keyword", 1},
      {"#if\n", "Illegal directive keyword", 1},
      {"#\n", "Illegal directive keyword", 1},
      {"#ifdef\n", "Directive ID is missing", 1},
      {"#ifndef", "Directive ID is missing", 1},
      {"#ifdef  \r\n", "Directive ID is missing", 1},
      {"#ifdef $X\n", "Illegal directive ID", 1},
      {"#if defined(\n", "Directive ID is missing", 1},
      {"#if defined( -X)\n", "Illegal directive ID", 1},
      {"#if define(X)\n", "defined or !defined keyword is missing", 1},
      {"#if ! defined(X)\n", "defined or !defined keyword is missing", 1},
      {"#if defined(X) || Y\n", "defined or !defined keyword is missing", 1},
      {"#if defined X\n", "( is missing", 1},
      {"#if defined(X\n", ") is missing", 1},
      {"#if defined(X Y)\n", ") is missing", 1},
      {"#if defined(X) IDOK\n", "Invalid bool expression or extra characters on line", 1},
      {"#if defined(X) | defined(Y)\n", "Invalid bool expression or extra characters on line", 1},
      {"#if defined(X) &\n", "Invalid bool expression or extra characters on line", 1},
      {"a\n#else\n", "Unmatching directive", 2},
      {"#endif", "Unmatching directive", 1},
      {"#ifdef A\n#endif\n#endif\n", "Unmatching directive", 3},
      {"#ifdef A\n#else\n#else\n#endif\n", "Incorectly nested or unmatched #else", 3},
      {"#ifdef A\n#ifdef B\n#endif\n", "Unmatching #ifdef / #ifndef is encountered", 1},
      {"#ifdef A\n#ifndef B\n#else\n", "Unmatching #ifdef / #ifndef is encountered", 2},
      {"#ifdef A\n#foo\n#endif\n", "Illegal directive keyword", 2},
      {"#ifdef A\r#ifdef\r#endif\r", "Directive ID is missing", 2},
  };
  for (const Case& c : cases) ExpectFailure(c.text, {}, c.message, c.line);
}

TEST_F(PreprocessorTest, ZeroByteEndsTheText) {
  const char raw[] = "#ifdef A\nx\n#endif\n\0#endif\n";
  std::string text(raw, sizeof raw);
  pre.Run(text.data());
  EXPECT_EQ(text.substr(9, 2), " \n");
}

TEST_F(PreprocessorTest, DirectiveIdStore) {
  pre.StoreDirectiveIDs({"WIN", std::string(32, 'L')});
  EXPECT_TRUE(pre.IsDefined("WIN"));
  EXPECT_TRUE(pre.IsDefined(std::string(32, 'L')));
  EXPECT_FALSE(pre.IsDefined("win"));
  EXPECT_FALSE(pre.IsDefined("WI"));
  pre.SetKeysPass(true);
  EXPECT_TRUE(pre.IsDefined("ANY"));
  EXPECT_EQ(Run("#ifdef X\na\n#else\nb\n#endif\n"), "        \na\n     \n \n      \n");

  FatalError error = Catch([&] { pre.StoreDirectiveIDs({"A", std::string(33, 'L')}); });
  EXPECT_EQ(error.text, "Directive ID is too long!");
  EXPECT_EQ(error.report, "\n\nDirective ID is too long!\n\n");
}

TEST_F(PreprocessorTest, ReadsHandedLines) {
  struct Case {
    const char* line;
    int kind;
  };
  const Case cases[] = {
      {"#ifdef A", DIR_IF},  {"#if defined(A)", DIR_IF}, {"#ifndef A", DIR_IFNDEF}, {"#else", DIR_ELSE},
      {"#endif", DIR_ENDIF}, {"#pragma x", DIR_PRAGMA},  {"#line 3", DIR_LINE},     {"#include \"x\"", DIR_ORDINARY},
      {"x", DIR_ORDINARY}};
  for (const Case& c : cases) EXPECT_EQ(pre.ReadDirectiveLine(c.line, 7), c.kind) << c.line;
  FatalError error = Catch([&] { pre.ReadDirectiveLine("#ifdef", 7); });
  EXPECT_EQ(error.report, Report("Directive ID is missing", 7));
}

TEST_F(PreprocessorTest, DeepNestingIsIterative) {
  const int depth = 100000;
  std::string open, close;
  for (int i = 0; i < depth; ++i) {
    open += "#ifdef A\n";
    close += "#endif\n";
  }
  const std::string text = open + "x\n" + close;
  std::string result = Run(text, {"A"});
  EXPECT_EQ(result.size(), text.size());
  EXPECT_EQ(result.substr(open.size(), 2), "x\n");
  ExpectFailure(open + "x\n", {"A"}, "Unmatching #ifdef / #ifndef is encountered", depth);
}

TEST_F(PreprocessorTest, LexerLinesMatchTheSourceAfterPreprocessing) {
  Lexer lex(errors);
  lex.SetSource("/* a\n b */\n#ifdef X\n'STR#'\n#endif\n#ifndef X\nIDOK\n#endif\n%");
  lex.ClearBlockComments();
  pre.StoreDirectiveIDs({});
  pre.Run(lex.Text() + lex.TextStart());
  EXPECT_EQ(lex.GetToken(), TOK_NAME);
  EXPECT_EQ(lex.TokenLine(), 7);
  FatalError error = Catch([&] { lex.GetToken(); });
  EXPECT_EQ(error.report, Report("Illegal character: %", 9));
}

}  // namespace
