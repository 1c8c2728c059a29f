// brisko-helper's server (see Helper.h).
#include "helper/Helper.h"

#include "platform/linux/Capabilities.h"
#include "platform/linux/Trim.h"

namespace helper {

using namespace platform::linux;

THelper::THelper() : FWithSwap(SwapConfigured()) {}

THelper::~THelper() {
  for (const auto& [handle, block] : FBlocks) ReleaseMemoryBlock(block, HelperBlockSize);
}

THelperReply THelper::Answer(const THelperRequest& request, std::vector<uint32_t>& ids) {
  ids.clear();
  switch (request.Op) {
    case THelperOp::RaisePrivilege:
      return {RaiseTrimCapabilities() ? 1u : 0u, 0};
    case THelperOp::ListProcesses:
      ids = ListProcesses();
      if (ids.size() > HelperMaxProcesses) ids.resize(HelperMaxProcesses);
      return {1, static_cast<uint32_t>(ids.size())};
    case THelperOp::OpenProcess:
      return {OpenProcess(request.Argument), 0};
    case THelperOp::TrimProcess:
      return {TrimProcess(request.Argument) ? 1u : 0u, 0};
    case THelperOp::CloseProcess:
      return {FProcesses.erase(request.Argument) > 0 ? 1u : 0u, 0};
    case THelperOp::CommitBlock:
      return {CommitBlock(request.Argument), 0};
    case THelperOp::ReleaseBlock:
      return {ReleaseBlock(request.Argument) ? 1u : 0u, 0};
  }
  return {};
}

bool THelper::Serve(int in, int out) {
  THelperRequest request;
  std::vector<uint32_t> ids;
  while (ReceiveRecord(in, &request, sizeof request)) {
    const THelperReply reply = Answer(request, ids);
    if (!SendRecord(out, &reply, sizeof reply) || !SendRecord(out, ids.data(), ids.size() * sizeof(uint32_t))) return false;
  }
  return true;
}

uint32_t THelper::NextHandle() {
  do ++FLastHandle;
  while (FLastHandle == 0 || FProcesses.contains(FLastHandle) || FBlocks.contains(FLastHandle));
  return FLastHandle;
}

uint32_t THelper::OpenProcess(uint32_t pid) {
  if (FProcesses.size() >= HelperMaxOpenProcesses) return 0;
  TFd pidfd = PinProcess(pid);
  if (!pidfd) return 0;
  const uint32_t handle = NextHandle();
  FProcesses.emplace(handle, TProcess{std::move(pidfd), pid});
  return handle;
}

bool THelper::TrimProcess(uint32_t handle) {
  const auto process = FProcesses.find(handle);
  return process != FProcesses.end() && platform::linux::TrimProcess(process->second.Pidfd.Get(), process->second.Pid, FWithSwap) >= 0;
}

uint32_t THelper::CommitBlock(uint32_t bytes) {
  if (bytes != HelperBlockSize || FBlocks.size() >= HelperMaxBlocks || !BlockFits(ReadMemoryRoom(), bytes)) return 0;
  void* block = CommitMemoryBlock(bytes);
  if (!block) return 0;
  const uint32_t handle = NextHandle();
  FBlocks.emplace(handle, block);
  return handle;
}

bool THelper::ReleaseBlock(uint32_t handle) {
  const auto block = FBlocks.find(handle);
  if (block == FBlocks.end()) return false;
  ReleaseMemoryBlock(block->second, HelperBlockSize);
  FBlocks.erase(block);
  return true;
}

}  // namespace helper
