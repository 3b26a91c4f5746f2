// Placeholder: replaced by the preprocessor implementation.
#include "frontend/Preprocessor.h"

namespace tessel {
void Preprocessor::StoreDirectiveIDs(const std::vector<std::string>& ids) { ids_ = ids; }
bool Preprocessor::IsDefined(std::string_view) const { return keysPass_; }
void Preprocessor::Run(char*) {}
int Preprocessor::ReadDirectiveLine(const char*, int) { return DIR_ORDINARY; }
}  // namespace tessel
