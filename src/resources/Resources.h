// The program's own resources, made in code: bitmaps 101 (DefaultPanePicture),
// 102 (WhiteBitmap) and 103 (BlackBitmap), and the "CUSTOM" sound 101 ("Ding!").
#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace qv {

constexpr int DefaultPanePictureId = 101;
constexpr int WhiteBitmapId = 102;
constexpr int BlackBitmapId = 103;
constexpr int DingSoundId = 101;

// LoadResPicture: the 200 x 200 bitmap with that id, or a null image.
QImage LoadResPicture(int id);
// LoadResData: the bytes of the resource of that type and id, or empty.
QByteArray LoadResData(int id, const QString& type);

}  // namespace qv
