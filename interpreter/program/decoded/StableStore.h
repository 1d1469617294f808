#pragma once
// Elements that stay where they are as more are added (running statements point at them),
// stored one after the other in chunks: what is added in turn is read in turn from memory that
// follows on. Chunks grow from a few elements to a fixed size, so that a store of a few
// elements takes little more than they do.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <typename T>
class StableStore {
 public:
  // value, moved to its lasting place.
  T& Add(T&& value) {
    if (usedInLast_ == lastSize_) {
      lastSize_ = chunks_.empty() ? kFirstChunk : std::min(lastSize_ * 2, kLargestChunk);
      chunks_.push_back(std::make_unique<T[]>(lastSize_));
      usedInLast_ = 0;
    }
    T& slot = chunks_.back()[usedInLast_++];
    slot = std::move(value);
    ++size_;
    return slot;
  }

  size_t size() const { return size_; }

 private:
  static constexpr size_t kFirstChunk = 8;
  static constexpr size_t kLargestChunk = 1024;

  std::vector<std::unique_ptr<T[]>> chunks_;
  size_t lastSize_ = 0;
  size_t usedInLast_ = 0;
  size_t size_ = 0;
};
