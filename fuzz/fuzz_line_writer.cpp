// The line writer and the append on any texts and any file before them: what RecordLine
// or TypeLine accepts and AppendLine writes loads back as the same entry after the old
// ones; what they refuse leaves the file byte-for-byte as it was.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/conversion_data.h"
#include "fuzz_support.h"
#include "numbers/formats.h"

using namespace qlc;
using namespace qlc::fuzz;

namespace {

// One file for the whole run, in a folder removed when the run ends.
const QString &FilePath() {
  static const QTemporaryDir dir;
  static const QString path = dir.filePath(QStringLiteral("convert.txt"));
  return path;
}

void WriteFile(const QByteArray &bytes) {
  QFile file(FilePath());
  QLC_CHECK(
      file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
      FilePath());
}

QByteArray ReadFile() {
  QFile file(FilePath());
  QLC_CHECK(file.open(QIODevice::ReadOnly), FilePath());
  return file.readAll();
}

bool HoldsLineEnd(const QString &text) {
  return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}

// Appends the line to a file holding `before`; the file afterwards, or nothing when the
// append was refused (then the file must be unchanged).
std::optional<QByteArray> Append(const QByteArray &before, const QString &line) {
  WriteFile(before);
  const AppendResult result = AppendLine(FilePath(), line);
  const QByteArray after = ReadFile();
  if (!result.ok) {
    QLC_CHECK(after == before && !result.error.isEmpty(), line);
    // Refused only for a line break or NUL, which would split or spoil the line on
    // reading, or for a character the file's encoding cannot hold.
    const TextEncoding encoding = before.isEmpty() ? TextEncoding::Utf8 : DetectEncoding(before);
    QLC_CHECK(HoldsLineEnd(line) || !EncodeText(line, encoding), line + u' ' + result.error);
    return std::nullopt;
  }
  QLC_CHECK(after.startsWith(before) && after.endsWith("\r\n"), line);
  return after;
}

void CheckRecord(FuzzedDataProvider &in, const NumberSeparators &sep) {
  const QString from = ConsumeText(in), to = ConsumeText(in), type = ConsumeText(in);
  const QString multiplier = ConsumeText(in);
  const double adder = ConsumeDouble(in);
  const QByteArray before = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

  const auto line = RecordLine(from, to, type, multiplier, adder);
  const bool quoteFree = !from.contains(u'"') && !to.contains(u'"') && !type.contains(u'"') &&
                         !multiplier.contains(u'"');
  QLC_CHECK(
      line.has_value() == (quoteFree && std::isfinite(adder)),
      QStringLiteral("[%1] [%2] [%3] [%4] %5").arg(from, to, type, multiplier, Describe(adder)));
  if (!line) return;
  const auto after = Append(before, *line);
  if (!after) return;

  const ConversionsFile old = ParseConversions(before, sep);
  const ConversionsFile now = ParseConversions(*after, sep);
  if (old.report.truncated || int(old.records.size()) == kMaxConversionRecords) return;
  QLC_CHECK(now.records.size() == old.records.size() + 1 &&
                std::equal(old.records.begin(), old.records.end(), now.records.begin()) &&
                now.report.skippedLines == old.report.skippedLines,
            *line);
  const ConversionRecord &r = now.records.back();
  QLC_CHECK(r.FromUnit == from && r.ToUnit == to && r.TypeName == type, *line);
  // The loader holds a multiplier in the files' number form in the user's form; any
  // other multiplier keeps its characters.
  if (multiplier.isEmpty()) {
    QLC_CHECK(r.Multiplier == u"0", *line);
  } else if (IsFileNumber(multiplier)) {
    const ReadResult typed = ReadNumber(multiplier, NumberSeparators{u'.', QChar()});
    const ReadResult held = ReadNumber(r.Multiplier, sep);
    QLC_CHECK(held.status == typed.status && held.value == typed.value,
              *line + QStringLiteral(" held [%1]").arg(r.Multiplier));
  } else {
    QLC_CHECK(r.Multiplier == multiplier, *line);
  }
  // The adder is held as its general text, which reads back within 15 digits.
  QLC_CHECK(r.Adder == (adder == 0.0 ? QStringLiteral("0") : GeneralText(adder, sep)),
            *line + QStringLiteral(" held [%1]").arg(r.Adder));
  const ReadResult held = ReadNumber(r.Adder, sep);
  QLC_CHECK(held.ok() && Within15Digits(held.value, adder),
            *line + QStringLiteral(" held [%1]").arg(r.Adder));
}

void CheckType(FuzzedDataProvider &in) {
  const QString name = ConsumeText(in);
  const QByteArray before = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());
  const auto line = TypeLine(name);
  QLC_CHECK(line.has_value() == !name.contains(u'"'), name);
  if (!line) return;
  const auto after = Append(before, *line);
  if (!after) return;
  const TypesFile old = ParseTypes(before);
  const TypesFile now = ParseTypes(*after);
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
