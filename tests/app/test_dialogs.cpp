// The Pane and Board properties dialogs driven with real keys and mouse
// clicks over the main window and its command router on a scripted
// platform: what the widgets add to the engine's dialog state. Typed and
// pasted text goes through the numeric boxes' filter, controls reach the
// state and come back, the Writing box keeps unedited line ends and shows
// the font asked for, the Board's colours reach the settings and their
// swatches, and Wire and Float are never both "Yes".
#include "app/CommandRouter.h"
#include "app/dialogs/DialogParts.h"
#include "app/frmMain.h"
#include "shell/Headless.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace qv;

namespace {

// A blank project with Pane 1 (at 50,50, 100 x 100) as the Target.
struct DialogWindow {
  HeadlessPlatform platform;
  Workspace ws;
  frmMain w{ws, platform};
  CommandRouter router{w};

  DialogWindow() {
    w.resize(1000, 720);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) qFatal("window not exposed");
    QTest::mouseClick(get("Label_IntroChoice_0"), Qt::LeftButton);
    w.runMenu(QStringLiteral("mnu_AddCustomPane"));
    QTest::mouseClick(get("picStage"), Qt::LeftButton, {}, QPoint(60, 60));
  }
  PaneRecord& pane() { return ws.PaneTable[1]; }

  template <typename T = QWidget>
  T* get(const QString& name) {
    T* found = w.findChild<T*>(name);
    if (!found) qFatal("no control %s", qPrintable(name));
    return found;
  }

  // Runs steps while the dialog that the menu command opens is shown; a
  // dialog the steps leave open (a failed check) is closed.
  void open(const QString& menu, const std::function<void()>& steps) {
    QTimer::singleShot(0, &w, [steps] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!d) return;
      steps();
      if (d->isVisible()) d->done(QDialog::Rejected);
    });
    w.runMenu(menu);
  }

  // Brings the tab holding a control to the front, as a click on its tab.
  QWidget* reveal(const QString& name) {
    QWidget* c = get(name);
    for (QTabWidget* tabs : w.findChildren<QTabWidget*>(QStringLiteral("SSTab1")))
      for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->isAncestorOf(c) && tabs->isVisible())
          QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(i).center());
    return c;
  }
  void click(const QString& name) { QTest::mouseClick(reveal(name), Qt::LeftButton); }
  // Empties a box with the keyboard, then types.
  void type(const QString& name, const QString& keys) {
    auto* e = qobject_cast<QLineEdit*>(reveal(name));
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, keys);
  }
  QString text(const QString& name) { return get<QLineEdit>(name)->text(); }
  // Chooses a list entry in its opened list with the keyboard.
  void choose(const QString& name, int index) {
    auto* c = qobject_cast<QComboBox*>(reveal(name));
    QTest::keyClick(c, Qt::Key_F4);
    QAbstractItemView* v = c->view();
    QTest::keyClick(v, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(v, Qt::Key_Down);
    QTest::keyClick(v, Qt::Key_Return);
  }
};

}  // namespace

class TestDialogs : public QObject {
  Q_OBJECT

