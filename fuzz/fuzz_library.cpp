// libFuzzer target: the resource module reader on the input as a module
// file (the library strings and bitmaps looked up as the scan and the picker
// do), and the bitmap decoder on the input as a bitmap resource.
#include "library/Dib.h"
#include "library/ResourceModule.h"

#include <cstddef>
#include <cstdint>

namespace {

void checkDib(const qv::DibResult& r) {
  // A result is an image or a reason, never both or neither.
  if (r.ok() == !r.error.isEmpty()) __builtin_trap();
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
  for (int id = 0; id <= 12; ++id) checkDib(module.bitmap(id));
  for (int id = 100; id <= 103; ++id) checkDib(module.bitmap(id));
  checkDib(qv::DecodeDib(bytes));
  return 0;
}
