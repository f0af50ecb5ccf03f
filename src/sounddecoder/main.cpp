// quorvel-sound-decoder (our addition): reads one sound file from stdin and
// writes it to stdout as a WAVE file of 16-bit PCM at 44,100 Hz with the
// sound's channels (at most two), decoded by Qt Multimedia's decoder with
// GStreamer behind it, so the content decides the format. Quorvel and
// quorvel-cli start it for every sound file they take, with a time and a
// memory limit (surface/SoundDecoding.cpp). A file it refuses gets exit
// code 1 and the reason, one line, on stdout.
#include "surface/WaveFile.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QBuffer>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr qint64 MostRead = 64 * 1024 * 1024;
constexpr qint64 MostFrames = qint64(qv::MaxOwnSoundSeconds) * qv::OwnSoundRate;
// The decoder goes quiet on some files that are no sound (a picture cut
// short): with nothing from it for this long, there is no sound to come.
constexpr int QuietMs = 3000;

[[noreturn]] void finish(int code, const QByteArray& out) {
  for (qsizetype at = 0; at < out.size();) {
    const ssize_t n = ::write(STDOUT_FILENO, out.constData() + at, size_t(out.size() - at));
    if (n <= 0) std::_Exit(2);
    at += n;
  }
  // GStreamer's threads are not waited for.
  std::_Exit(code);
}

[[noreturn]] void refuse(const QString& why) { finish(1, why.toUtf8() + '\n'); }

QString seconds(double s) { return QString::number(s, 'f', 1); }

// One pass of the decoder over the bytes; with channels 0 it stops at the
// first buffer, which tells the sound's own channels.
struct Pass {
  QByteArray pcm;
  qint64 frames = 0;
  qint64 claimedMs = 0;  // the length the file gives, 0 when unknown
  int channels = 0;
};

Pass decode(QBuffer& source, int channels) {
  QAudioDecoder decoder;
  if (channels > 0) {
    QAudioFormat format;
    format.setSampleRate(qv::OwnSoundRate);
    format.setSampleFormat(QAudioFormat::Int16);
    format.setChannelCount(channels);
    decoder.setAudioFormat(format);
  }
  source.seek(0);
  decoder.setSourceDevice(&source);
  Pass pass;
  QTimer quiet;
  quiet.setSingleShot(true);
  QObject::connect(&quiet, &QTimer::timeout, [] { refuse(QStringLiteral("it is not a sound that can be decoded (no sound came of it)")); });
  const auto tooLong = [&](qint64 ms) {
    refuse(QStringLiteral("it is %1 seconds long; a sound may be at most %2").arg(seconds(ms / 1000.0)).arg(qv::MaxOwnSoundSeconds));
  };
  QObject::connect(&decoder, &QAudioDecoder::durationChanged, [&](qint64 ms) {
    if (ms > 0) pass.claimedMs = ms;
    // Half a second more than the bound: a compressed file's length is an estimate.
    if (ms > qv::MaxOwnSoundSeconds * 1000 + 500) tooLong(ms);
  });
  QObject::connect(&decoder, &QAudioDecoder::bufferReady, [&] {
    quiet.start(QuietMs);
    const QAudioBuffer buffer = decoder.read();
    const QAudioFormat f = buffer.format();
    if (channels == 0) {
      pass.channels = f.channelCount();
      QCoreApplication::exit(0);
      return;
    }
    if (f.sampleRate() != qv::OwnSoundRate || f.sampleFormat() != QAudioFormat::Int16 || f.channelCount() != channels)
      refuse(QStringLiteral("the decoder gave another format than was asked for"));
    pass.frames += buffer.frameCount();
    if (pass.frames > MostFrames) {
      if (pass.claimedMs > 0) tooLong(pass.claimedMs);
      return;  // counted on to the end, to say the length
    }
    pass.pcm.append(buffer.constData<char>(), buffer.byteCount());
  });
  QObject::connect(&decoder, &QAudioDecoder::finished, [] { QCoreApplication::exit(0); });
  QObject::connect(&decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), [&](QAudioDecoder::Error) {
    refuse(QStringLiteral("it is not a sound that can be decoded (%1)").arg(decoder.errorString()));
  });
  decoder.start();
  quiet.start(QuietMs);
  QCoreApplication::exec();
  decoder.stop();
  return pass;
}

}  // namespace

int main(int argc, char** argv) {
  // Qt's decoder through GStreamer, whatever else Qt Multimedia has.
  qputenv("QT_MEDIA_BACKEND", "gstreamer");
  QCoreApplication app(argc, argv);
  if (argc > 1) {
    std::fputs("usage: quorvel-sound-decoder < SOUNDFILE > SOUND.wav\n", stderr);
    return 2;
  }
  QByteArray bytes;
  char chunk[65536];
  for (ssize_t n; (n = ::read(STDIN_FILENO, chunk, sizeof chunk)) != 0;) {
    if (n < 0) refuse(QStringLiteral("the file could not be read"));
    bytes.append(chunk, n);
    if (bytes.size() > MostRead) refuse(QStringLiteral("the file holds more than 64 MiB"));
  }
  if (bytes.isEmpty()) refuse(QStringLiteral("the file is empty"));
  QBuffer source(&bytes);
  source.open(QIODevice::ReadOnly);

  const Pass probe = decode(source, 0);
  if (probe.channels <= 0) refuse(QStringLiteral("it holds no sound"));
  const Pass pass = decode(source, std::min(probe.channels, 2));
  if (pass.frames > MostFrames)
    refuse(QStringLiteral("it is %1 seconds long; a sound may be at most %2")
               .arg(seconds(double(pass.frames) / qv::OwnSoundRate))
               .arg(qv::MaxOwnSoundSeconds));
  if (pass.frames == 0) refuse(QStringLiteral("it holds no sound"));
  // A file that says it is longer than it is was cut short or is damaged;
  // a quarter off is left to the estimates of compressed files.
  const qint64 heldMs = pass.frames * 1000 / qv::OwnSoundRate;
  if (pass.claimedMs > 0 && heldMs * 4 < pass.claimedMs * 3 && pass.claimedMs - heldMs > 250)
    refuse(QStringLiteral("it says it is %1 seconds long but holds %2: it is cut short or damaged")
               .arg(seconds(pass.claimedMs / 1000.0), seconds(heldMs / 1000.0)));
  finish(0, qv::EncodeWave(pass.pcm, std::min(probe.channels, 2), qv::OwnSoundRate));
}
