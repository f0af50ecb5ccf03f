// The Board properties dialog driven with real keys and mouse clicks: the
// colours and their swatches, a black Board, the Wire / Float options over
// many openings, and a walk through every help topic and reference.
#include "DialogWindow.h"
#include "app/dialogs/DialogParts.h"
#include "resources/HelpTexts.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRandomGenerator>

using namespace qv;
using namespace qv::testing;

class TestBoardDialog : public QObject {
  Q_OBJECT

 private slots:
  void coloursSwatchesAndABlackBoard() {
    DialogWindow m;
    QList<Long> swatches;
    auto well = [&](const char* name) { swatches << m.get<ColourWell>(name)->colour(); };
    m.open("mnu_EditBoard", [&] {
      m.click("Button_frmBoard_3");  // the colour dialog is cancelled
      well("picSwatch");
      m.choose("Combo_BackColType", 5);
      well("picSwatch");
      m.choose("Combo_BackColType", 3);
      well("picSwatch");
      m.choose("Combo_BackColType", 0);
      well("picSwatch");
      m.platform.colorAnswers.enqueue(RGB(1, 2, 3));
      m.click("picLabelCol");
      well("picLabelCol");
      m.choose("Combo_SelectionColor", 4);
      m.click("Option_BoardMove_0");
      m.click("Button_frmBoard_1");
    });
    QCOMPARE(swatches, QList<Long>({Grey, Grey, RGB(0, 255, 0), Black, RGB(1, 2, 3)}));
    QCOMPARE(m.get<QComboBox>("Combo_LabelCol")->currentText(), QString("Define"));
    const BoardSettingsRecord& b = m.ws.BoardSettings;
    QCOMPARE(QList<Long>({b.BoardBackColor, b.LabelColor, b.SelectionColor}),
             QList<Long>({Black, RGB(1, 2, 3), RGB(0, 0, 255)}));
    QVERIFY(isSet(b.BoardLocked));
    QCOMPARE(m.ws.surfaces.picStage.Image().pixel(600, 400), qRgb(2, 2, 2));
    bool moveNo = false;
    QString picture;
    m.open("mnu_EditBoard", [&] {
      moveNo = m.get<QRadioButton>("Option_BoardMove_0")->isChecked();
      m.platform.fileAnswers.enqueue(fileChoiceFromPath("/pictures/sky.bmp"));
      m.click("Button_frmBoard_2");
      const auto* box = m.get<QLineEdit>("Text_BackPicture");
      picture = box->text() + " " + box->palette().color(QPalette::Text).name();
      QVERIFY(m.get<QRadioButton>("Option_UseBackPicture_1")->isChecked());
    });
    QVERIFY(moveNo);
    QCOMPARE(picture, QString("/pictures/sky.bmp #000000"));
  }

  void wireAndFloatAreNeverBothYes() {
    DialogWindow m;
    QRandomGenerator rng(11);
    const QStringList options = {"Option_WirePanes_0", "Option_WirePanes_1", "Option_FloatPanes_0", "Option_FloatPanes_1"};
    int checks = 0;
    for (int round = 0; round < 8; ++round) {
      m.open("mnu_EditBoard", [&] {
        auto* wireYes = m.get<QRadioButton>("Option_WirePanes_1");
        auto* floatYes = m.get<QRadioButton>("Option_FloatPanes_1");
        for (int i = 0; i < 6; ++i) {
          m.click(options[int(rng.bounded(4))]);
          QVERIFY(!(wireYes->isChecked() && floatYes->isChecked()));
          QCOMPARE(floatYes->isEnabled(), !wireYes->isChecked());
          ++checks;
        }
        m.click(rng.bounded(3) ? "Button_frmBoard_1" : "Button_frmBoard_0");
      });
      QVERIFY(!(isSet(m.ws.BoardSettings.WirePanes) && isSet(m.ws.BoardSettings.FloatPanes)));
    }
    QCOMPARE(checks, 48);
  }

  void everyHelpReferenceShowsItsText() {
    DialogWindow m;
    const int references[25] = {0, 5, 3, 5, 1, 5, 1, 3, 2, 2, 1, 2, 3, 1, 3, 1, 1, 1, 1, 3, 1, 1, 8, 9, 1};
    QStringList opened, ids, words;
    m.open("mnu_Help", [&] {
      opened << QString::number(m.get<QDialog>("frmBoard")->findChild<QTabWidget*>("SSTab1")->currentIndex())
             << m.get<QDialog>("frmBoard")->findChild<QLabel*>("Label1")->text();
      auto* list = m.get<QListWidget>("List_Help");
      auto* text = m.get<QPlainTextEdit>("Text_Help");
      for (int topic = 1; topic <= 24; ++topic) {
        m.choose("Combo_Help", topic);
        QCOMPARE(list->count(), references[topic]);
        for (int pos = 0; pos < list->count(); ++pos) {
          QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(pos)).center());
          const int id = 100 + 10 * topic + pos;
          QVERIFY2(!text->toPlainText().isEmpty() && text->toPlainText() == LoadResString(id), qPrintable(QString::number(id)));
          ids << QString::number(id);
          if (id == 132 || id == 320 || id == 327 || id == 210) words << list->item(pos)->text() + ": " + text->toPlainText();
        }
      }
      m.choose("Combo_Help", 0);
      opened << QString::number(list->count()) << text->toPlainText();
    });
    QCOMPARE(opened, QStringList({"0", "Select a Topic, then select a Reference.", "0", LoadResString(340)}));
    QCOMPARE(ids.size(), 64);
    QCOMPARE(ids.first(), QString("110"));
    QCOMPARE(ids.last(), QString("340"));
    QCOMPARE(words, QStringList({
        "Width, Height: Up to 200 Max Width, Height of a Pane, and at least 20 Min Width, Height in pixels.",
        "Flip Horizontal: Flip the original Pane Horizontally.",
        "Width, Height: Width and Height of a Text container may be Min : 20 x 20, Width and Height. Max : 200 x "
        "200, Width and Height.",
        "Background: Either choose pre-Defined colors or click Define to bring up the Color Dialog (Background "
        "Color).",
    }));
  }
};

QTEST_MAIN(TestBoardDialog)
#include "test_boarddialog.moc"
