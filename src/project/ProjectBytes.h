// The bytes of a project's four files, made from the project value alone,
// so that a copy of the value can be written on another thread (the
// recovery copy) as Save writes it.
#pragma once
#include "shell/Project.h"

#include <QByteArray>
#include <array>

namespace qv {

// Background, sprite sheet, mask sheet and the project document, in the
// order a save replaces them (the project file last). The sheets' noted
// mirrorings must have been done (their Image() taken once on the thread
// that owns them).
std::array<QByteArray, 4> ProjectFileBytes(const Project& project);

}  // namespace qv
