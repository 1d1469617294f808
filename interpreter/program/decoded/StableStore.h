#pragma once
// Elements that stay where they are as more are added (running statements point at them),
// stored one after the other in chunks: what is added in turn is read in turn from memory that
// follows on. Chunks double from one element to a fixed size, so that a store of a few elements
// takes little more than they do, and each chunk's bytes are asked of the memory bound when it
// is made: the bound counts what is allocated. An element is constructed only when it is added.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <typename T>
class StableStore {
 public:
  StableStore() = default;
  StableStore(const StableStore&) = delete;
  StableStore& operator=(const StableStore&) = delete;
  ~StableStore() {
    for (size_t c = 0; c < chunks_.size(); ++c) {
      const size_t used = c + 1 == chunks_.size() ? usedInLast_ : chunks_[c].size;
      std::destroy_n(chunks_[c].elements, used);
      std::allocator<T>().deallocate(chunks_[c].elements, chunks_[c].size);
    }
  }

  // Room for one more element: when the last chunk is full, a new one, whose bytes reserve
  // must grant first. False, adding nothing, when it refuses them.
  template <typename Reserve>
  bool MakeRoom(Reserve reserve) {
    if (!chunks_.empty() && usedInLast_ < chunks_.back().size) return true;
    const size_t size = chunks_.empty() ? 1 : std::min(chunks_.back().size * 2, kLargestChunk);
    if (!reserve(uint64_t{size} * sizeof(T))) return false;
    chunks_.reserve(chunks_.size() + 1);  // so that a failed allocation below leaks nothing
    chunks_.push_back(Chunk{std::allocator<T>().allocate(size), size});
    usedInLast_ = 0;
    return true;
  }

  // value, moved to its lasting place; MakeRoom made room for it.
  T& Add(T&& value) {
    T* slot = std::construct_at(chunks_.back().elements + usedInLast_, std::move(value));
    ++usedInLast_;
    ++size_;
    return *slot;
  }

  size_t size() const { return size_; }

  // Element i (below size()), in the order added.
  T& operator[](size_t i) {
    if (i < kGrowingElements) {
      // Chunk c holds elements 2^c - 1 up to the next chunk's first.
      const size_t c = std::bit_width(i + 1) - 1;
      return chunks_[c].elements[i + 1 - (size_t{1} << c)];
    }
    const size_t rest = i - kGrowingElements;
    return chunks_[kGrowingChunks + rest / kLargestChunk].elements[rest % kLargestChunk];
  }

 private:
  // The chunks that double in size, 1 to 1024 elements, and the elements they hold together.
  static constexpr size_t kGrowingChunks = 11;
  static constexpr size_t kLargestChunk = size_t{1} << (kGrowingChunks - 1);
  static constexpr size_t kGrowingElements = (size_t{1} << kGrowingChunks) - 1;

  struct Chunk {
    T* elements;
    size_t size;
  };
  std::vector<Chunk> chunks_;
  size_t usedInLast_ = 0;
  size_t size_ = 0;
};
