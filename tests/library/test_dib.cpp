// Bitmap resources that cannot be decoded: each damage to a good bitmap
// gives a reason and no image.
#include "library/Dib.h"

#include <QTest>

#include "SampleBitmaps.h"

using namespace qv;

namespace {

// A damage to a sample bitmap (as a bitmap resource holds it, without the
// file header): `value` written over `width` bytes at `at`, or with width 0
// the bitmap cut to `at` bytes.
struct Damage {
  const char* name;
  int sample;  // 0: 24-bit 5 x 3; 1: 8-bit; 7: 16-bit fields; 9: core header
  int at;
  quint64 value;
  int width;
};

}  // namespace

class TestDib : public QObject {
  Q_OBJECT

 private slots:
  void refused_data() {
    QTest::addColumn<QByteArray>("good");
    QTest::addColumn<QByteArray>("damaged");
    const Damage damages[] = {
        {"too short", 0, 3, 0, 0},
        {"header size 64", 0, 0, 64, 4},
        {"header size 2^32-1", 0, 0, 0xffffffff, 4},
        {"header cut", 0, 39, 0, 0},
        {"core header cut", 9, 11, 0, 0},
        {"width 0", 0, 4, 0, 4},
        {"width -5", 0, 4, 0xfffffffb, 4},
        {"height 0", 0, 8, 0, 4},
        {"width 16385", 0, 4, 16385, 4},
        {"height -16385", 0, 8, 0xffffbfff, 4},
        {"lowest height", 0, 8, 0x80000000, 4},
        {"10000 x 4001 pixels", 0, 4, 4001ull << 32 | 10000, 8},
        {"7 bits", 0, 14, 7, 2},
        {"run-length 8", 1, 16, 1, 4},
        {"run-length 4", 1, 16, 2, 4},
        {"JPEG", 0, 16, 4, 4},
        {"compression 9", 0, 16, 9, 4},
        {"bit fields on 24 bits", 0, 16, 3, 4},
        {"257 colours", 1, 32, 257, 4},
        {"colour table cut", 1, 40 + 4 * 255, 0, 0},
        {"core colour table cut", 9, 12 + 3 * 255, 0, 0},
        {"2^30 unused colours", 0, 32, 0x40000000, 4},
        {"masks cut", 7, 48, 0, 0},
        {"pixels cut", 0, 87, 0, 0},
        {"red mask with a gap", 7, 40, 0xf801, 4},
        {"green mask with a gap", 7, 44, 0x0660, 4},
        {"blue mask with a gap", 7, 48, 0x0015, 4},
    };
    for (const Damage& d : damages) {
      const QByteArray good = samples::encodeBmp(samples::sampleBitmaps()[d.sample]).mid(14);
      QByteArray b = good;
      if (d.width == 0) b.truncate(d.at);
      for (int i = 0; i < d.width; ++i) b[d.at + i] = char(d.value >> (8 * i));
      QTest::newRow(d.name) << good << b;
    }
  }
  void refused() {
    QFETCH(QByteArray, good);
    QFETCH(QByteArray, damaged);
    QVERIFY(DecodeDib(good).ok());
    const DibResult r = DecodeDib(damaged);
    QVERIFY(r.image.isNull());
    QVERIFY(!r.error.isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestDib)
#include "test_dib.moc"
