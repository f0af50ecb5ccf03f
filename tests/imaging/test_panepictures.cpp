// Pictures with transparency and animations loaded into Panes: the Board
// they give, compared whole with a small model, the Cel grids chosen, and
// the Cels an animated GIF lays out.
#include "imaging/PaneFrames.h"
#include "imaging/Pictures.h"
#include "support/Fixtures.h"
#include "surface/PictureFile.h"

using namespace qv;

namespace {

const QDir Seeds() { return QDir(qEnvironmentVariable("QUORVEL_PICTURE_SEEDS")); }

// A 10 x 10 sticker: a transparent rim one pixel wide, alpha 127 at (2, 2)
// and 128 at (3, 2), opaque pure black at (4, 4), a colour pattern elsewhere.
QImage sticker() {
  QImage img(10, 10, QImage::Format_ARGB32);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool rim = x == 0 || y == 0 || x == 9 || y == 9;
      img.setPixel(x, y, qRgba(20 * x + 5, 200 - 15 * y, 90, rim ? 0 : 255));
    }
  img.setPixel(2, 2, qRgba(250, 250, 0, 127));
  img.setPixel(3, 2, qRgba(250, 250, 0, 128));
  img.setPixel(4, 4, qRgba(0, 0, 0, 255));
  return img;
}

// A session with one Pane (slot 1) at (30, 40), the Target.
struct Session : HeadlessSession {
  explicit Session(int w = 20, int h = 20) {
    AddPane(ws);
    PaneRecord& p = ws.Pane(1);
    p.Left = 30, p.Top = 40, p.Width = Integer(w), p.Height = Integer(h);
    ws.pointer.TargetPane = 1;
  }
  Outcome load(const QString& path) {
    platform.fileAnswers.enqueue(fileChoiceFromPath(path));
    return mnu_LoadsPicture_Click(ws);
  }
};

}  // namespace

class TestPanePictures : public QObject {
  Q_OBJECT
  QTemporaryDir dir;

