// Build-time generator for the library test modules: writes every sample
// bitmap as b<id>.bmp and samples.rc, which names them as bitmap resources
// and holds the long strings, into the folder given.
#include "SampleBitmaps.h"

#include <QFile>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const QString dir = QString::fromLocal8Bit(argv[1]);
  auto write = [&](const QString& name, const QByteArray& bytes) {
    QFile f(dir + QLatin1Char('/') + name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
  };
  QByteArray rc = "STRINGTABLE\nBEGIN\n  200 \"" + qv::samples::longText(1100) + "\"\n  201 \"" +
                  qv::samples::longText(1023) + "\"\nEND\n";
  for (const auto& s : qv::samples::sampleBitmaps()) {
    const QByteArray name = "b" + QByteArray::number(s.id) + ".bmp";
    if (!write(QString::fromLatin1(name), qv::samples::encodeBmp(s))) return 1;
    rc += QByteArray::number(s.id) + " BITMAP \"" + name + "\"\n";
  }
  return write(QStringLiteral("samples.rc"), rc) ? 0 : 1;
}
