// The checks a picture file passes before any decoder runs: its format from
// its first bytes, then a walk of its headers that finds the size it
// announces, that its data is all there, and that decoding it stays within
// fixed bounds of memory and time.
#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

namespace qv {

enum class PictureFormat { Bmp, Jpeg, Gif, Png };

// BMP, JPEG, GIF or PNG by the file's first bytes; nullopt for anything
// else.
std::optional<PictureFormat> PictureFormatOf(const QByteArray& data);

// Why a picture of w x h pixels is not read (the bounds are in
// PictureFile.h); empty when it is.
QString PictureSizeProblem(qint64 w, qint64 h);

// A JPEG stored in several scans is decoded with all its coefficients in
// memory: at most this much. Its scans are at most MaxJpegScans and visit
// at most MaxJpegBlockVisits blocks of 8 x 8 pixels together (each visit
// costs decoding time, even for a scan of no data).
constexpr qint64 MaxJpegCoefficientBytes = 128 * 1024 * 1024;
constexpr int MaxJpegScans = 1000;
constexpr qint64 MaxJpegBlockVisits = 64 * 1024 * 1024;

// What the checks found: why the file is not read, or else the size and
// format of the picture its decoder will make (as the headers tell it; the
// decoder may prove it wrong) and whether its data may leave pixels out.
// A GIF tells how many whole pictures (frames) it holds; a PNG gives the
// bytes its decoder reads.
struct PictureCheck {
  QString problem;
  QSize size;
  QImage::Format format = QImage::Format_Invalid;
  bool runLength = false;
  int frames = 1;
  QByteArray decodable;
};

// Checks a file of the given format:
//  - BMP: a header kind, depth and compression the decoder reads, a size
//    within bounds, and for uncompressed pixels every row in the file, from
//    where the decoder starts reading them.
//  - GIF: the first picture within bounds, its data whole, and its
//    compressed codes giving every one of its pixels; the pictures after it
//    that pass the same checks are counted as its frames, up to the first
//    that does not.
//  - PNG: a header of a known kind and a size within bounds, every chunk
//    whole up to the end chunk, at least one data chunk, and the data
//    inflating to at most its rows plus a little (PngStream.h). Only the chunks
//    that make the pixels (header, palette, transparency, data, end) are
//    handed to the decoder: texts, profiles and the like never reach it, so
//    no compressed text can grow in memory.
//  - JPEG: a frame within bounds, at least one scan, every scan's data up to
//    the end marker, and the scans within the bounds above.
PictureCheck CheckPictureFile(const QByteArray& data, PictureFormat format);

}  // namespace qv
