// The page: the template with its policy, look, data and player filled in.
#include "webpage/WebPage.h"

#include "shell/Platform.h"
#include "surface/SafeFiles.h"
#include "webpage/WebPageData.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>

namespace qv {

const QString ExportWebPageTitle = QStringLiteral("Export as Web Page");
const QString WebPageFilter = QStringLiteral("Web Page (*.html)|*.html");

namespace {

// How long Export waits for xdg-open to say whether a browser took the page.
constexpr int OpenPageWaitMs = 3000;

QByteArray resource(const char* name) {
  QFile f(QStringLiteral(":/webpage/") + QLatin1String(name));
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

// The policy's source for one inline script or style: its SHA-256.
QByteArray hashSource(const QByteArray& text) {
  return "'sha256-" + QCryptographicHash::hash(text, QCryptographicHash::Sha256).toBase64() + "'";
}

}  // namespace

QByteArray BuildWebPage(const Workspace& ws, PageStart start) {
  const QByteArray style = resource("page.css"), rules = resource("rules.js"), player = resource("player.js");
  const QByteArray policy = "default-src 'none'; script-src " + hashSource(rules) + " " + hashSource(player) +
                            "; style-src " + hashSource(style) +
                            "; img-src data:; media-src data:; base-uri 'none'; form-action 'none'";
  const QByteArray data = WebPageData(ws);
  const QByteArray page = resource("page.html");
  // One pass over the template: nothing filled in is read for places again,
  // and the page is written once into room made for all of it.
  const QByteArray startMode = start == PageStart::Click ? "click" : "now";
  static const QRegularExpression place(QStringLiteral("@(CSP|STYLE|START|DATA|RULES|PLAYER)@"));
  QByteArray out;
  out.reserve(page.size() + policy.size() + style.size() + data.size() + rules.size() + player.size());
  qsizetype from = 0;
  const QString text = QString::fromLatin1(page);
  for (auto it = place.globalMatch(text); it.hasNext();) {
    const auto m = it.next();
    out += page.mid(from, m.capturedStart() - from);
    const QString name = m.captured(1);
    out += name == u"CSP" ? policy : name == u"STYLE" ? style : name == u"START" ? startMode : name == u"DATA" ? data
         : name == u"RULES" ? rules : player;
    from = m.capturedEnd();
  }
  out += page.mid(from);
  return out;
}

Outcome ExportWebPage(const Workspace& ws, const QString& htmlPath, PageStart start) {
  return WriteFileSafely(htmlPath, BuildWebPage(ws, start));
}

Outcome ExportWebPageCommand(Workspace& ws) {
  // Named after the document the window title names (our addition): New
  // keeps ProjectName, but its page is "Untitled".
  const auto choice = ws.platform->SaveFileDialog(ExportWebPageTitle, WebPageFilter,
                                                  ws.project.ProjectFolder + ws.project.DocumentTitle() + ".html");
  if (!choice || choice->path.isEmpty()) return Outcome::cancelled();
  // Our addition: a page shared in a slide deck should not play unseen.
  const bool onClick = ws.platform->AskYesNo(ExportWebPageTitle, QStringLiteral("Start the page on a click?"));
  Outcome written = ExportWebPage(ws, choice->path, onClick ? PageStart::Click : PageStart::Now);
  if (!written.succeeded() ||
      !ws.platform->AskYesNo(ExportWebPageTitle, QStringLiteral("The web page is written. Open it in the browser ?")))
    return written;
  // Our addition: xdg-open's exit status tells whether a browser took the
  // page (the desktop's URL handler reports success once xdg-open has
  // started). A browser xdg-open keeps in the foreground still runs after
  // the wait: the page is open.
  const ProgramResult opened = ws.platform->RunProgram(QStringLiteral("xdg-open"), {choice->path}, OpenPageWaitMs);
  if (opened.kind == ProgramResult::Kind::NotStarted)
    written.warn(choice->path, QStringLiteral("The web page is written, but xdg-open, which opens it in the browser, "
                                              "could not be started."));
  else if (opened.kind == ProgramResult::Kind::Ended && opened.exitStatus != 0)
    written.warn(choice->path, QStringLiteral("The web page is written, but no browser could open it (xdg-open "
                                              "ended with exit status %1).").arg(opened.exitStatus));
  return written;
}

}  // namespace qv
