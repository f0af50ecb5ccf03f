// Building the runs of a block and keeping them per block.
#include "surface/BlockRuns.h"

namespace qv {
namespace {

// A row broken into more runs than this is kept as one mixing run from its
// first to its last drawn pixel: exact, and bounded in size and work.
constexpr size_t MaxRunsPerRow = 24;
// Blocks kept at most; the Panes' blocks are far fewer.
constexpr size_t MaxBlocks = 256;

enum class Kind { Left, Opaque, Mixed };

inline quint64 keyOf(const QRect& block) {
  return quint64(quint16(block.x())) | quint64(quint16(block.y())) << 16 | quint64(quint16(block.width())) << 32 |
         quint64(quint16(block.height())) << 48;
}

// The AND of the sprite pixels of a row: its alpha byte is 0xff only when theirs all are.
inline quint32 alphaOf(const quint32* s, int w) {
  quint32 alpha = 0xff000000u;
  for (int x = 0; x < w; ++x) alpha &= s[x];
  return alpha;
}

inline Kind kindOf(quint32 mask, quint32 sprite) {
  if (mask == 0xffffffffu && sprite == 0xff000000u) return Kind::Left;
  return (mask & ~sprite) == 0 ? Kind::Opaque : Kind::Mixed;
}

}  // namespace

BlockRuns::BlockRuns(const QImage& mask, const QImage& sprite, const QRect& block) : block_(block) {
  const int w = block.width(), h = block.height();
  rowStart_.reserve(size_t(h) + 1);
  rowStart_.push_back(0);
  quint32 alpha = 0xff000000u;
  for (int r = 0; r < h; ++r) {
    const auto* m = reinterpret_cast<const quint32*>(mask.constScanLine(block.y() + r)) + block.x();
    const auto* s = reinterpret_cast<const quint32*>(sprite.constScanLine(block.y() + r)) + block.x();
    alpha &= alphaOf(s, w);
    const size_t first = runs_.size();
    for (int x = 0; x < w;) {
      const Kind k = kindOf(m[x], s[x]);
      const int from = x;
      while (++x < w && kindOf(m[x], s[x]) == k) {
      }
      if (k == Kind::Left) continue;
      runs_.push_back({from, x, k == Kind::Opaque ? qint32(pixels_.size()) : -1});
      if (k == Kind::Opaque) pixels_.insert(pixels_.end(), s + from, s + x);
    }
    if (runs_.size() - first > MaxRunsPerRow) {
      const MaskRun whole{runs_[first].from, runs_.back().to, -1};
      for (auto run = runs_.begin() + qsizetype(first); run != runs_.end(); ++run)
        if (run->opaque()) {
          pixels_.resize(size_t(run->at));
          break;
        }
      runs_.resize(first);
      runs_.push_back(whole);
    }
    rowStart_.push_back(quint32(runs_.size()));
  }
  solidSprite_ = (alpha & 0xff000000u) == 0xff000000u;
  runs_.shrink_to_fit();
  pixels_.shrink_to_fit();
}

void BlockRunCache::use(const QImage& mask, const QImage& sprite) {
  if (mask.cacheKey() != maskKey_ || sprite.cacheKey() != spriteKey_ || blocks_.size() + solid_.size() >= MaxBlocks) {
    blocks_.clear();
    solid_.clear();
    maskKey_ = mask.cacheKey();
    spriteKey_ = sprite.cacheKey();
  }
}

const BlockRuns& BlockRunCache::runsOf(const QImage& mask, const QImage& sprite, const QRect& block) {
  const quint64 key = keyOf(block);
  auto it = blocks_.find(key);
  if (it == blocks_.end() || it->second.block() != block)
    it = blocks_.insert_or_assign(key, BlockRuns(mask, sprite, block)).first;
  return it->second;
}

bool BlockRunCache::solidSprite(const QImage& sprite, const QRect& block) {
  const auto [it, added] = solid_.try_emplace(keyOf(block), true);
  if (added) {
    quint32 alpha = 0xff000000u;
    for (int y = block.top(); y <= block.bottom(); ++y)
      alpha &= alphaOf(reinterpret_cast<const quint32*>(sprite.constScanLine(y)) + block.x(), block.width());
    it->second = (alpha & 0xff000000u) == 0xff000000u;
  }
  return it->second;
}

size_t BlockRunCache::bytes() const {
  size_t n = 0;
  for (const auto& [key, runs] : blocks_) n += sizeof(key) + sizeof(runs) + runs.bytes();
  return n + solid_.size() * (sizeof(quint64) + sizeof(bool));
}

}  // namespace qv