 private slots:
  void numericBoxesFilterTypedAndPastedText_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("shown");
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
      QGuiApplication::clipboard()->setText(keys);
      if (paste) QTest::keyClick(m.get(name), Qt::Key_V, Qt::ControlModifier);
      QCOMPARE(m.text(name), shown);
      QCOMPARE(m.ws.dialogs.panes.Text_Val[size_t(box)].Text, shown);
    });
    const int maxLength[ValBoxCount] = {2, 2, 2, 1, 1, 2, 2, 1, 1, 3, 3, 2, 1, 3, 3, 2};
    for (int k = 0; k < ValBoxCount; ++k)
      QCOMPARE(m.get<QLineEdit>(QStringLiteral("Text_Val_%1").arg(k))->maxLength(), maxLength[k]);
    QVERIFY(!m.get("Text_Val_5")->isEnabled());
  }

  void cancelKeepsThePaneAndTheControlsUntilTheNextOpening() {
    DialogWindow m;
    m.open("mnu_EditPane", [&] {
      m.type("Text_Val_10", "150");
      m.click("Button_frmPanes_0");
    });
    QCOMPARE(m.pane().Width, Integer(100));
    QCOMPARE(m.text("Text_Val_10"), QString("150"));
    QString reloaded;
    QStringList urlColours;  // black while the URL is active, red when not
    m.open("mnu_EditPane", [&] {
      reloaded = m.text("Text_Val_10");
      m.type("Text_Label", QString("a") + QChar(0xCE) + "b");
      for (const char* option : {"Option_UseURL_1", "Option_UseURL_0"}) {
        m.click(option);
        urlColours << m.get("Text_URL")->palette().color(QPalette::Text).name();
      }
      m.type("Text_Val_10", "50");
      m.choose("Combo_AnimationType", 5);
      m.click("Button_frmPanes_1");
    });
    QCOMPARE(reloaded, QString("100"));
    QCOMPARE(urlColours, QStringList({"#000000", "#ff0000"}));
    const PaneRecord& p = m.pane();
    QCOMPARE(p.Label, QString("ab"));
    QCOMPARE(QList<int>({p.Width, p.UseURL, p.MoveType}), QList<int>({50, QvFalse, 5}));
    QVERIFY(!m.get<QDialog>("frmPanes")->isVisible());
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
    QFont font;
    QPalette colours;
    m.open("mnu_EditPane", [&] {
      auto* box = qobject_cast<QPlainTextEdit*>(m.reveal("Text_Writing"));
      font = box->font();
      colours = box->palette();
      m.click("Button_frmPanes_1");
    });
    QCOMPARE(p.WritingText, QString("a\r\nb"));
    QCOMPARE(font.family(), QString("Quorvel Missing Face"));
    QVERIFY(font.bold() && !font.italic() && font.pointSize() == 14);
    QCOMPARE(colours.color(QPalette::Base), QColor(0, 0, 255));
    QCOMPARE(colours.color(QPalette::Text), QColor(255, 0, 0));

    // Any key makes the Writing "Active", also one the box refuses.
    // An edit gives the box's text; a key makes the Writing "Active".
    p.UseWriting = QvFalse;
    m.open("mnu_EditPane", [&] {
      QWidget* box = m.reveal("Text_Writing");
      box->setFocus();
      QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
      QTest::keyClicks(box, "c");
      m.click("Button_frmPanes_1");
    });
    QCOMPARE(p.WritingText, QString("a\nbc"));
    QVERIFY(isSet(p.UseWriting));
  }

  void coloursSwatchesAndABlackBoard() {
    DialogWindow m;
    QList<Long> swatches;
    m.open("mnu_EditBoard", [&] {
      m.click("Button_frmBoard_3");  // the colour dialog is cancelled
      for (int colour : {-1, 3, 0}) {
        if (colour >= 0) m.choose("Combo_BackColType", colour);
        swatches << m.get<ColourWell>("picSwatch")->colour();
      }
      m.platform.colorAnswers.enqueue(RGB(1, 2, 3));
      m.click("picLabelCol");
      swatches << m.get<ColourWell>("picLabelCol")->colour();
      m.choose("Combo_SelectionColor", 4);
      m.click("Option_BoardMove_0");
      m.click("Button_frmBoard_1");
    });
    QCOMPARE(swatches, QList<Long>({Grey, RGB(0, 255, 0), Black, RGB(1, 2, 3)}));
    QCOMPARE(m.get<QComboBox>("Combo_LabelCol")->currentText(), QString("Define"));
    const BoardSettingsRecord& b = m.ws.BoardSettings;
    QCOMPARE(QList<Long>({b.BoardBackColor, b.LabelColor, b.SelectionColor}), QList<Long>({Black, RGB(1, 2, 3), RGB(0, 0, 255)}));
    QVERIFY(isSet(b.BoardLocked));
    QCOMPARE(m.ws.surfaces.picStage.Image().pixel(600, 400), qRgb(2, 2, 2));
    bool moveNo = false;
    m.open("mnu_EditBoard", [&] { moveNo = m.get<QRadioButton>("Option_BoardMove_0")->isChecked(); });
    QVERIFY(moveNo);
  }

  void wireAndFloatAreNeverBothYes() {
    DialogWindow m;
    QRandomGenerator rng(11);
    for (int round = 0; round < 4; ++round) {
      m.open("mnu_EditBoard", [&] {
        auto* wireYes = m.get<QRadioButton>("Option_WirePanes_1");
        auto* floatYes = m.get<QRadioButton>("Option_FloatPanes_1");
        for (int i = 0; i < 6; ++i) {
          m.click(QStringLiteral("Option_%1Panes_%2").arg(rng.bounded(2) ? "Wire" : "Float").arg(rng.bounded(2)));
          QVERIFY(!(wireYes->isChecked() && floatYes->isChecked()));
          QCOMPARE(floatYes->isEnabled(), !wireYes->isChecked());
        }
        m.click(rng.bounded(3) ? "Button_frmBoard_1" : "Button_frmBoard_0");
      });
      QVERIFY(!(isSet(m.ws.BoardSettings.WirePanes) && isSet(m.ws.BoardSettings.FloatPanes)));
    }
  }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
