// Storage of a Value: made on demand, copied, moved, replaced and released; setters and
// readers stay inside the elements; enormous declared counts cost only what is written.
#include <gtest/gtest.h>

#include <new>

#include "interpreter/values/ElementStorage.h"
#include "value_forms.h"

namespace {

using value_forms::Describe;
using value_forms::Make;

TEST(ValueStorage, SettersAndReadersStayInsideTheElements) {
  Value unset, words = Make("u*2"), wide = Make("q*1"), arrays = Make("b*2");
  unset.EnsureStorage();
  EXPECT_TRUE(unset.kind == kKindUnset && unset.id == 0 && unset.count == 1);
  EXPECT_FALSE(unset.GetData() || unset.SetInt32(0, 1) || unset.SetString(0, "x"));
  EXPECT_FALSE(words.SetInt32(2, 1) || words.HasStorage());  // a refused index allocates nothing
  EXPECT_TRUE(words.SetInt32(1, 0xA1B2C3D4u));
  EXPECT_EQ(words.GetWord(1) + words.GetWord(2), 0xA1B2C3D4u);
  EXPECT_EQ(words.NumericBytes()[4], 0xD4);  // little-endian elements
  // A setter of another width or kind is refused.
  EXPECT_FALSE(words.SetUInt64(0, 1) || words.SetDouble(0, 1) || wide.SetUInt64(1, 1) ||
               wide.SetInt32(0, 1) || arrays.SetByteArray(2, {1}) || arrays.SetString(0, "x"));
  EXPECT_TRUE(wide.SetDouble(0, 1.0));  // a double's bits into an 8-byte element
  EXPECT_EQ(wide.GetUInt64(0), 0x3FF0000000000000u);
  EXPECT_TRUE(arrays.GetBytes(2).empty());
  Value texts = Make("s:a");  // SetString grows the texts past the count
  EXPECT_TRUE(texts.SetString(3, "d"));
  EXPECT_FALSE(texts.SetByteArray(0, {1}));
  EXPECT_EQ(std::to_string(texts.count) + texts.GetText(2) + texts.GetText(3) + texts.GetText(4) +
                std::to_string(texts.TextCount()), "1d4");
}

TEST(ValueStorage, ByteArrayZeroIsHandedOutOfABarray) {
  Value fresh, several = Make("b*3"), none = Make("b*0");
  fresh.GetByteArray().push_back(7);
  several.SetByteArray(0, {1});
  several.GetByteArray().push_back(2);
  none.EnsureStorage();  // holds no array 0 to hand out: becomes a barray of one
  none.GetByteArray();
  EXPECT_EQ(Describe(fresh) + " " + Describe(several) + " " + Describe(none), "b*1:07 b*3:0102 b*1:");
}

// The copy constructor goes through the Assign member of each kind; CopyFrom adds a test
// of the kinds and keeps the destination's id.
TEST(ValueStorage, CopiesAreDeepAndMovesHandOverTheStorage) {
  for (const char* written : {"s:a", "i:-1", "d:0.25", "b:09", "q:7", "u:7,8"}) {
    const Value original = Make(written);
    EXPECT_EQ(Describe(Value(original)), Describe(original));
  }
  Value words = Make("u*3"), texts = Make("s:a"), ints = Make("i:5"), pair = Make("i*2");
  const Value bareInts = Make("i*4"), odd = Make("k*5"), bare(bareInts);
  words.id = 9;
  words.SetInt32(2, 12);
  Value copy(words);
  EXPECT_EQ(copy.id * 100 + copy.count * 10 + copy.GetWord(2), 9u * 100 + 30 + 12);
  EXPECT_NE(copy.GetData(), words.GetData());
  EXPECT_TRUE(bare.HasStorage() && bare.StorageBytes() == 16u);  // zero-filled for a bare source
  texts.SetString(3, "d");
  EXPECT_EQ(Value(texts).TextCount(), 1u);  // texts past the count are not copied
  EXPECT_EQ(Value(odd).count, 1u);
  ints.id = 2;
  pair.SetInt32(1, 6);
  EXPECT_FALSE(ints.CopyFrom(Make("d:1")) || Value().CopyFrom(Value()) ||
               Value(odd).CopyFrom(odd));
  EXPECT_EQ(Describe(ints), Describe(Make("i:5")));
  EXPECT_TRUE(ints.CopyFrom(pair) && ints.CopyFrom(ints));  // onto itself keeps the elements
  EXPECT_EQ(Describe(ints) + std::to_string(ints.id), Describe(Make("i:0,6")) + "2");
  void* data = copy.GetData();
  Value moved(std::move(copy)), target = Make("s:old");
  EXPECT_FALSE(copy.HasStorage());  // NOLINT(bugprone-use-after-move)
  target = std::move(moved);
  EXPECT_TRUE(target.GetData() == data && target.id == 9u);
}

// Numbers copied over storage of the same count read as a fresh copy of the source would,
// a source without storage giving zeros.
TEST(ValueStorage, CopyOverHeldNumbersOfTheSameCount) {
  const std::pair<const char*, const char*> cases[] = {
      {"q:5", "q:7"}, {"q:5", "q*1"}, {"i:-1", "i:4"}, {"u:9", "u*1"},
      {"d:1", "d:-0"}, {"i:1,2,3", "i:4,5,6"}, {"u:1,2", "u*2"}};
  for (const auto& [target, source] : cases) {
    Value to = Make(target);
    const Value from = Make(source);
    to.id = 3;
    EXPECT_TRUE(to.CopyFrom(from)) << target << " " << source;
    EXPECT_EQ(Describe(to) + std::to_string(to.id), Describe(Value(from)) + "3") << source;
  }
}

// A destination's old bytes are overwritten, zero blocks of the source included.
TEST(ValueStorage, ZeroSkippingCopyStillCopiesEveryByte) {
  std::vector<uint8_t> source(3 * 4096 + 100, 0), destination(source.size(), 0xEE);
  source[5000] = 1;
  source.back() = 2;
  CopyElementBytes(destination.data(), source.data(), source.size());
  EXPECT_EQ(destination, source);
  CopyElementBytes(destination.data(), nullptr, destination.size());
  EXPECT_EQ(destination, std::vector<uint8_t>(source.size(), 0));
}

// A program may declare up to 2^32 - 1 elements: it pays only for what it writes, and a
// count the machine cannot hold raises std::bad_alloc instead of ending the process.
TEST(ValueStorage, EnormousCountsCostOnlyWhatIsWritten) {
  constexpr uint32_t kHuge = 4000000000u, kLast = kHuge - 1;
  std::string err;
  for (const char* form : {"u*4000000000", "q*4000000000"}) {  // kHuge elements
    Value v = Make(form);
    try {
      v.EnsureStorage();
    } catch (const std::bad_alloc&) {
      continue;
    }
    ASSERT_TRUE(v.PerformMathOp(3, Make("i:42"), err, true, kLast));
    EXPECT_EQ(v.GetWord(kLast) + v.GetUInt64(kLast), 42u);
  }
  Value texts, arrays;
  texts.AssignStringArray(kHuge, nullptr);
  arrays.AssignByteArrays(kHuge, nullptr);
  EXPECT_TRUE(texts.SetString(kLast, "end") && texts.SetString(kHuge, "past the count"));
  Value textCopy(texts);  // only the written pages are copied
  EXPECT_EQ(textCopy.GetText(0) + textCopy.GetText(kLast), "end");
  EXPECT_EQ(textCopy.TextCount(), kHuge);
  EXPECT_TRUE(arrays.SetByteArray(kLast, {0xEE}));
  EXPECT_EQ(arrays.GetBytes(kLast), ByteArray{0xEE});
}

}  // namespace
