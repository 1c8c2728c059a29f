// The deep trim: the program commits and writes up to 1 GiB of its own memory in 1 MiB blocks, which
// pushes other processes' pages out of physical memory, holds it all, then releases it. A step
// callback runs after every block, while the user interface stays live.
#pragma once
#include <cstdint>
#include <functional>

// A deep trim is under way; a second one entered through the message pump returns at once.
extern bool DeepTrimBusy;

using TDeepTrimStep = std::function<void()>;

constexpr uint32_t DeepTrimBlockSize = 1u << 20;
constexpr int32_t DeepTrimMaxBlocks = 1024;

// Commits size blocks (at most 1024; none for 0 or less), calling step after each, then releases
// them, calling step after each. A block the system cannot supply ends the committing: the blocks
// already held are released (with their steps) and nothing is written into a block never got.
// DeepTrimBusy is cleared in every case, an error included.
void DeepTrimMemory(int32_t size, const TDeepTrimStep& step);
