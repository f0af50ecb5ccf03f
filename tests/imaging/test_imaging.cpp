// The sprite and mask sheets (cells, Cel sizes, masks), Board redraws (full,
// layered drag, floating drag) compared whole with a model, the hover test
// and mirroring blocks. Pictures from files into Panes and the Background,
// flipping and rescaling, compared pixel for pixel with small models of the
// sheets; then pictures with transparency and animations loaded into Panes:
// the Board they give, compared whole with a small model, the Cel grids
// chosen, and the Cels an animated GIF lays out.
#include "imaging/Flip.h"
#include "imaging/PaneFrames.h"
#include "imaging/Pictures.h"
#include "shell/BoardSizes.h"
#include "support/Fixtures.h"
#include "surface/PictureFile.h"

using namespace qv;

namespace {

const QSize Board(800, 600);

QString hoverAt(Workspace& ws, double x, int y) {
  ws.pointer.MouseX = x;
  ws.pointer.MouseY = Integer(y);
  HoverPaneAt(ws);
  return isSet(ws.pointer.HoverFound) ? ws.win.Lab_Readouts : QString();
}

// A picture whose every pixel differs from its neighbours, with some true
// black in it so masks have something to cut.
QImage pattern(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, (x + y) % 7 == 0 ? qRgb(0, 0, 0) : qRgb(x * 5 % 256, y * 3 % 256, 90));
  return img;
}

