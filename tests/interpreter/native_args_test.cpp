#include "interpreter/NativeArgs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <limits>
#include <new>
#include <numeric>
#include <random>
#include <vector>

#include "interpreter/Value.h"

namespace {

// Values that outlive the lists in a test; the lists borrow them.
struct Pool {
  std::deque<Value> values;
  Value* Make(uint64_t id) {
    values.emplace_back().id = id;
    return &values.back();
  }
};

std::vector<uint64_t> Ids(const NativeArgs& list) {
  std::vector<uint64_t> ids;
  for (uint32_t i = 0; i < list.count; ++i) ids.push_back(list.GetAt(i)->id);
  return ids;
}

std::vector<uint32_t> Order(const NativeArgs& list) {
  return std::vector<uint32_t>(list.order.get(), list.order.get() + list.count);
}

// A stable sort by id: equal ids keep their order of addition.
std::vector<uint32_t> ExpectedOrder(const std::vector<uint64_t>& ids) {
  std::vector<uint32_t> order(ids.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return ids[a] < ids[b]; });
  return order;
}

uint32_t Find(const NativeArgs& list, uint64_t id, bool& found) {
  Value probe;
  probe.id = id;
  return list.Find(probe, found);
}

TEST(NativeArgs, IdOrderFindAndRemoveOnASmallList) {
  Pool pool;
  NativeArgs list(NativeArgs::KeepIdOrder);
  EXPECT_EQ(list.GetAt(0), nullptr);
  EXPECT_FALSE(list.Add(nullptr));
  for (uint64_t id : {7, 3, 7, 1}) ASSERT_TRUE(list.Add(pool.Make(id)));
  EXPECT_EQ(list.GetAt(4), nullptr);
  EXPECT_EQ(Ids(list), (std::vector<uint64_t>{7, 3, 7, 1}));
  EXPECT_EQ(Order(list), (std::vector<uint32_t>{3, 1, 0, 2}));

  struct Case {
    uint64_t id;
    uint32_t position;
    bool found;
  };
  for (const Case& c : {Case{7, 4, true}, Case{5, 2, false}, Case{0, 0, false}, Case{3, 2, true}}) {
    bool found = !c.found;
    EXPECT_EQ(Find(list, c.id, found), c.position) << c.id;
    EXPECT_EQ(found, c.found) << c.id;
  }

  ASSERT_TRUE(list.RemoveAt(1));
  EXPECT_FALSE(list.RemoveAt(3));
  EXPECT_EQ(Ids(list), (std::vector<uint64_t>{7, 7, 1}));
  EXPECT_EQ(Order(list), (std::vector<uint32_t>{2, 0, 1}));
  EXPECT_EQ(list.items[3], nullptr);
}

TEST(NativeArgs, RefusedDuplicateLeavesTheListUnchanged) {
  Pool pool;
  NativeArgs list(NativeArgs::KeepIdOrder | NativeArgs::RefuseDuplicateIds);
  for (uint64_t id : {7, 3, 1}) ASSERT_TRUE(list.Add(pool.Make(id)));
  EXPECT_FALSE(list.Add(pool.Make(7)));
  EXPECT_EQ(list.items[3], nullptr);
  EXPECT_TRUE(list.Add(pool.Make(5)));
  EXPECT_EQ(Ids(list), (std::vector<uint64_t>{7, 3, 1, 5}));
  EXPECT_EQ(Order(list), (std::vector<uint32_t>{2, 1, 3, 0}));
}

TEST(NativeArgs, GrowthStepsAndOverflow) {
  Pool pool;
  NativeArgs doubling(NativeArgs::KeepIdOrder);
  std::vector<uint32_t> capacities;
  for (uint64_t id = 9; id > 0; --id) {
    doubling.Add(pool.Make(id));
    capacities.push_back(doubling.capacity);
  }
  EXPECT_EQ(capacities, (std::vector<uint32_t>{1, 2, 4, 8, 8, 8, 8, 16, 16}));
  EXPECT_EQ(Order(doubling), (std::vector<uint32_t>{8, 7, 6, 5, 4, 3, 2, 1, 0}));

  NativeArgs list;
  list.capacity = 0x80000000u;  // pretend, so that doubling would pass 32 bits
  EXPECT_THROW(list.Grow(0x80000000u), std::bad_alloc);
  EXPECT_EQ(list.capacity, 0x80000000u);
}

