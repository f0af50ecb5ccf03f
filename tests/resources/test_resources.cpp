// The program's own bitmaps and the "Ding!" sound, made in code: their sizes,
// colours and format. (How the sound plays: the window test's player; its
// size in bytes: the pointer test's sound calls.)
#include "support/Fixtures.h"

using namespace qv;

class TestResources : public QObject {
  Q_OBJECT

 private slots:
  // 102 all white, 103 all black; 101 a 200 x 200 texture of greys between
  // 134 and 201, never one grey alone.
  void bitmaps() {
    QCOMPARE(LoadResPicture(102), boardModel({200, 200}, White, {}));
    QCOMPARE(LoadResPicture(103), boardModel({200, 200}, Black, {}));
    const QImage grey = LoadResPicture(101);
    QSet<QRgb> greys;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) greys << grey.pixel(x, y);
    QVERIFY(grey.size() == QSize(200, 200) && greys.size() > 20);
    for (QRgb c : greys) QVERIFY(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) >= 134 && qRed(c) <= 201);
    for (int id : {0, 100, 104}) QVERIFY(LoadResPicture(id).isNull());
  }

  // A RIFF WAVE: PCM, 2 channels, 22,050 samples a second, 16 bits, 80,764
  // bytes of samples, the loudest near full scale.
  void dingSound() {
    const QByteArray w = LoadResData(101, "CUSTOM");
    const auto at = [&](qsizetype i, int width) { return width == 2 ? qFromLittleEndian<quint16>(w.constData() + i) : qFromLittleEndian<quint32>(w.constData() + i); };
    const qsizetype data = w.indexOf("data");
    QCOMPARE(w.left(4) + w.mid(8, 8), QByteArray("RIFFWAVEfmt "));
    QCOMPARE(QList<quint32>({at(4, 4), at(20, 2), at(22, 2), at(24, 4), at(34, 2), at(data + 4, 4)}),
             QList<quint32>({quint32(w.size() - 8), 1, 2, 22050, 16, 80764}));
    int loudest = 0;
    for (qsizetype i = data + 8; i + 1 < w.size(); i += 2) loudest = std::max(loudest, std::abs(int(qFromLittleEndian<qint16>(w.constData() + i))));
    QVERIFY(w.size() == data + 8 + 80764 && loudest > 16000);
    QCOMPARE(LoadResData(101, "custom"), w);  // type names ignore case
    for (const auto& [id, type] : {std::pair{102, "CUSTOM"}, std::pair{0, "CUSTOM"}, std::pair{101, "WAVE"}})
      QVERIFY(LoadResData(id, type).isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestResources)
#include "test_resources.moc"
