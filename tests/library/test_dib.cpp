// Bitmap resources that cannot be decoded: each damage to a good bitmap
// gives a reason and no image.
#include "library/Dib.h"

#include <QTest>
#include <functional>

#include "SampleBitmaps.h"

using namespace qv;

namespace {

using Patch = std::function<void(QByteArray&)>;

void put(QByteArray& b, int at, quint32 v) { qToLittleEndian(v, b.data() + at); }
void put16(QByteArray& b, int at, quint16 v) { qToLittleEndian(v, b.data() + at); }

// Sample `index` as a bitmap resource holds it (no file header).
QByteArray dib(int index) { return samples::encodeBmp(samples::sampleBitmaps()[index]).mid(14); }

}  // namespace

class TestDib : public QObject {
  Q_OBJECT

 private slots:
  void refused_data() {
    QTest::addColumn<int>("sample");
    QTest::addColumn<Patch>("patch");
    // Sample 0: 24-bit 5 x 3; 1: 8-bit; 7: 16-bit fields; 9: core header.
    const QList<std::tuple<const char*, int, Patch>> rows = {
        {"too short", 0, [](QByteArray& b) { b.truncate(3); }},
        {"header size 64", 0, [](QByteArray& b) { put(b, 0, 64); }},
        {"header size 0xffffffff", 0, [](QByteArray& b) { put(b, 0, 0xffffffff); }},
        {"header cut", 0, [](QByteArray& b) { b.truncate(39); }},
        {"core header cut", 9, [](QByteArray& b) { b.truncate(11); }},
        {"width 0", 0, [](QByteArray& b) { put(b, 4, 0); }},
        {"width -5", 0, [](QByteArray& b) { put(b, 4, quint32(-5)); }},
        {"height 0", 0, [](QByteArray& b) { put(b, 8, 0); }},
        {"width 16385", 0, [](QByteArray& b) { put(b, 4, 16385); }},
        {"height -16385", 0, [](QByteArray& b) { put(b, 8, quint32(-16385)); }},
        {"lowest height", 0, [](QByteArray& b) { put(b, 8, 0x80000000); }},
        {"10000 x 4001 pixels", 0, [](QByteArray& b) { put(b, 4, 10000), put(b, 8, 4001); }},
        {"7 bits", 0, [](QByteArray& b) { put16(b, 14, 7); }},
        {"run-length 8", 1, [](QByteArray& b) { put(b, 16, 1); }},
        {"run-length 4", 1, [](QByteArray& b) { put(b, 16, 2); }},
        {"JPEG", 0, [](QByteArray& b) { put(b, 16, 4); }},
        {"compression 9", 0, [](QByteArray& b) { put(b, 16, 9); }},
        {"bit fields on 24 bits", 0, [](QByteArray& b) { put(b, 16, 3); }},
        {"pixels cut", 0, [](QByteArray& b) { b.chop(1); }},
        {"257 colours", 1, [](QByteArray& b) { put(b, 32, 257); }},
        {"colour table cut", 1, [](QByteArray& b) { b.truncate(40 + 4 * 255); }},
        {"core colour table cut", 9, [](QByteArray& b) { b.truncate(12 + 3 * 255); }},
        {"colour table of a 24-bit bitmap too long", 0, [](QByteArray& b) { put(b, 32, 0x40000000); }},
        {"masks cut", 7, [](QByteArray& b) { b.truncate(40 + 8); }},
        {"mask with a gap", 7, [](QByteArray& b) { put(b, 40, 0xf801); }},
        {"green mask with a gap", 7, [](QByteArray& b) { put(b, 44, 0x0660); }},
        {"blue mask with a gap", 7, [](QByteArray& b) { put(b, 48, 0x0015); }},
    };
    for (const auto& [name, sample, patch] : rows) QTest::newRow(name) << sample << patch;
  }
  void refused() {
    QFETCH(int, sample);
    QFETCH(Patch, patch);
    QByteArray b = dib(sample);
    QVERIFY(DecodeDib(b).ok());
    patch(b);
    const DibResult r = DecodeDib(b);
    QVERIFY(r.image.isNull());
    QVERIFY(!r.error.isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestDib)
#include "test_dib.moc"
