// The program's own bitmaps and the "Ding!" sound.
#include "resources/Resources.h"

#include <QTest>
#include <QtEndian>

using namespace qv;

namespace {

quint32 le(const QByteArray& b, qint64 off, int size = 4) {
  return size == 2 ? qFromLittleEndian<quint16>(b.constData() + off) : qFromLittleEndian<quint32>(b.constData() + off);
}

}  // namespace

class TestResources : public QObject {
  Q_OBJECT

 private slots:
  void bitmaps() {
    const QImage grey = LoadResPicture(101), white = LoadResPicture(102), black = LoadResPicture(103);
    for (const QImage* img : {&grey, &white, &black}) {
      QCOMPARE(img->size(), QSize(200, 200));
      QCOMPARE(img->format(), QImage::Format_RGB32);
    }
    QSet<int> levels;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        const QRgb p = grey.pixel(x, y);
        QVERIFY(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) >= 134 && qRed(p) <= 201);
        levels.insert(qRed(p));
        QCOMPARE(white.pixel(x, y), qRgb(255, 255, 255));
        QCOMPARE(black.pixel(x, y), qRgb(0, 0, 0));
      }
    QVERIFY(levels.size() >= 10);  // a texture, not a flat fill
    // A caller's drawing does not reach the resource.
    QImage mine = LoadResPicture(101);
    mine.fill(Qt::red);
    QCOMPARE(LoadResPicture(101), grey);
    for (int id : {0, 100, 104, -101}) QVERIFY(LoadResPicture(id).isNull());
  }

  void dingSound() {
    const QByteArray w = LoadResData(101, "CUSTOM");
    QCOMPARE(w.size(), 80856);
    QCOMPARE(w.left(4), QByteArray("RIFF"));
    QCOMPARE(le(w, 4), quint32(w.size() - 8));
    QCOMPARE(w.mid(8, 4), QByteArray("WAVE"));
    // Walk the chunks as a player does: id, size, body padded to even length.
    // The format (PCM, 2 channels, 22,050 samples and 88,200 bytes per
    // second, 4-byte blocks, 16 bits) comes before the data.
    qint64 pos = 12, fmtAt = -1, dataAt = -1, dataSize = -1;
    for (quint32 size = 0; pos + 8 <= w.size(); pos += 8 + size + (size & 1)) {
      const QByteArray id = w.mid(pos, 4);
      size = le(w, pos + 4);
      QVERIFY2(pos + 8 + qint64(size) <= w.size(), id.constData());
      if (id == "fmt ") fmtAt = pos;
      if (id == "data") dataAt = pos + 8, dataSize = size;
    }
    QVERIFY(fmtAt > 0 && fmtAt < dataAt);
    QCOMPARE(QList<quint32>({le(w, fmtAt + 8, 2), le(w, fmtAt + 10, 2), le(w, fmtAt + 12), le(w, fmtAt + 16),
                             le(w, fmtAt + 20, 2), le(w, fmtAt + 22, 2)}),
             QList<quint32>({1, 2, 22050, 88200, 4, 16}));
    QCOMPARE(pos, qint64(w.size()));
    QCOMPARE(dataSize, qint64(80764));
    // Audible, never clipped, sound in most samples, and no wrapped-around
    // overflow (a jump of most of the range between neighbours of a channel).
    int peak = 0, nonZero = 0, jump = 0, last[2] = {0, 0};
    for (qint64 off = dataAt; off < dataAt + dataSize; off += 2) {
      const int v = qFromLittleEndian<qint16>(w.constData() + off), ch = int((off - dataAt) / 2 % 2);
      peak = std::max(peak, std::abs(v));
      jump = std::max(jump, std::abs(v - last[ch]));
      last[ch] = v;
      nonZero += v != 0;
    }
    QVERIFY2(jump < 32768, qPrintable(QString::number(jump)));
    QVERIFY(nonZero > dataSize / 4);
    QVERIFY(peak > 3000 && peak < 32767);

    QCOMPARE(LoadResData(101, "custom"), w);  // type names ignore case
    for (const auto& [id, type] : {std::pair{102, "CUSTOM"}, std::pair{0, "CUSTOM"}, std::pair{101, "WAVE"},
                                   std::pair{101, ""}})
      QVERIFY(LoadResData(id, type).isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestResources)
#include "test_resources.moc"
