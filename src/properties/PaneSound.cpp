// The Pane dialog's sound list (our addition): "none", "Ding!", "Load a
// sound ..." and the project's own sounds.
#include "editing/OwnSounds.h"
#include "properties/PaneProperties.h"
#include "shell/Platform.h"

#include <QDir>

namespace qv {

void FillSoundList(Workspace& ws) {
  PaneDialogState& d = ws.dialogs.panes;
  ListState& l = d.Combo_Sound;
  const int index = l.Index;
  l.Clear();
  // "Ding!" stores its index + 100, the number of the program's sound.
  l.Add(QStringLiteral("none"), 0);
  l.Add(QStringLiteral("Ding!"), 101);
  l.Add(QStringLiteral("Load a sound ..."), 0);
  OwnSoundMap all = ws.project.OwnSounds;
  all.insert(d.LoadedSounds);
  for (auto it = all.cbegin(); it != all.cend(); ++it) l.Add(it.value().Name, it.key());
  l.Index = index < l.Entries.size() ? index : -1;
}

void SelectSound(Workspace& ws, Long sound) {
  PaneDialogState& d = ws.dialogs.panes;
  ListState& l = d.Combo_Sound;
  l.Index = -1;
  for (int i = 0; i < l.ItemData.size(); ++i)
    if (i != LoadSoundEntry && l.ItemData[i] == sound) l.Index = i;
  d.SoundShown = l.Index >= 0 ? sound : 0;
}

Outcome LoadSoundIntoList(Workspace& ws, const QString& path) {
  PaneDialogState& d = ws.dialogs.panes;
  OwnSound sound;
  const Outcome read = ReadOwnSound(ws, path, sound);
  if (!read.succeeded()) return read;
  const Long id = OwnSoundIdFor(ws.project, d.LoadedSounds, sound);
  if (!ws.project.OwnSounds.contains(id)) d.LoadedSounds.insert(id, sound);
  FillSoundList(ws);
  SelectSound(ws, id);
  return read;
}

void Combo_Sound_Click(Workspace& ws) {
  PaneDialogState& d = ws.dialogs.panes;
  if (d.Combo_Sound.Index != LoadSoundEntry) {
    d.SoundShown = d.Combo_Sound.SelectedData();
    return;
  }
  const auto choice = ws.platform->OpenFileDialog(QStringLiteral("Load a sound for the Pane"), SoundFilter,
                                                  ws.project.ProjectFolder);
  const Outcome loaded = choice ? LoadSoundIntoList(ws, choice->path) : Outcome::cancelled();
  if (loaded.succeeded()) return;
  SelectSound(ws, d.SoundShown);
  if (loaded.hasFailed())
    ws.platform->ShowMessage(QStringLiteral("Load a sound"),
                             QDir::toNativeSeparators(loaded.failure().file) + "\n" + loaded.failure().reason);
}

void StoreSound(Workspace& ws, PaneRecord& p) {
  PaneDialogState& d = ws.dialogs.panes;
  // "Load a sound ..." stores none, as an entry the list does not have.
  p.Sound = d.Combo_Sound.Index == LoadSoundEntry ? 0 : d.Combo_Sound.SelectedData();
  if (d.LoadedSounds.contains(p.Sound)) ws.project.OwnSounds.insert(p.Sound, d.LoadedSounds[p.Sound]);
}

}  // namespace qv
