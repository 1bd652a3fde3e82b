// Appends records through AppendLine from a process of its own, for tst_faults: two at once
// on one file, under a file size limit, or started as another user.
// Usage: append_worker FILE COUNT TAG [FILE_SIZE_LIMIT]; prints the error of the first
// append that fails and exits 1.

#include <sys/resource.h>

#include <QString>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "data/conversion_data.h"

int main(int argc, char **argv) {
  if (argc < 4) return 2;
  if (argc > 4) {
    // A write past the limit then fails with EFBIG part way, like a disk that fills up.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlim_t limit = std::strtoull(argv[4], nullptr, 10);
    const rlimit size{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &size) != 0) return 2;
  }
  // Long lines, so that two writers that interleave would tear them visibly.
  const QString padding(200, u'x');
  for (int i = 0; i < std::atoi(argv[2]); ++i) {
    const auto line = qlc::RecordLine(QStringLiteral("%1 %2 %3").arg(argv[3]).arg(i).arg(padding),
                                      QStringLiteral("to %1").arg(i), QStringLiteral("FAULTS"),
                                      QStringLiteral("1.5"), i);
    const qlc::AppendResult result = qlc::AppendLine(QString::fromLocal8Bit(argv[1]), *line);
    if (!result.ok) return std::printf("%s\n", result.error.toUtf8().constData()), 1;
  }
  return 0;
}
