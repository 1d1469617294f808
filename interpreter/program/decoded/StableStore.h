#pragma once
// Elements that stay where they are as more are added (running statements point at them),
// stored one after the other in chunks: what is added in turn is read in turn from memory that
// follows on. Chunks grow from a few elements to a fixed size, so that a store of a few
// elements takes little more than they do; an element is constructed only when it is added.
#include <algorithm>
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

  // value, moved to its lasting place.
  T& Add(T&& value) {
    if (chunks_.empty() || usedInLast_ == chunks_.back().size) {
      const size_t size = chunks_.empty() ? kFirstChunk
                                          : std::min(chunks_.back().size * 2, kLargestChunk);
      chunks_.reserve(chunks_.size() + 1);  // so that a failed allocation below leaks nothing
      chunks_.push_back(Chunk{std::allocator<T>().allocate(size), size});
      usedInLast_ = 0;
    }
    T* slot = std::construct_at(chunks_.back().elements + usedInLast_, std::move(value));
    ++usedInLast_;
    ++size_;
    return *slot;
  }

  size_t size() const { return size_; }

 private:
  static constexpr size_t kFirstChunk = 8;
  static constexpr size_t kLargestChunk = 1024;

  struct Chunk {
    T* elements;
    size_t size;
  };
  std::vector<Chunk> chunks_;
  size_t usedInLast_ = 0;
  size_t size_ = 0;
};
