// The protocol between the program and brisko-helper over a stream socket: fixed-size records of
// numbers, never paths or text. The program sends a request and reads its reply; a process list
// follows its reply as Count process IDs. Handles are the helper's own small numbers, never 0.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform::linux {

enum class THelperOp : uint32_t {
  RaisePrivilege = 1,  // Result 1 when the right to trim other processes is raised
  ListProcesses,       // Result 1, Count IDs follow
  OpenProcess,         // Argument a PID; Result a process handle, or 0
  TrimProcess,         // Argument a process handle; Result 1 when its memory was paged out
  CloseProcess,        // Argument a process handle
  CommitBlock,         // Argument the size, which must be HelperBlockSize; Result a block handle, or 0
  ReleaseBlock,        // Argument a block handle
};

struct THelperRequest {
  THelperOp Op{};
  uint32_t Argument = 0;
};

struct THelperReply {
  uint32_t Result = 0;
  uint32_t Count = 0;
};

constexpr uint32_t HelperBlockSize = 1u << 20;
constexpr uint32_t HelperMaxBlocks = 1024;
constexpr uint32_t HelperMaxOpenProcesses = 16;
constexpr uint32_t HelperMaxProcesses = 1u << 22;  // PID_MAX_LIMIT

// Sends or receives exactly size bytes on the socket fd (interrupted calls resumed, no SIGPIPE);
// false when the other end went away or the stream ended, also in the middle of a record.
bool SendRecord(int fd, const void* data, size_t size);
bool ReceiveRecord(int fd, void* data, size_t size);

}  // namespace platform::linux
