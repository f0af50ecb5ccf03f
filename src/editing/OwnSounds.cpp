// Own sounds: reading, naming and numbering them.
#include "editing/OwnSounds.h"

#include "imaging/Pictures.h"

#include <QFileInfo>
#include <QSet>

namespace qv {

const QString SoundFilter = QStringLiteral(
    "Sound Format (*.wav;*.ogg;*.opus;*.mp3;*.flac)|"
    "*.wav;*.ogg;*.opus;*.mp3;*.flac;*.WAV;*.OGG;*.OPUS;*.MP3;*.FLAC");

Outcome ReadOwnSound(const Workspace& ws, const QString& path, OwnSound& sound) {
  const DecodedSound decoded = DecodeSoundFile(ws.session.SoundDecoder, path);
  if (!decoded.ok()) return Outcome::failed(path, QStringLiteral("The sound could not be used: %1").arg(decoded.error));
  QString why;
  const auto info = CheckOwnSound(decoded.wave, why);
  if (!info) return Outcome::failed(path, QStringLiteral("The sound could not be used: %1").arg(why));
  sound = NamedOwnSound(decoded.wave, *info, ShortPictureName(QFileInfo(path).fileName()));
  return Outcome::done();
}

Long OwnSoundIdFor(const Project& project, const OwnSoundMap& others, const OwnSound& sound) {
  QSet<Long> taken;
  for (const OwnSoundMap* map : {&project.OwnSounds, &others})
    for (auto it = map->cbegin(); it != map->cend(); ++it) {
      if (it.value() == sound) return it.key();
      taken.insert(it.key());
    }
  for (const PaneRecord& p : project.PaneTable) taken.insert(p.Sound);
  Long id = FirstOwnSoundId;
  while (taken.contains(id)) ++id;
  return id;
}

OwnSoundMap UsedOwnSounds(const Project& project) {
  OwnSoundMap used;
  for (const PaneRecord& p : project.PaneTable)
    if (isSet(p.InUse) && project.OwnSounds.contains(p.Sound)) used.insert(p.Sound, project.OwnSounds[p.Sound]);
  return used;
}

}  // namespace qv
