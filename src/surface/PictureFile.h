// Picture files: read .bmp, .jpg and .gif; write 24-bit Windows bitmaps.
#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace qv {

// The result of reading a picture: an RGB32 image, or an error text.
struct PictureResult {
  QImage image;
  QString error;
  bool ok() const { return !image.isNull(); }
};

// Largest picture read, in pixels; larger files are refused before decoding.
constexpr qint64 MaxPicturePixels = 40'000'000;
constexpr int MaxPictureSide = 16'384;

PictureResult LoadPicture(const QString& path);
PictureResult LoadPictureData(const QByteArray& data);

// The bytes of a 24-bit bottom-up Windows bitmap of img.
QByteArray EncodeBmp24(const QImage& img);
// Writes img as a 24-bit .bmp through a save file: a failed write leaves any
// earlier file in place. Returns an empty string or the reason it failed.
QString SavePicture(const QImage& img, const QString& path);

}  // namespace qv
