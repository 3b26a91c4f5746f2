// Token codes and the resource type keyword table.
#pragma once

#include <array>
#include <string_view>

namespace tessel {

enum : int {
  TOK_END = 0,
  TOK_NAME = 1000,
  TOK_BACKSLASH = 1001,
  TOK_STRING = 1002,
  TOK_DIRECTIVE = 1003,
  TOK_AT_LINE = 1004,
  TOK_PLUS = 1005,
  TOK_BAR = 1006,
  TOK_COMMA = 1007,
  TOK_LBRACKET = 1008,
  TOK_RBRACKET = 1009,
  TOK_EQUAL = 1010,
  TOK_SEMICOLON = 1011,
  TOK_COMMAND = 1012,
  TOK_LBRACE = 10100,
  TOK_RBRACE = 10101,
};

// The resource types, in keyword table order: a type's token code is 10000 + its position.
// Columns: enumerator (RES_ prefixed), keyword with its quotes, output type name, handler
// (nullptr: refused in every mode), writer of the mode-d dependency entry (nullptr: in mode d
// the handler reads and checks the resource with output suspended, as in modes h and m).
// The handler columns are expanded by resources/ResourceTypes.cpp only.
#define TESSEL_RESOURCE_TYPES(X)                                   \
  X(STR_LIST, "'STR#'", "STRS", ConvertStringList, nullptr)        \
  X(STRF, "'STRf'", "STRf", ConvertStringList, nullptr)            \
  X(STR, "'STR '", "STR_", ConvertSingleString, nullptr)           \
  X(STRM, "'STRm'", "STRS", ConvertStringList, nullptr)            \
  X(MENU, "'MENU'", "", nullptr, nullptr)                          \
  X(ACP0, "'ACP0'", "ACP0", ConvertLabelValueList, nullptr)        \
  X(LAY2, "'LAY2'", "LAY2", ConvertLay2List, nullptr)              \
  X(PAT_LIST, "'PAT#'", "", nullptr, nullptr)                      \
  X(PAT, "'PAT '", "", nullptr, nullptr)                           \
  X(ICN_LIST, "'ICN#'", "ICON", ConvertIconList, nullptr)          \
  X(VERS, "'VERS'", "", nullptr, nullptr)                          \
  X(ACNF, "'ACNF'", "ACNF", ConvertConfigRecord, nullptr)          \
  X(QDLG, "'QDLG'", "QXDG", ConvertDialog, nullptr)                \
  X(QICN, "'QICN'", "ICON", ConvertIcon, ListIconDependency)       \
  X(QBMP, "'QBMP'", "", nullptr, nullptr)                          \
  X(QALR, "'QALR'", "QALR", ConvertAlert, nullptr)                 \
  X(DLGH, "'DLGH'", "DLGH", ConvertHelpList, nullptr)              \
  X(DHLP, "'DHLP'", "DHLP", ConvertHelpTexts, nullptr)             \
  X(TEXT, "'TEXT'", "TEXT", ConvertTextFile, ListTextDependency)   \
  X(DATA, "'DATA'", "DATA", ConvertDataFile, nullptr)              \
  X(QCSR, "'QCSR'", "CURSOR", ConvertCursor, ListCursorDependency) \
  X(MDID, "'MDID'", "MDID", ConvertIdentifierPair, nullptr)        \
  X(FTGP, "'FTGP'", "FTGP", ConvertFileTypeGroup, nullptr)         \
  X(FTYP, "'FTYP'", "FTYP", ConvertFileType, nullptr)              \
  X(FILE, "'FILE'", "FILE", ConvertFile, nullptr)                  \
  X(FLDR, "'FLDR'", "", nullptr, nullptr)                          \
  X(PLST, "'PLST'", "", nullptr, nullptr)                          \
  X(CMND, "'CMND'", "CMND", ConvertCommandTable, nullptr)          \
  X(MEPS, "'MEPS'", "MEPS", ConvertMepsList, nullptr)              \
  X(JSON, "'JSON'", "JSON", ConvertDataFile, nullptr)              \
  X(JSSC, "'JSSC'", "JSSC", ConvertDataFile, nullptr)

enum : int {
  kResourceCodeBase = 10000,
#define TESSEL_RESOURCE_CODE(name, ...) RES_##name,
  TESSEL_RESOURCE_TYPES(TESSEL_RESOURCE_CODE)
#undef TESSEL_RESOURCE_CODE
      kResourceCodeEnd,
};

inline constexpr std::array<std::string_view, kResourceCodeEnd - kResourceCodeBase - 1> kResourceKeywords = {
#define TESSEL_RESOURCE_KEYWORD(name, keyword, ...) keyword,
    TESSEL_RESOURCE_TYPES(TESSEL_RESOURCE_KEYWORD)
#undef TESSEL_RESOURCE_KEYWORD
};

inline constexpr int kFirstResourceCode = kResourceCodeBase + 1;
inline constexpr int kLastResourceCode = kResourceCodeEnd - 1;
static_assert(RES_STR_LIST == 10001 && RES_JSSC == 10031, "the token codes of the keywords are fixed");
inline constexpr bool IsResourceKeyword(int code) { return code >= kFirstResourceCode && code <= kLastResourceCode; }

inline constexpr int kTokenLimit = 15360;  // bytes of a token's text
inline constexpr int kNameLimit = 256;     // characters of a name

}  // namespace tessel
