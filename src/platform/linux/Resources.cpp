// Artwork embedded at build time (see cmake/EmbedResources.cmake), found by name.
#include "platform/Resources.h"

#include <cstddef>
#include <cstring>

namespace platform::linux {
struct TEmbeddedResource { const char* Name; const uint8_t* Data; size_t Size; };
extern const TEmbeddedResource EmbeddedResources[];
}  // namespace platform::linux

namespace platform {

std::span<const uint8_t> FindResource(std::string_view name) {
  for (const auto* r = linux::EmbeddedResources; r->Name; ++r)
    if (name == r->Name) return {r->Data, r->Size};
  return {};
}

}  // namespace platform
