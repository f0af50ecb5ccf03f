// Picture surfaces: picture and image, back colour, pixels, lines and text.
#include "surface/Surface.h"

#include <QTest>

#include "support/Fixtures.h"

using namespace qv;
using namespace qv::fixtures;

namespace {

// Every pixel of the surface that is not the given colour.
QList<QPoint> pixelsNot(const Surface& s, Long colour) {
  QList<QPoint> out;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.Point(x, y) != colour) out.append(QPoint(x, y));
  return out;
}

}  // namespace

class TestSurface : public QObject {
  Q_OBJECT

 private slots:
  void pictureAndBackColour() {
    const Long back = RGB(1, 2, 3);
    Surface s;
    s.BackColor = back;
    s.SetSize(50, 40);
    QCOMPARE(pixelsNot(s, back).size(), 0);
    // A smaller, narrower, shorter or larger picture sits at (0, 0), cut at
    // the surface's size; the rest shows the back colour, also where a larger
    // picture and a drawing were before.
    const QImage cover = randomImage(60, 50, 3), large = randomImage(80, 60, 2);
    for (const QImage& pic : {randomImage(20, 10, 1), randomImage(20, 40, 4), randomImage(60, 10, 5), large}) {
      s.SetPicture(cover);
      s.PSet(45, 35, RGB(7, 7, 7));
      s.SetPicture(pic);
      QCOMPARE(s.Picture(), pic);
      QImage model(50, 40, QImage::Format_RGB32);
      model.fill(toQRgb(back));
      BitBlt(model, 0, 0, 50, 40, pic, 0, 0, RasterOp::SRCCOPY);
      QCOMPARE(s.Image(), model);
    }
    // With AutoSize the surface takes the picture's size, smaller or larger.
    s.AutoSize = true;
    for (const QImage& pic : {cover.copy(0, 0, 20, 10), large}) {
      s.SetPicture(pic);
      QCOMPARE(s.Image(), pic);
    }
    // Emptying the picture leaves the back colour and keeps the size; a new
    // back colour repaints; growing keeps the drawing and fills the new part.
    s.ClearPicture();
    QVERIFY(s.Picture().isNull());
    QVERIFY(s.Image().size() == QSize(80, 60) && pixelsNot(s, back).isEmpty());
    s.SetBackColor(RGB(200, 10, 20));
    s.PSet(3, 4, RGB(9, 9, 9));
    s.SetSize(100, 70);
    QCOMPARE(pixelsNot(s, RGB(200, 10, 20)), QList<QPoint>{QPoint(3, 4)});
    // Pictures of other formats are taken as RGB32.
    s.SetPicture(QImage(4, 4, QImage::Format_ARGB32));
    QVERIFY(s.Picture().format() == QImage::Format_RGB32 && s.Image().format() == QImage::Format_RGB32);
  }

  void imageBecomesPicture() {
    Surface s;
    s.SetSize(30, 20);
    s.PSet(5, 5, Red);
    s.TakeImageAsPicture();
    s.PSet(6, 6, Green);
    // The taken picture is a value; repainting keeps only the fixed drawing.
    QCOMPARE(s.Picture().pixel(6, 6), toQRgb(White));
    s.Cls();
    QCOMPARE(pixelsNot(s, White), QList<QPoint>{QPoint(5, 5)});
    // One surface's drawing assigned to another's picture is a copy.
    Surface other;
    other.AutoSize = true;
    other.SetPicture(s.Image());
    s.PSet(7, 7, Blue);
    QCOMPARE(other.Image(), s.Picture());
  }

  void pixels() {
    Surface s;
    QCOMPARE(s.Point(0, 0), Long(-1));
    s.PSet(0, 0, RGB(1, 2, 3));  // empty surface: nothing happens
    s.SetSize(10, 8);
    s.PSet(3, 2, RGB(0x12, 0x34, 0x56));
    QVERIFY(s.Point(3, 2) == Long(0x563412) && s.Image().pixel(3, 2) == qRgb(0x12, 0x34, 0x56));
    for (const QPoint p : {QPoint(-1, 0), QPoint(0, -1), QPoint(10, 0), QPoint(0, 8), QPoint(9, -1)}) {
      QCOMPARE(s.Point(p.x(), p.y()), Long(-1));
      s.PSet(p.x(), p.y(), Black);
    }
    QCOMPARE(pixelsNot(s, White).size(), 1);
  }

  void lines() {
    Surface s;
    s.SetSize(20, 20);
    // The end point is not drawn, in either direction; the drawing position
    // moves to it. Ties step both ways.
    const struct { QPoint from, to; QList<QPoint> drawn; } cases[] = {
        {{2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}}, {{6, 6}, {2, 6}, {{3, 6}, {4, 6}, {5, 6}, {6, 6}}},
        {{4, 1}, {4, 4}, {{4, 1}, {4, 2}, {4, 3}}},         {{0, 0}, {5, 5}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {{0, 0}, {4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}}, {{0, 0}, {0, 0}, {}}};
    for (const auto& c : cases) {
      s.Cls();
      s.Line(c.from.x(), c.from.y(), c.to.x(), c.to.y(), Red);
      QCOMPARE(pixelsNot(s, White), c.drawn);
      QCOMPARE(QPointF(s.CurrentX, s.CurrentY), QPointF(c.to));
    }
    s.Cls();
    // A steep line is connected: one pixel per row, each next to the last.
    s.Line(3, 2, 7, 15, Red);
    const QList<QPoint> steep = pixelsNot(s, White);
    QCOMPARE(steep.size(), 13);
    QCOMPARE(steep.first(), QPoint(3, 2));
    for (int k = 1; k < steep.size(); ++k)
      QVERIFY(steep[k].y() == steep[k - 1].y() + 1 && std::abs(steep[k].x() - steep[k - 1].x()) <= 1);
    // Lines partly or wholly outside draw only what falls inside.
    s.Cls();
    s.Line(-5, 3, 30, 3, Red);
    s.Line(-30000, -30000, -30000, 30000, Red);
    QCOMPARE(pixelsNot(s, White).size(), 20);
  }

  void printing() {
    Surface empty;
    empty.Print("nothing to draw on");
    Surface s;
    s.SetSize(300, 80);
    s.ForeColor = RGB(200, 0, 0);
    s.Font.setPixelSize(24);
    s.CurrentX = 10;
    s.CurrentY = 5;
    s.Print("HIH lll");
    // Ink in shades of the ForeColor, right of and below the drawing
    // position, within one line; the position moves to the next line.
    const QList<QPoint> changed = pixelsNot(s, White);
    QVERIFY(changed.size() > 50);
    int exact = 0;
    for (const QPoint& p : changed) {
      const QRgb c = s.Image().pixel(p);
      QVERIFY(p.x() >= 10 && p.y() >= 5 && p.y() < 5 + 30 && qGreen(c) == qBlue(c) && qRed(c) >= qGreen(c));
      exact += s.Point(p.x(), p.y()) == s.ForeColor;
    }
    QVERIFY(exact > 10);
    QCOMPARE(s.CurrentX, 0.0);
    QVERIFY(s.CurrentY >= 5 + 24 && s.CurrentY < 5 + 40);
  }
};

// Text needs the fonts of a GUI application (offscreen here).
QTEST_MAIN(TestSurface)
#include "test_surface.moc"
