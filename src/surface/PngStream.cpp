#include "surface/PngStream.h"

#include <zlib.h>

#include <algorithm>
#include <array>

namespace qv {

qint64 PngRawBytes(qint64 w, qint64 h, int bitsPerPixel, bool interlaced) {
  const auto rows = [&](qint64 across, qint64 down) {
    return across > 0 && down > 0 ? down * (1 + (across * bitsPerPixel + 7) / 8) : 0;
  };
  if (!interlaced) return rows(w, h);
  // Adam7: each pass's first column and row, and its steps.
  constexpr int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  qint64 bytes = 0;
  for (const auto& p : passes) bytes += rows((w - p[0] + p[2] - 1) / p[2], (h - p[1] + p[3] - 1) / p[3]);
  return bytes;
}

QString PngStreamProblem(const std::vector<QByteArrayView>& parts, qint64 rawBytes) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return QStringLiteral("the PNG file could not be inflated");
  std::array<Bytef, 64 * 1024> sink;
  const qint64 bound = rawBytes + PngStreamSlack;
  int status = Z_OK;
  QString why;
  for (size_t i = 0; i < parts.size() && why.isEmpty(); ++i) {
    if (status == Z_STREAM_END) {
      if (!parts[i].isEmpty()) why = QStringLiteral("the PNG file is damaged (data after the end of its picture data)");
      continue;
    }
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(parts[i].data()));
    z.avail_in = uInt(parts[i].size());  // a chunk holds less than 2 GiB
    while (z.avail_in > 0 && status == Z_OK && why.isEmpty()) {
      // Never more output than the bound allows: the tail stays compressed.
      z.next_out = sink.data();
      z.avail_out = uInt(std::min<qint64>(qint64(sink.size()), bound - qint64(z.total_out) + 1));
      status = inflate(&z, Z_NO_FLUSH);
      if (status == Z_BUF_ERROR) status = Z_OK;  // no progress possible until more input
      if (status != Z_OK && status != Z_STREAM_END)
        why = QStringLiteral("the PNG file is damaged (its picture data is not a valid stream)");
      else if (qint64(z.total_out) > bound)
        why = QStringLiteral("the PNG file is damaged (its picture data goes on past its pixels)");
    }
    if (status == Z_STREAM_END && z.avail_in > 0 && why.isEmpty())
      why = QStringLiteral("the PNG file is damaged (data after the end of its picture data)");
  }
  inflateEnd(&z);
  return why;
}

}  // namespace qv
