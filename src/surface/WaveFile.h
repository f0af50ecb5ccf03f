// RIFF WAVE files: their chunks read within bounds, 16-bit PCM written with
// a name, and the own sounds a project keeps in them (our addition: a Pane
// may play a sound of the user's besides "Ding!").
#pragma once
#include "model/Types.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

namespace qv {

// What a WAVE file holds, read from its chunks.
struct WaveInfo {
  int format = 0;  // 1: PCM
  int channels = 0;
  int rate = 0;  // frames a second
  int bits = 0;  // a sample
  qint64 frames = 0;
  qsizetype dataOffset = 0, dataSize = 0;
  QString name;  // LIST/INFO INAM
  double seconds() const { return rate > 0 ? double(frames) / rate : 0; }
};

// The chunks of a RIFF WAVE file: each must lie whole within the file (one
// cut short is refused, saying how many bytes it lacks), with a format and
// a data chunk. Empty, and why in why, when the bytes are no such file.
std::optional<WaveInfo> ReadWave(const QByteArray& bytes, QString& why);

// A WAVE file of 16-bit PCM samples (interleaved, little-endian), with the
// name in a LIST/INFO INAM chunk when it has one.
QByteArray EncodeWave(const QByteArray& samples, int channels, int rate, const QString& name = {});

// An own sound: 16-bit PCM at 44,100 Hz, one or two channels, some sound
// and at most 30 seconds and 10 MB of it.
constexpr int OwnSoundRate = 44100;
constexpr int MaxOwnSoundSeconds = 30;
constexpr qint64 MaxOwnSoundBytes = 10 * 1024 * 1024;
// The longest name an own sound keeps.
constexpr int MaxSoundNameLength = 255;
// The sound the bytes hold when they are an own sound; else empty and why.
std::optional<WaveInfo> CheckOwnSound(const QByteArray& wave, QString& why);

// An own sound of a project: its name (its file's title, kept in the WAVE
// file) and the WAVE file. Copies share the bytes.
struct OwnSound {
  QString Name;
  QByteArray Wave;
  bool operator==(const OwnSound& o) const {
    return Name == o.Name && (Wave.constData() == o.Wave.constData() || Wave == o.Wave);
  }
};
// A project's own sounds by the Sound value that plays them (from 1000 up).
using OwnSoundMap = QMap<Long, OwnSound>;

// The own sound of a checked WAVE file under a name: the file written again
// with the name (cut to 255 characters) in it.
OwnSound NamedOwnSound(const QByteArray& wave, const WaveInfo& info, const QString& name);

}  // namespace qv
