// Build helper: writes the program icon as PNG files into <folder>/<n>x<n>/tramis.png for
// every size n given, laid out as an icon theme expects them.
#include "Drawings.h"

#include <QDir>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size <= 0) {
      std::fprintf(stderr, "%s: not a size: %s\n", argv[0], argv[i]);
      return 2;
    }
    const QString sub = QStringLiteral("%1x%1").arg(size);
    if (!QDir(folder).mkpath(sub)) {
      std::fprintf(stderr, "%s: cannot create %s\n", argv[0], qPrintable(folder + '/' + sub));
      return 1;
    }
    const QString path = folder + '/' + sub + QStringLiteral("/tramis.png");
    if (!drawings::ProgramIcon(size).save(path, "PNG")) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(path));
      return 1;
    }
  }
  return 0;
}
