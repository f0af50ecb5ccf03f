// Run-length spans of a block drawn through a mask, as (Board AND mask) OR
// sprite: per row, the runs where the sprite replaces the Board (with their
// sprite pixels kept one after another, so drawing them reads memory in
// order), the runs where both mix, and between them the pixels that leave
// the Board as it is. Built once per block and kept until either sheet changes.
#pragma once
#include <QImage>
#include <QRect>

#include <unordered_map>
#include <vector>

namespace qv {

// A run of pixels [from, to) of one block row, counted from the block's left.
struct MaskRun {
  qint32 from, to;
  // At least 0: the sprite pixel is the result (the mask's bits are all
  // within the sprite's), and the run's sprite pixels start at pixels()[at].
  // -1: the result is (Board AND mask) OR sprite.
  qint32 at;
  bool opaque() const { return at >= 0; }
};

class BlockRuns {
 public:
  // Reads the block (inside both images, which are RGB32 of one size).
  BlockRuns(const QImage& mask, const QImage& sprite, const QRect& block);

  const QRect& block() const { return block_; }
  // Every sprite pixel of the block has the alpha byte 0xff, as RGB32 images
  // do. Only then does a left-out pixel (black sprite, white mask) leave a
  // Board pixel exactly as the OR with black would.
  bool solidSprite() const { return solidSprite_; }
  // The runs of block row r, left to right.
  const MaskRun* rowBegin(int r) const { return runs_.data() + rowStart_[size_t(r)]; }
  const MaskRun* rowEnd(int r) const { return runs_.data() + rowStart_[size_t(r) + 1]; }
  const quint32* pixels() const { return pixels_.data(); }
  size_t bytes() const {
    return runs_.capacity() * sizeof(MaskRun) + rowStart_.capacity() * sizeof(quint32) +
           pixels_.capacity() * sizeof(quint32);
  }

 private:
  QRect block_;
  std::vector<quint32> rowStart_;
  std::vector<MaskRun> runs_;
  std::vector<quint32> pixels_;
  bool solidSprite_ = true;
};

// The runs of the blocks drawn from one pair of sheets; all are dropped when
// either sheet's pixels change (seen by the images' cache keys).
class BlockRunCache {
 public:
  // Drops every block's runs when either image changed since the last use.
  void use(const QImage& mask, const QImage& sprite);
  // The block's runs, read from the images given to use(); kept in place
  // until the next use().
  const BlockRuns& runsOf(const QImage& mask, const QImage& sprite, const QRect& block);
  // Every sprite pixel of the block has the alpha byte 0xff (for blocks drawn
  // without their mask, which need no runs).
  bool solidSprite(const QImage& sprite, const QRect& block);
  size_t bytes() const;

 private:
  qint64 maskKey_ = 0, spriteKey_ = 0;
  std::unordered_map<quint64, BlockRuns> blocks_;
  std::unordered_map<quint64, bool> solid_;
};

}  // namespace qv
