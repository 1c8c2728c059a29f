// Artwork and documents embedded in the executable, found by name.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

// Empty when no resource of that name is embedded.
std::span<const uint8_t> FindResource(std::string_view name);

}  // namespace platform
