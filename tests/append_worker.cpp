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
  if (argc > 3) {
    // A write past the limit then fails with EFBIG part way, like a disk that fills up.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlim_t limit = std::strtoull(argv[3], nullptr, 10);
    const rlimit size{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &size) != 0) return 2;
  }
  // Long lines, so that a size limit falls inside one and interleaved writers tear them.
  for (int i = 0; i < std::atoi(argv[2]); ++i) {
    const auto line =
        qlc::RecordLine(QString("%1 %2 %3").arg(::getpid()).arg(i).arg(QString(200, 'x')), "to",
                        "FAULTS", "1.5", i);
    const qlc::AppendResult r = qlc::AppendLine(QString::fromLocal8Bit(argv[1]), *line);
    if (!r.ok) return std::printf("%s\n", r.error.toUtf8().constData()), 1;
  }
  return 0;
}
