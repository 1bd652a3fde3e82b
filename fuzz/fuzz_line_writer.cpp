// The line writer and the append on any texts and any file before them: what RecordLine
// or TypeLine accepts and AppendLine writes loads back as the same entry after the old
// ones; what they refuse leaves the file byte-for-byte as it was.

#include <QFile>
#include <QTemporaryDir>

#include "data/conversion_data.h"
#include "fuzz_support.h"
#include "numbers/formats.h"

using namespace qlc;
using namespace qlc::fuzz;

namespace {

// Appends the line to a file holding `before`: the file afterwards, or nothing when the
// append was refused (then only for a line break or NUL, or a character the file's
// encoding cannot hold, and with the file unchanged).
std::optional<QByteArray> Append(const QByteArray &before, const QString &line) {
  static const QTemporaryDir dir;  // one file for the whole run
  QFile file(dir.filePath(QStringLiteral("convert.txt")));
  QLC_CHECK(
      file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(before) == before.size(),
      file.fileName());
  file.close();
  const AppendResult result = AppendLine(file.fileName(), line);
  QLC_CHECK(file.open(QIODevice::ReadOnly), file.fileName());
  const QByteArray after = file.readAll();
  if (result.ok) {
    QLC_CHECK(after.startsWith(before) && after.endsWith("\r\n"), line);
    return after;
  }
  const bool breaks = line.contains(u'\r') || line.contains(u'\n') || line.contains(QChar(0));
  const TextEncoding encoding = before.isEmpty() ? TextEncoding::Utf8 : DetectEncoding(before);
  QLC_CHECK(after == before && !result.error.isEmpty() && (breaks || !EncodeText(line, encoding)),
            line + u' ' + result.error);
  return std::nullopt;
}

void CheckRecord(FuzzedDataProvider &in, const NumberSeparators &sep) {
  const QString from = ConsumeText(in), to = ConsumeText(in), type = ConsumeText(in);
  const QString multiplier = ConsumeText(in);
  const double adder = ConsumeDouble(in);
  const QByteArray before = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());
  const auto line = RecordLine(from, to, type, multiplier, adder);
  const bool quoteFree = !(from + to + type + multiplier).contains(u'"');
  QLC_CHECK(line.has_value() == (quoteFree && std::isfinite(adder)), from);
  const auto after = line ? Append(before, *line) : std::nullopt;
  if (!after) return;
  const ConversionsFile old = ParseConversions(before, sep), now = ParseConversions(*after, sep);
  if (old.report.truncated || int(old.records.size()) == kMaxConversionRecords) return;
  QLC_CHECK(now.records.size() == old.records.size() + 1 &&
                std::equal(old.records.begin(), old.records.end(), now.records.begin()) &&
                now.report.skippedLines == old.report.skippedLines,
            *line);
  const ConversionRecord &r = now.records.back();
  QLC_CHECK(r.FromUnit == from && r.ToUnit == to && r.TypeName == type, *line);
  // A multiplier in the files' number form is held in the user's form; any other keeps
  // its characters, and an empty one is written as 0.
  if (IsFileNumber(multiplier)) {
    const ReadResult typed = ReadNumber(multiplier, NumberSeparators{u'.', QChar()});
    const ReadResult held = ReadNumber(r.Multiplier, sep);
    QLC_CHECK(held.status == typed.status && held.value == typed.value, r.Multiplier);
  } else {
    QLC_CHECK(r.Multiplier == (multiplier.isEmpty() ? QStringLiteral("0") : multiplier),
              r.Multiplier);
  }
  // The adder is held as its general text.
  QLC_CHECK(r.Adder == (adder == 0.0 ? QStringLiteral("0") : GeneralText(adder, sep)), r.Adder);
}

void CheckType(FuzzedDataProvider &in) {
  const QString name = ConsumeText(in);
  const QByteArray before = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());
  const auto line = TypeLine(name);
  QLC_CHECK(line.has_value() == !name.contains(u'"'), name);
  const auto after = line ? Append(before, *line) : std::nullopt;
  if (!after) return;
  const TypesFile old = ParseTypes(before), now = ParseTypes(*after);
  if (old.report.truncated || old.names.size() == kMaxTypeLines) return;
  // A file without a type line reads as one empty name, which the new line replaces.
  const bool replaced = old.names == QStringList{QString()} && now.names.size() == 1;
  QLC_CHECK(now.names.back() == name && (replaced || now.names.size() == old.names.size() + 1) &&
                now.report.skippedLines == old.report.skippedLines,
            name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const NumberSeparators &sep = PickSeparators(in);
  if (in.ConsumeBool())
    CheckType(in);
  else
    CheckRecord(in, sep);
  return 0;
}
