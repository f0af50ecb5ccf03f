// The recovery copy's timer and endings, and the intro's recent projects.
#include "app/Keeping.h"

#include "app/Intro.h"
#include "app/frmMain.h"
#include "session/Recovery.h"
#include "session/Settings.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace qv {

namespace {

// A signal only writes a byte; the window's thread does the rest.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

Keeping::Keeping(frmMain& window, Settings* settings, RecoveryKeeper* keeper)
    : QObject(&window), window_(window), settings_(settings), keeper_(keeper) {
  clock_.start();
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &Keeping::tick);
  if (settings_) {
    showRecent();
    connect(window.intro(), &IntroPicture::recentClicked, this, [this](const QString& path) {
      OpenRecentProject(window_.workspace(), *settings_, path);
      showRecent();
      window_.Refresh();
    });
  }
  if (!keeper_) return;
  window.refreshed = [this] { tick(); };
  // A clean end: the save question was answered, nothing is left to keep.
  connect(qApp, &QGuiApplication::lastWindowClosed, this, [this] {
    if (!quitting_) keeper_->Discard();
  });
#ifndef QT_NO_SESSIONMANAGER
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
    keeper_->WriteNow(window_.workspace());
    keeper_->Wait();
    report();
  });
#endif
  if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
  signals_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
  connect(signals_, &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
    keepAndQuit();
  });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

Keeping::~Keeping() {
  if (window_.refreshed) window_.refreshed = nullptr;
  if (signals_) {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
  }
}

void Keeping::keepAndQuit() {
  quitting_ = true;
  if (keeper_) {
    keeper_->WriteNow(window_.workspace());
    keeper_->Wait();
    report();
  }
  // Every event loop ends, a dialog's too, and no question is asked.
  QCoreApplication::exit(0);
}

void Keeping::tick() {
  if (quitting_) return;
  // A dialog or menu open: a command is under way.
  const bool busy = QApplication::activeModalWidget() || QApplication::activePopupWidget();
  const qint64 now = clock_.elapsed();
  const qint64 next = keeper_->Tick(window_.workspace(), now, busy);
  if (next < 0) {
    timer_.stop();
    armedAt_ = -1;
  } else if (!timer_.isActive() || armedAt_ != now + next) {
    timer_.start(int(next));
    armedAt_ = now + next;
  }
  report();
}

void Keeping::report() {
  if (keeper_)
    if (const QString failed = keeper_->TakeFailure(); !failed.isEmpty())
      std::fprintf(stderr, "quorvel: the recovery copy could not be written: %s\n", qPrintable(failed));
  if (settings_)
    if (const QString warning = settings_->TakeWarning(); !warning.isEmpty())
      std::fprintf(stderr, "%s\n", qPrintable(warning));
}

void Keeping::showRecent() {
  window_.intro()->setRecent(settings_->Recent());
  report();
}

}  // namespace qv
