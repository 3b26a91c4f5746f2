#include "frontend/Lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "FrontendFixture.h"
#include "frontend/ReadAhead.h"

using namespace tessel;
using frontendtest::LexerFixture;

namespace {

struct Token {
  int code;
  std::string text;  // checked when not empty
  int line;
};

}  // namespace

class LexerTest : public LexerFixture {
 protected:
  void ExpectTokens(const std::string& source, const std::vector<Token>& expected) {
    Source(source);
    for (const Token& t : expected) {
      const int code = lex.GetToken();
      EXPECT_EQ(code, t.code) << "at " << t.text;
      if (!t.text.empty()) {
        EXPECT_STREQ(lex.TokenText(), t.text.c_str());
      }
      EXPECT_EQ(lex.TokenLine(), t.line) << "at " << t.text;
    }
    EXPECT_EQ(lex.GetToken(), TOK_END);
  }
};

TEST_F(LexerTest, TokensOfEveryKind) {
  ExpectTokens(
      "'STR#' 'JSSC' 'STR '\n"
      "-12 0x7FFF 1.5 IDOK a.b-c _x -y\n"
      "; + , = [ ] \\ { } |\n"
      "$cmd1 (a \"b\" \\) c)\n"
      "  #ifdef WIN  \n"
      "@at line\n"
      "\"s\"",
      {{RES_STR_LIST, "'STR#'", 1},
       {RES_JSSC, "'JSSC'", 1},
       {RES_STR, "'STR '", 1},
       {TOK_NAME, "-12", 2},
       {TOK_NAME, "0x7FFF", 2},
       {TOK_NAME, "1.5", 2},
       {TOK_NAME, "IDOK", 2},
       {TOK_NAME, "a.b-c", 2},
       {TOK_NAME, "_x", 2},
       {TOK_NAME, "-y", 2},
       {TOK_SEMICOLON, "", 3},
       {TOK_PLUS, "", 3},
       {TOK_COMMA, "", 3},
       {TOK_EQUAL, "", 3},
       {TOK_LBRACKET, "", 3},
       {TOK_RBRACKET, "", 3},
       {TOK_BACKSLASH, "", 3},
       {TOK_LBRACE, "", 3},
       {TOK_RBRACE, "", 3},
       {TOK_BAR, "", 3},
       {TOK_COMMAND, "$cmd1", 4},
       {TOK_NAME, "(a \"b\" \\) c)", 4},
       {TOK_DIRECTIVE, "#ifdef WIN  ", 5},
       {TOK_AT_LINE, "@at line", 6},
       {TOK_STRING, "\"s\"", 7}});
}

TEST_F(LexerTest, EveryResourceKeywordHasItsCode) {
  for (size_t i = 0; i < kResourceKeywords.size(); ++i) {
    Source(std::string(kResourceKeywords[i]));
    EXPECT_EQ(lex.GetToken(), 10001 + static_cast<int>(i));
    EXPECT_EQ(std::string(lex.TokenText()), kResourceKeywords[i]);
  }
}

TEST_F(LexerTest, PunctuationLeavesThePreviousTokenText) {
  Source("IDOK , }");
  lex.GetToken();
  lex.GetToken();
  EXPECT_STREQ(lex.TokenText(), "IDOK");
  lex.GetToken();
  EXPECT_STREQ(lex.TokenText(), "IDOK");
}

TEST_F(LexerTest, LineEndsAndComments) {
  ExpectTokens("a\rb\nc\r\nd\n\re /* x\n y */ f // g\n h /* i */ j // $NOP k", {{TOK_NAME, "a", 1},
                                                                                {TOK_NAME, "b", 2},
                                                                                {TOK_NAME, "c", 3},
                                                                                {TOK_NAME, "d", 4},
                                                                                {TOK_NAME, "e", 6},
                                                                                {TOK_NAME, "f", 7},
                                                                                {TOK_NAME, "h", 8},
                                                                                {TOK_NAME, "j", 8}});
}

