// Where decoded statements are kept: the store that numbers them and the table that finds a
// statement's number by its bit position.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "interpreter/program/decoded/PositionTable.h"
#include "interpreter/program/decoded/StableStore.h"

namespace {

// Past the chunks that double in size and well into those of the largest size: every element
// stays where it was added and is found again by its number, and the bound is asked for each
// chunk whole.
TEST(StableStoreTest, ElementsStayInPlaceAndAreFoundByTheirNumber) {
  StableStore<uint64_t> store;
  std::vector<const uint64_t*> places;
  uint64_t reserved = 0;
  for (uint64_t i = 0; i < 5000; ++i) {
    ASSERT_TRUE(store.MakeRoom([&](uint64_t bytes) { return (reserved += bytes) > 0; }));
    places.push_back(&store.Add(i * 3 + 1));
  }
  EXPECT_EQ(reserved, (2047 + 3 * 1024) * sizeof(uint64_t));  // the chunks made, whole
  ASSERT_EQ(store.size(), 5000u);
  for (size_t i = 0; i < places.size(); ++i) {
    ASSERT_EQ(&store[i], places[i]) << i;
    ASSERT_EQ(*places[i], i * 3 + 1) << i;
  }
}

// Positions in several regions, in the same region's table at many offsets (so that it grows),
// and next to each other: each is found with its own statement, and none that was not entered.
TEST(PositionTableTest, EachEnteredPositionIsFoundWithItsStatementAndNoOther) {
  constexpr uint64_t kBits = uint64_t{5} << 16;
  PositionTable table;
  table.Cover(kBits);
  std::vector<uint64_t> entered;
  for (uint64_t pos = 3; pos < kBits; pos += 37) entered.push_back(pos);
  entered.push_back(kBits - 1);
  uint32_t number = 0;
  for (uint64_t pos : entered) {
    PositionTable::Entry* entry = table.Insert(pos, [](uint64_t) { return true; });
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->statement, PositionTable::kUndecodable);
    entry->statement = ++number;
  }
  number = 0;
  for (uint64_t pos : entered) {
    const PositionTable::Entry* entry = table.Find(pos);
    ASSERT_NE(entry, nullptr) << pos;
    EXPECT_EQ(entry->statement, ++number) << pos;
    EXPECT_EQ(table.Find(pos + 1), nullptr) << pos;
  }
  EXPECT_EQ(table.Find(0), nullptr);
  // A table that may not grow enters nothing.
  PositionTable refusing;
  refusing.Cover(kBits);
  EXPECT_EQ(refusing.Insert(5, [](uint64_t) { return false; }), nullptr);
  EXPECT_EQ(refusing.Find(5), nullptr);
}

}  // namespace