 private slots:
  // A PNG with transparent pixels, loaded into a Pane of twice its size,
  // turns the Pane's black transparency on: the Board (its colour, or a
  // Background laid over that colour where the Background is itself
  // transparent) shows exactly where the picture's alpha is below half,
  // and its opaque black shows as (1, 1, 1).
  void transparentPictureShowsTheBoard() {
    for (bool background : {false, true}) {
      Session s;
      s.ws.project.BoardSettings.BoardBackColor = RGB(30, 60, 90);
      s.ws.surfaces.picStage.SetBackColor(RGB(30, 60, 90));
      QImage base = boardModel(s.ws.surfaces.picStage.Image().size(), RGB(30, 60, 90), {});
      if (background) {
        QImage back = randomImage(base.width(), base.height(), 7).convertToFormat(QImage::Format_ARGB32);
        // Transparent Background pixels: under the Pane's rim, under its
        // alpha 127 and beside it.
        const QPoint clear[] = {{31, 41}, {34, 44}, {5, 5}};
        for (QPoint c : clear) back.setPixel(c, qRgba(1, 2, 3, 0));
        QVERIFY(back.save(dir.filePath("back.png")));
        s.platform.fileAnswers.enqueue(fileChoiceFromPath(dir.filePath("back.png")));
        QVERIFY(mnu_LoadPicBack_Click(s.ws).succeeded());
        base = back.convertToFormat(QImage::Format_RGB32);
        for (QPoint c : clear) base.setPixel(c, qRgb(30, 60, 90));
      }
      QVERIFY(sticker().save(dir.filePath("sticker.png")));
      const Outcome o = s.load(dir.filePath("sticker.png"));
      QVERIFY2(o.kind() == Outcome::Kind::Done, qPrintable(o.failure().reason));
      QVERIFY(isSet(s.ws.Pane(1).BlackTransparent));
      QImage expected = base;
      for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
          const QRgb c = sticker().pixel(x / 2, y / 2);
          if (qAlpha(c) >= 128) expected.setPixel(30 + x, 40 + y, (c & 0xFFFFFF) ? c : qRgb(1, 1, 1));
        }
      QCOMPARE(s.ws.surfaces.picStage.Image(), expected);
    }
  }

  // The grid an animation gets: the fewest Cels that hold its frames, the
  // frames shown largest, squarest, widest; a Cel keeps the frame's shape
  // within the 200 x 200 cell and the Pane is at least 20 a side. And the
  // Cel delay in run-loop frames of 30 ms from the frames' delays in ms.
  void celGridsAndDelays() {
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/celgrids.txt"), 8)) {
      const CelGrid got = ChooseCelGrid(c[0], {c[1], c[2]});
      QCOMPARE(QList<int>({got.across, got.down, got.cel.width(), got.cel.height()}), c.mid(3));
    }
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/celdelays.txt"), 5))
      QCOMPARE(int(CelDelayFor(QVector<int>(c.begin() + 1, c.end()))), c[0]);
  }

  // The four frames of animation.gif become the Pane's 2 x 2 Cels in
  // reading order, 10 x 10 each; the first frame's transparent corner cuts
  // the mask; the Pane plays every 8 run-loop frames.
  void animationBecomesCels() {
    Session s(150, 150);
    const Outcome o = s.load(Seeds().filePath("animation.gif"));
    QVERIFY2(o.kind() == Outcome::Kind::Done, qPrintable(o.failure().reason));
    const PaneRecord& p = s.ws.Pane(1);
    QCOMPARE(QList<int>({p.Width, p.Height, p.CelsAcross, p.CelsDown, p.CelCount, p.CelWidth, p.CelHeight, p.CelDelay}),
             QList<int>({20, 20, 2, 2, 4, 10, 10, 8}));
    QVERIFY(isSet(p.BlackTransparent) && p.Label == "animation");
    QCOMPARE(s.ws.win.Shape1[0].Width, 20);  // the Target's box too
    const Long r = RGB(255, 0, 0), g = RGB(0, 255, 0), b = RGB(0, 0, 255);
    // 8 pixels to 10, each from the source pixel nearest its centre.
    QCOMPARE(sheetBlock(s.ws, 1),
             boardModel({20, 20}, Black, {{{0, 0, 10, 10}, r}, {{0, 0, 2, 2}, Black}, {{10, 0, 10, 10}, g},
                                          {{0, 10, 10, 10}, b}, {{10, 10, 10, 5}, r}, {{10, 15, 10, 5}, g}}));
    QCOMPARE(sheetBlock(s.ws, 1, true), boardModel({20, 20}, Black, {{{0, 0, 2, 2}, White}}));
  }

  // Seven frames fill 4 x 2 Cels, the last Cel repeating the last frame; of
  // 27 frames the first 25 fill 5 x 5 and a warning says 2 were left out.
  // Frame k is solid red, green or blue by k mod 3; neither has a
  // transparent pixel, so black transparency stays off.
  void longAnimations() {
    const Long colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (const auto& [name, across, down, frames] :
         {std::tuple{"animation-7.gif", 4, 2, 7}, std::tuple{"animation-27.gif", 5, 5, 25}}) {
      Session s;
      const Outcome o = s.load(Seeds().filePath(name));
      QVERIFY(o.succeeded());
      QCOMPARE(o.warnings().size(), frames == 25 ? 1 : 0);
      if (frames == 25) QVERIFY(o.warnings()[0].reason.contains("27 frames") && o.warnings()[0].reason.contains("last 2"));
      const PaneRecord& p = s.ws.Pane(1);
      QCOMPARE(QList<int>({p.CelsAcross, p.CelsDown, p.CelCount}), QList<int>({across, down, across * down}));
      QVERIFY(!isSet(p.BlackTransparent));
      const QImage block = sheetBlock(s.ws, 1);
      for (int k = 0; k < across * down; ++k)
        QCOMPARE(px(block, k % across * p.CelWidth + 1, k / across * p.CelHeight + 1), colours[std::min(k, frames - 1) % 3]);
    }
  }
};

QTEST_GUILESS_MAIN(TestPanePictures)
#include "test_panepictures.moc"
