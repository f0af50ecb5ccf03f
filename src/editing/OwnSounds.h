// The project's own sounds (our addition): a sound file read into one, named
// after the file, and the Sound value it is played by, from 1000 up (101
// stays "Ding!").
#pragma once
#include "model/Outcome.h"
#include "shell/Workspace.h"

namespace qv {

constexpr Long FirstOwnSoundId = 1000;

// The sound files the sound dialog lists, in small or capital letters.
extern const QString SoundFilter;

// Decodes a sound file (surface/SoundDecoding) into an own sound named as a
// picture of the file would be ("bell.ogg" gives "bell"). Failed with the
// file and the reason when it gives none.
Outcome ReadOwnSound(const Workspace& ws, const QString& path, OwnSound& sound);

// The Sound value an own sound takes among the project's and the others
// given: that of the same sound when there is one, else the lowest from 1000
// that no own sound has and no Pane holds (a Pane may name a sound that
// could not be read: a new one never takes its place).
Long OwnSoundIdFor(const Project& project, const OwnSoundMap& others, const OwnSound& sound);

// The own sounds a save keeps: those of the project that a Pane in use plays.
OwnSoundMap UsedOwnSounds(const Project& project);

}  // namespace qv
