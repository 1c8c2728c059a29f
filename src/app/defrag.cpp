// The deep trim's blocks, held by the host's processes service.
#include "app/defrag.h"

#include <algorithm>
#include <vector>

#include "platform/Host.h"

bool DeepTrimBusy = false;

namespace {

// Releases the blocks held and clears DeepTrimBusy, also when a step raises.
class TBlocks {
public:
  explicit TBlocks(const TDeepTrimStep& step) : FStep(step) { DeepTrimBusy = true; }
  ~TBlocks() {
    ReleaseAll(false);
    DeepTrimBusy = false;
  }
  TBlocks(const TBlocks&) = delete;
  TBlocks& operator=(const TBlocks&) = delete;

  bool Commit() {
    const uintptr_t block = platform::Host().Processes->CommitBlock(DeepTrimBlockSize);
    if (!block) return false;
    FHeld.push_back(block);
    return true;
  }

  // In the order they were committed.
  void ReleaseAll(bool withSteps) {
    while (FReleased < FHeld.size()) {
      platform::Host().Processes->ReleaseBlock(FHeld[FReleased++]);
      if (withSteps && FStep) FStep();
    }
  }

private:
  const TDeepTrimStep& FStep;
  std::vector<uintptr_t> FHeld;
  size_t FReleased = 0;
};

}  // namespace

void DeepTrimMemory(int32_t size, const TDeepTrimStep& step) {
  if (DeepTrimBusy) return;
  TBlocks blocks(step);
  const int32_t n = std::min(size, DeepTrimMaxBlocks);
  for (int32_t i = 0; i < n; ++i) {
    if (!blocks.Commit()) break;
    if (step) step();
  }
  blocks.ReleaseAll(true);
}
