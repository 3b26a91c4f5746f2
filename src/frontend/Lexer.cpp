// Placeholder: replaced by the lexer implementation.
#include "frontend/Lexer.h"

namespace tessel {
Lexer::Lexer(ErrorContext& errors) : errors_(errors), token_(kTokenLimit + 2, '\0') {}
void Lexer::SetSource(std::string text, size_t start) {
  text_ = std::move(text);
  text_.push_back('\0');
  start_ = pos_ = start;
  line_ = 1;
  pushed_ = 0;
}
int Lexer::GetToken() { return TOK_END; }
int Lexer::PeekToken() { return TOK_END; }
int Lexer::PeekTokenOnLine() { return TOK_END; }
void Lexer::CheckLineEnd() {}
char* Lexer::ExpectToken(int, const char*) { return nullptr; }
char* Lexer::ExpectTokenOnLine(int, const char*) { return nullptr; }
char* Lexer::ExpectTokenOnNewLine(int, const char*) { return nullptr; }
char* Lexer::GetTokenText() { return TokenText(); }
char* Lexer::GetOptionalString() { return nullptr; }
void Lexer::SavePosition() {}
void Lexer::RestorePosition() {}
const std::string& Lexer::LineComment() { return comment_; }
void Lexer::ClearBlockComments() {}
void Lexer::Fail(std::string_view message, std::string_view detail, std::string_view detail2) {
  errors_.SourceError(message, detail, detail2, line_);
}
char* Lexer::StripQuotes(char* text) { return text; }
}  // namespace tessel
