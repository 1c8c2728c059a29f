// The performance-data block: the writer's exact sizes and more-data answer, its bytes between and
// after the records, and what the reader finds in written and in damaged blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "PerfBlockBuilder.h"
#include "platform/PerfBlock.h"
#include "platform/Registry.h"

using L = TPerfLayout;

namespace {

constexpr uint32_t Timer100ns = 0x20510500;

TPerfBlockSpec Spec(std::vector<TPerfInstanceSpec> instances) {
  TPerfBlockSpec spec;
  spec.PerfTime = 42;
  spec.PerfFreq = 3579545;
  spec.PerfTime100nSec = 133536671990000000;
  spec.Objects.push_back({238, 2, {{142, Timer100ns}, {144, Timer100ns}, {6, 0x21510500}}, std::move(instances)});
  return spec;
}

std::vector<uint8_t> Written(const TPerfBlockSpec& spec, TPerfBlockOffsets* offsets = nullptr) {
  std::vector<uint8_t> bytes(static_cast<size_t>(PerfBlockSize(spec)), 0xAA);
  EXPECT_EQ(WritePerfBlock(spec, bytes.data(), static_cast<uint32_t>(bytes.size()), offsets), platform::ErrorSuccess);
  return bytes;
}

TEST(PerfBlock, ExactSizeFitsAndOneByteLessAsksForMoreLeavingTheBufferAlone) {
  const TPerfBlockSpec spec = Spec({{u"0", {1, 2}}, {u"1234567", {3, 4}}, {u"_Total", {5, 6, 7, 8}}});  // 8 has no counter
  // Header 88, object 64 + 3 * 40, then per instance the padded record and a 32-byte counter block:
  // "0" 24 + 4 -> 32, "1234567" 24 + 16 = 40, "_Total" 24 + 14 -> 40.
  const uint32_t size = 88 + 64 + 120 + (32 + 32) + (40 + 32) + (40 + 32);
  ASSERT_EQ(PerfBlockSize(spec), size);
  std::vector<uint8_t> bytes(size + 16, 0xAA);
  ASSERT_EQ(WritePerfBlock(spec, bytes.data(), size), platform::ErrorSuccess);
  for (size_t k = size; k < bytes.size(); ++k) ASSERT_EQ(bytes[k], 0xAA) << k;
  for (uint32_t tooSmall : {size - 1, 88u, 0u}) {
    std::vector<uint8_t> small(size, 0xAA);
    EXPECT_EQ(WritePerfBlock(spec, small.data(), tooSmall), platform::ErrorMoreData) << tooSmall;
    EXPECT_EQ(std::count(small.begin(), small.end(), 0xAA), static_cast<long>(size)) << tooSmall;
  }
}

TEST(PerfBlock, WrittenRecordsAreAlignedZeroPaddedAndReadBackWhole) {
  const std::u16string name = u"K\u00e9rn\u4e2d";
  TPerfBlockOffsets at;
  const std::vector<uint8_t> bytes = Written(Spec({{u"", {7, 8, 9}}, {name, {-1}}}), &at);
  const TPerfBlockReader reader(bytes);
  uint32_t total, defaultObject;
  ASSERT_TRUE(reader.U32(L::BlockTotalByteLength, total) && reader.U32(L::BlockDefaultObject, defaultObject));
  EXPECT_EQ(total, bytes.size());
  EXPECT_EQ(defaultObject, 238u);
  int64_t objectClock;
  ASSERT_TRUE(reader.I64(at.Objects[0] + L::ObjectPerfTime, objectClock));
  EXPECT_EQ(objectClock, 133536671990000000);  // objects keep the 100 ns clock, whatever the block's is
  for (size_t k = 0; k < 2; ++k) {
    EXPECT_EQ(at.Instances[0][k] % 8, 0u);
    EXPECT_EQ(at.CounterBlocks[0][k] % 8, 0u);
  }
  // The second name: 12 bytes with its terminator, padded with zeros to the counter block.
  const size_t second = at.Instances[0][1];
  for (size_t k = second + L::InstanceSize + 10; k < at.CounterBlocks[0][1]; ++k) EXPECT_EQ(bytes[k], 0) << k;

  TPerfObjectData object;
  ASSERT_TRUE(ReadPerfObject(reader, 238, object));
  EXPECT_EQ(object.CounterTitles, (std::vector<uint32_t>{142, 144, 6}));
  EXPECT_EQ(object.Counters[2].Type, 0x21510500u);
  EXPECT_EQ(object.Names, (std::vector<std::u16string>{u"", name}));
  EXPECT_EQ(object.Values, (std::vector<std::vector<int64_t>>{{7, 8, 9}, {-1, 0, 0}}));  // missing values are 0
}

TEST(PerfBlock, WithoutObjectsTheBlockIsItsHeaderAlone) {
  TPerfBlockSpec spec = Spec({});
  spec.Objects.clear();
  const std::vector<uint8_t> bytes = Written(spec);
  EXPECT_EQ(bytes.size(), L::BlockSize);
  TPerfObject object;
  EXPECT_FALSE(TPerfBlockReader(bytes).FindObject(238, object));
}

TEST(PerfBlock, TheReaderFindsNothingOutsideTheBytesAndStopsWhereRecordsStopAdvancing) {
  const TTestPerfObject other{230, {6, 144}, {{1, 2}}, {}};
  const TTestPerfObject processor{238, {142, 144, 6}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {}};
  TPerfBlock block = BuildPerfBlock({}, {other, processor});
  const auto find = [&](uint32_t title, size_t length) {
    TPerfObject object;
    return TPerfBlockReader(std::span(block.Bytes).first(length)).FindObject(title, object);
  };
  EXPECT_TRUE(find(238, block.Bytes.size()));
  EXPECT_TRUE(find(238, block.Objects[1] + L::ObjectSize)) << "the header is enough";
  EXPECT_FALSE(find(238, block.Objects[1] + L::ObjectSize - 1));
  EXPECT_FALSE(find(240, block.Bytes.size()));

  // Instances: the third record's lengths made 0 leave it the last one walked.
  block.PutU32(block.Instances[1][2] + L::InstanceByteLength, 0);
  block.PutU32(block.Instances[1][2] + L::CounterBlockByteLength, 0);
  TPerfObjectData data;
  ASSERT_TRUE(ReadPerfObject(TPerfBlockReader(block.Bytes), 238, data));
  EXPECT_EQ(data.Names.size(), 3u);
  block.PutU32(block.Objects[1] + L::ObjectNumInstances, 1000);
  ASSERT_TRUE(ReadPerfObject(TPerfBlockReader(block.Bytes), 238, data));
  EXPECT_EQ(data.Names.size(), 3u);
  // A counter block length beyond the bytes ends the walk before the next instance.
  block.PutU32(block.CounterBlocks[1][0] + L::CounterBlockByteLength, 0xFFFFFFF0);
  ASSERT_TRUE(ReadPerfObject(TPerfBlockReader(block.Bytes), 238, data));
  EXPECT_EQ(data.Names.size(), 1u);
}

}  // namespace
