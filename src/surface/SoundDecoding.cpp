// Running the sound decoder helper on a file's bytes.
#include "surface/SoundDecoding.h"

#include "surface/SafeFiles.h"
#include "surface/WaveFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <sys/resource.h>

namespace qv {

QString SoundDecoderBesideProgram() {
  if (!QCoreApplication::instance()) return {};
  return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(SoundDecoderName);
}

namespace {

// In the helper's process before it starts: its address space and
// processor time are bounded, and a crash leaves no core file.
void limitHelper() {
  const rlimit memory{rlim_t(SoundDecoderMemory), rlim_t(SoundDecoderMemory)};
  const rlimit cpu{rlim_t(SoundDecodeMs / 1000), rlim_t(SoundDecodeMs / 1000 + 1)};
  const rlimit none{0, 0};
  setrlimit(RLIMIT_AS, &memory);
  setrlimit(RLIMIT_CPU, &cpu);
  setrlimit(RLIMIT_CORE, &none);
}

DecodedSound refused(const QString& why) { return {{}, why}; }

}  // namespace

bool LooksLikeSound(const QByteArray& head) {
  if (head.startsWith("RIFF")) return head.mid(8, 4) == "WAVE";
  if (head.startsWith("OggS") || head.startsWith("fLaC") || head.startsWith("ID3")) return true;
  // An MPEG audio frame: eleven sync bits, then a version and a layer.
  return head.size() >= 2 && quint8(head[0]) == 0xFF && (quint8(head[1]) & 0xE0) == 0xE0 && (head[1] & 0x06) != 0;
}

DecodedSound DecodeSoundFile(const QString& decoder, const QString& path) {
  QByteArray bytes;
  if (const Outcome read = ReadFileCapped(path, MaxSoundFileBytes, bytes); !read.succeeded())
    return refused(read.failure().reason);
  if (bytes.isEmpty()) return refused(QStringLiteral("the file is empty"));
  // The decoder plays what a WAVE file holds even when its chunks say it is
  // longer: a file cut short is refused here.
  QString why;
  if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE" && !ReadWave(bytes, why)) return refused(why);

  QProcess helper;
  helper.setProgram(decoder);
  helper.setStandardErrorFile(QProcess::nullDevice());
  helper.setChildProcessModifier(limitHelper);
  helper.start();
  if (!helper.waitForStarted(SoundDecodeMs))
    return refused(QStringLiteral("the sound decoder %1 could not be started: %2").arg(decoder, helper.errorString()));
  helper.write(bytes);
  helper.closeWriteChannel();
  // Its output is read as it comes, and bounded: a sound of 10 MB, or a reason.
  const qint64 most = MaxOwnSoundBytes + 64 * 1024;
  QElapsedTimer clock;
  clock.start();
  QByteArray out;
  const auto stop = [&](const QString& reason) {
    helper.kill();
    helper.waitForFinished();
    return refused(reason);
  };
  while (helper.state() != QProcess::NotRunning) {
    const qint64 left = SoundDecodeMs - clock.elapsed();
    if (left <= 0) return stop(QStringLiteral("decoding it took longer than %1 seconds").arg(SoundDecodeMs / 1000));
    helper.waitForReadyRead(int(left));
    out += helper.readAllStandardOutput();
    if (out.size() > most) return stop(QStringLiteral("it decodes to more than 10 MB"));
  }
  out += helper.readAllStandardOutput();
  if (helper.exitStatus() != QProcess::NormalExit)
    return refused(QStringLiteral("the sound decoder stopped on it (it crashed or ran out of memory)"));
  if (helper.exitCode() == 1) return refused(QString::fromUtf8(out.left(1000)).trimmed());
  if (helper.exitCode() != 0) return refused(QStringLiteral("the sound decoder failed (exit code %1)").arg(helper.exitCode()));
  if (!CheckOwnSound(out, why)) return refused(QStringLiteral("the sound decoder gave no usable sound: %1").arg(why));
  return {out, {}};
}

}  // namespace qv
