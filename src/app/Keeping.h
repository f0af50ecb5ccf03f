// Our addition: what the app keeps for the user between runs. The recovery
// copy looks at the project after every event and when its timer is due;
// SIGTERM, SIGHUP and the desktop session's end write it before Quorvel
// quits, and a clean end (End, Quit, the window closed) removes it. The
// intro lists the recent projects.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace qv {

class RecoveryKeeper;
class Settings;
class frmMain;

class Keeping : public QObject {
  Q_OBJECT
 public:
  // Either may be null: then it is not kept.
  Keeping(frmMain& window, Settings* settings, RecoveryKeeper* keeper);
  ~Keeping() override;

  // Writes the copy, waits for it, and quits; the copy stays.
  void keepAndQuit();

 private:
  void tick();
  void showRecent();
  void report();

  frmMain& window_;
  Settings* settings_;
  RecoveryKeeper* keeper_;
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 armedAt_ = -1;
  bool quitting_ = false;
  QSocketNotifier* signals_ = nullptr;
};

}  // namespace qv
