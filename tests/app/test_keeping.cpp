// What the app keeps between runs, through the real window: the intro's
// recent projects (a click opens one, a missing one is greyed and taken off
// with a message) and SIGTERM, after which the recovery copy holds the
// unsaved project.
#include "app/CommandRouter.h"
#include "app/Intro.h"
#include "app/Keeping.h"
#include "app/frmMain.h"
#include "session/Commands.h"
#include "session/Recovery.h"
#include "session/Settings.h"
#include "support/Fixtures.h"

#include <QtTest>
#include <QtWidgets>
#include <csignal>

using namespace qv;

namespace {

// The killed program: a new project with one Pane, unsaved, then waits.
int editAndWait(const QString& root) {
  HeadlessPlatform platform;
  Workspace ws;
  frmMain w(ws, platform);
  CommandRouter router(w, 0);
  RecoveryKeeper keeper(root, 30);
  Keeping keeping(w, nullptr, &keeper);
  w.show();
  Label_IntroChoice_Click(ws, 0);
  w.runCommand(Command::AddCustomPane);
  std::puts(ws.history.Unsaved() ? "ready" : "not changed");
  std::fflush(stdout);
  return QApplication::exec();
}

}  // namespace

class TestKeeping : public QObject {
  Q_OBJECT

 private slots:
  void recentProjects() {
    QTemporaryDir tmp;
    const QString demo = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/demo/demo.QV1", gone = tmp.filePath("gone.QV1");
    Settings settings(SettingsFile(tmp.path()));
    settings.ProjectUsed(demo);
    settings.ProjectUsed(gone);
    HeadlessPlatform platform;
    Workspace ws;
    frmMain w(ws, platform);
    CommandRouter router(w, 0);
    Keeping keeping(w, &settings, nullptr);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const auto row = [&](int i) { return w.findChild<QLabel*>(QStringLiteral("Label_Recent_%1").arg(i)); };
    QVERIFY(row(0) && row(1) && !row(2) && row(0)->text().contains("gone.QV1") && row(1)->text().contains("demo.QV1"));
    QCOMPARE(row(0)->toolTip(), QString("This project is no longer there"));
    QCOMPARE(w.intro()->height(), IntroHeight + 24 + 2 * 36 + 8);
    QVERIFY(w.intro()->geometry().contains(row(1)->geometry().translated(w.intro()->pos())));
    QTest::mouseClick(row(0), Qt::LeftButton);
    QCOMPARE(platform.calls("ShowMessage"), QStringList{"ShowMessage|Load a Project|" + gone +
                                                        "\nThe project is no longer there; it was taken off the recent projects."});
    QCOMPARE(settings.Recent(), QStringList{demo});
    QVERIFY(row(0) && !row(1) && row(0)->text().contains("demo.QV1"));
    QTest::mouseClick(row(0), Qt::LeftButton);
    QVERIFY(!w.intro()->isVisible());
    QCOMPARE(ws.project.DocumentName, QString("demo.QV1"));
    QCOMPARE(platform.usedProjects, QStringList{demo});
  }

  // SIGTERM: the copy is written, then the program quits without a question.
  void sigtermKeepsTheCopy() {
    QTemporaryDir tmp;
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {"--edit-and-wait", tmp.filePath("r")});
    QVERIFY(p.waitForReadyRead(30'000));
    QCOMPARE(p.readLine(), QByteArray("ready\n"));
    ::kill(pid_t(p.processId()), SIGTERM);
    QCOMPARE(fixtures::finish(p, 30'000).code, 0);
    HeadlessSession s;
    s.platform.recoverAnswers << RecoverChoice::Recover;
    RecoveryKeeper keeper(tmp.filePath("r"), 30);
    QVERIFY(OfferRecovery(s.ws, keeper, tmp.filePath("aside")));
    QVERIFY(s.ws.project.PaneCount == 1 && s.ws.history.Unsaved());
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc == 3 && QByteArray(argv[1]) == "--edit-and-wait") return editAndWait(argv[2]);
  TestKeeping test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}
#include "test_keeping.moc"
