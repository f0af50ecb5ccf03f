// The program's own bitmaps and the "Ding!" sound.
#include "resources/Resources.h"

#include <QCryptographicHash>
#include <QTest>
#include <QtEndian>

using namespace qv;

class TestResources : public QObject {
  Q_OBJECT

 private slots:
  void bitmaps() {
    const QImage grey = LoadResPicture(101), white = LoadResPicture(102), black = LoadResPicture(103);
    QImage plain(200, 200, QImage::Format_RGB32);
    plain.fill(Qt::white);
    QCOMPARE(white, plain);
    plain.fill(Qt::black);
    QCOMPARE(black, plain);
    // A texture of greys between 134 and 201, never black or white.
    QCOMPARE(grey.size(), QSize(200, 200));
    QSet<int> levels;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        const QRgb p = grey.pixel(x, y);
        QVERIFY(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) >= 134 && qRed(p) <= 201);
        levels.insert(qRed(p));
      }
    QVERIFY(levels.size() >= 10);
    // Made in code, the same in every build: new Panes and saved projects
    // show exactly this picture.
    const QByteArray bits(reinterpret_cast<const char*>(grey.constBits()), grey.sizeInBytes());
    QCOMPARE(QCryptographicHash::hash(bits, QCryptographicHash::Sha1).toHex(), "8125e7aa51d2f11e65b33f97eb77f1cc67ec9eac");
    // A caller's drawing does not reach the resource.
    QImage mine = LoadResPicture(101);
    mine.fill(Qt::red);
    QCOMPARE(LoadResPicture(101), grey);
    for (int id : {0, 100, 104}) QVERIFY(LoadResPicture(id).isNull());
  }

  void dingSound() {
    const QByteArray w = LoadResData(101, "CUSTOM");
    const auto u32 = [&](int off) { return qFromLittleEndian<quint32>(w.constData() + off); };
    const auto u16 = [&](int off) { return quint32(qFromLittleEndian<quint16>(w.constData() + off)); };
    // RIFF WAVE: the format chunk (PCM, 2 channels, 22,050 samples and
    // 88,200 bytes per second, 4-byte blocks, 16 bits), an even-sized list,
    // then the data chunk up to the end of the file.
    QCOMPARE(w.size(), 80856);
    QCOMPARE(w.left(4) + w.mid(8, 8), QByteArray("RIFFWAVEfmt "));
    QCOMPARE(u32(4), quint32(w.size() - 8));
    QCOMPARE(QList<quint32>({u32(16), u16(20), u16(22), u32(24), u32(28), u16(32), u16(34)}),
             QList<quint32>({16, 1, 2, 22050, 88200, 4, 16}));
    const int list = 36, data = list + 8 + int(u32(list + 4));
    QVERIFY(w.mid(list, 4) == "LIST" && u32(list + 4) % 2 == 0 && w.mid(data, 4) == "data");
    QCOMPARE(u32(data + 4), quint32(w.size() - data - 8));
    // Audible, never clipped, and no wrapped-around overflow (a jump of
    // most of the range between neighbours of a channel).
    int peak = 0, jump = 0, last[2] = {0, 0};
    for (int off = data + 8; off < w.size(); off += 2) {
      const int v = qFromLittleEndian<qint16>(w.constData() + off), ch = (off - data - 8) / 2 % 2;
      peak = std::max(peak, std::abs(v));
      jump = std::max(jump, std::abs(v - last[ch]));
      last[ch] = v;
    }
    QVERIFY(jump < 32768 && peak > 3000 && peak < 32767);
    QCOMPARE(QCryptographicHash::hash(w, QCryptographicHash::Sha1).toHex(), "5672a8d2ed47b0591700c5eb880c5b199a7fe793");
    QCOMPARE(LoadResData(101, "custom"), w);  // type names ignore case
    for (const auto& [id, type] : {std::pair{102, "CUSTOM"}, std::pair{0, "CUSTOM"}, std::pair{101, "WAVE"}})
      QVERIFY(LoadResData(id, type).isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestResources)
#include "test_resources.moc"
