#pragma once
// Element storage of Values. A program may declare up to 2^32-1 elements of any kind, so
// storage is taken zero-filled from the system and paid for only where it is written.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "interpreter/LittleEndian.h"

// Zero-filled bytes from calloc, so untouched pages stay unbacked; std::bad_alloc when
// the system refuses. Never returns null (a zero size still yields a block). Free with
// std::free.
void* AllocateZeroedBytes(uint64_t bytes);

// dst := src (zeros when src is null) for numeric element storage. Blocks that are zero in
// the source are not written where the destination is already zero, so copying a huge,
// mostly untouched array does not make the system back the destination's untouched pages.
void CopyElementBytes(uint8_t* dst, const uint8_t* src, uint64_t bytes);

// Elements of a string or barray Value: a logical size, and pages of elements made on first
// write. An absent element reads as the shared empty element. A declared size of billions
// costs only its page table (one pointer per page, zero-filled and untouched until used).
template <typename T>
class ElementPages {
 public:
  static constexpr uint32_t kPageBits = 10;
  static constexpr uint64_t kPageSize = uint64_t{1} << kPageBits;

  explicit ElementPages(uint64_t size) { Resize(size); }

  // Copies only the pages that are held. Delegating makes a throw part-way free what was made.
  ElementPages(const ElementPages& other) : ElementPages(other.size_) {
    for (uint64_t p = 0; p < PagesFor(size_); ++p) {
      if (other.table_[p] != nullptr) table_[p] = new Page(*other.table_[p]);
    }
  }
  ElementPages& operator=(const ElementPages&) = delete;

  ~ElementPages() {
    for (uint64_t p = 0; p < capacity_; ++p) delete table_[p];
    std::free(table_);
  }

  uint64_t Size() const { return size_; }

  static const T& Empty() {
    static const T empty{};
    return empty;
  }

  const T& Get(uint64_t index) const {
    if (index >= size_) return Empty();
    const Page* page = table_[index >> kPageBits];
    const uint64_t offset = index & (kPageSize - 1);
    if (page == nullptr || offset >= page->size()) return Empty();
    return (*page)[offset];
  }

  // The element itself where it is already made, else null; nothing moves.
  T* Held(uint64_t index) {
    if (index >= size_) return nullptr;
    Page* page = table_[index >> kPageBits];
    const uint64_t offset = index & (kPageSize - 1);
    return page != nullptr && offset < page->size() ? &(*page)[offset] : nullptr;
  }

  // The element itself, made when absent. The caller keeps index below Size().
  T& At(uint64_t index) {
    const uint64_t p = index >> kPageBits;
    const uint64_t offset = index & (kPageSize - 1);
    if (table_[p] == nullptr) table_[p] = new Page(SpanOfPage(p));
    Page& page = *table_[p];
    if (offset >= page.size()) page.resize(SpanOfPage(p));
    return page[offset];
  }

  // New elements are empty; elements at or past the new size are dropped.
  void Resize(uint64_t size) {
    const uint64_t pages = PagesFor(size);
    if (pages > capacity_) GrowTable(pages);
    for (uint64_t p = pages; p < PagesFor(size_); ++p) {
      delete table_[p];
      table_[p] = nullptr;
    }
    size_ = size;
    if (pages > 0 && table_[pages - 1] != nullptr) {
      Page& last = *table_[pages - 1];
      if (last.size() > SpanOfPage(pages - 1)) last.resize(SpanOfPage(pages - 1));
    }
  }

 private:
  using Page = std::vector<T>;

  static uint64_t PagesFor(uint64_t size) { return (size + kPageSize - 1) >> kPageBits; }

  uint64_t SpanOfPage(uint64_t p) const {
    const uint64_t start = p << kPageBits;
    return size_ - start < kPageSize ? size_ - start : kPageSize;
  }

  void GrowTable(uint64_t pages) {
    // Doubling keeps a string vector that grows one text at a time from copying its table
    // at every step; a declared size gets exactly its table.
    uint64_t capacity = capacity_ * 2 > pages ? capacity_ * 2 : pages;
    if (capacity > SIZE_MAX / sizeof(Page*)) throw std::bad_alloc();
    // Raw page pointers in calloc'd memory: all-zero bits are null pointers on this platform.
    auto* table = static_cast<Page**>(std::calloc(capacity, sizeof(Page*)));
    if (table == nullptr) throw std::bad_alloc();
    if (capacity_ > 0) std::memcpy(table, table_, capacity_ * sizeof(Page*));
    std::free(table_);
    table_ = table;
    capacity_ = capacity;
  }

  Page** table_ = nullptr;
  uint64_t capacity_ = 0;  // entries of table_
  uint64_t size_ = 0;
};
