// Storage of a Value: made on demand, copied, moved, replaced and released; setters and
// readers stay inside the elements; enormous declared counts cost only what is written.
#include <gtest/gtest.h>

#include <new>

#include "interpreter/ElementStorage.h"
#include "value_test_values.h"

namespace {

using value_test::Describe;
using value_test::Make;
using value_test::Typed;

TEST(ValueStorage, SettersAndReadersStayInsideTheElements) {
  Value unset;
  unset.EnsureStorage();
  EXPECT_EQ(unset.GetData(), nullptr);
  EXPECT_FALSE(unset.SetInt32(0, 1) || unset.SetString(0, "x"));

  Value words = Typed(kKindUInt32, 2);
  EXPECT_FALSE(words.SetInt32(2, 1));
  EXPECT_FALSE(words.HasStorage());  // a refused index allocates nothing
  EXPECT_TRUE(words.SetInt32(1, 0xA1B2C3D4u));
  EXPECT_EQ(words.GetWord(1), 0xA1B2C3D4u);
  EXPECT_EQ(words.GetWord(2), 0u);
  EXPECT_EQ(words.NumericBytes()[4], 0xD4);  // little-endian elements
  EXPECT_FALSE(words.SetUInt64(0, 1) || words.SetDouble(0, 1.0));  // another width

  Value wide = Typed(kKindUInt64);
  EXPECT_FALSE(wide.SetUInt64(1, 1) || wide.SetInt32(0, 1));
  EXPECT_TRUE(wide.SetDouble(0, 1.0));  // a double's bits into an 8-byte element
  EXPECT_EQ(wide.GetUInt64(0), 0x3FF0000000000000u);

  Value arrays = Typed(kKindBarray, 2);
  EXPECT_FALSE(arrays.SetByteArray(2, {1}) || arrays.SetString(0, "x"));
  EXPECT_TRUE(arrays.GetBytes(2).empty());

  Value texts = Make("str:a");
  EXPECT_TRUE(texts.SetString(3, "d"));
  EXPECT_FALSE(texts.SetByteArray(0, {1}));
  EXPECT_EQ(texts.count * 10 + texts.TextCount(), 14u);
  EXPECT_EQ(texts.GetText(2) + texts.GetText(3) + texts.GetText(4), "d");
}

TEST(ValueStorage, ByteArrayZeroIsHandedOutOfABarray) {
  Value fresh;
  fresh.GetByteArray().push_back(7);
  EXPECT_EQ(Describe(fresh) + std::to_string(fresh.count), "bar:071");

  Value several = Typed(kKindBarray, 3);
  several.SetByteArray(0, {1});
  several.GetByteArray().push_back(2);
  EXPECT_EQ(Describe(several) + std::to_string(several.count), "bar:01023");

  Value none = Typed(kKindBarray, 0);  // holds no array 0 to hand out: becomes one
  none.EnsureStorage();
  EXPECT_TRUE(none.GetByteArray().empty());
  EXPECT_EQ(none.count, 1u);
}

TEST(ValueStorage, CopiesAreDeepMovesHandOverTheStorage) {
  Value words = Typed(kKindUInt32, 3);
  words.id = 9;
  words.SetInt32(2, 12);
  Value copy(words);
  EXPECT_EQ(copy.id * 100 + copy.count * 10 + copy.GetWord(2), 9u * 100 + 30 + 12);
  EXPECT_NE(copy.GetData(), words.GetData());
  EXPECT_EQ(Value(Typed(kKindInt, 4)).StorageBytes(), 16u);  // zeros for a bare source

  Value texts = Make("str:a");
  texts.SetString(3, "d");
  EXPECT_EQ(Value(texts).TextCount(), 1u);  // texts past the count are not copied
  Value odd = Typed(6, 5);
  EXPECT_EQ(Value(odd).count, 1u);

  void* data = copy.GetData();
  Value moved(std::move(copy));
  EXPECT_EQ(moved.GetData(), data);
  EXPECT_FALSE(copy.HasStorage());  // NOLINT(bugprone-use-after-move)
  Value target = Make("str:old");
  target = std::move(moved);
  EXPECT_EQ(target.GetData(), data);
  EXPECT_EQ(target.id, 9u);
}

TEST(ValueStorage, CopyFromNeedsEqualKindsAndKeepsTheId) {
  Value destination = Make("int:5");
  destination.id = 2;
  EXPECT_FALSE(destination.CopyFrom(Make("dbl:1")));
  EXPECT_EQ(Describe(destination), "int:5");
  Value source = Typed(kKindInt, 2);
  source.id = 8;
  source.SetInt32(1, 6);
  EXPECT_TRUE(destination.CopyFrom(source));
  EXPECT_TRUE(destination.CopyFrom(destination));  // onto itself keeps the elements
  EXPECT_EQ(Describe(destination, 1) + std::to_string(destination.id * 10 + destination.count),
            "int:622");
  Value unset;
  EXPECT_FALSE(unset.CopyFrom(Value()));
  Value odd = Typed(7);
  EXPECT_FALSE(odd.CopyFrom(Typed(7)));
}

TEST(ValueStorage, AssignMembersReplaceOrReuseStorage) {
  Value v;
  const uint64_t values[] = {1, 2};
  uint64_t* held = v.AssignUInt64Array(2, values);
  EXPECT_EQ(Describe(v, 1), "u64:2");
  EXPECT_EQ(v.AssignUInt64Array(2, nullptr), held);  // same kind and count: reused, zeroed
  EXPECT_EQ(Describe(v, 1), "u64:0");
  const int32_t ints[] = {-1, -2, -3};
  v.AssignIntArray(3, ints);
  EXPECT_EQ(Describe(v, 2) + std::to_string(v.count), "int:-33");
  v.AssignStringArray(2, nullptr);
  v.SetString(1, "kept");
  v.AssignStringArray(2, nullptr);  // held texts stay when no source is given
  EXPECT_EQ(Describe(v, 1), "str:kept");
  v.AssignByteArrays(1, static_cast<const ByteArrayStorage*>(Make("bar:09").GetData()));
  EXPECT_EQ(Describe(v), "bar:09");
  const double reals[] = {0.25};
  v.AssignDoubleArray(1, reals);
  EXPECT_EQ(Describe(v), "dbl:0.25");
  const uint32_t words[] = {7};
  v.AssignUInt32Array(1, words);
  EXPECT_EQ(Describe(v), "u32:7");
}

TEST(ValueStorage, ZeroSkippingCopyStillCopiesEveryByte) {
  std::vector<uint8_t> source(3 * 4096 + 100, 0);
  source[5000] = 1;
  source.back() = 2;
  std::vector<uint8_t> destination(source.size(), 0xEE);
  CopyElementBytes(destination.data(), source.data(), source.size());
  EXPECT_EQ(destination, source);
  CopyElementBytes(destination.data(), nullptr, destination.size());
  EXPECT_EQ(destination, std::vector<uint8_t>(source.size(), 0));
}

// A program may declare up to 2^32 - 1 elements: it pays only for what it writes, and a
// count the machine cannot hold raises std::bad_alloc instead of ending the process.
TEST(ValueStorage, EnormousCountsCostOnlyWhatIsWritten) {
  constexpr uint32_t kHuge = 4000000000u;
  const uint32_t last = kHuge - 1;
  for (int32_t kind : {kKindUInt32, kKindUInt64}) {
    Value v = Typed(kind, kHuge);
    try {
      v.EnsureStorage();
    } catch (const std::bad_alloc&) {
      continue;
    }
    std::string err;
    ASSERT_TRUE(v.PerformMathOp(3, Make("int:42"), err, true, last));
    EXPECT_EQ(v.GetWord(last) + v.GetUInt64(last), 42u);
  }
  Value texts;
  texts.AssignStringArray(kHuge, nullptr);
  EXPECT_TRUE(texts.SetString(last, "end") && texts.SetString(kHuge, "past the count"));
  Value textCopy(texts);  // only the written pages are copied
  EXPECT_EQ(textCopy.GetText(0) + textCopy.GetText(last), "end");
  EXPECT_EQ(textCopy.TextCount(), kHuge);
  Value arrays;
  arrays.AssignByteArrays(kHuge, nullptr);
  EXPECT_TRUE(arrays.SetByteArray(last, {0xEE}));
  EXPECT_EQ(Describe(arrays, last), "bar:EE");
}

}  // namespace
