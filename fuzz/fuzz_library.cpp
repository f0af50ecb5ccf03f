// libFuzzer target: the resource module reader on the input as a module
// file (the library strings and bitmaps looked up as the scan and the picker
// do), and the bitmap decoder on the input as a bitmap resource.
#include "library/Dib.h"
#include "library/ResourceModule.h"

#include <cstddef>
#include <cstdint>

namespace {

void checkDib(const qv::DibResult& r, const qv::DibCheck& header) {
  // A result is an image or a reason, never both or neither; the header
  // alone tells which, and the size.
  if (r.ok() == !r.error.isEmpty()) __builtin_trap();
  if (header.error != r.error || (r.ok() && header.size != r.image.size())) __builtin_trap();
  if (r.ok() && (r.image.format() != QImage::Format_RGB32 || r.image.width() > qv::MaxDibSide ||
                 r.image.height() > qv::MaxDibSide))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  const qv::ResourceModule module = qv::ResourceModule::FromData(bytes);
  if (module.ok() == !module.error().isEmpty()) __builtin_trap();
  for (int id : {0, 15, 16, 101, 102, 103, 104, 105, 200, 65535}) {
    const auto text = module.string(id);
    if (text && (text->isEmpty() || !module.ok())) __builtin_trap();
  }
  for (int id : {0, 1, 2, 5, 9, 12, 100, 101, 102, 103}) checkDib(module.bitmap(id), module.checkBitmap(id));
  checkDib(qv::DecodeDib(bytes), qv::CheckDib(bytes));
  return 0;
}
