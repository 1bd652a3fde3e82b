// Appends conversion records through AppendLine from a process of its own, for the fault
// tests: two at once on one file, under a file size limit, or started as another user.
// Usage: append_worker FILE COUNT TAG [FILE_SIZE_LIMIT]
// Prints the error text and exits 1 at the first append that fails.

#include <sys/resource.h>

#include <QString>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "data/conversion_data.h"

int main(int argc, char **argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: append_worker FILE COUNT TAG [FILE_SIZE_LIMIT]\n");
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[1]);
  const int count = std::atoi(argv[2]);
  const QString tag = QString::fromUtf8(argv[3]);
  if (argc > 4) {
    // A write past the limit then fails with EFBIG part way, like a disk that fills up.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlim_t limit = std::strtoull(argv[4], nullptr, 10);
    const rlimit size{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &size) != 0) return 2;
  }
  // Long lines, so that two writers that interleave would tear them visibly.
  const QString padding(200, u'x');
  for (int i = 0; i < count; ++i) {
    const auto line = qlc::RecordLine(QStringLiteral("%1 %2 %3").arg(tag).arg(i).arg(padding),
                                      QStringLiteral("to %1").arg(i), QStringLiteral("FAULTS"),
                                      QStringLiteral("1.5"), i);
    const qlc::AppendResult result = qlc::AppendLine(path, *line);
    if (!result.ok) {
      std::printf("%s\n", result.error.toUtf8().constData());
      return 1;
    }
  }
  return 0;
}
