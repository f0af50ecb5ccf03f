// The compressed picture data of a PNG, inflated once before the decoder
// runs, into a fixed buffer whose output is thrown away: the stream must be
// valid, end within the bytes its header's rows take plus PngStreamSlack,
// and have nothing after its end. A stream that goes on past its pixels
// (a small file that inflates to gigabytes of nothing) is refused before
// its tail is inflated.
#pragma once
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace qv {

constexpr qint64 PngStreamSlack = 64 * 1024;

// The bytes the rows of a w x h PNG take once inflated: each row's filter
// byte and its pixels at bitsPerPixel, in the seven passes of an interlaced
// picture (a pass with no pixels has no rows).
qint64 PngRawBytes(qint64 w, qint64 h, int bitsPerPixel, bool interlaced);

// Why the stream, the data of the picture's data chunks in their order, is
// not read; empty when it is.
QString PngStreamProblem(const std::vector<QByteArrayView>& parts, qint64 rawBytes);

}  // namespace qv
