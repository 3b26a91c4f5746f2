#include "resources/ResourceTypes.h"

#include "dialogs/Dialog.h"
#include "dialogs/DialogHelp.h"
#include "frontend/Tokens.h"
#include "images/ImageResources.h"
#include "resources/Alerts.h"
#include "resources/ConfigResources.h"
#include "resources/DataFiles.h"
#include "resources/FileTypes.h"
#include "resources/GuidLists.h"
#include "resources/IdentifierPairs.h"
#include "resources/StringResources.h"

namespace tessel {

namespace {

constexpr ResourceType kResourceTypes[] = {
#define TESSEL_RESOURCE_ROW(name, keyword, outputType, handler, dependencyEntry) \
  {keyword, RES_##name, outputType, handler, dependencyEntry},
    TESSEL_RESOURCE_TYPES(TESSEL_RESOURCE_ROW)
#undef TESSEL_RESOURCE_ROW
};

}  // namespace

std::span<const ResourceType> ResourceTypes() { return kResourceTypes; }

const ResourceType& ResourceTypeOf(int code) { return kResourceTypes[code - kFirstResourceCode]; }

}  // namespace tessel
