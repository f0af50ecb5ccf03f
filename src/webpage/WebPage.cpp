// The page: the template with its policy, look, data and player filled in.
#include "webpage/WebPage.h"

#include "shell/Platform.h"
#include "surface/SafeFiles.h"
#include "webpage/WebPageData.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

namespace qv {

const QString ExportWebPageTitle = QStringLiteral("Export as Web Page");
const QString WebPageFilter = QStringLiteral("Web Page (*.html)|*.html");

namespace {

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

QByteArray BuildWebPage(const Workspace& ws) {
  const QByteArray style = resource("page.css"), rules = resource("rules.js"), player = resource("player.js");
  const QByteArray policy = "default-src 'none'; script-src " + hashSource(rules) + " " + hashSource(player) +
                            "; style-src " + hashSource(style) +
                            "; img-src data:; media-src data:; base-uri 'none'; form-action 'none'";
  const QByteArray data = WebPageData(ws);
  const QByteArray page = resource("page.html");
  // One pass over the template: nothing filled in is read for places again,
  // and the page is written once into room made for all of it.
  static const QRegularExpression place(QStringLiteral("@(CSP|STYLE|DATA|RULES|PLAYER)@"));
  QByteArray out;
  out.reserve(page.size() + policy.size() + style.size() + data.size() + rules.size() + player.size());
  qsizetype from = 0;
  const QString text = QString::fromLatin1(page);
  for (auto it = place.globalMatch(text); it.hasNext();) {
    const auto m = it.next();
    out += page.mid(from, m.capturedStart() - from);
    const QString name = m.captured(1);
    out += name == u"CSP" ? policy : name == u"STYLE" ? style : name == u"DATA" ? data : name == u"RULES" ? rules : player;
    from = m.capturedEnd();
  }
  out += page.mid(from);
  return out;
}

Outcome ExportWebPage(const Workspace& ws, const QString& htmlPath) {
  return WriteFileSafely(htmlPath, BuildWebPage(ws));
}

Outcome ExportWebPageCommand(Workspace& ws) {
  // Named after the document the window title names (our addition): New
  // keeps ProjectName, but its page is "Untitled".
  const auto choice = ws.platform->SaveFileDialog(ExportWebPageTitle, WebPageFilter,
                                                  ws.project.ProjectFolder + ws.project.DocumentTitle() + ".html");
  if (!choice || choice->path.isEmpty()) return Outcome::cancelled();
  const Outcome written = ExportWebPage(ws, choice->path);
  if (written.succeeded() &&
      ws.platform->AskYesNo(ExportWebPageTitle, QStringLiteral("The web page is written. Open it in the browser ?")))
    ws.platform->OpenUrl(QUrl::fromLocalFile(choice->path).toString(QUrl::FullyEncoded));
  return written;
}

}  // namespace qv