TEST_F(LexerTest, ZeroByteEndsTheText) {
  ExpectTokens(std::string("a\nb\0c d", 7), {{TOK_NAME, "a", 1}, {TOK_NAME, "b", 2}});
}

TEST_F(LexerTest, NameLengthLimit) {
  ExpectTokens(std::string(256, 'n'), {{TOK_NAME, std::string(256, 'n'), 1}});
  Source("\n" + std::string(257, 'n'));
  ExpectFailure([&] { lex.GetToken(); }, "Identifier or number is too long", 2);
}

TEST_F(LexerTest, TokenTextLimit) {
  const std::string inner(kTokenLimit - 2, 's');
  ExpectTokens("\"" + inner + "\"", {{TOK_STRING, "\"" + inner + "\"", 1}});
  for (std::string source : {"\"" + inner + "s\"", "#" + std::string(kTokenLimit, 'd'),
                             "@" + std::string(kTokenLimit, 'd'), "(" + inner + "s)"}) {
    Source(source);
    ExpectFailure([&] { lex.GetToken(); }, "String is too long", 1);
  }
  ExpectTokens("#" + std::string(kTokenLimit - 1, 'd'), {{TOK_DIRECTIVE, "", 1}});
}

TEST_F(LexerTest, Errors) {
  struct Case {
    std::string source;
    std::string text;
    int line;
  };
  const std::vector<Case> cases = {
      {"\n'STRX'", "Illegal resource type: 'STRX'", 2},
      {"'ab\nc'", "Illegal resource type: 'ab", 1},
      {"'STR#x", "Illegal resource type: 'STR#", 1},
      {"'ST", "Illegal resource type: 'ST", 1},
      {"\n\n/x", "Illegal character: /", 3},
      {"a -", "Illegal character: -", 1},
      {"_ b", "Illegal character: _", 1},
      {"%", "Illegal character: %", 1},
      {"\x80", "Illegal character: \x80", 1},
      {".5", "Illegal character: .", 1},
      {"\n// cost $x", "Illegal KLX keyword", 2},
      {"// $NO", "Illegal KLX keyword", 1},
      {"$1", "Illegal KLX command: $", 1},
      {"$", "Illegal KLX command: $", 1},
      {"\"abc", "Illegal string", 1},
      {"\n\"abc\ndef\"", "Illegal string", 2},
      {"\"abc\rdef\"", "Illegal string", 1},
      {"\"abc\\\ndef\"", "Illegal string", 1},
      {"\"abc\\", "Illegal string", 1},
      {"(abc\n)", "Illegal string", 1},
      {"(abc", "Illegal string", 1},
      {"a\n/* open\n\n", "Incompleted comment", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    Source(c.source);
    ExpectFailure([&] { ReadAll(); }, c.text, c.line);
  }
}

TEST_F(LexerTest, TextEndingInALineCommentEnds) { ExpectTokens("a // last", {{TOK_NAME, "a", 1}}); }

TEST_F(LexerTest, StringsInWindowsForm) {
  ExpectTokens(R"("a\"b" "x\ny\\z" "p\.q" "\\." "\\\"" "")", {{TOK_STRING, R"("a""b")", 1},
                                                              {TOK_STRING, R"("x\ny\\z")", 1},
                                                              {TOK_STRING, R"("p.q")", 1},
                                                              {TOK_STRING, R"("\\.")", 1},
                                                              {TOK_STRING, R"("\\""")", 1},
                                                              {TOK_STRING, R"("")", 1}});
}

TEST_F(LexerTest, DoubleByteCharactersInStrings) {
  // 0x81 leads a double-byte character in code page 932: its second byte neither ends nor escapes.
  Source("\"\x81\"\" \"\x81\\\"", 932);
  EXPECT_EQ(lex.GetToken(), TOK_STRING);
  EXPECT_STREQ(lex.TokenText(), "\"\x81\"\"");
  EXPECT_EQ(lex.GetToken(), TOK_STRING);
  EXPECT_STREQ(lex.TokenText(), "\"\x81\\\"");
  // Single-byte text: the same bytes escape the quote.
  Source("\"\x81\\\"\"");
  EXPECT_EQ(lex.GetToken(), TOK_STRING);
  EXPECT_STREQ(lex.TokenText(), "\"\x81\"\"\"");
  // A lead byte before the end of the text or a line end stands alone.
  for (std::string source : {"\"\x81", "\"\x81\n\"", "(\x81"}) {
    Source(source, 932);
    ExpectFailure([&] { lex.GetToken(); }, "Illegal string", 1);
  }
}

TEST_F(LexerTest, OptionalStringJoinsLiterals) {
  struct Case {
    std::string source;
    std::string joined;
    int line;  // after the join
  };
  const std::vector<Case> cases = {
      {R"("a")", R"("a")", 1},
      {R"("a" "b")", R"("ab")", 1},
      {R"("a" + "b" "c")", R"("abc")", 1},
      {"\"a\" \\\n \"b\"", R"("ab")", 2},
      {"\"a\" \\ // note\n\n \"b\" + \"c\" \\\n\"d\"", R"("abcd")", 4},
      {R"("" "\"")", R"("""")", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    Source(c.source + " x\ny");
    EXPECT_STREQ(lex.GetOptionalString(), c.joined.c_str());
    EXPECT_EQ(lex.TokenLine(), c.line);
    EXPECT_EQ(lex.GetToken(), TOK_NAME);
    EXPECT_STREQ(lex.TokenText(), "x");
  }
}

TEST_F(LexerTest, OptionalStringLeavesOtherTokens) {
  Source("IDOK \"a\"");
  EXPECT_EQ(lex.GetOptionalString(), nullptr);
  EXPECT_EQ(lex.GetToken(), TOK_NAME);
  // A string on the next line is not joined.
  Source("\"a\"\n\"b\"");
  EXPECT_STREQ(lex.GetOptionalString(), "\"a\"");
  EXPECT_EQ(lex.GetToken(), TOK_STRING);
  EXPECT_EQ(lex.TokenLine(), 2);
}

TEST_F(LexerTest, ConcatenationErrors) {
  const std::string message = "String is expected after concatenation (\\)";
  struct Case {
    std::string source;
    std::string text;
    int line;
  };
  const std::vector<Case> cases = {
      {"\"a\" \\ \"b\"", message, 1},
      {"\n\"a\" \\\n\nIDOK", message, 2},
      {"\"a\" \\", message, 1},
      {"\"a\" +\n\"b\"", message, 1},
      {"\"a\" + IDOK", message, 1},
      {"\"" + std::string(8000, 'a') + "\" \"" + std::string(7358, 'b') + "\"", "Internal error", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source.substr(0, 20));
    Source(c.source);
    ExpectFailure([&] { lex.GetOptionalString(); }, c.text, c.line);
  }
  // One byte less fits.
  Source("\"" + std::string(8000, 'a') + "\" \"" + std::string(7357, 'b') + "\"");
  EXPECT_EQ(std::string(lex.GetOptionalString()).size(), 15359u);
}

TEST_F(LexerTest, ExpectTokenLeavesAnUnexpectedToken) {
  Source("a\n\n}");
  lex.GetToken();
  ExpectFailure([&] { lex.ExpectToken(TOK_LBRACE, "{ is expected"); }, "{ is expected", 3);

  Source("a\n\n}");
  lex.GetToken();
  EXPECT_EQ(lex.ExpectToken(TOK_LBRACE, nullptr), nullptr);
  EXPECT_EQ(lex.TokenLine(), 1);
  EXPECT_EQ(lex.PendingTokenLine(), 3);
  EXPECT_EQ(lex.ExpectToken(TOK_NAME, nullptr), nullptr);  // the same token again
  EXPECT_EQ(lex.TokenLine(), 1);
  EXPECT_EQ(lex.GetToken(), TOK_RBRACE);
  EXPECT_EQ(lex.TokenLine(), 3);

  Source("a b");
  lex.GetToken();
  EXPECT_STREQ(lex.ExpectToken(TOK_NAME, "x"), "b");

  // A string left by an expectation is still joined when it is read as an optional string.
  Source("{ \"a\" \\\n \"b\" }");
  lex.GetToken();
  EXPECT_EQ(lex.ExpectToken(TOK_RBRACE, nullptr), nullptr);
  EXPECT_STREQ(lex.GetOptionalString(), "\"ab\"");
  EXPECT_NE(lex.ExpectToken(TOK_RBRACE, nullptr), nullptr);
  EXPECT_EQ(lex.TokenLine(), 2);
}

TEST_F(LexerTest, ExpectTokenOnLine) {
  Source("a b\n c");
  lex.GetToken();
  EXPECT_STREQ(lex.ExpectTokenOnLine(TOK_NAME, nullptr), "b");
  EXPECT_EQ(lex.ExpectTokenOnLine(TOK_NAME, nullptr), nullptr);
  EXPECT_EQ(lex.TokenLine(), 1);
  EXPECT_EQ(lex.GetTokenText(), std::string("c"));
  EXPECT_EQ(lex.TokenLine(), 2);

  Source("a\n\nb");
  lex.GetToken();
  ExpectFailure([&] { lex.ExpectTokenOnLine(TOK_NAME, "An item is missing"); }, "An item is missing", 1);
  Source("a ,");
  lex.GetToken();
  ExpectFailure([&] { lex.ExpectTokenOnLine(TOK_NAME, "An item is missing"); }, "An item is missing", 1);
}

TEST_F(LexerTest, ExpectTokenOnNewLine) {
  Source("a\n b");
  lex.GetToken();
  EXPECT_STREQ(lex.ExpectTokenOnNewLine(TOK_NAME, nullptr), "b");
  EXPECT_EQ(lex.TokenLine(), 2);

  Source("a\n}");
  lex.GetToken();
  EXPECT_EQ(lex.ExpectTokenOnNewLine(TOK_LBRACE, nullptr), nullptr);
  EXPECT_EQ(lex.GetToken(), TOK_RBRACE);
  Source("a\n\n}");
  lex.GetToken();
  ExpectFailure([&] { lex.ExpectTokenOnNewLine(TOK_LBRACE, "{ is expected"); }, "{ is expected", 3);

  Source("a b");
  lex.GetToken();
  ExpectFailure([&] { lex.ExpectTokenOnNewLine(TOK_NAME, nullptr); }, "Extra character on line", 1);
  Source("\na // end");
  lex.GetToken();
  ExpectFailure([&] { lex.ExpectTokenOnNewLine(TOK_NAME, nullptr); }, "Unexpected end of file", 2);
}

TEST_F(LexerTest, PeekingConsumesNothing) {
  Source("a // c\n b c");
  lex.GetToken();
  EXPECT_EQ(lex.PeekTokenOnLine(), 0);
  EXPECT_EQ(lex.PeekToken(), TOK_NAME);
  EXPECT_EQ(lex.TokenLine(), 1);
  lex.CheckLineEnd();
  EXPECT_STREQ(lex.GetTokenText(), "b");
  EXPECT_EQ(lex.PeekTokenOnLine(), TOK_NAME);
  ExpectFailure([&] { lex.CheckLineEnd(); }, "Extra character on line", 2);

  Source("a");
  lex.GetToken();
  lex.CheckLineEnd();  // the end of the text is no extra character
}

// A second reading takes the kept scans of the first: the same tokens, texts and lines, short
// and long. A change of how strings are read (a code table) drops them.
TEST_F(LexerTest, ASecondReadingGivesTheFirstReadingsTokens) {
  const std::string longText = "\"" + std::string(60, 'a') + "\"";
  Source("\"ab\" name\n" + longText + " 12 }");
  auto readAll = [&] {
    std::vector<std::tuple<int, std::string, int>> tokens;
    for (int code = lex.PeekToken(); code != TOK_END; code = lex.PeekToken()) {
      lex.GetToken();
      tokens.emplace_back(code, lex.TokenText(), lex.TokenLine());
    }
    return tokens;
  };
  const auto first = tessel::ReadAhead(lex, readAll);
  EXPECT_EQ(readAll(), first);
  ASSERT_EQ(first.size(), 5u);
  EXPECT_EQ(std::get<1>(first[2]), longText);
  EXPECT_EQ(std::get<2>(first[4]), 2);

  Source("\"ab\"");
  EXPECT_EQ(lex.PeekToken(), TOK_STRING);
  tessel::Translation upper{};
  for (int c = 0; c < 256; ++c) upper[c] = static_cast<uint8_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
  lex.SetTranslation(&upper);
  EXPECT_STREQ(lex.GetTokenText(), "\"AB\"");
}

TEST_F(LexerTest, SavedPositionsNest) {
  Source("a b\nc d");
  lex.GetToken();
  lex.SavePosition();
  lex.GetToken();
  lex.GetToken();
  lex.SavePosition();
  EXPECT_STREQ(lex.GetTokenText(), "d");
  lex.RestorePosition();
  EXPECT_EQ(lex.TokenLine(), 2);
  EXPECT_STREQ(lex.GetTokenText(), "d");
  lex.RestorePosition();
  EXPECT_EQ(lex.TokenLine(), 1);
  EXPECT_FALSE(lex.PositionSaved());
  EXPECT_STREQ(lex.GetTokenText(), "b");
}

TEST_F(LexerTest, SavingAfterAnUnexpectedToken) {
  // The token left unread is read anew after the saved position, its line counted again.
  Source("a\n\n  { b");
  lex.GetToken();
  EXPECT_EQ(lex.ExpectToken(TOK_NAME, nullptr), nullptr);
  lex.SavePosition();
  EXPECT_EQ(lex.GetToken(), TOK_LBRACE);
  EXPECT_EQ(lex.TokenLine(), 3);
  EXPECT_EQ(lex.GetToken(), TOK_NAME);
  lex.RestorePosition();
  EXPECT_EQ(lex.TokenLine(), 1);
  EXPECT_EQ(lex.GetToken(), TOK_LBRACE);
  EXPECT_EQ(lex.TokenLine(), 3);

  // Restoring also goes back over a token left by an expectation after the save.
  Source("a b");
  lex.SavePosition();
  lex.GetToken();
  lex.ExpectToken(TOK_LBRACE, nullptr);
  lex.RestorePosition();
  EXPECT_STREQ(lex.GetTokenText(), "a");

  // Peeking at a token left by an expectation leaves it for the next read.
  Source("a\n{");
  lex.GetToken();
  lex.ExpectToken(TOK_NAME, nullptr);
  EXPECT_EQ(lex.PeekTokenOnLine(), 0);
  EXPECT_EQ(lex.PeekToken(), TOK_LBRACE);
  EXPECT_EQ(lex.GetToken(), TOK_LBRACE);
  EXPECT_EQ(lex.TokenLine(), 2);
}

TEST_F(LexerTest, StripQuotes) {
  char quoted[] = "\"abc\"";
  EXPECT_STREQ(Lexer::StripQuotes(quoted), "abc");
  char plain[] = "abc";
  EXPECT_EQ(Lexer::StripQuotes(plain), plain);
  char lone[] = "\"";
  EXPECT_STREQ(Lexer::StripQuotes(lone), "");
  EXPECT_EQ(Lexer::StripQuotes(nullptr), nullptr);
}

TEST_F(LexerTest, LineCommentOfTheCurrentLine) {
  Source("\"a\" x /* one */ // two \"q\" \\\"r\\\"\n\"b\" y\n\"c\" /* three");
  lex.GetToken();
  EXPECT_EQ(lex.LineComment(), "/* one */// two \\\"q\\\" \\\"r\\\"");
  // The lexer goes on as if nothing was read.
  EXPECT_STREQ(lex.TokenText(), "\"a\"");
  EXPECT_STREQ(lex.GetTokenText(), "x");
  EXPECT_EQ(lex.TokenLine(), 1);
  lex.GetToken();
  EXPECT_EQ(lex.TokenLine(), 2);
  EXPECT_EQ(lex.LineComment(), "");
  lex.GetToken();
  lex.GetToken();
  ExpectFailure([&] { lex.LineComment(); }, "Incompleted comment", 3);
}

TEST_F(LexerTest, LineCommentAfterAnUnexpectedToken) {
  Source("a b // c\nd");
  lex.GetToken();
  lex.ExpectToken(TOK_COMMA, nullptr);
  EXPECT_EQ(lex.LineComment(), "// c");
  EXPECT_STREQ(lex.GetTokenText(), "b");
  EXPECT_EQ(lex.GetToken(), TOK_NAME);
  EXPECT_EQ(lex.TokenLine(), 2);
}

// ---- Block-comment clearing ----

class ClearingTest : public LexerFixture {
 protected:
  static std::string Blanks(size_t n) { return std::string(n, ' '); }
  std::string Clear(const std::string& source) {
    Source(source);
    lex.ClearBlockComments();
    return lex.Text();
  }
};

TEST_F(ClearingTest, BlanksCommentsKeepingLineEnds) {
  struct Case {
    std::string source;
    std::string cleared;
  };
  const std::vector<Case> cases = {
      {"a /* b */ c", "a" + Blanks(9) + "c"},
      {"a/* b\r\nc\rd\ne */f", "a    \r\n \r \n    f"},
      {"/* a /* b */ c */d", Blanks(17) + "d"},
      {"\"/* x */\" /**/", "\"/* x */\"" + Blanks(5)},
      {"\"a\\\"/*\" /*\"*/", "\"a\\\"/*\"" + Blanks(6)},
      {"// a \" /* b\nc /**/", "// a \" /* b\nc" + Blanks(5)},
      {"a */ b", "a */ b"},
  };
  for (const Case& c : cases) EXPECT_EQ(Clear(c.source), c.cleared) << c.source;
}

TEST_F(ClearingTest, DoubleByteStrings) {
  EXPECT_EQ(Clear("\"\x81\" /**/ \"\""), "\"\x81\"" + Blanks(6) + "\"\"");
  Source("\"\x81\" /**/ \"", 932);
  lex.ClearBlockComments();
  EXPECT_EQ(std::string(lex.Text()), "\"\x81\" /**/ \"");
}

TEST_F(ClearingTest, Errors) {
  struct Case {
    std::string source;
    std::string text;
    int line;
  };
  const std::vector<Case> cases = {
      {"a\n/* b /* c */\nd\n", "Incompleted comment", 2},
      {"a\r\nb\r\n\"c\r\n\"", "Illegal string", 3},
      {"a\rb\r\"c\rd\"", "Illegal string", 3},
      {"a\n\n\"c", "Illegal string", 3},
      {"\"a\\\n\"", "Illegal string", 1},
      {"/* a\r\nb */\n// \" x\r\n\"c\n", "Illegal string", 4},  // lines in comments count
      {"x\r\n\"y\"\r\n/* \r\n", "Incompleted comment", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    Source(c.source);
    ExpectFailure([&] { lex.ClearBlockComments(); }, c.text, c.line);
  }
}

TEST_F(ClearingTest, StartsAfterAByteOrderMark) {
  lex.SetSource("\xEF\xBB\xBF/**/\"x\"", 3);
  lex.ClearBlockComments();
  EXPECT_EQ(std::string(lex.Text()), "\xEF\xBB\xBF    \"x\"");
  EXPECT_EQ(lex.GetToken(), TOK_STRING);
  EXPECT_EQ(lex.TokenLine(), 1);
}
