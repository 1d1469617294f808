#include "interpreter/natives/NativeArgs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <new>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

#include "interpreter/values/Value.h"

namespace {

std::deque<Value> pool;  // values that outlive every list; the lists borrow them
Value* Make(uint64_t id) { pool.emplace_back().id = id; return &pool.back(); }
Value* WithText(Value* v, const char* text) { v->kind = kKindString; v->SetString(0, text); return v; }

// Each entry's id in statement order, then the order array.
std::pair<std::vector<uint64_t>, std::vector<uint32_t>> Contents(const NativeArgs& list) {
  std::vector<uint64_t> ids;
  for (uint32_t i = 0; i < list.count; ++i) ids.push_back(list.GetAt(i)->id);
  return {ids, {list.order.get(), list.order.get() + list.count}};
}

// Order, Find and removal are checked against a model in the last test.
TEST(NativeArgs, NullOutOfRangeGrowthDetachAllAndOwnedValues) {
  NativeArgs doubling(NativeArgs::OwnsValues | NativeArgs::KeepIdOrder);
  EXPECT_EQ(doubling.GetAt(0), nullptr);
  EXPECT_FALSE(doubling.Add(nullptr));
  std::vector<uint32_t> capacities;
  for (uint64_t id = 9; id > 0; --id) capacities.push_back(doubling.Add(Make(id)) ? doubling.capacity : 0);
  EXPECT_EQ(capacities, (std::vector<uint32_t>{1, 2, 4, 8, 8, 8, 8, 16, 16}));
  EXPECT_EQ(doubling.GetAt(9), nullptr);
  EXPECT_FALSE(doubling.RemoveAt(9));
  Value* kept = WithText(doubling.GetAt(0), "kept");  // borrowed: DetachAll leaves it intact
  doubling.DetachAll();
  EXPECT_EQ(std::tuple(doubling.count, doubling.capacity, doubling.flags), std::tuple(0u, 16u, 3));
  EXPECT_EQ(kept->GetText(0), "kept");

  NativeArgs overflowing;
  overflowing.capacity = 0x80000000u;  // pretend, so that doubling would pass 32 bits
  EXPECT_THROW(overflowing.Grow(0x80000000u), std::bad_alloc);
  EXPECT_EQ(overflowing.capacity, 0x80000000u);

  // The sanitizer build's leak checker and double-free check watch these.
  NativeArgs owning(NativeArgs::OwnsValues | NativeArgs::KeepIdOrder);
  for (int i = 0; i < 4; ++i) owning.Add(WithText(new Value(), "owned storage"));
  EXPECT_TRUE(owning.RemoveAt(1));
  owning.Free();
  EXPECT_EQ(owning.capacity, 0u);
  owning.Add(new Value());  // released by the destructor
}

// Random adds and removes against a plain model: items in statement order, order a stable
// sort by id (so Find gave each addition the upper bound), and with RefuseDuplicateIds an
// addition refused exactly when its id is present, leaving the list unchanged; on lists short
// (linear search) and long (halving), with many duplicates or full 64-bit ids.
TEST(NativeArgs, RandomAddsAndRemovesAgreeWithAModel) {
  std::mt19937_64 rng(3);
  for (int trial = 0; trial < 300; ++trial) {
    const uint64_t range = trial % 3 == 0 ? 8 : trial % 3 == 1 ? 1000 : 0;
    const bool refuse = trial % 2 != 0;
    NativeArgs list(NativeArgs::KeepIdOrder | (refuse ? NativeArgs::RefuseDuplicateIds : 0));
    std::vector<uint64_t> model;
    for (int step = 0; step < trial * 7 % 400; ++step) {
      const uint64_t id = range != 0 ? rng() % range : rng();
      if (model.empty() || rng() % 3 != 0) {
        const bool added = !refuse || std::count(model.begin(), model.end(), id) == 0;
        if (added) model.push_back(id);
        ASSERT_EQ(list.Add(Make(id)), added) << "trial " << trial << " step " << step;
      } else {
        const auto position = static_cast<uint32_t>(rng() % model.size());
        model.erase(model.begin() + position);
        ASSERT_TRUE(list.RemoveAt(position));
      }
      ASSERT_TRUE(list.count == list.capacity || list.items[list.count] == nullptr);  // a refused or removed entry's slot
      std::vector<uint32_t> order(model.size());
      std::iota(order.begin(), order.end(), 0u);
      std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return model[a] < model[b]; });
      ASSERT_EQ(Contents(list), std::pair(model, order)) << "trial " << trial << " step " << step;
    }
  }
}

}  // namespace
