// The readers of type.txt and convert.txt on any bytes: never crash, stay within the
// limits, and whatever they load the line writer writes back to the same entry.

#include "data/conversion_data.h"
#include "fuzz_support.h"
#include "numbers/formats.h"

using namespace qlc;
using namespace qlc::fuzz;

namespace {

void CheckReport(const LoadReport &report) {
  QLC_CHECK(!report.missing, QString());
  QLC_CHECK(
      (report.skippedLines > 0) == (report.firstSkippedLine > 0),
      QStringLiteral("skipped %1 first %2").arg(report.skippedLines).arg(report.firstSkippedLine));
}

bool HoldsLineEnd(const QString &text) {
  return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}

// The file with written lines appended as the Add dialogs append them: a line break first
// when the last line lacks one, each line in the file's encoding, ended by CR LF.
QByteArray Appended(const QByteArray &bytes, const QStringList &lines, TextEncoding encoding) {
  QByteArray out = bytes;
  if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r')) out += "\r\n";
  for (const QString &line : lines) {
    const auto encoded = EncodeText(line, encoding);
    QLC_CHECK(encoded.has_value(), QStringLiteral("cannot encode [%1]").arg(line));
    out += *encoded + "\r\n";
  }
  return out;
}

void CheckTypes(const QByteArray &bytes) {
  const TypesFile types = ParseTypes(bytes);
  CheckReport(types.report);
  QLC_CHECK(!types.names.isEmpty() && types.names.size() <= kMaxTypeLines, QString());
  QStringList lines;
  for (const QString &name : types.names) {
    QLC_CHECK(!HoldsLineEnd(name) && !name.contains(u'"'), name);
    const auto line = TypeLine(name);
    QLC_CHECK(line.has_value(), name);
    lines.append(*line);
  }
  if (types.report.truncated || 2 * types.names.size() > kMaxTypeLines) return;
  // Every name, added again by the Add Type line writer, loads as the same name.
  const TypesFile again = ParseTypes(Appended(bytes, lines, types.report.encoding));
  const qsizetype n = types.names.size();
  // A file without a type line reads as one empty name, which the written line replaces.
  const bool noLines = n == 1 && types.names.front().isEmpty() && again.names.size() == 1;
  const QStringList added = again.names.mid(again.names.size() - n);
  QLC_CHECK(added == types.names && (noLines || again.names.size() == 2 * n),
            QStringLiteral("%1 names, %2 after").arg(n).arg(again.names.size()));
}

void CheckConversions(const QByteArray &bytes, const NumberSeparators &sep) {
  const ConversionsFile file = ParseConversions(bytes, sep);
  CheckReport(file.report);
  QLC_CHECK(int(file.records.size()) <= kMaxConversionRecords, QString());
  QStringList lines;
  std::vector<ConversionRecord> expected;
  for (const ConversionRecord &r : file.records) {
    const QString fields[] = {r.FromUnit, r.ToUnit, r.TypeName, r.Multiplier, r.Adder};
    for (const QString &f : fields) QLC_CHECK(!HoldsLineEnd(f) && !f.contains(u'"'), f);
    // The adder is a number in the user's form; a conversion reads it as it stands.
    const ReadResult adder = ReadNumber(r.Adder, sep);
    QLC_CHECK(adder.ok(), QStringLiteral("adder [%1]").arg(r.Adder));
    const auto line = RecordLine(r.FromUnit, r.ToUnit, r.TypeName, r.Multiplier, adder.value);
    QLC_CHECK(line.has_value(), r.FromUnit);
    lines.append(*line);
    expected.push_back(r);
    // An empty multiplier is written as the number 0.
    if (r.Multiplier.isEmpty()) expected.back().Multiplier = QStringLiteral("0");
  }
  if (file.report.truncated || 2 * file.records.size() > std::size_t(kMaxConversionRecords)) return;
  // Every record, added again by the Add Conversion line writer, loads unchanged.
  const ConversionsFile again = ParseConversions(Appended(bytes, lines, file.report.encoding), sep);
  const std::size_t n = file.records.size();
  QLC_CHECK(again.records.size() == 2 * n,
            QStringLiteral("%1 records, %2 after").arg(n).arg(again.records.size()));
  for (std::size_t i = 0; i < n; ++i)
    QLC_CHECK(again.records[n + i] == expected[i], QStringLiteral("line [%1]").arg(lines[i]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
  CheckTypes(bytes);
  for (const NumberSeparators &sep : kSeparators) CheckConversions(bytes, sep);
  return 0;
}
