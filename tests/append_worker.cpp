// Appends one record through AppendLine from a process of its own, for tst_faults: under a
// file size limit, or started as another user.
// Usage: append_worker FILE [FILE_SIZE_LIMIT]; prints the error and exits 1 when it fails.

#include <sys/resource.h>

#include <QString>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "data/conversion_data.h"

int main(int argc, char **argv) {
  if (argc < 2) return 2;
  if (argc > 2) {
    // A write past the limit then fails with EFBIG part way, like a disk that fills up.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlim_t limit = std::strtoull(argv[2], nullptr, 10);
    const rlimit size{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &size) != 0) return 2;
  }
  // A long line, so that the size limit falls inside it.
  const auto line = qlc::RecordLine(QString(200, u'x'), QStringLiteral("to"),
                                    QStringLiteral("FAULTS"), QStringLiteral("1.5"), 0);
  const qlc::AppendResult result = qlc::AppendLine(QString::fromLocal8Bit(argv[1]), *line);
  if (!result.ok) std::printf("%s\n", result.error.toUtf8().constData());
  return result.ok ? 0 : 1;
}
