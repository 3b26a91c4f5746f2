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

// Resource type keywords; the code of each is 10000 + its position (from 1).
inline constexpr std::array<std::string_view, 31> kResourceKeywords = {
    "'STR#'", "'STRf'", "'STR '", "'STRm'", "'MENU'", "'ACP0'", "'LAY2'", "'PAT#'", "'PAT '", "'ICN#'", "'VERS'",
    "'ACNF'", "'QDLG'", "'QICN'", "'QBMP'", "'QALR'", "'DLGH'", "'DHLP'", "'TEXT'", "'DATA'", "'QCSR'", "'MDID'",
    "'FTGP'", "'FTYP'", "'FILE'", "'FLDR'", "'PLST'", "'CMND'", "'MEPS'", "'JSON'", "'JSSC'"};

enum : int {
  RES_STR_LIST = 10001,  // 'STR#'
  RES_STRF = 10002,
  RES_STR = 10003,
  RES_STRM = 10004,
  RES_MENU = 10005,
  RES_ACP0 = 10006,
  RES_LAY2 = 10007,
  RES_PAT_LIST = 10008,
  RES_PAT = 10009,
  RES_ICN_LIST = 10010,  // 'ICN#'
  RES_VERS = 10011,
  RES_ACNF = 10012,
  RES_QDLG = 10013,
  RES_QICN = 10014,
  RES_QBMP = 10015,
  RES_QALR = 10016,
  RES_DLGH = 10017,
  RES_DHLP = 10018,
  RES_TEXT = 10019,
  RES_DATA = 10020,
  RES_QCSR = 10021,
  RES_MDID = 10022,
  RES_FTGP = 10023,
  RES_FTYP = 10024,
  RES_FILE = 10025,
  RES_FLDR = 10026,
  RES_PLST = 10027,
  RES_CMND = 10028,
  RES_MEPS = 10029,
  RES_JSON = 10030,
  RES_JSSC = 10031,
};

inline constexpr int kFirstResourceCode = 10001;
inline constexpr int kLastResourceCode = 10031;
inline constexpr bool IsResourceKeyword(int code) { return code >= kFirstResourceCode && code <= kLastResourceCode; }

inline constexpr int kTokenLimit = 15360;  // bytes of a token's text
inline constexpr int kNameLimit = 256;     // characters of a name

}  // namespace tessel
