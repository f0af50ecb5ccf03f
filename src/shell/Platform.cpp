// Shared helpers of the platform seam.
#include "shell/Platform.h"

#include <QFileInfo>

namespace qv {

FileChoice fileChoiceFromPath(const QString& path) {
  return {path, QFileInfo(path).fileName()};
}

}  // namespace qv
