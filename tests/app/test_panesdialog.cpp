// The Pane properties dialog driven with real keys and mouse clicks: the
// numeric boxes' filter and clamp for typing and pasting, Popular Values,
// accept and cancel, Resize's tab and caption, the Writing box's look, its
// unedited line ends and the colour choices.
#include "DialogWindow.h"
#include "app/dialogs/DialogParts.h"

#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>

using namespace qv;
using namespace qv::testing;

class TestPanesDialog : public QObject {
  Q_OBJECT

 private slots:
  void numericBoxesFilterTypedAndPastedText_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("shown");
    QTest::newRow("width clamps") << 10 << "250" << false << "200";
    QTest::newRow("lifespan 0 types 1") << 1 << "10" << false << "11";
    QTest::newRow("speed refuses 4..9") << 3 << "82" << false << "2";
    QTest::newRow("letters, leading zero") << 0 << "a07" << false << "7";
    QTest::newRow("pasted 5x7") << 10 << "5x7" << true << "57";
    QTest::newRow("pasted into cels") << 7 << "5x7" << true << "5";
    QTest::newRow("pasted 0 in lifespan") << 2 << "0x" << true << "1";
  }
  void numericBoxesFilterTypedAndPastedText() {
    QFETCH(int, box);
    QFETCH(QString, keys);
    QFETCH(bool, paste);
    QFETCH(QString, shown);
    DialogWindow m;
    const QString name = QStringLiteral("Text_Val_%1").arg(box);
    m.open("mnu_EditPane", [&] {
      m.type(name, paste ? QString() : keys);
      if (paste) {
        QGuiApplication::clipboard()->setText(keys);
        QTest::keyClick(m.get(name), Qt::Key_V, Qt::ControlModifier);
      }
      QCOMPARE(m.text(name), shown);
      QCOMPARE(m.ws.dialogs.panes.Text_Val[size_t(box)].Text, shown);
    });
    const int maxLength[ValBoxCount] = {2, 2, 2, 1, 1, 2, 2, 1, 1, 3, 3, 2, 1, 3, 3, 2};
    for (int k = 0; k < ValBoxCount; ++k)
      QCOMPARE(m.get<QLineEdit>(QStringLiteral("Text_Val_%1").arg(k))->maxLength(), maxLength[k]);
    QVERIFY(!m.get("Text_Val_5")->isEnabled());
  }

  void popularValuesGoIntoTheRightClickedBox_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<int>("item");  // -1: the menu is closed with Esc
    QTest::addColumn<QString>("shown");
    QTest::newRow("width") << 10 << "111111" << 75 << "75";
    QTest::newRow("cels") << 7 << "100000" << 5 << "5";
    QTest::newRow("speed") << 3 << "000000" << -1 << "1";
  }
  void popularValuesGoIntoTheRightClickedBox() {
    QFETCH(int, box);
    QFETCH(QString, enabled);
    QFETCH(int, item);
    QFETCH(QString, shown);
    DialogWindow m;
    const QString name = QStringLiteral("Text_Val_%1").arg(box);
    m.open("mnu_EditPane", [&] {
      QTest::mouseClick(m.reveal(name), Qt::RightButton);
      auto* menu = m.get<QMenu>("mnuPopularValues");
      QVERIFY(menu->isVisible());
      QString got;
      for (QAction* a : menu->actions()) got += a->isEnabled() ? "1" : "0";
      QCOMPARE(got, enabled);
      if (item < 0) {
        QTest::keyClick(menu, Qt::Key_Escape);
      } else {
        auto* a = menu->findChild<QAction*>(QStringLiteral("mnuPopularValues_%1").arg(item));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
      }
      QCOMPARE(m.text(name), shown);
      // Every item puts in the value its caption shows.
      for (QAction* a : menu->actions()) {
        if (!a->isEnabled()) continue;
        QTest::mouseClick(m.get(name), Qt::RightButton);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
        QCOMPARE(m.text(name), QString::number(a->text().toInt()));
      }
    });
  }

  void cancelKeepsThePaneAndTheControlsUntilTheNextOpening() {
    DialogWindow m;
    m.open("mnu_EditPane", [&] {
      m.type("Text_Val_10", "150");
      m.type("Text_Val_0", "");
      m.click("Button_frmPanes_0");
    });
    QCOMPARE(m.pane().Width, Integer(100));
    QCOMPARE(m.pane().StartValue, Integer(20));
    QCOMPARE(m.text("Text_Val_10"), QString("150"));
    QString reloaded;
    QStringList colours;  // red or black: the URL, Start Value, Process Amount
    auto textColours = [&](QStringList names) {
      for (const QString& n : names) colours << m.get(n)->palette().color(QPalette::Text).name();
    };
    m.open("mnu_EditPane", [&] {
      reloaded = m.text("Text_Val_10");
      m.type("Text_Label", QString("a") + QChar(0xCE) + "b");
      m.click("Option_UseURL_1");
      m.choose("Combo_ValueType", 2);
      textColours({"Text_URL", "Text_Val_0", "Text_Val_6"});
      m.click("Option_UseURL_0");
      m.choose("Combo_ValueType", 0);
      textColours({"Text_URL", "Text_Val_0", "Text_Val_6"});
      m.type("Text_Val_10", "50");
      m.type("Text_Val_8", "4");
      m.type("Text_Val_0", "");
      m.choose("Combo_EffectType", 1);
      m.type("Text_Val_12", "2");
      m.choose("Combo_EffectType", 0);
      m.choose("Combo_AnimationType", 5);
      m.click("Button_frmPanes_1");
    });
    QCOMPARE(reloaded, QString("100"));
    QCOMPARE(colours, QStringList({"#000000", "#000000", "#000000", "#ff0000", "#ff0000", "#ff0000"}));
    QCOMPARE(m.pane().Label, QString("ab"));
    const PaneRecord& p = m.pane();
    QCOMPARE(QList<int>({p.Width, p.CelsAcross, p.CelWidth, p.StartValue, p.EffectType, p.EffectDuration}),
             QList<int>({50, 4, 12, 1, 0, 0}));
    QCOMPARE(QList<int>({p.MoveType, p.Direction, p.FlipCode}), QList<int>({5, 5, 1}));
    QVERIFY(!m.get<QDialog>("frmPanes")->isVisible());
  }

  void resizeShowsTheAssignedTabAndOnlyTheMenuSetsTheCaption() {
    DialogWindow m;
    m.open("mnu_EditPane", [&] {
      m.reveal("Text_URL");
      m.click("Button_frmPanes_0");
    });
    m.w.runMenu("mnu_AddCustomPane");
    m.pane(2).Left = 300;
    auto* dialog = m.get<QDialog>("frmPanes");
    auto* tabs = dialog->findChild<QTabWidget*>("SSTab1");
    QStringList seen;
    auto look = [&] {
      seen << dialog->windowTitle() << QString::number(tabs->currentIndex()) << dialog->findChild<QLabel*>("Label1")->text()
           << m.text("Text_Val_10");
    };
    // Pane 2's Fast Icons show when the pointer is at its lower left.
    QMouseEvent move(QEvent::MouseMove, QPointF(305, 145), m.get("picStage")->mapToGlobal(QPointF(305, 145)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m.get("picStage"), &move);
    m.open([&] { QTest::mouseClick(m.get("Img_FastIcons_1"), Qt::LeftButton); }, [&] {
      look();
      m.click("Button_frmPanes_0");
    });
    m.open("mnu_ResizePane", [&] {
      look();
      m.click("Button_frmPanes_0");
    });
    const QString sizes = "Constants which change the properties of a Pane.";
    QCOMPARE(seen, QStringList({"Pane : Properties - Layer 1", "1", sizes, "100",  //
                                "Pane : Properties - Layer 2", "1", sizes, "100"}));
    QCOMPARE(m.ws.pointer.TargetPane, Integer(2));
  }

  void writingKeepsUneditedLineEndsAndShowsItsLook() {
    DialogWindow m;
    PaneRecord& p = m.pane();
    p.WritingText = "a\r\nb";
    p.UseWriting = p.WritingBold = QvTrue;
    p.WritingFontName = "Quorvel Missing Face";
    p.WritingFontSize = 14;
    p.WritingForeColor = RGB(255, 0, 0);
    p.WritingBackColor = RGB(0, 0, 255);
    QFont shownFont;
    QPalette shownColours;
    m.open("mnu_EditPane", [&] {
      auto* box = qobject_cast<QPlainTextEdit*>(m.reveal("Text_Writing"));
      shownFont = box->font();
      shownColours = box->palette();
      m.click("Button_frmPanes_1");
    });
    QCOMPARE(p.WritingText, QString("a\r\nb"));
    QCOMPARE(shownFont.family(), QString("Quorvel Missing Face"));
    QVERIFY(shownFont.bold() && !shownFont.italic() && shownFont.pointSize() == 14);
    QCOMPARE(shownColours.color(QPalette::Base), QColor(0, 0, 255));
    QCOMPARE(shownColours.color(QPalette::Text), QColor(255, 0, 0));

    p.UseWriting = QvFalse;
    bool activeAfterKey = false;
    m.open("mnu_EditPane", [&] {
      QWidget* box = m.reveal("Text_Writing");
      box->setFocus();
      QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
      QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(QChar(0xCE)), Qt::NoModifier);
      activeAfterKey = m.get<QRadioButton>("Option_UseWriting_1")->isChecked();
      QTest::keyClicks(box, "c");
      m.choose("cmbStyleTXT", 1);
      m.choose("cmbStyleTXT", 2);
      m.choose("cmbFontNameTXT", 1);
      m.choose("cmbFontSizeTXT", 5);
      m.click("Button_frmPanes_1");
    });
    QVERIFY(activeAfterKey);
    QCOMPARE(p.WritingText, QString("a\nbc"));
    QVERIFY(isSet(p.UseWriting) && isSet(p.WritingBold) && isSet(p.WritingItalic));
    QCOMPARE(p.WritingFontName, m.platform.fonts[1]);
    QCOMPARE(p.WritingFontSize, Integer(18));
  }

  void colourChoicesAndTheirCancel() {
    DialogWindow m;
    QList<Long> seen;
    m.open("mnu_EditPane", [&] {
      auto* box = m.get<QPlainTextEdit>("Text_Writing");
      auto* swatch = m.get<ColourWell>("ColorSwatchTXT");
      auto colours = [&] {
        seen << fromQRgb(box->palette().color(QPalette::Base).rgb()) << fromQRgb(box->palette().color(QPalette::Text).rgb())
             << swatch->colour();
      };
      m.choose("cmbBackColorTXT", 5);  // the colour dialog is cancelled
      colours();
      m.platform.colorAnswers.enqueue(RGB(10, 20, 30));
      m.choose("cmbBackColorTXT", 5);
      colours();
      m.click("ColorSwatchTXT");
      colours();
      QCOMPARE(box->window()->focusWidget(), static_cast<QWidget*>(box));
      m.click("Button_frmPanes_0");
    });
    const Long c = RGB(10, 20, 30);
    QCOMPARE(seen, QList<Long>({White, Black, Black, c, Black, c, c, c, c}));
    QCOMPARE(m.platform.calls("ChooseColor").size(), 2);
    QCOMPARE(m.pane().WritingBackColor, White);
  }
};

QTEST_MAIN(TestPanesDialog)
#include "test_panesdialog.moc"
