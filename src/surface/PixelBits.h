// One bit per pixel of a picture, row by row, and walking the runs of set
// bits: the layered paint's record of which Board pixels are covered or drawn.
#pragma once
#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace qv {

// Sets bits [a, b) of a row of words.
inline void SetBits(quint64* r, int a, int b) {
  if (a >= b) return;
  const int first = a >> 6, last = (b - 1) >> 6;
  const quint64 head = ~0ull << (a & 63), tail = ~0ull >> (63 - ((b - 1) & 63));
  if (first == last) {
    r[first] |= head & tail;
    return;
  }
  r[first] |= head;
  // A value the compiler cannot see: it would turn these few stores into a
  // call to memset.
  quint64 ones = ~0ull;
#if defined(__GNUC__) || defined(__clang__)
  asm("" : "+r"(ones));
#endif
  for (int i = first + 1; i < last; ++i) r[i] = ones;
  r[last] |= tail;
}

class PixelBits {
 public:
  // Sizes the record to w x h, every bit clear.
  void reset(int w, int h) {
    w_ = w, h_ = h, words_ = (w + 63) / 64;
    bits_.assign(size_t(words_) * size_t(h), 0);
    from_ = to_ = 0;
  }
  int width() const { return w_; }
  int height() const { return h_; }
  int words() const { return words_; }
  // Rows [rowsFrom, rowsTo) may hold set bits; every other row is clear.
  int rowsFrom() const { return from_; }
  int rowsTo() const { return to_; }
  quint64* row(int y) { return bits_.data() + size_t(y) * size_t(words_); }
  const quint64* row(int y) const { return bits_.data() + size_t(y) * size_t(words_); }

  // Sets bits [a, b) of row y.
  void set(int y, int a, int b) {
    if (a >= b) return;
    widen(y, y + 1);
    SetBits(row(y), a, b);
  }
  // Sets every bit of rows [y0, y1) that lies in [a, b).
  void setRect(int a, int y0, int b, int y1) {
    for (int y = y0; y < y1; ++y) set(y, a, b);
  }
  // Clears the rows that may hold set bits.
  void clear() {
    if (to_ > from_) std::fill(row(from_), row(to_), 0);
    from_ = to_ = 0;
  }
  // ORs other (of the same size) into this record.
  void add(const PixelBits& other) {
    if (other.to_ <= other.from_) return;
    widen(other.from_, other.to_);
    quint64* d = row(other.from_);
    const quint64* s = other.row(other.from_);
    for (size_t i = 0, n = size_t(other.to_ - other.from_) * size_t(words_); i < n; ++i) d[i] |= s[i];
  }
  size_t bytes() const { return bits_.capacity() * sizeof(quint64); }

  // Rows [y0, y1) may hold set bits from now on.
  void widen(int y0, int y1) {
    if (to_ <= from_) from_ = y0, to_ = y1;
    else from_ = std::min(from_, y0), to_ = std::max(to_, y1);
  }

 private:
  int w_ = 0, h_ = 0, words_ = 0, from_ = 0, to_ = 0;
  std::vector<quint64> bits_;
};

// Calls f(from, to) for each run of set bits within [a, b), where word(i)
// gives bits 64 i .. 64 i + 63; runs that cross words come as one.
template <typename Word, typename F>
inline void ForEachRun(int a, int b, Word word, F&& f) {
  if (a >= b) return;
  const int first = a >> 6, last = (b - 1) >> 6;
  int start = -1;
  for (int i = first; i <= last; ++i) {
    quint64 w = word(i);
    if (i == first) w &= ~0ull << (a & 63);
    if (i == last) w &= ~0ull >> (63 - ((b - 1) & 63));
    const int base = i << 6;
    int pos = 0;
    for (;;) {
      if (start < 0) {
        const quint64 ones = w & (~0ull << pos);
        if (!ones) break;
        pos = __builtin_ctzll(ones);
        start = base + pos;
      }
      const quint64 zeros = ~w & (~0ull << pos);
      if (!zeros) break;
      pos = __builtin_ctzll(zeros);
      f(start, base + pos);
      start = -1;
    }
  }
  if (start >= 0) f(start, b);
}

}  // namespace qv
