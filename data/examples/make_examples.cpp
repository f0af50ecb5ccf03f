// quorvel-make-examples OUTDIR: builds the example projects the way a user
// would, in a session without windows: a blank project, Panes added one by
// one, each given its picture through Load a Picture and its properties, the
// Background loaded, and the project saved by Save Project. The pictures are
// drawn in code (ExampleArt), so every run writes the same files.
#include "ExampleArt.h"

#include "editing/Panes.h"
#include "imaging/Pictures.h"
#include "imaging/Sheets.h"
#include "project/ProjectCommands.h"
#include "resources/Resources.h"
#include "session/Headless.h"
#include "shell/Setups.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

using qv::PaneRecord;

// One example project being put together.
class Maker {
 public:
  explicit Maker(const QString& pictures) : pictures_(pictures) { qv::IntroBlankNewProject(s_.ws); }

  // Adds a Pane showing `picture` (its size is the Pane's size) under the
  // label `label`; a see-through Pane has its black made transparent.
  PaneRecord& pane(const QString& label, const QImage& picture, int left, int top, bool seeThrough = true) {
    qv::Workspace& ws = s_.ws;
    const int slot = qv::AddPane(ws);
    ws.pointer.TargetPane = qv::Integer(slot);
    PaneRecord& p = ws.Pane(slot);
    p.Width = qv::Integer(picture.width());
    p.Height = qv::Integer(picture.height());
    p.BlackTransparent = qv::toFlag(seeThrough);
    cels(p, 1, 1, 0);
    check(load(label, picture), label);
    p.Left = qv::Integer(left);
    p.Top = qv::Integer(top);
    p.WritingFontName = QStringLiteral("DejaVu Sans");
    return p;
  }

  // The picture cut into `across` Cels side by side, the next shown every
  // `delay` + 1 frames.
  static void cels(PaneRecord& p, int across, int down, int delay) {
    p.CelsAcross = qv::Integer(across);
    p.CelsDown = qv::Integer(down);
    p.CelCount = qv::Integer(across * down);
    p.CelWidth = qv::CelSize(p.Width, across);
    p.CelHeight = qv::CelSize(p.Height, down);
    p.CelDelay = qv::Integer(delay);
  }

  // A movement as the Pane dialog sets it: 1 left, 2 right, 3 up, 4 down,
  // 5 diagonal.
  static void move(PaneRecord& p, int type, int speed, int delay, bool flip) {
    p.MoveType = p.Direction = qv::Integer(type);
    if (type == 5) p.FlipCode = 1;
    p.Speed = qv::Integer(speed);
    p.MoveDelay = p.MoveDelayCount = qv::Integer(delay);
    p.FlipOnBounds = qv::toFlag(flip);
  }

  static void note(PaneRecord& p, const QString& text, int width, int height) {
    p.UseWriting = qv::QvTrue;
    p.WritingText = text;
    p.WritingWidth = qv::Integer(width);
    p.WritingHeight = qv::Integer(height);
    p.WritingMode = 1;
    p.WritingBackColor = qv::RGB(255, 252, 232);
    p.WritingForeColor = qv::RGB(30, 30, 40);
  }

  int slotOf(const PaneRecord& p) const { return int(&p - s_.ws.project.PaneTable.data()); }

  void background(const QImage& picture, qv::Long colour) {
    qv::Workspace& ws = s_.ws;
    ws.project.BoardSettings.BoardBackColor = colour;
    s_.platform.fileAnswers.enqueue(qv::fileChoiceFromPath(write("background", picture)));
    check(qv::mnu_LoadPicBack_Click(ws), QStringLiteral("the Background"));
  }

  void save(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    s_.platform.fileAnswers.enqueue(qv::fileChoiceFromPath(QFileInfo(path).absoluteFilePath()));
    check(qv::SaveProject(s_.ws), path);
  }

 private:
  QString write(const QString& name, const QImage& picture) {
    const QString path = QDir(pictures_).filePath(name + ".bmp");
    if (!picture.save(path, "BMP")) throw std::runtime_error(("cannot write " + path).toStdString());
    return path;
  }

  qv::Outcome load(const QString& label, const QImage& picture) {
    s_.platform.fileAnswers.enqueue(qv::fileChoiceFromPath(write(label, picture)));
    return qv::mnu_LoadsPicture_Click(s_.ws);
  }

