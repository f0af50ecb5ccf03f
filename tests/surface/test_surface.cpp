// Picture surfaces: picture and image, back colour, pixels, lines and text.
#include "surface/Surface.h"

#include <QRandomGenerator>
#include <QTest>

using namespace qv;

namespace {

QImage randomImage(int w, int h, quint32 seed) {
  QImage img(w, h, QImage::Format_RGB32);
  QRandomGenerator rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, 0xff000000u | (rng.generate() & 0xffffffu));
  return img;
}

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

    // A smaller picture sits at (0, 0); the rest shows the back colour, also
    // where a larger picture and a drawing were before.
    const QImage small = randomImage(20, 10, 1);
    const QImage cover = randomImage(60, 50, 3);
    s.SetPicture(cover);
    s.PSet(45, 35, RGB(7, 7, 7));
    s.SetPicture(small);
    QCOMPARE(s.Width(), 50);
    QCOMPARE(s.Height(), 40);
    QCOMPARE(s.Picture().size(), QSize(20, 10));
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 50; ++x)
        QCOMPARE(s.Point(x, y), x < 20 && y < 10 ? fromQRgb(small.pixel(x, y)) : back);

    // A narrow picture as tall as the surface: the right part is back colour.
    const QImage narrow = randomImage(20, 40, 4);
    s.SetPicture(cover);
    s.SetPicture(narrow);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 50; ++x) QCOMPARE(s.Point(x, y), x < 20 ? fromQRgb(narrow.pixel(x, y)) : back);

    // A larger picture is cut at the surface's size.
    const QImage large = randomImage(80, 60, 2);
    s.SetPicture(large);
    QCOMPARE(s.Image().size(), QSize(50, 40));
    QCOMPARE(s.Image(), large.copy(0, 0, 50, 40));
    QCOMPARE(s.Picture(), large);

    // With AutoSize the surface takes the picture's size, smaller or larger.
    s.AutoSize = true;
    s.SetPicture(small);
    QCOMPARE(s.Image(), small);
    s.SetPicture(large);
    QCOMPARE(s.Image(), large);

    // Emptying the picture leaves the back colour and keeps the size.
    s.ClearPicture();
    QVERIFY(s.Picture().isNull());
    QCOMPARE(s.Image().size(), QSize(80, 60));
    QCOMPARE(pixelsNot(s, back).size(), 0);
    s.SetBackColor(RGB(200, 10, 20));
    QCOMPARE(pixelsNot(s, RGB(200, 10, 20)).size(), 0);

    // Growing keeps what was drawn and fills the new part with the back colour.
    s.PSet(3, 4, RGB(9, 9, 9));
    s.SetSize(100, 70);
    QCOMPARE(s.Point(3, 4), RGB(9, 9, 9));
    QCOMPARE(s.Point(99, 69), RGB(200, 10, 20));
    QCOMPARE(pixelsNot(s, RGB(200, 10, 20)).size(), 1);
    QCOMPARE(s.Image().format(), QImage::Format_RGB32);

    // Pictures of other formats are taken as RGB32.
    QImage argb(4, 4, QImage::Format_ARGB32);
    argb.fill(qRgba(10, 20, 30, 255));
    s.SetPicture(argb);
    QCOMPARE(s.Picture().format(), QImage::Format_RGB32);
    QCOMPARE(s.Point(2, 2), RGB(10, 20, 30));
  }

  void imageBecomesPicture() {
    Surface s;
    s.SetSize(30, 20);
    s.PSet(5, 5, RGB(255, 0, 0));
    s.TakeImageAsPicture();
    s.PSet(6, 6, RGB(0, 255, 0));
    // The taken picture is a value: later drawing does not reach it.
    QCOMPARE(s.Picture().pixel(6, 6), toQRgb(White));
    QCOMPARE(s.Picture().pixel(5, 5), qRgb(255, 0, 0));
    // Repainting from the picture keeps the fixed drawing and drops the rest.
    s.Cls();
    QCOMPARE(s.Point(5, 5), RGB(255, 0, 0));
    QCOMPARE(s.Point(6, 6), White);

    // One surface's drawing assigned to another's picture.
    Surface other;
    other.AutoSize = true;
    other.SetPicture(s.Image());
    QCOMPARE(other.Image(), s.Image());
    s.PSet(7, 7, RGB(0, 0, 255));
    QCOMPARE(other.Point(7, 7), White);
  }

  void pixels() {
    Surface s;
    QCOMPARE(s.Point(0, 0), Long(-1));
    s.PSet(0, 0, RGB(1, 2, 3));  // empty surface: nothing happens
    s.SetSize(10, 8);
    const Long c = RGB(0x12, 0x34, 0x56);
    QCOMPARE(c, Long(0x563412));
    s.PSet(3, 2, c);
    QCOMPARE(s.Point(3, 2), c);
    QCOMPARE(s.Image().pixel(3, 2), qRgb(0x12, 0x34, 0x56));
    for (const Long col : {Black, White, RGB(255, 0, 0), RGB(0, 0, 1), RGB(0xf0, 0x0f, 0xaa)}) {
      s.PSet(9, 7, col);
      QCOMPARE(s.Point(9, 7), col);
    }
    for (const QPoint p : {QPoint(-1, 0), QPoint(0, -1), QPoint(10, 0), QPoint(0, 8), QPoint(10, 8)}) {
      QCOMPARE(s.Point(p.x(), p.y()), Long(-1));
      s.PSet(p.x(), p.y(), Black);
    }
    QCOMPARE(pixelsNot(s, White).size(), 2);
  }

  void lines() {
    Surface s;
    s.SetSize(20, 20);
    const Long red = RGB(255, 0, 0);
    // Horizontal, both directions: the end point is not drawn.
    s.Line(2, 5, 8, 5, red);
    for (int x = 0; x < 20; ++x) QCOMPARE(s.Point(x, 5), x >= 2 && x < 8 ? red : White);
    QCOMPARE(s.CurrentX, 8.0);
    QCOMPARE(s.CurrentY, 5.0);
    s.Cls();
    s.Line(8, 6, 2, 6, red);
    for (int x = 0; x < 20; ++x) QCOMPARE(s.Point(x, 6), x > 2 && x <= 8 ? red : White);
    s.Cls();
    s.Line(4, 1, 4, 9, red);
    for (int y = 0; y < 20; ++y) QCOMPARE(s.Point(4, y), y >= 1 && y < 9 ? red : White);
    QCOMPARE(pixelsNot(s, White).size(), 8);
    // A diagonal takes one pixel per step.
    s.Cls();
    s.Line(0, 0, 5, 5, red);
    QCOMPARE(pixelsNot(s, White), (QList<QPoint>{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}));
    // A steep line is connected: one pixel per row, each next to the last.
    s.Cls();
    s.Line(3, 2, 7, 15, red);
    const QList<QPoint> steep = pixelsNot(s, White);
    QCOMPARE(steep.size(), 13);
    QCOMPARE(steep.first(), QPoint(3, 2));
    for (int k = 1; k < steep.size(); ++k) {
      QCOMPARE(steep[k].y(), steep[k - 1].y() + 1);
      QVERIFY(std::abs(steep[k].x() - steep[k - 1].x()) <= 1);
    }
    QVERIFY(s.Point(7, 15) == White);
    // The four lines of a box leave out only the bottom-right corner.
    s.Cls();
    s.Line(2, 2, 10, 2, red);
    s.Line(2, 2, 2, 8, red);
    s.Line(2, 8, 10, 8, red);
    s.Line(10, 2, 10, 8, red);
    QCOMPARE(pixelsNot(s, White).size(), 2 * 8 + 2 * 6 - 1);
    QCOMPARE(s.Point(10, 8), White);
    // Lines partly or wholly outside draw only what falls inside.
    s.Cls();
    s.Line(-5, 3, 30, 3, red);
    s.Line(-30000, -30000, -30000, 30000, red);
    s.Line(0, 0, 0, 0, red);
    QCOMPARE(pixelsNot(s, White).size(), 20);
  }

  void printing() {
    Surface empty;
    empty.Print("nothing to draw on");

    Surface s;
    s.SetSize(300, 80);
    s.BackColor = White;
    s.Cls();
    s.ForeColor = RGB(200, 0, 0);
    s.Font.setPixelSize(24);
    s.CurrentX = 10;
    s.CurrentY = 5;
    s.Print("HIH lll");
    const QList<QPoint> changed = pixelsNot(s, White);
    QVERIFY(changed.size() > 50);
    int exact = 0;
    for (const QPoint& p : changed) {
      QVERIFY(p.x() >= 10 && p.y() >= 5 && p.y() < 5 + 30);
      const QRgb c = s.Image().pixel(p);
      QVERIFY(qGreen(c) == qBlue(c) && qRed(c) >= qGreen(c));  // shades of the red ink
      exact += s.Point(p.x(), p.y()) == s.ForeColor;
    }
    QVERIFY(exact > 10);
    QCOMPARE(s.CurrentX, 0.0);
    QVERIFY(s.CurrentY >= 5 + 24);
    // The next line starts below the first.
    const double second = s.CurrentY;
    s.Print("H");
    for (const QPoint& p : pixelsNot(s, White))
      if (!changed.contains(p)) QVERIFY(p.y() >= int(second) && p.x() < 30);
    // Text at the bottom edge is cut, not a crash.
    s.CurrentY = 75;
    s.Print("cut off");
  }
};

// Text needs the fonts of a GUI application (offscreen here).
QTEST_MAIN(TestSurface)
#include "test_surface.moc"
