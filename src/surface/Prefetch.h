// Asking for pixels ahead of use: the rows of a block in a wide image each
// start in another page, where the processor's own prefetching starts over.
#pragma once
#include <QtGlobal>

namespace qv {

// Rows this far ahead of the one being worked on are asked for.
constexpr int RowsAhead = 2;

// For writing: the lines are asked for as the processor's own.
inline void PrefetchPixels(const quint32* p, int n, bool forWriting = false) {
#if defined(__GNUC__) || defined(__clang__)
  const auto from = reinterpret_cast<quintptr>(p);
  for (quintptr line = from & ~quintptr(63); line < from + quintptr(n) * 4; line += 64) {
    if (forWriting)
      __builtin_prefetch(reinterpret_cast<const void*>(line), 1);
    else
      __builtin_prefetch(reinterpret_cast<const void*>(line));
  }
#else
  (void)p, (void)n, (void)forWriting;
#endif
}

// Asks for the cache line holding p; the processor follows on from there.
inline void PrefetchLine(const quint32* p) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

}  // namespace qv
