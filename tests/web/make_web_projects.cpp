// quorvel-web-projects OUTDIR: the hand-made projects the web page test plays
// beside the examples. "fifty" fills all 50 slots with Panes of every kind
// (each field taken in turn from its range), on a 1024 x 764 Board with a
// Background; the projects in data/projects.txt place a few Panes exactly
// (Labels and Boxes under the pointer, counting and revealing clicks, Writing
// boxes, text that looks like markup, a javascript: address). Pictures are
// drawn in code; each project is saved with Save Project.
#include "editing/Panes.h"
#include "imaging/Sheets.h"
#include "project/ProjectCommands.h"
#include "session/Headless.h"
#include "shell/Setups.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

using namespace qv;

namespace {

// A picture that shows every mirroring and every Cel: a disc of the slot's
// colour on true black, a white bar along the top and a near-black one down
// the left side, which the mask keeps.
QImage art(int slot, int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromHsv(slot * 47 % 360, 200, 230));
  p.drawEllipse(QRect(w / 8, h / 8, w * 3 / 4, h * 3 / 4));
  p.fillRect(0, 0, w, 3, Qt::white);
  p.fillRect(0, 0, 3, h, QColor(0, 0, 1));
  p.fillRect(w / 2, h / 2, w / 4, 2, QColor::fromHsv(slot * 91 % 360, 255, 120));
  return img;
}

struct Project {
  HeadlessSession s;
  Project() { IntroBlankNewProject(s.ws); }

  PaneRecord& add(int slot) {
    while (!isSet(s.ws.Pane(slot).InUse)) AddPane(s.ws);
    return s.ws.Pane(slot);
  }
  // Draws each Pane's picture into its cell, over another that fills the
  // whole cell (Cels may read past the used area), and builds the masks.
  void paint() {
    for (int n = 1; n <= MaxPanes; ++n) {
      const PaneRecord& p = s.ws.Pane(n);
      if (!isSet(p.InUse)) continue;
      QImage& sheet = s.ws.surfaces.picSprites.Image();
      PaintPicture(sheet, art(n + 50, CellSize, CellSize), p.SheetX, p.SheetY, CellSize, CellSize);
      PaintPicture(sheet, art(n, p.Width, p.Height), p.SheetX, p.SheetY, p.Width, p.Height);
      BuildPaneMask(s.ws, n);
    }
  }
  void background(int w, int h) {
    QImage b(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) b.setPixel(x, y, qRgb(x * 255 / w, 80 + (x ^ y) % 40, y * 255 / h));
    s.ws.surfaces.picBackground.SetSize(w, h);
    s.ws.surfaces.picBackground.SetPicture(b);
    s.ws.BoardSettings.UseBackPicture = QvTrue;
  }
  bool save(const QString& folder, const QString& name) {
    QDir().mkpath(folder);
    s.platform.fileAnswers.enqueue(fileChoiceFromPath(QDir(folder).absoluteFilePath(name + ".QV1")));
    return SaveProject(s.ws).succeeded();
  }
};

// Slot n takes its values in turn from each field's range; slots 4, 14, ...
// are 200 wide in 3 Cels, whose last Cel reads one column of the next cell.
void fifty(Project& pr) {
  for (int n = 1; n <= MaxPanes; ++n) {
    PaneRecord& p = pr.add(n);
    p.Width = Integer(n % 10 == 4 ? 200 : 20 + n * 37 % 181);
    p.Height = Integer(20 + n * 53 % 181);
    p.Left = Integer(n % 13 == 0 ? -30 : n * 97 % 900);
    p.Top = Integer(n % 17 == 0 ? 700 : n * 61 % 650);
    p.BlackTransparent = toFlag(n % 3 != 0);
    p.CelsAcross = Integer(n % 10 == 4 ? 3 : 1 + n % 5);
    p.CelsDown = Integer(1 + n / 5 % 3);
    p.CelCount = Integer(p.CelsAcross * p.CelsDown);
    p.CelWidth = CelSize(p.Width, p.CelsAcross);
    p.CelHeight = CelSize(p.Height, p.CelsDown);
    p.CelDelay = Integer(n % 4);
    p.MoveType = p.Direction = Integer(n % 6);
    p.FlipCode = 1;
    p.Speed = Integer(1 + n % 7);
    p.MoveDelay = Integer(n % 3);
    p.FlipOnBounds = toFlag(n % 2 == 1);
    p.Collision = Integer(n % 4 != 0);
    p.EffectType = Integer(n % 5 == 0);
    p.EffectDuration = Integer(3 + n % 10);
    p.Visible = toFlag(n % 11 != 0);
    p.MouseEffect = Integer(n % 4);
    p.Label = QStringLiteral("Pane %1 <i>&amp;</i>").arg(n);
    p.Process = Integer(n % 3);
    p.StartValue = 10;
    p.ProcessAmount = Integer(1 + n % 2);
    p.LifeStartValue = Integer(p.Process == 2 ? 10 : 5);
    p.LifeEndValue = Integer(p.Process == 2 ? 7 : 13);
    // Each hidden Pane is revealed by the Pane before it.
    if (n % 11 == 10) {
      p.RevealPane = Integer(n + 1);
      p.RevealValue = Integer(p.Process == 2 ? 8 : 12);
    }
    p.UseWriting = toFlag(n % 5 == 1);
    p.WritingText = QStringLiteral("Note of Pane %1 </textarea><b>not bold</b>").arg(n);
    p.UseURL = toFlag(n % 10 == 1);
    p.URL = n % 20 == 1 ? QStringLiteral("example.org/%1").arg(n) : QStringLiteral("javascript:alert(%1)").arg(n);
    p.Sound = n % 7 == 0 ? DingSoundId : 0;
  }
  pr.background(1024, 764);
}

// The rows of data/projects.txt: "project | slot | Field=Value | ...".
void fromRows(Project& pr, const QString& name, const QList<QByteArray>& rows) {
  for (const QByteArray& row : rows) {
    const QList<QByteArray> cells = row.split('|');
    if (cells[0].trimmed() != name.toUtf8()) continue;
    PaneRecord& p = pr.add(cells[1].trimmed().toInt());
    for (const QByteArray& cell : cells.mid(2)) {
      const QString set = QString::fromUtf8(cell.trimmed());
      const PaneField* f = PaneFieldByName(set.section('=', 0, 0));
      if (!f) throw std::runtime_error(("no field in " + set).toStdString());
      if (f->kind == FieldKind::Text) f->text(p) = set.section('=', 1);
      else f->setNumber(p, set.section('=', 1).toLongLong());
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fputs("usage: quorvel-web-projects DATAFILE OUTDIR\n", stderr);
    return 2;
  }
  const QList<QByteArray> rows = fixtures::dataRows(QString::fromLocal8Bit(argv[1]));
  QStringList names{"fifty"};
  for (const QByteArray& row : rows)
    if (const QString n = QString::fromUtf8(row.split('|')[0].trimmed()); !names.contains(n)) names << n;
  for (const QString& name : names) {
    Project pr;
    if (name == "fifty") fifty(pr);
    else fromRows(pr, name, rows);
    pr.paint();
    if (!pr.save(QDir(QString::fromLocal8Bit(argv[2])).filePath(name), name)) {
      std::fprintf(stderr, "quorvel-web-projects: %s was not saved\n", qPrintable(name));
      return 1;
    }
    std::printf("%s\n", qPrintable(name));
  }
  return 0;
}