// The mask a picture without white gets: true black white, every other
// colour black.
QImage maskOf(QImage m) {
  for (int y = 0; y < m.height(); ++y)
    for (int x = 0; x < m.width(); ++x) m.setPixel(x, y, (m.pixel(x, y) & 0xFFFFFF) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  return m;
}

// A session with Panes in slots 1..n, slot `target` the Target.
struct Session : HeadlessSession {
  explicit Session(int panes, int target) {
    for (int i = 0; i < panes; ++i) AddPane(ws);
    ws.pointer.TargetPane = Integer(target);
    ws.pointer.CurrentPane = target;
  }
  void choose(const QString& path) { platform.fileAnswers.enqueue(fileChoiceFromPath(path)); }
};


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

// A session with one Pane (slot 1) at (30, 40), the Target, of the given size.
struct OnePane : HeadlessSession {
  explicit OnePane(int w = 20, int h = 20) {
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

class TestImaging : public QObject {
  Q_OBJECT
  QTemporaryDir dir;

 private slots:
  void paneTakesAPictureSqueezedToItsSize() {
    Session s(5, 4);
    const QImage photo = pattern(640, 480);
    QVERIFY(photo.save(dir.filePath("photo.jpeg"), "JPEG", 100));
    s.choose(dir.filePath("photo.jpeg"));
    QVERIFY(mnu_LoadsPicture_Click(s.ws).succeeded());
    const PaneRecord& p = s.ws.project.PaneTable[4];
    QVERIFY(p.Label == "photo" && p.PictureName == "photo.bmp" && isSet(p.PictureLoaded));
    // A name is a title without its extension, if it has one; the dialog
    // lists every extension the readers take, in either case.
    QStringList names;
    for (const char* title : {"a.png", ".png", "Sky.jpg.BMP", "plain", "Mr. Smith"}) names << ShortPictureName(title);
    QCOMPARE(names.join('|'), QString("a|.png|Sky.jpg|plain|Mr. Smith"));
    for (const QString e : {"bmp", "jpg", "jpeg", "gif", "png"})
      QVERIFY(PictureFilter.section('|', 1).split(';').contains("*." + e) &&
              PictureFilter.section('|', 1).split(';').contains("*." + e.toUpper()));
    // The entry of slot 4 moved to the end with its new Label.
    QCOMPARE(s.ws.project.List_Zorder.mid(3), (QVector<ZorderEntry>{{"05.bmp", 5}, {"photo", 4}}));
    // The decoded file squeezed to 100 x 100, nearest pixel, into the cell.
    QImage expected(100, 100, QImage::Format_RGB32);
    PaintPicture(expected, LoadPicture(dir.filePath("photo.jpeg")).image, 0, 0, 100, 100);
    QCOMPARE(sheetBlock(s.ws, 4), expected);
    QVERIFY(picResizeAtRest(s.ws) && !s.ws.win.Shape1[1].Visible);
  }

  void transparentPaneGetsItsMaskAndFlipsWithIt() {
    for (bool transparent : {false, true}) {
      Session s(2, 2);
      const PaneRecord& p = setFields(s.ws.Pane(2), QString("BlackTransparent=%1 Width=60 Height=40").arg(toFlag(transparent)));
      const QImage pic = pattern(60, 40);
      QVERIFY(pic.save(dir.filePath("p.bmp")));
      s.choose(dir.filePath("p.bmp"));
      QImage sprites = s.ws.project.picSprites.Image().copy(), masks = s.ws.project.picMasks.Image().copy();
      QVERIFY(OpenPictureFile(s.ws, PictureTarget::Pane, 2).succeeded());
      // Flip horizontally, then vertically: only the picture's part of the
      // cell changes, the mask only for a Transparent Pane.
      FlipTargetPane(s.ws, MirrorAxis::LeftRight);
      QCOMPARE(sheetBlock(s.ws, 2), pic.mirrored(true, false));
      FlipTargetPane(s.ws, MirrorAxis::TopBottom);
      BitBlt(sprites, p.SheetX, p.SheetY, 60, 40, pic.mirrored(true, true), 0, 0, RasterOp::SRCCOPY);
      if (transparent) BitBlt(masks, p.SheetX, p.SheetY, 60, 40, maskOf(pic).mirrored(true, true), 0, 0, RasterOp::SRCCOPY);
      QCOMPARE(s.ws.project.picSprites.Image(), sprites);
      QCOMPARE(s.ws.project.picMasks.Image(), masks);
      QVERIFY(picResizeAtRest(s.ws));
    }
  }

  void rescaleStretchesAndKeepsWhatShrinkingLost() {
    Session s(1, 1);
    PaneRecord& p = s.ws.project.PaneTable[1];
    const QImage pic = pattern(100, 100);
    BitBlt(s.ws.project.picSprites.Image(), 0, 0, 100, 100, pic, 0, 0, RasterOp::SRCCOPY);
    setFields(p, "BlackTransparent=-1 Width=50 Height=200");
    RescalePane(s.ws, 1, 100, 100);
    QImage tall(50, 200, QImage::Format_RGB32);
    PaintPicture(tall, pic, 0, 0, 50, 200);
    QCOMPARE(sheetBlock(s.ws, 1), tall);
    QCOMPARE(sheetBlock(s.ws, 1, true), maskOf(tall));
    p.Width = p.Height = 100;
    RescalePane(s.ws, 1, 50, 200);
    QImage back(100, 100, QImage::Format_RGB32);
    PaintPicture(back, tall, 0, 0, 100, 100);
    QCOMPARE(sheetBlock(s.ws, 1), back);
    QVERIFY(picResizeAtRest(s.ws));
  }

  void backgroundFromAFile() {
    Session s(0, 0);
    Combo_Board_Click(s.ws, 1);
    LayoutMainWindow(s.ws);
    QVERIFY(pattern(100, 50).save(dir.filePath("sky.bmp")));
    // Cancelled with no Background ever chosen: none in use.
    QVERIFY(mnu_LoadPicBack_Click(s.ws).wasCancelled() && s.ws.project.BoardSettings.BackPictureName == "none" &&
            !isSet(s.ws.project.BoardSettings.UseBackPicture));
    s.choose(dir.filePath("sky.bmp"));
    QVERIFY(mnu_LoadPicBack_Click(s.ws).succeeded());
    const BoardSettingsRecord& b = s.ws.project.BoardSettings;
    QCOMPARE((QStringList{b.BackPictureName, b.BackPicturePath, s.ws.dialogs.board.Text_BackPicture.Text}),
             (QStringList{"sky.bmp", dir.filePath("sky.bmp"), dir.filePath("sky.bmp")}));
    QVERIFY(isSet(b.UseBackPicture) && s.ws.dialogs.board.Option_UseBackPicture == 1 && s.ws.win.menuEnabled(Command::BoardCompositePanes));
    QImage expected(640, 480, QImage::Format_RGB32);
    PaintPicture(expected, pattern(100, 50), 0, 0, 640, 480);
    // Stretched to the Board's 640 x 480, and shown at once.
    QVERIFY(s.ws.project.picBackground.Picture() == expected && s.ws.project.picBackground.Image() == expected);
    QCOMPARE(s.ws.surfaces.picStage.Image(), expected);
    QVERIFY(picResizeAtRest(s.ws));
    // Cancelled later: the earlier Background is loaded again.
    QVERIFY(mnu_LoadPicBack_Click(s.ws).wasCancelled() && isSet(b.UseBackPicture));
  }

  void badPicturesChangeNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    // (Why each is refused is in the picture file tests.)
    QTest::newRow("cut short") << EncodeBmp24(pattern(50, 50)).left(3000) << "cut.bmp";
    QTest::newRow("empty") << QByteArray() << "empty.jpg";
    QTest::newRow("short title") << QByteArray("x") << "a.b";
  }

  void badPicturesChangeNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    const QString path = dir.filePath(name);
    QVERIFY(writeFile(path, bytes));
    // The Pane: nothing changes; the outcome names the file.
    Session s(2, 1);
    const auto before = s.ws.project.PaneTable;
    const QImage sprites = s.ws.project.picSprites.Image();
    s.choose(path);
    const Outcome o = FastIconLoadPicture(s.ws);
    QVERIFY(o.hasFailed() && o.failure().file == path && s.ws.project.PaneTable == before);
    QCOMPARE(s.ws.project.picSprites.Image(), sprites);
    // The Background: the fixed message, the file and reason below it, and
    // the settings as the dialog set them.
    s.choose(path);
    QVERIFY(RunCommand(s.ws, Command::LoadPicBack).hasFailed());
    QCOMPARE(s.platform.calls("ShowMessage|Quorvel|Vorpex report : Couldn't load Background ... didn't find it.|" + path).size(), 1);
    QCOMPARE((QStringList{s.ws.project.BoardSettings.BackPicturePath, s.ws.project.BoardSettings.BackPictureName}),
             (QStringList{path, name.section('.', 0, 0) + ".bmp"}));
    QVERIFY(picResizeAtRest(s.ws));
  }

  // A PNG with transparent pixels, loaded into a Pane of twice its size,
  // turns the Pane's black transparency on: the Board (its colour, or a
  // Background laid over that colour where the Background is itself
  // transparent) shows exactly where the picture's alpha is below half,
  // and its opaque black shows as (1, 1, 1).
  void transparentPictureShowsTheBoard() {
    QImage opaqueEnough(1, 1, QImage::Format_ARGB32);  // alpha 128 is not below half
    opaqueEnough.fill(qRgba(9, 9, 9, 128));
    QVERIFY(!HasTransparentPixels(opaqueEnough));
    for (bool background : {false, true}) {
      OnePane s;
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
    OnePane s(150, 150);
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
      OnePane s;
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

  void cellsCelSizesAndMasks() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    // (Cell origins and freed cells show in the Add and Remove tests.)
    ws.Pane(0).SheetX = 7;
    AssignSheetSlot(ws, 0);  // slot 0 has no cell
    QCOMPARE(ws.Pane(0).SheetX, Integer(7));
    // Cel sizes (data/celsizes.txt): nearest integer, halves to the even neighbour.
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/celsizes.txt"), 13))
      QCOMPARE(QList<int>({c[0], c[1], CelSize(c[0], c[1])}), c);
    // Slot 7's cell is at (200, 200). Its used 70 x 30 area holds, column by
    // column: true black, white, grey, RGB(0,0,1), RGB(1,0,0), RGB(0,1,0),
    // near-white; black fills the rest of the cell.
    const Long cols[] = {Black, White, RGB(128, 128, 128), RGB(0, 0, 1), RGB(1, 0, 0), RGB(0, 1, 0), RGB(255, 255, 254)};
    const Long want[] = {White, White, Black, Black, Black, Black, Black};
    placeSolid(ws, 7, 10, 10, 70, 30, Black);
    fill(ws.project.picSprites.Image(), 200, 200, 200, 200, Black);
    for (int i = 0; i < 7; ++i) fill(ws.project.picSprites.Image(), 200 + 10 * i, 200, 10, 30, cols[i]);
    ws.project.picMasks.Image().fill(toQRgb(Purple));
    const QImage spritesBefore = ws.project.picSprites.Image().copy();
    BuildPaneMask(ws, 7);
    QImage mask = boardModel({SheetWidth, SheetHeight}, Purple, {});
    for (int i = 0; i < 7; ++i) fill(mask, 200 + 10 * i, 200, 10, 30, want[i]);
    QCOMPARE(ws.project.picMasks.Image(), mask);
    QCOMPARE(ws.project.picMasks.Picture(), mask);
    QCOMPARE(ws.project.picSprites.Image(), spritesBefore);
    QVERIFY(picResizeAtRest(ws));
    QCOMPARE(ws.surfaces.picStage.Pointer, MousePointer::Arrow);
  }

  void redraw() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 7, 150, 150, 100, 100, Blue);
    placeSolid(ws, 2, 100, 100, 100, 100, Red);
    placeSolid(ws, 3, 300, 300, 100, 100, Black);
    makeCels(ws, 3, 2, 2, 0, {Red, Blue, Green, Yellow});
    placeSolid(ws, 4, 500, 100, 50, 50, Green).InUse = QvFalse;
    ws.pointer.CurrentPane = 9;
    RedrawBoard(ws);
    QCOMPARE(ws.pointer.CurrentPane, 1);
    // From slot 50 down: slot 2 over slot 7; slot 3 shows only its first Cel.
    QCOMPARE(ws.surfaces.picStage.Image(), boardModel(Board, Grey, {{{150, 150, 100, 100}, Blue}, {{300, 300, 50, 50}, Red},
                                                                    {{100, 100, 100, 100}, Red}}));
    // A moved Pane leaves no trace; only exactly True uses the Background.
    ws.Pane(2).Left = 500;
    const QImage back = randomImage(800, 600, 4);
    ws.project.picBackground.SetPicture(back);
    ws.project.BoardSettings.UseBackPicture = 1;
    RedrawBoard(ws);
    QCOMPARE(ws.surfaces.picStage.Image(), boardModel(Board, Grey, {{{150, 150, 100, 100}, Blue}, {{300, 300, 50, 50}, Red},
                                                                    {{500, 100, 100, 100}, Red}}));
    // On the Background, Transparent slot 7 lets it through its black half.
    fill(ws.project.picSprites.Image(), ws.Pane(7).SheetX, ws.Pane(7).SheetY, 50, 100, Black);
    ws.Pane(7).BlackTransparent = QvTrue;
    BuildPaneMask(ws, 7);
    ws.project.BoardSettings.UseBackPicture = QvTrue;
    RedrawBoard(ws);
    QImage onBack = back.copy();
    for (const auto& [r, c] : {std::pair{QRect(200, 150, 50, 100), Blue}, std::pair{QRect(300, 300, 50, 50), Red},
                               std::pair{QRect(500, 100, 100, 100), Red}})
      fill(onBack, r.x(), r.y(), r.width(), r.height(), c);
    QCOMPARE(ws.surfaces.picStage.Image(), onBack);
  }

  void drags() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 1, 100, 100, 200, 200, Red);
    placeSolid(ws, 4, 500, 400, 100, 100, Blue);
    ws.pointer.MouseX = 250.4;
    ws.pointer.MouseY = 250;
    // Layered: the dragged Pane at the pointer, still behind slot 1; nothing
    // at its unchanged table place. With Cels only the first is drawn.
    RedrawBoardDrag(ws);
    QCOMPARE(ws.surfaces.picStage.Image(), boardModel(Board, Grey, {{{250, 250, 100, 100}, Blue}, {{100, 100, 200, 200}, Red}}));
    QVERIFY(ws.Pane(4).Left == 500 && ws.pointer.CurrentPane == 4);
    makeCels(ws, 4, 2, 2, 0, {Green, Yellow, Purple, Blue});
    ws.pointer.MouseX = 400;
    ws.pointer.MouseY = 400;
    RedrawBoardDrag(ws);
    QCOMPARE(ws.surfaces.picStage.Image(), boardModel(Board, Grey, {{{400, 400, 50, 50}, Green}, {{100, 100, 200, 200}, Red}}));
    ws.pointer.MouseX = 250.4;
    ws.pointer.MouseY = 250;
    // Floating: every Pane with its whole Cel grid, the dragged one above
    // all; afterwards the slot is in use again and entry 0 is free.
    RedrawBoardDragFloat(ws);
    QCOMPARE(ws.surfaces.picStage.Image(),
             boardModel(Board, Grey, {{{100, 100, 200, 200}, Red}, {{250, 250, 50, 50}, Green}, {{300, 250, 50, 50}, Yellow},
                                      {{250, 300, 50, 50}, Purple}, {{300, 300, 50, 50}, Blue}}));
    QVERIFY(isSet(ws.Pane(4).InUse) && !isSet(ws.Pane(0).InUse) && ws.pointer.CurrentPane == 4);
    // A Transparent dragged Pane keeps its mask: black shows slot 1 through.
    fill(ws.project.picSprites.Image(), ws.Pane(4).SheetX, ws.Pane(4).SheetY, 50, 50, Black);
    ws.Pane(4).BlackTransparent = QvTrue;
    BuildPaneMask(ws, 4);
    RedrawBoardDragFloat(ws);
    QCOMPARE(ws.surfaces.picStage.Image(),
             boardModel(Board, Grey, {{{100, 100, 200, 200}, Red}, {{300, 250, 50, 50}, Yellow},
                                      {{250, 300, 50, 50}, Purple}, {{300, 300, 50, 50}, Blue}}));
  }

  // The pointer's place and the slot found there are in data/hover.txt.
  void hoverInDesign_data() {
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<int>("slot");
    for (const QByteArray& row : dataRows(QFINDTESTDATA("data/hover.txt"), 12)) {
      const QList<QByteArray> f = row.split(',');
      QTest::newRow(row) << QPointF(f[0].toFloat(), f[1].toFloat()) << f[2].trimmed().toInt();
    }
  }

  void hoverInDesign() {
    QFETCH(QPointF, at);
    QFETCH(int, slot);
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 3, 50, 50, 100, 100, Red).Visible = QvFalse;
    placeSolid(ws, 5, 300, 300, 100, 100, Red);
    placeSolid(ws, 2, 350, 350, 100, 100, Blue);
    makeCels(ws, 2, 2, 2);
    ws.pointer.CurrentPane = 9;
    // The readout carries the Pane's place, not the pointer's; the hover box
    // covers the whole used area.
    const QString found = hoverAt(ws, at.x(), int(at.y()));
    if (!slot) {
      QVERIFY(found.isEmpty() && ws.pointer.CurrentPane == 9 && ws.win.Lab_Readouts == IdleReadout);
      return;
    }
    const PaneRecord& p = ws.Pane(slot);
    QCOMPARE(found, QStringLiteral("Layer: %1, (x: %2) (y: %3)").arg(slot).arg(p.Left).arg(p.Top));
    QCOMPARE(ws.pointer.CurrentPane, slot);
    QVERIFY(ws.win.Shape1[1].Visible && rectOf(ws.win.Shape1[1]) == QRect(p.Left, p.Top, 100, 100));
  }

  void hoverMenusHourglassAndRunning() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    for (int n = 1; n <= 3; ++n) placeSolid(ws, n, 50, 50, 100, 100, Red);
    // Over nothing with the target box hidden the Target items are greyed;
    // with it shown they stay.
    EnablePaneMenus(ws);
    ws.win.Shape1[0].Visible = true;
    hoverAt(ws, 700, 100);
    QVERIFY(ws.win.menuEnabled(Command::EditPane));
    ws.win.Shape1[0].Visible = false;
    hoverAt(ws, 700, 100);
    QVERIFY(!ws.win.menuEnabled(Command::EditPane) && !ws.win.menuEnabled(Command::RemovePane) && ws.win.menuEnabled(Command::AddCustomPane));
    // Under the hourglass nothing is tested and nothing changes.
    ws.surfaces.picStage.Pointer = MousePointer::Hourglass;
    ws.win.Lab_Readouts = QStringLiteral("busy");
    QVERIFY(hoverAt(ws, 60, 60).isEmpty() && ws.win.Lab_Readouts == "busy");
    // Running (which Pane is found, and its MouseOver, are web.trace's
    // part): the readout names the Pane's run place; the hover box is a
    // Design aid only.
    ws.surfaces.picStage.Pointer = MousePointer::Default;
    ws.RunPaneTable = ws.project.PaneTable;
    ws.RunPane(2).Left = 300;
    ws.RunPane(2).Top = 320;
    ws.run.Running = QvTrue;
    ws.win.Shape1[1] = {0, 0, 0, 0, false, true};
    QCOMPARE(hoverAt(ws, 400, 420), QStringLiteral("Layer: 2, (x: 300) (y: 320)"));
    QVERIFY(!ws.win.Shape1[1].Visible && ws.win.Shape1[1].Left == 0);
  }

  // Mirroring a block against QImage's own mirroring of the clipped block:
  // inside, clipped at every edge, and wholly off the picture on one axis
  // (nothing changes); twice gives the picture back.
  void mirrorBlocks() {
    for (const QList<int>& b : numberRows(QFINDTESTDATA("data/mirror.txt"), 7)) mirrorBlock(QRect(b[0], b[1], b[2], b[3]));
  }

 private:
  void mirrorBlock(const QRect& block) {
    const QImage original = randomImage(64, 40, 7);
    const QRect clipped = block & original.rect();
    for (const MirrorAxis axis : {MirrorAxis::LeftRight, MirrorAxis::TopBottom}) {
      QImage img = original, expected = original;
      if (!clipped.isEmpty())
        BitBlt(expected, clipped.x(), clipped.y(), clipped.width(), clipped.height(),
               original.copy(clipped).mirrored(axis == MirrorAxis::LeftRight, axis == MirrorAxis::TopBottom), 0, 0,
               RasterOp::SRCCOPY);
      MirrorBlock(img, block.x(), block.y(), block.width(), block.height(), axis);
      QCOMPARE(img, expected);
      MirrorBlock(img, block.x(), block.y(), block.width(), block.height(), axis);
      QCOMPARE(img, original);
    }
  }
};

QTEST_GUILESS_MAIN(TestImaging)
#include "test_imaging.moc"