TEST(NativeArgs, DetachAllKeepsValuesAndOwnedValuesAreDestroyedOnce) {
  Pool pool;
  NativeArgs borrowing(NativeArgs::OwnsValues | NativeArgs::KeepIdOrder);
  for (uint64_t id : {4, 4, 2}) borrowing.Add(pool.Make(id));
  pool.values[0].kind = kKindString;
  ASSERT_TRUE(pool.values[0].SetString(0, "kept"));
  borrowing.DetachAll();
  EXPECT_EQ(borrowing.count, 0u);
  EXPECT_EQ(borrowing.capacity, 4u);
  EXPECT_EQ(borrowing.flags, NativeArgs::OwnsValues | NativeArgs::KeepIdOrder);
  EXPECT_EQ(pool.values[0].GetText(0), "kept");

  // The sanitizer build's leak checker and double-free check watch these.
  NativeArgs owning(NativeArgs::OwnsValues | NativeArgs::KeepIdOrder);
  for (int i = 0; i < 4; ++i) {
    owning.Add(new Value());
    owning.GetAt(owning.count - 1)->kind = kKindString;
    owning.GetAt(owning.count - 1)->SetString(0, "owned storage");
  }
  EXPECT_TRUE(owning.RemoveAt(1));
  owning.Free();
  EXPECT_EQ(owning.capacity, 0u);
  owning.Add(new Value());  // released by the destructor
}

// Find gives the upper bound (entries with an id at or below the key) on lists of 0 to 40.
TEST(NativeArgs, FindMatchesABruteForceUpperBound) {
  std::mt19937_64 rng(3);
  for (int trial = 0; trial < 400; ++trial) {
    // Narrow ranges give many duplicates; the full range tests unsigned 64-bit comparison.
    const uint64_t range = trial % 3 == 0 ? 8 : trial % 3 == 1 ? 1000 : 0;
    auto draw = [&] { return range != 0 ? rng() % range : rng(); };
    Pool pool;
    NativeArgs list(NativeArgs::KeepIdOrder);
    std::vector<uint64_t> ids(static_cast<size_t>(trial % 41));
    for (uint64_t& id : ids) list.Add(pool.Make(id = draw()));
    ASSERT_EQ(Order(list), ExpectedOrder(ids)) << "trial " << trial;

    std::vector<uint64_t> keys = {0, std::numeric_limits<uint64_t>::max(), draw()};
    for (uint64_t id : ids) keys.insert(keys.end(), {id - 1, id, id + 1});
    for (uint64_t key : keys) {
      const auto atOrBelow = std::count_if(ids.begin(), ids.end(), [&](uint64_t id) { return id <= key; });
      const bool present = std::find(ids.begin(), ids.end(), key) != ids.end();
      bool found = !present;
      ASSERT_EQ(Find(list, key, found), static_cast<uint32_t>(atOrBelow)) << "trial " << trial << " key " << key;
      ASSERT_EQ(found, present) << "trial " << trial << " key " << key;
    }
  }
}

TEST(NativeArgs, RandomAddsAndRemovesKeepTheIdOrder) {
  std::mt19937 rng(5);
  Pool pool;
  NativeArgs list(NativeArgs::KeepIdOrder);
  std::vector<uint64_t> model;
  for (int step = 0; step < 3000; ++step) {
    if (model.empty() || rng() % 3 != 0) {
      model.push_back(rng() % 20);
      ASSERT_TRUE(list.Add(pool.Make(model.back())));
    } else {
      const uint32_t position = rng() % static_cast<uint32_t>(model.size());
      model.erase(model.begin() + position);
      ASSERT_TRUE(list.RemoveAt(position));
    }
    ASSERT_EQ(Ids(list), model) << "step " << step;
    ASSERT_EQ(Order(list), ExpectedOrder(model)) << "step " << step;
  }
}

}  // namespace
