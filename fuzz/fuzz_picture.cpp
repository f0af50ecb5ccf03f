// libFuzzer target: the picture reader on any bytes. Whatever it is given,
// it returns either an RGB32 picture within the size bounds or a reason;
// read as frames, it gives at most the frames asked for, all of one size
// within the bounds, the first exactly when the picture reads,
// and never allocates past its bounds (run-fuzz caps the memory). The
// decoders are not instrumented, so pixels they leave unwritten are found
// another way: the bytes are decoded onto pictures cleared to two different
// values, and the two must come out the same.
#include "surface/PictureFile.h"

#include <QtGlobal>
#include <cstddef>
#include <cstdint>

namespace {

// The decoders' own notes (an allocation refused, a damaged file) would
// flood the fuzzer's output.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qInstallMessageHandler(quiet);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  const qv::PictureResult r = qv::LoadPictureData(bytes);
  if (r.ok()) {
    const QImage& img = r.image;
    if (img.format() != QImage::Format_RGB32 || !r.error.isEmpty()) __builtin_trap();
    if (img.width() > qv::MaxPictureSide || img.height() > qv::MaxPictureSide ||
        qint64(img.width()) * img.height() > qv::MaxPicturePixels)
      __builtin_trap();
  } else if (r.error.isEmpty() || !r.image.isNull()) {
    __builtin_trap();
  }
  const qv::PictureResult a = qv::DecodePictureOnto(bytes, 0x00), b = qv::DecodePictureOnto(bytes, 0xFF);
  if (a.ok() != r.ok() || b.ok() != r.ok() || !qv::SamePixels(a.image, b.image)) __builtin_trap();
  int frames = 0;
  QSize frameSize;
  const qv::FramesResult f = qv::ReadPictureFramesData(bytes, 3, [&](const QImage& frame, int) {
    if (frame.format() != QImage::Format_RGB32 && frame.format() != QImage::Format_ARGB32) __builtin_trap();
    if (frames++ > 0 && frame.size() != frameSize) __builtin_trap();
    frameSize = frame.size();
  });
  if (f.error.isEmpty() != r.ok() || frames > 3 || (r.ok() && (frames < 1 || frameSize != r.image.size()))) __builtin_trap();
  return 0;
}
