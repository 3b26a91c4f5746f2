// The four Macintosh-to-Windows code tables selected by -l, and the literal translation.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessel {

struct CodeTable {
  std::string_view option;           // "int", "gre", "rus", "ceu"
  std::string_view name;             // "INT", "GRE", "RUS", "CEU"
  std::array<uint8_t, 128> windows;  // Windows byte of each Macintosh byte 0x80..0xFF
};

// Looks up an -l value already folded to lower case: nullopt for an unknown name,
// a null table for "nul", else the table.
std::optional<const CodeTable*> FindCodeTable(std::string_view lowerName);
// The banner name of the table in use: "NUL" for none.
std::string_view CodeTableName(const CodeTable* table);

using Translation = std::array<uint8_t, 256>;
// The 256-byte translation of a table (identity with the table's pairs applied).
Translation BuildTranslation(const CodeTable& table);
// Replaces every byte of the zero-terminated text through the translation.
void TranslateLiteral(const Translation& translation, char* text);

}  // namespace tessel
