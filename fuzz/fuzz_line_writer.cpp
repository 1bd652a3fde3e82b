// The line writer and the append on any texts and any file before them: what RecordLine
// or TypeLine accepts and AppendLine writes loads back as the same entry after the old
// ones; what they refuse leaves the file byte-for-byte as it was. A typed multiplier that
// is a number reads back as that number in every locale.

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const NumberSeparators &sep = PickSeparators(in);
  const bool type = in.ConsumeBool();
  const QString from = ConsumeText(in);
  QString to, group, multiplier;
  double adder = 0;
  if (!type) {
    to = ConsumeText(in), group = ConsumeText(in), multiplier = ConsumeText(in);
    adder = ConsumeDouble(in);
  }
  const QByteArray before = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());
  // A multiplier typed as a number in the user's form is stored in the files' form: it
  // reads back as that number in every locale.
  if (const ReadResult typed = ReadNumber(multiplier, sep); !type && typed.ok()) {
    const QString stored = FileMultiplierText(multiplier, sep);
    for (const NumberSeparators &other : kSeparators) {
      const auto held = ParseConversions(RecordLine("a", "b", "c", stored, 0)->toUtf8(), other);
      const ReadResult back = ReadNumber(held.Records().at(0).Multiplier, other);
      QLC_CHECK(back.ok() && back.value == typed.value, multiplier + u' ' + stored);
    }
  }
  const auto line = type ? TypeLine(from) : RecordLine(from, to, group, multiplier, adder);
  const bool quoteFree = !(type ? from : from + to + group + multiplier).contains(u'"');
  QLC_CHECK(line.has_value() == (quoteFree && (type || std::isfinite(adder))), from);
  const auto after = line ? Append(before, *line) : std::nullopt;
  if (!after) return 0;
  if (type) {
    const TypesFile old = ParseTypes(before), now = ParseTypes(*after);
    if (old.report.truncated || old.names.size() == kMaxTypeLines) return 0;
    // A file without a type line reads as one empty name, which the new line replaces.
    const bool replaced = old.names == QStringList{QString()} && now.names.size() == 1;
    QLC_CHECK(now.names.back() == from && (replaced || now.names.size() == old.names.size() + 1) &&
                  now.report.skippedLines == old.report.skippedLines,
              from);
    return 0;
  }
  const ConversionTable old = ParseConversions(before, sep), now = ParseConversions(*after, sep);
  const std::vector<ConversionRecord> oldRecords = old.Records(), records = now.Records();
  if (old.report.truncated || int(oldRecords.size()) == kMaxConversionRecords) return 0;
  QLC_CHECK(records.size() == oldRecords.size() + 1 &&
                std::equal(oldRecords.begin(), oldRecords.end(), records.begin()) &&
                now.report.skippedLines == old.report.skippedLines,
            *line);
  const ConversionRecord &r = records.back();
  QLC_CHECK(r.FromUnit == from && r.ToUnit == to && r.TypeName == group, *line);
  // A multiplier in the files' number form is held in the user's form; any other keeps
  // its characters, and an empty one is written as 0. The adder is held as its general text.
  if (IsFileNumber(multiplier)) {
    const ReadResult typed = ReadNumber(multiplier, NumberSeparators{u'.', QChar()});
    const ReadResult held = ReadNumber(r.Multiplier, sep);
    QLC_CHECK(held.status == typed.status && held.value == typed.value, r.Multiplier);
  } else {
    QLC_CHECK(r.Multiplier == (multiplier.isEmpty() ? QStringLiteral("0") : multiplier),
              r.Multiplier);
  }
  QLC_CHECK(r.Adder == (adder == 0.0 ? QStringLiteral("0") : GeneralText(adder, sep)), r.Adder);
  return 0;
}
