// The Pane record's field table and the Flag rule.
#include "shell/Workspace.h"

#include <QtTest>

using namespace qv;

class PaneRecordTest : public QObject {
  Q_OBJECT
 private slots:
  void fieldTableKeepsDeclaredOrderAndKinds();
  void onlyMinusOneIsSet();
};

void PaneRecordTest::fieldTableKeepsDeclaredOrderAndKinds() {
  const QStringList expected = QString(
      "InUse Left Top Width Height BlackTransparent SheetX SheetY UseWriting WritingText "
      "WritingFontName WritingForeColor WritingBackColor WritingFontSize WritingBold WritingItalic "
      "WritingUnderline WritingMode WritingWidth WritingHeight Sound PictureLoaded PictureName UseURL "
      "URL Process StartValue ProcessAmount Value Layer EffectType EffectDuration Flashing MouseEffect "
      "Visible RevealPane RevealValue CelWidth CelHeight CelsAcross CelsDown CelDelay CelDelayCount "
      "CelCount CelColumn CelRow FlipOnBounds Label FlipCode Direction Collision MoveType Speed "
      "MoveDelay MoveDelayCount CelWrapFlag LifeStartValue LifeEndValue MouseOver SpareFlag")
                                  .split(' ');
  QCOMPARE(int(PaneFields().size()), 60);
  for (int i = 0; i < 60; ++i) QCOMPARE(QString(PaneFields()[size_t(i)].name), expected[i]);

  // Each accessor reaches its own member: write distinct values through the
  // table and read them back by name.
  PaneRecord r;
  int k = 1;
  for (const PaneField& f : PaneFields()) {
    if (f.kind == FieldKind::Text) f.text(r) = QString::number(k);
    else f.setNumber(r, k);
    ++k;
  }
  QCOMPARE(r.InUse, Flag(1));
  QCOMPARE(r.WritingForeColor, Long(12));
  QCOMPARE(r.Sound, Long(21));
  QCOMPARE(r.Label, QString("48"));
  QCOMPARE(r.SpareFlag, Flag(60));
  QCOMPARE(PaneFieldByName("Sound")->kind, FieldKind::Long);
  QCOMPARE(PaneFieldByName("Flashing")->kind, FieldKind::Flag);
  QCOMPARE(PaneFieldByName("Nope"), nullptr);
  QCOMPARE(sizeof(r.Left), size_t(2));
  QCOMPARE(sizeof(r.Sound), size_t(4));
}

void PaneRecordTest::onlyMinusOneIsSet() {
  QVERIFY(isSet(QvTrue));
  QVERIFY(!isSet(QvFalse));
  QVERIFY(!isSet(1));
  QVERIFY(!isSet(-2));
  QCOMPARE(RGB(255, 0, 0), Long(255));
  QCOMPARE(RGB(184, 184, 184), Long(12105912));
  QCOMPARE(fromQRgb(toQRgb(RGB(1, 2, 3))), RGB(1, 2, 3));
}

QTEST_GUILESS_MAIN(PaneRecordTest)
#include "test_panerecord.moc"
