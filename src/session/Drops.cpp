// Dropped files: what a drop would do, and doing it.
#include "session/Drops.h"

#include "editing/OwnSounds.h"
#include "editing/Panes.h"
#include "imaging/BoardRender.h"
#include "imaging/Pictures.h"
#include "imaging/Sheets.h"
#include "project/ProjectCommands.h"
#include "session/Commands.h"
#include "shell/Platform.h"
#include "shell/Workspace.h"
#include "surface/PictureChecks.h"
#include "surface/SafeFiles.h"

#include <QDir>
#include <QFileInfo>

namespace qv {
namespace {

// The Pane whose hover box shows at the point: the first in slot order whose
// shown part (its first Cel) holds it; 0 for none.
int paneAt(const Workspace& ws, QPoint at) {
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord& p = ws.project.PaneTable[size_t(n)];
    if (!isSet(p.InUse)) continue;
    const QSize size = shownSize(p);
    if (p.Left <= at.x() && at.x() <= p.Left + size.width() && p.Top <= at.y() && at.y() <= p.Top + size.height())
      return n;
  }
  return 0;
}

enum class Content { Picture, Sound };

// What the file's first bytes begin; nothing, and the reason, for neither.
std::optional<Content> contentOf(const QString& path, QString& why) {
  QByteArray head;
  const Outcome read = ReadFileHead(path, 16, head);
  if (!read.succeeded()) why = read.failure().reason;
  else if (PictureFormatOf(head)) return Content::Picture;
  else if (LooksLikeSound(head)) return Content::Sound;
  else why = QStringLiteral("it is not a BMP, JPEG, GIF or PNG picture, nor a WAV, OGG, Opus, MP3 or FLAC sound");
  return std::nullopt;
}

DropPlan refused(const QString& why) { return {DropKind::Refused, 0, why}; }

}  // namespace

QSize NewPaneSizeFor(QSize picture) {
  const QSize fitted = picture.width() > CellSize || picture.height() > CellSize
                           ? picture.scaled(CellSize, CellSize, Qt::KeepAspectRatio)
                           : picture;
  return {std::clamp(fitted.width(), MinPaneSide, CellSize), std::clamp(fitted.height(), MinPaneSide, CellSize)};
}

int NewPaneForPicture(Workspace& ws, const PanePicture& pic, QPoint at, const QString& title) {
  const int slot = AddPane(ws);
  if (slot == 0) return 0;
  PaneRecord& p = ws.Pane(slot);
  const QSize size = NewPaneSizeFor(pic.picture.size());
  p.Width = Integer(size.width());
  p.Height = Integer(size.height());
  p.CelWidth = CelSize(p.Width, p.CelsAcross);
  p.CelHeight = CelSize(p.Height, p.CelsDown);
  // What shows (an animation's first Cel) is centred on the point where
  // the file was let go, not past the Board's top or left edge.
  const QSize shown = pic.cels ? pic.cels->cel : size;
  p.Left = Integer(std::max(at.x() - shown.width() / 2, 0));
  p.Top = Integer(std::max(at.y() - shown.height() / 2, 0));
  PutPictureIntoPane(ws, slot, pic, title);
  return slot;
}

DropPlan PlanDrop(const Workspace& ws, const QString& path, QPoint at) {
  if (isSet(ws.run.Running)) return refused(QStringLiteral("files are not taken while the project runs"));
  if (path.endsWith(QLatin1String(".QV1"), Qt::CaseInsensitive)) {
    if (QFileInfo(path).isFile()) return {DropKind::Project, 0, {}};
    return refused(QStringLiteral("it is not a project file"));
  }
  QString why;
  const auto content = contentOf(path, why);
  if (!content) return refused(why);
  const bool sound = content == Content::Sound;
  if (ws.win.picIntro.Visible)
    return refused(sound ? QStringLiteral("a sound needs a project to go into") : QStringLiteral("a picture needs a project to go into"));
  // The window takes files anywhere (our addition); a picture goes where it
  // is let go, so only onto the Board.
  const Surface& board = ws.surfaces.picStage;
  const bool onBoard = at.x() >= 0 && at.y() >= 0 && at.x() < board.Width() && at.y() < board.Height();
  const int slot = onBoard ? paneAt(ws, at) : 0;
  if (sound) {
    if (slot) return {DropKind::SoundIntoPane, slot, {}};
    return refused(QStringLiteral("a sound is let go on a Pane, whose click plays it"));
  }
  if (!onBoard) return refused(QStringLiteral("a picture is let go on the Board"));
  if (slot) return {DropKind::IntoPane, slot, {}};
  if (ws.project.PaneCount >= MaxPanes) return refused(QStringLiteral("the Board holds 50 Panes, the most it can"));
  return {DropKind::NewPane, 0, {}};
}

Outcome DropFile(Workspace& ws, const QString& path, QPoint at) {
  const DropPlan plan = PlanDrop(ws, path, at);
  if (plan.kind == DropKind::Refused) return Outcome::failed(path, plan.refusal);
  const QString file = QFileInfo(path).absoluteFilePath();
  if (plan.kind == DropKind::Project) {
    if (const Outcome first = SaveChangesFirst(ws, QStringLiteral("Load a Project")); !first.succeeded()) return first;
    return FinishLoad(ws, LoadProjectFile(ws, fileChoiceFromPath(file)));
  }
  if (plan.kind == DropKind::SoundIntoPane) {
    OwnSound sound;
    const Outcome read = ReadOwnSound(ws, file, sound);
    if (read.hasFailed()) return read;
    ws.history.Begin(ws);
    const Long id = OwnSoundIdFor(ws.project, {}, sound);
    ws.project.OwnSounds.insert(id, sound);
    ws.Pane(plan.slot).Sound = id;
    ws.history.Commit(ws, QStringLiteral("Drop a Sound"));
    return read;
  }
  PanePicture pic;
  const Outcome read = ReadPanePicture(file, pic);
  if (read.hasFailed()) return read;
  ws.history.Begin(ws);
  if (plan.kind == DropKind::NewPane) {
    const int slot = NewPaneForPicture(ws, pic, at, QFileInfo(file).fileName());
    ws.history.Commit(ws, QStringLiteral("Drop a Picture"));
    if (slot == 0) return Outcome::cancelled();
  } else {
    PutPictureIntoPane(ws, plan.slot, pic, QFileInfo(file).fileName());
    ws.history.Commit(ws, QStringLiteral("Drop a Picture"));
  }
  RedrawBoard(ws);
  return read;
}

}  // namespace qv

namespace qv {

Outcome BoardFileDropped(Workspace& ws, const QString& path, QPoint at) {
  const DropKind kind = PlanDrop(ws, path, at).kind;
  const Outcome outcome = DropFile(ws, path, at);
  if (kind == DropKind::SoundIntoPane) {
    if (outcome.hasFailed())
      ws.platform->ShowMessage(QStringLiteral("Drop a Sound"),
                               QDir::toNativeSeparators(outcome.failure().file) + "\n" + outcome.failure().reason);
    return outcome;
  }
  ReportOutcome(ws, kind == DropKind::Project ? Command::LoadsProject : Command::LoadsPicture, outcome);
  return outcome;
}

}  // namespace qv
