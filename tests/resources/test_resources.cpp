// The program's own bitmaps and the "Ding!" sound.
#include "resources/Resources.h"

#include <QTest>
#include <QtEndian>

using namespace qv;

namespace {

quint32 le32(const QByteArray& b, qint64 off) { return qFromLittleEndian<quint32>(b.constData() + off); }
quint16 le16(const QByteArray& b, qint64 off) { return qFromLittleEndian<quint16>(b.constData() + off); }

}  // namespace

class TestResources : public QObject {
  Q_OBJECT

 private slots:
  void bitmaps() {
    const QImage grey = LoadResPicture(101);
    const QImage white = LoadResPicture(102);
    const QImage black = LoadResPicture(103);
    for (const QImage* img : {&grey, &white, &black}) {
      QCOMPARE(img->size(), QSize(200, 200));
      QCOMPARE(img->format(), QImage::Format_RGB32);
    }
    int lo = 255, hi = 0;
    QSet<int> levels;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        const QRgb p = grey.pixel(x, y);
        QCOMPARE(qRed(p), qGreen(p));
        QCOMPARE(qGreen(p), qBlue(p));
        lo = std::min(lo, qRed(p));
        hi = std::max(hi, qRed(p));
        levels.insert(qRed(p));
        QCOMPARE(white.pixel(x, y), qRgb(255, 255, 255));
        QCOMPARE(black.pixel(x, y), qRgb(0, 0, 0));
      }
    QVERIFY2(lo >= 134 && hi <= 201, qPrintable(QStringLiteral("greys %1..%2").arg(lo).arg(hi)));
    QVERIFY(levels.size() >= 10);  // a texture, not a flat fill
    // The same picture every time, and a caller's drawing does not reach it.
    QImage mine = LoadResPicture(101);
    QCOMPARE(mine, grey);
    mine.fill(Qt::red);
    QCOMPARE(LoadResPicture(101), grey);

    for (int id : {0, 100, 104, -101, 1101}) QVERIFY(LoadResPicture(id).isNull());
  }

  void dingSound() {
    const QByteArray w = LoadResData(101, "CUSTOM");
    QCOMPARE(w.size(), 80856);
    QCOMPARE(w.left(4), QByteArray("RIFF"));
    QCOMPARE(le32(w, 4), quint32(w.size() - 8));
    QCOMPARE(w.mid(8, 4), QByteArray("WAVE"));

    // Walk the chunks as a player does: id, size, body padded to even length.
    qint64 pos = 12, dataAt = -1, dataSize = -1;
    bool haveFmt = false;
    while (pos + 8 <= w.size()) {
      const QByteArray id = w.mid(pos, 4);
      const quint32 size = le32(w, pos + 4);
      QVERIFY2(pos + 8 + qint64(size) <= w.size(), id.constData());
      if (id == "fmt ") {
        QVERIFY(size >= 16);
        QCOMPARE(le16(w, pos + 8), quint16(1));        // PCM
        QCOMPARE(le16(w, pos + 10), quint16(2));       // channels
        QCOMPARE(le32(w, pos + 12), 22050u);           // samples per second
        QCOMPARE(le32(w, pos + 16), 88200u);           // bytes per second
        QCOMPARE(le16(w, pos + 20), quint16(4));       // block align
        QCOMPARE(le16(w, pos + 22), quint16(16));      // bits per sample
        haveFmt = true;
      } else if (id == "data") {
        QVERIFY2(haveFmt, "format chunk before the data");
        dataAt = pos + 8;
        dataSize = size;
      }
      pos += 8 + size + (size & 1);
    }
    QCOMPARE(pos, qint64(w.size()));
    QCOMPARE(dataSize, qint64(80764));

    const qint64 frames = dataSize / 4;
    const double seconds = double(frames) / 22050;
    QVERIFY(seconds > 0.85 && seconds < 1.0);

    // Per channel: the loudest sample, and the largest step between
    // neighbours (a wrapped-around overflow shows as a jump of most of the range).
    int peak = 0, nonZero = 0, jump = 0;
    int last[2] = {0, 0};
    for (qint64 off = dataAt; off < dataAt + dataSize; off += 2) {
      const int v = qFromLittleEndian<qint16>(w.constData() + off);
      const int ch = int((off - dataAt) / 2 % 2);
      peak = std::max(peak, std::abs(v));
      jump = std::max(jump, std::abs(v - last[ch]));
      last[ch] = v;
      nonZero += v != 0;
    }
    QVERIFY2(jump < 32768, qPrintable(QString::number(jump)));
    QVERIFY(nonZero > frames);           // sound in most samples
    QVERIFY(peak > 3000);                // audible
    QVERIFY(peak < 32767);               // never clipped at full scale

    QCOMPARE(LoadResData(101, "CUSTOM"), w);  // the same bytes every time
    QVERIFY(LoadResData(102, "CUSTOM").isEmpty());
    QVERIFY(LoadResData(0, "CUSTOM").isEmpty());
    QVERIFY(LoadResData(101, "WAVE").isEmpty());
    QCOMPARE(LoadResData(101, "custom"), w);  // type names ignore case
    QVERIFY(LoadResData(101, QString()).isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestResources)
#include "test_resources.moc"
