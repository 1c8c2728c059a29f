// Descriptions of the processor's caches: levels, code and data parts, each with associativity, line
// size and size. Nothing detects caches: every description keeps the sizes it is made with, 0.
#pragma once
#include <cstdint>
#include <memory>

#include "base/Classes.h"

enum class TCacheAssociativity { caNone, caDirect, ca2Way, ca4Way, ca8Way, ca12Way, ca16Way, caFull };

class TCPUCacheDetails : public TObject {
public:
  TCacheAssociativity Associativity() const { return FAssociativity; }
  int32_t LineSize() const { return FLineSize; }
  int32_t Size() const { return FSize; }

private:
  TCacheAssociativity FAssociativity = TCacheAssociativity::caNone;
  int32_t FLineSize = 0;
  int32_t FSize = 0;
};

class TCPUSegmentedCache : public TObject {
public:
  const TCPUCacheDetails& Code() const { return FCode; }
  const TCPUCacheDetails& Data() const { return FData; }
  const TCPUCacheDetails& Unified() const { return FUnified; }

private:
  TCPUCacheDetails FCode, FData, FUnified;
};

class TCPUCache : public TObject {
public:
  const TCPUSegmentedCache& Level1() const { return FLevel1; }
  const TCPUCacheDetails& Level2() const { return FLevel2; }
  const TCPUCacheDetails& Level3() const { return FLevel3; }
  const TCPUCacheDetails& Trace() const { return FTrace; }

private:
  TCPUSegmentedCache FLevel1;
  TCPUCacheDetails FLevel2, FLevel3, FTrace;
};
