// The help data, read once from the program's resources: one line per text,
// "id <tab> reference <tab> text"; '#' starts a comment line.
#include "resources/HelpTexts.h"

#include <QFile>
#include <QMap>

namespace qv {
namespace {

struct HelpText {
  QString reference;
  QString text;
};

const QMap<int, HelpText>& helpData() {
  static const QMap<int, HelpText> data = [] {
    QMap<int, HelpText> map;
    QFile f(QStringLiteral(":/help.txt"));
    if (!f.open(QIODevice::ReadOnly)) return map;
    for (const QByteArray& line : f.readAll().split('\n')) {
      if (line.isEmpty() || line.startsWith('#')) continue;
      const QList<QByteArray> cells = line.split('\t');
      if (cells.size() != 3) continue;
      map.insert(cells[0].toInt(), {QString::fromUtf8(cells[1]), QString::fromUtf8(cells[2])});
    }
    return map;
  }();
  return data;
}

}  // namespace

QString LoadResString(int id) { return helpData().value(id).text; }

QStringList HelpReferences(int topic) {
  QStringList refs;
  if (topic < 1 || topic > HelpTopics().size()) return refs;
  for (int pos = 0; pos < 10; ++pos) {
    const auto it = helpData().find(100 + 10 * topic + pos);
    // References are numbered from 0 without gaps; a text no reference
    // leads to has no name.
    if (it == helpData().end() || it->reference.isEmpty()) break;
    refs << it->reference;
  }
  return refs;
}

const QStringList& HelpTopics() {
  static const QStringList topics = {
      "Animation Tab", "Assigned Tab (Board)", "Assigned Tab (Panes)", "Board", "Board Sizes",
      "Composite Panes Background", "Data Tab", "Edit Properties", "Effects Tab", "End", "Flip ...",
      "Ground Tab", "Help ... About", "Load", "New Project", "Panes", "Remove Pane", "Resize Pane",
      "Run", "Save", "Stop", "Writing Tab", "FAQ", "SHORTCUTS",
      // Our addition: what Quorvel does beyond the topics above.
      "What's New"};
  return topics;
}

}  // namespace qv