  static void check(const qv::Outcome& o, const QString& what) {
    if (o.kind() != qv::Outcome::Kind::Done)
      throw std::runtime_error(("not done at " + what + ": " + o.failure().file + " " + o.failure().reason)
                                   .toStdString());
  }

  QString pictures_;
  qv::HeadlessSession s_;
};

// Fish turning at the walls, a puffer and a crab, jellyfish and bubbles going
// up and down, over a reef.
void aquarium(Maker& m) {
  m.background(art::reef(), qv::RGB(20, 70, 120));
  struct Fish {
    const char* label;
    QImage picture;
    int left, top, cels, speed, moveDelay;
  };
  const Fish fish[] = {
      {"Tetras", art::tetras(66, 40, 3), 520, 70, 3, 3, 0},
      {"Clownfish", art::clownfish(64, 40, 3), 300, 160, 3, 2, 0},
      {"Tang", art::tang(70, 44, 2), 60, 250, 2, 3, 0},
      {"Angelfish", art::angelfish(60, 70, 3), 420, 320, 3, 1, 0},
      {"Puffer", art::puffer(48, 2), 150, 380, 2, 1, 1},
  };
  for (const Fish& f : fish) {
    PaneRecord& p = m.pane(f.label, f.picture, f.left, f.top);
    const bool grid = QString(f.label) == "Puffer";
    Maker::cels(p, f.cels, grid ? 2 : 1, 3);
    Maker::move(p, 1, f.speed, f.moveDelay, true);
    p.Collision = 0;
  }
  PaneRecord& crab = m.pane("Crab", art::crab(60, 40, 3), 330, 520);
  Maker::cels(crab, 3, 1, 2);
  Maker::move(crab, 2, 1, 1, false);
  crab.Collision = 0;
  PaneRecord& jelly = m.pane("Jellyfish", art::jellyfish(50, 70, 3), 680, 200);
  Maker::cels(jelly, 3, 1, 4);
  Maker::move(jelly, 3, 1, 1, false);
  jelly.Collision = 0;
  const int bubbleLeft[] = {110, 470, 740};
  for (int b = 0; b < 3; ++b) {
    PaneRecord& p = m.pane(QStringLiteral("Bubbles %1").arg(b + 1), art::bubbles(30, 120, 4, b), bubbleLeft[b],
                           440 - b * 120);
    Maker::cels(p, 4, 1, 2);
    Maker::move(p, 3, 2 + b % 2, 0, false);
    p.Collision = 0;
    p.MouseEffect = 0;
  }
}

// Balls and a spinner going corner to corner, rebounding off each other and
// off bars of odd sizes and flashing when they meet something.
void bounceLab(Maker& m) {
  m.background(art::blueprint(), qv::RGB(18, 38, 78));
  struct Bar {
    const char* label;
    int width, height, left, top;
    QRgb colour;
  };
  const Bar bars[] = {
      {"Long bar", 181, 13, 300, 120, qRgb(240, 180, 40)},
      {"Post", 17, 157, 560, 300, qRgb(80, 200, 160)},
      {"Block", 63, 41, 180, 420, qRgb(230, 90, 90)},
  };
  for (const Bar& b : bars) {
    PaneRecord& p = m.pane(b.label, art::bar(b.width, b.height, b.colour), b.left, b.top, false);
    p.MouseEffect = 2;
  }
  struct Ball {
    const char* label;
    int size;
    QRgb colour;
    int left, top, speed;
  };
  const Ball balls[] = {
      {"Red ball", 37, qRgb(230, 60, 50), 90, 300, 3},
      {"Green ball", 53, qRgb(60, 200, 90), 420, 460, 2},
      {"Blue ball", 71, qRgb(60, 120, 240), 640, 120, 1},
      {"Gold ball", 29, qRgb(250, 200, 40), 250, 230, 3},
  };
  for (const Ball& b : balls) {
    PaneRecord& p = m.pane(b.label, art::ball(b.size, b.colour), b.left, b.top);
    Maker::move(p, 5, b.speed, 0, false);
    p.EffectType = 1;
    p.EffectDuration = 3;
  }
  PaneRecord& spinner = m.pane("Spinner", art::spinner(45, 4), 480, 230);
  Maker::cels(spinner, 4, 1, 1);
  Maker::move(spinner, 5, 2, 0, false);
  spinner.EffectType = 1;
  spinner.EffectDuration = 3;
  PaneRecord& ship = m.pane("Arrow ship", art::arrowShip(77, 31), 40, 40);
  Maker::move(ship, 5, 3, 0, true);
  ship.EffectType = 1;
  ship.EffectDuration = 3;
}

