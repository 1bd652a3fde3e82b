// The readers of type.txt and convert.txt on any bytes: never crash, stay within the
// limits, and every entry they load the line writer writes back to the same entry.

#include "data/conversion_data.h"
#include "fuzz_support.h"

using namespace qlc;
using namespace qlc::fuzz;

namespace {
void CheckReport(const LoadReport &report) {
  QLC_CHECK(!report.missing && (report.skippedLines > 0) == (report.firstSkippedLine > 0),
            QString::number(report.skippedLines));
}
// No field may hold what would end or spoil its line when written again.
bool Writable(const QString &text) {
  return !text.contains(u'\r') && !text.contains(u'\n') && !text.contains(QChar(0)) &&
         !text.contains(u'"');
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
  const TypesFile types = ParseTypes(bytes);
  CheckReport(types.report);
  QLC_CHECK(!types.names.isEmpty() && types.names.size() <= kMaxTypeLines, QString());
  for (const QString &name : types.names) {
    QLC_CHECK(Writable(name), name);
    const QString line = TypeLine(name).value_or(QString());
    QLC_CHECK(ParseTypes(line.toUtf8()).names == QStringList{name}, line);
  }

  for (const NumberSeparators &sep : kSeparators) {
    const ConversionsFile file = ParseConversions(bytes, sep);
    CheckReport(file.report);
    QLC_CHECK(file.records.size() <= std::size_t(kMaxConversionRecords), QString());
    for (const ConversionRecord &r : file.records) {
      for (const QString &f : {r.FromUnit, r.ToUnit, r.TypeName, r.Multiplier, r.Adder})
        QLC_CHECK(Writable(f), f);
      // The adder is a number in the user's form; a conversion reads it as it stands.
      const ReadResult adder = ReadNumber(r.Adder, sep);
      QLC_CHECK(adder.ok(), r.Adder);
      const QString line =
          RecordLine(r.FromUnit, r.ToUnit, r.TypeName, r.Multiplier, adder.value).value_or("");
      const ConversionsFile again = ParseConversions(line.toUtf8(), sep);
      ConversionRecord expected = r;
      if (r.Multiplier.isEmpty()) expected.Multiplier = QStringLiteral("0");  // written as 0
      QLC_CHECK(again.records.size() == 1 && again.records[0] == expected, line);
    }
  }
  return 0;
}
