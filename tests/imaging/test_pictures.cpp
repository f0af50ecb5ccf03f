// Pictures from files into Panes and the Background, flipping and
// rescaling, compared pixel for pixel with small models of the sheets.
#include "imaging/Pictures.h"
#include "shell/BoardSizes.h"
#include "support/Fixtures.h"
#include "surface/PictureFile.h"

using namespace qv;

namespace {

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

}  // namespace

class TestPictures : public QObject {
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
};

QTEST_GUILESS_MAIN(TestPictures)
#include "test_pictures.moc"