// A question with three answers: a click counts a planet's Value up, which
// reveals a tick or a cross; the rocket counts down and lifts off; every
// answer has a note, the book opens a web page.
void quizBoard(Maker& m) {
  m.background(art::chalkboard(), qv::RGB(34, 78, 56));
  struct Answer {
    const char* label;
    int kind, size, left, top;
    bool right;
    const char* note;
  };
  const Answer answers[] = {
      {"Mars", 0, 110, 70, 200, false, "Mars is the red planet: about half as wide as the Earth."},
      {"Jupiter", 1, 150, 235, 175, true, "Right! Jupiter is eleven times as wide as the Earth."},
      {"Earth", 2, 120, 420, 195, false, "Our Earth: the biggest of the rocky planets, but not of all."},
  };
  for (const Answer& a : answers) {
    const int markSize = 56;
    PaneRecord& mark = m.pane(QString(a.label) + (a.right ? " tick" : " cross"), art::mark(markSize, a.right),
                              a.left + a.size - markSize / 2, a.top - 10);
    mark.Visible = qv::QvFalse;
    mark.MouseEffect = 0;
    mark.Collision = 0;
    const int markSlot = m.slotOf(mark);
    PaneRecord& p = m.pane(a.label, art::planet(a.size, a.kind), a.left, a.top);
    p.Process = 1;  // Add
    p.StartValue = 1;
    p.ProcessAmount = 1;
    p.RevealPane = qv::Integer(markSlot);
    p.RevealValue = 2;
    p.LifeStartValue = 1;
    p.LifeEndValue = 99;
    p.Sound = qv::DingSoundId;
    p.MouseEffect = 2;
    p.Collision = 0;
    Maker::note(p, a.note, 200, 60);
  }
  PaneRecord& smoke = m.pane("Smoke", art::smoke(140, 50), 605, 490);
  smoke.Visible = qv::QvFalse;
  smoke.MouseEffect = 0;
  smoke.Collision = 0;
  const int smokeSlot = m.slotOf(smoke);
  PaneRecord& rocket = m.pane("Rocket", art::rocket(50, 100), 650, 432);
  rocket.Process = 1;  // Add
  rocket.StartValue = 1;
  rocket.ProcessAmount = 1;
  rocket.RevealPane = qv::Integer(smokeSlot);
  rocket.RevealValue = 4;
  // It moves only from Value 4 on: after the third click.
  rocket.LifeStartValue = 4;
  rocket.LifeEndValue = 99;
  Maker::move(rocket, 3, 3, 0, false);
  rocket.Sound = qv::DingSoundId;
  rocket.MouseEffect = 2;
  rocket.Collision = 0;
  PaneRecord& book = m.pane("Book", art::book(90, 70), 60, 440);
  Maker::note(book, "Read more about the planets on the web.", 200, 40);
  book.UseURL = qv::QvTrue;
  book.URL = QStringLiteral("quorvel.example.org/planets");
  book.MouseEffect = 2;
  book.Collision = 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Fonts and pictures need a GUI application; no window is ever shown.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 2 || args[1].startsWith('-')) {
    std::fprintf(stderr, "usage: quorvel-make-examples OUTDIR\n"
                         "Writes the example projects into OUTDIR/<name>/<name>.QV1.\n");
    return 2;
  }
  const QDir out(args[1]);
  const std::pair<const char*, std::function<void(Maker&)>> examples[] = {
      {"aquarium", aquarium}, {"bouncelab", bounceLab}, {"quizboard", quizBoard}};
  try {
    for (const auto& [name, build] : examples) {
      QTemporaryDir pictures;
      if (!pictures.isValid()) throw std::runtime_error("no temporary folder for the pictures");
      Maker m(pictures.path());
      build(m);
      m.save(out.filePath(QStringLiteral("%1/%1.QV1").arg(name)));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorvel-make-examples: %s\n", e.what());
    return 1;
  }
  return 0;
}
