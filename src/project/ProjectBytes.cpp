// The files of a project value.
#include "project/ProjectBytes.h"

#include "editing/OwnSounds.h"
#include "project/ProjectText.h"
#include "project/RtfWriter.h"
#include "surface/PictureFile.h"

#include <QFile>

namespace qv {

QString OwnSoundFile(const QString& folder, const QString& name, Long id) {
  return folder + "Sound_" + name + '_' + QString::number(id) + ".wav";
}

SetFamily OwnSoundFiles(const QString& name) {
  return {QFile::encodeName("Sound_" + name + '_'), QByteArrayLiteral(".wav")};
}

QVector<FileContents> ProjectFileSet(const Project& project, const QString& folder, const QString& name) {
  QVector<FileContents> set{{folder + "Back_" + name + ".bmp", EncodeBmp24(project.picBackground.Image())},
                            {folder + "Sprites_" + name + ".bmp", EncodeBmp24(project.picSprites.Image())},
                            {folder + "Masks_" + name + ".bmp", EncodeBmp24(project.picMasks.Image())}};
  const OwnSoundMap sounds = UsedOwnSounds(project);
  for (auto it = sounds.cbegin(); it != sounds.cend(); ++it)
    set.append({OwnSoundFile(folder, name, it.key()), it->Wave});
  set.append({folder + name + ".QV1", WriteRtf(SerializeProject(project))});
  return set;
}

}  // namespace qv
