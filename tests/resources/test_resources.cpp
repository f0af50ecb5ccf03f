// The program's own bitmaps and the "Ding!" sound. Both are made in code and
// the same in every build (new Panes and saved projects show exactly this grey
// picture), so a hash pins every bit.
#include "resources/Resources.h"

#include <QCryptographicHash>
#include <QTest>

using namespace qv;

namespace {
QByteArray sha1(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex(); }
}  // namespace

class TestResources : public QObject {
  Q_OBJECT

 private slots:
  void bitmaps() {
    QImage plain(200, 200, QImage::Format_RGB32);
    plain.fill(Qt::white);
    QCOMPARE(LoadResPicture(102), plain);
    plain.fill(Qt::black);
    QCOMPARE(LoadResPicture(103), plain);
    // 101: a 200 x 200 texture of greys between 134 and 201.
    const QImage grey = LoadResPicture(101);
    QCOMPARE(sha1(QByteArray(reinterpret_cast<const char*>(grey.constBits()), grey.sizeInBytes())),
             "8125e7aa51d2f11e65b33f97eb77f1cc67ec9eac");
    for (int id : {0, 100, 104}) QVERIFY(LoadResPicture(id).isNull());
  }

  void dingSound() {
    const QByteArray w = LoadResData(101, "CUSTOM");
    // RIFF WAVE, PCM, 2 channels, 22,050 samples a second, 16 bits.
    QCOMPARE(w.left(4) + w.mid(8, 8), QByteArray("RIFFWAVEfmt "));
    QCOMPARE(sha1(w), "5672a8d2ed47b0591700c5eb880c5b199a7fe793");
    QCOMPARE(LoadResData(101, "custom"), w);  // type names ignore case
    for (const auto& [id, type] : {std::pair{102, "CUSTOM"}, std::pair{0, "CUSTOM"}, std::pair{101, "WAVE"}})
      QVERIFY(LoadResData(id, type).isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestResources)
#include "test_resources.moc"
