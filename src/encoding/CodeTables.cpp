// Placeholder: replaced by the code tables.
#include "encoding/CodeTables.h"

namespace tessel {
std::optional<const CodeTable*> FindCodeTable(std::string_view lowerName) {
  static const CodeTable kTables[] = {{"int", "INT", {}}, {"gre", "GRE", {}}, {"rus", "RUS", {}}, {"ceu", "CEU", {}}};
  if (lowerName == "nul") return nullptr;
  for (const auto& t : kTables) {
    if (t.option == lowerName) return &t;
  }
  return std::nullopt;
}
std::string_view CodeTableName(const CodeTable* table) { return table ? table->name : "NUL"; }
Translation BuildTranslation(const CodeTable&) {
  Translation t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(i);
  return t;
}
void TranslateLiteral(const Translation&, char*) {}
}  // namespace tessel
