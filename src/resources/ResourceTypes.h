// The resource type table: for each type keyword its token code, output type name, handler
// and mode-d dependency entry, expanded from the list in frontend/Tokens.h.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tessel {

struct Context;
struct ResourceType;

// Reads the resource whose keyword has just been read and writes its block.
using ResourceHandler = void (*)(Context& ctx, const ResourceType& type);
// Mode d: reads the resource and writes its dependency entry after `indent` blanks.
using DependencyWriter = void (*)(Context& ctx, const std::string& destinationPath, int indent);

struct ResourceType {
  std::string_view keyword;          // with its quotes
  int code;                          // token code
  const char* outputType;            // type name in the written block; empty when refused
  ResourceHandler handler;           // null: refused in every mode
  DependencyWriter dependencyEntry;  // mode d; null: the handler checks the resource
};

// All types in keyword table order.
std::span<const ResourceType> ResourceTypes();
// The type of a resource keyword token (IsResourceKeyword(code) must hold).
const ResourceType& ResourceTypeOf(int code);

}  // namespace tessel
