// Reading and writing WAVE files, and the own sounds' bounds.
#include "surface/WaveFile.h"

#include <QtEndian>

namespace qv {
namespace {

quint32 u32(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 u16(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }

void put32(QByteArray& out, quint32 v) {
  char b[4];
  qToLittleEndian(v, b);
  out.append(b, 4);
}
void put16(QByteArray& out, quint16 v) {
  char b[2];
  qToLittleEndian(v, b);
  out.append(b, 2);
}

// The INAM text of a LIST chunk of type INFO; empty when it has none.
QString infoName(const QByteArray& b, qsizetype at, qsizetype end) {
  if (end - at < 4 || b.mid(at, 4) != "INFO") return {};
  for (at += 4; end - at >= 8;) {
    const qsizetype size = u32(b, at + 4);
    if (size > end - at - 8) break;
    if (b.mid(at, 4) == "INAM") {
      const QByteArray text = b.mid(at + 8, size);
      return QString::fromUtf8(text.left(text.indexOf('\0') < 0 ? text.size() : text.indexOf('\0')));
    }
    at += 8 + size + (size & 1);
  }
  return {};
}

}  // namespace

std::optional<WaveInfo> ReadWave(const QByteArray& b, QString& why) {
  if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") {
    why = QStringLiteral("it is not a WAVE file");
    return std::nullopt;
  }
  // A file may carry bytes after its RIFF chunk; they are not read.
  const qint64 riffEnd = qint64(u32(b, 4)) + 8;
  if (riffEnd > b.size()) {
    why = QStringLiteral("it is cut short: it lacks %1 of its %2 bytes").arg(riffEnd - b.size()).arg(riffEnd);
    return std::nullopt;
  }
  WaveInfo w;
  int blockAlign = 0;
  bool format = false, data = false;
  for (qsizetype at = 12; riffEnd - at >= 8;) {
    const QByteArray id = b.mid(at, 4);
    const qint64 size = u32(b, at + 4);
    if (size > riffEnd - at - 8) {
      why = QStringLiteral("it is cut short: its chunk \"%1\" lacks %2 of its %3 bytes")
                .arg(QString::fromLatin1(id))
                .arg(size - (riffEnd - at - 8))
                .arg(size);
      return std::nullopt;
    }
    if (id == "fmt " && size >= 16) {
      format = true;
      w.format = u16(b, at + 8);
      w.channels = u16(b, at + 10);
      w.rate = int(u32(b, at + 12) & 0x7fffffff);
      blockAlign = u16(b, at + 20);
      w.bits = u16(b, at + 22);
    } else if (id == "data" && !data) {
      data = true;
      w.dataOffset = at + 8;
      w.dataSize = qsizetype(size);
    } else if (id == "LIST") {
      w.name = infoName(b, at + 8, at + 8 + size).left(MaxSoundNameLength);
    }
    at += 8 + size + (size & 1);
  }
  if (!format || !data) {
    why = QStringLiteral("it has no %1 chunk").arg(format ? "data" : "format");
    return std::nullopt;
  }
  w.frames = blockAlign > 0 ? w.dataSize / blockAlign : 0;
  return w;
}

QByteArray EncodeWave(const QByteArray& samples, int channels, int rate, const QString& name) {
  QByteArray list;
  if (!name.isEmpty()) {
    QByteArray text = name.left(MaxSoundNameLength).toUtf8() + '\0';
    if (text.size() & 1) text += '\0';
    list = "INFOINAM";
    put32(list, quint32(text.size()));
    list += text;
  }
  QByteArray out;
  out.reserve(44 + list.size() + 8 + samples.size());
  out += "RIFF";
  put32(out, quint32(4 + 24 + (list.isEmpty() ? 0 : 8 + list.size()) + 8 + samples.size() + (samples.size() & 1)));
  out += "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);
  put16(out, quint16(channels));
  put32(out, quint32(rate));
  put32(out, quint32(rate * channels * 2));
  put16(out, quint16(channels * 2));
  put16(out, 16);
  if (!list.isEmpty()) {
    out += "LIST";
    put32(out, quint32(list.size()));
    out += list;
  }
  out += "data";
  put32(out, quint32(samples.size()));
  out += samples;
  if (samples.size() & 1) out += '\0';
  return out;
}

std::optional<WaveInfo> CheckOwnSound(const QByteArray& wave, QString& why) {
  if (wave.size() > MaxOwnSoundBytes + 4096) {
    why = QStringLiteral("it holds more than 10 MB");
    return std::nullopt;
  }
  auto w = ReadWave(wave, why);
  if (!w) return std::nullopt;
  if (w->format != 1 || w->bits != 16 || w->rate != OwnSoundRate || w->channels < 1 || w->channels > 2)
    why = QStringLiteral("it is not 16-bit PCM at 44,100 Hz with one or two channels");
  else if ((w->frames = w->dataSize / (2 * w->channels)) == 0)
    why = QStringLiteral("it holds no sound");
  else if (w->frames > qint64(MaxOwnSoundSeconds) * OwnSoundRate || w->dataSize > MaxOwnSoundBytes)
    why = QStringLiteral("it is %1 seconds long; a sound may be at most %2").arg(w->seconds(), 0, 'f', 1).arg(MaxOwnSoundSeconds);
  else
    return w;
  return std::nullopt;
}

OwnSound NamedOwnSound(const QByteArray& wave, const WaveInfo& info, const QString& name) {
  const QString kept = name.left(MaxSoundNameLength);
  return {kept, EncodeWave(wave.mid(info.dataOffset, info.frames * info.channels * 2), info.channels, info.rate, kept)};
}

}  // namespace qv
