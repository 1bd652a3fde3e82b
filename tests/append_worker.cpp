// Appends COUNT records through AppendLine from a process of its own, for tst_faults: two at
// once on one file, under a file size limit, or started as another user.
// Usage: append_worker FILE COUNT [FILE_SIZE_LIMIT]; prints the first error and exits 1.

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "data/conversion_data.h"

int main(int argc, char **argv) {
  if (argc < 3) return 2;
  if (argc > 3) {  // a write past the limit then fails with EFBIG part way, like a full disk
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit size{std::strtoull(argv[3], nullptr, 10), std::strtoull(argv[3], nullptr, 10)};
    if (setrlimit(RLIMIT_FSIZE, &size) != 0) return 2;
  }
  // Long lines, so that a size limit falls inside one and interleaved writers tear them.
  for (int i = 0; i < std::atoi(argv[2]); ++i) {
    const QString from = QString("%1 %2 ").arg(::getpid()).arg(i) + QString(200, 'x');
    const auto line = qlc::RecordLine(from, "to", "FAULTS", "1.5", i);
    const qlc::AppendResult r = qlc::AppendLine(QString::fromLocal8Bit(argv[1]), *line);
    if (!r.ok) return std::printf("%s\n", r.error.toUtf8().constData()), 1;
  }
  return 0;
}
