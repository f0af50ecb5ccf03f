// The four files' bytes of a project value.
#include "project/ProjectBytes.h"

#include "project/ProjectText.h"
#include "project/RtfWriter.h"
#include "surface/PictureFile.h"

namespace qv {

std::array<QByteArray, 4> ProjectFileBytes(const Project& project) {
  return {EncodeBmp24(project.picBackground.Image()), EncodeBmp24(project.picSprites.Image()),
          EncodeBmp24(project.picMasks.Image()), WriteRtf(SerializeProject(project))};
}

}  // namespace qv
