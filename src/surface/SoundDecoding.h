// Sound files decoded into own sounds (our addition). The decoding is done
// by a helper program, quorvel-sound-decoder beside the program, through Qt
// Multimedia's decoder (GStreamer behind it): the engine and quorvel-cli
// link no multimedia library, and a file that hangs or crashes the decoder
// takes no work with it. The helper runs with a time and a memory limit.
#pragma once
#include <QByteArray>
#include <QString>

namespace qv {

// The helper's file name, and where it is: beside the running program.
inline constexpr char SoundDecoderName[] = "quorvel-sound-decoder";
QString SoundDecoderBesideProgram();

// The largest sound file read; the helper's time and memory.
constexpr qint64 MaxSoundFileBytes = 64 * 1024 * 1024;
constexpr int SoundDecodeMs = 10'000;
constexpr qint64 SoundDecoderMemory = qint64(1) << 30;

// A decoded sound: a checked own sound's WAVE file (no name yet), or why the
// file gave none.
struct DecodedSound {
  QByteArray wave;
  QString error;
  bool ok() const { return error.isEmpty(); }
};

// Whether a file's first bytes (16 of them) begin a sound the decoder may
// take: WAVE, Ogg (Vorbis, Opus), FLAC or MP3. The decoder decides.
bool LooksLikeSound(const QByteArray& head);

// Reads the file (a plain file of at most 64 MiB with something in it; a
// WAVE file must be whole) and has the helper decode it: the content
// decides the format. What comes back must pass CheckOwnSound.
DecodedSound DecodeSoundFile(const QString& decoder, const QString& path);

}  // namespace qv
