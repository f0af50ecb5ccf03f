// Picture files: read BMP, JPEG, GIF and PNG pictures within fixed bounds
// (with their transparency, and an animated GIF's frames, when asked);
// write 24-bit Windows bitmaps.
#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

namespace qv {

// The result of reading a picture: an RGB32 image, or an error text.
struct PictureResult {
  QImage image;
  QString error;
  bool ok() const { return !image.isNull(); }
};

// Largest picture read: at most MaxPictureSide pixels a side and
// MaxPicturePixels in all, so that one decoded picture takes at most 128 MiB.
// Headers are checked before decoding and the decoded picture after it; the
// decoder itself may allocate no more than that either.
constexpr int MaxPictureSide = 16'384;
constexpr qint64 MaxPicturePixels = 32 * 1024 * 1024;
// Largest picture file read: an uncompressed 32-bit bitmap of the largest
// picture, its headers and palette.
constexpr qint64 MaxPictureFileBytes = MaxPicturePixels * 4 + 1024 * 1024;

// Reads a picture. The format is decided by the content, never by the file
// name, and only BMP, JPEG, GIF and PNG are read. Every refusal has a
// reason. Every pixel comes from the file, but the pixels a run-length
// bitmap's data skips, which are colour 0. A GIF or PNG with transparent
// pixels is laid over the colour under (black unless given).
PictureResult LoadPicture(const QString& path, QRgb under = 0xFF000000);
PictureResult LoadPictureData(const QByteArray& data, QRgb under = 0xFF000000);
// An ARGB32 picture laid over the colour under, as RGB32; any other picture
// as RGB32.
QImage Flattened(QImage img, QRgb under);

// Reads the frames of a picture file: the one picture of a still file, or
// up to maxFrames frames of an animated GIF, each handed to take as it is
// decoded (so that one frame is held at a time) with its delay in ms (0 for
// a still picture). A frame is ARGB32 when the file is a GIF or PNG with an
// alpha channel, RGB32 otherwise. A frame after the first that cannot be
// read ends the frames there.
using FrameTaker = std::function<void(const QImage& frame, int delayMs)>;
struct FramesResult {
  QString error;   // empty when the frames were read
  int frames = 0;  // the frames the file holds
};
FramesResult ReadPictureFrames(const QString& path, int maxFrames, const FrameTaker& take);
FramesResult ReadPictureFramesData(const QByteArray& data, int maxFrames, const FrameTaker& take);
// The decoder's own picture before it becomes RGB32 (indexed, grey or
// RGB), decoded onto a picture whose bytes were all set to fill: for the
// checks that no pixel depends on the fill.
PictureResult DecodePictureOnto(const QByteArray& data, uchar fill);
// Whether two decoded pictures have the same size, format and pixel bytes
// (the padding at the end of each row left out); two null pictures are.
bool SamePixels(const QImage& a, const QImage& b);

// The bytes of a 24-bit bottom-up Windows bitmap of img.
QByteArray EncodeBmp24(const QImage& img);

}  // namespace qv
