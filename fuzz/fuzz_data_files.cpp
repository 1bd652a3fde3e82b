// The readers of type.txt and convert.txt on any bytes: never crash, stay within the
// limits, read each line alone as they read it inside the file (so a line in another
// encoding garbles no other), and every entry they load the line writer writes back to the
// same entry.

#include <vector>

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

// The input's lines with their line ends, split at CR LF, LF and a lone CR.
std::vector<QByteArray> Lines(const QByteArray &bytes) {
  std::vector<QByteArray> lines;
  for (qsizetype start = 0, i = 0; start < bytes.size(); start = i) {
    while (i < bytes.size() && bytes[i] != '\n' && bytes[i] != '\r') ++i;
    i += bytes.sliced(i).startsWith("\r\n") ? 2 : i < bytes.size();
    lines.push_back(bytes.sliced(start, i - start));
  }
  return lines;
}

// The entries a reader loads from the file are those it loads from each line alone (after
// an empty line, which loads nothing, for the lines but the first: byte-order marks count
// only at the file's start); and a line in Windows-1252 put in after half of the lines
// loads as the foreign entry and changes none of the others.
template <typename Load, typename Entry>
void CheckLineByLine(const std::vector<QByteArray> &lines, Load load, const QByteArray &foreignLine,
                     const Entry &foreign) {
  decltype(load(QByteArray())) alone, mixed;
  QByteArray file, mixedFile;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i == lines.size() / 2 && i > 0) mixedFile += foreignLine, mixed.push_back(foreign);
    file += lines[i], mixedFile += lines[i];
    for (const auto &entry : load(i == 0 ? lines[i] : '\n' + lines[i]))
      alone.push_back(entry), mixed.push_back(entry);
  }
  QLC_CHECK(load(file) == alone, QString::number(alone.size()));
  QLC_CHECK(load(mixedFile) == mixed, QString::number(mixed.size()));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
  const std::vector<QByteArray> lines = Lines(bytes);

  const TypesFile types = ParseTypes(bytes);
  CheckReport(types.report);
  QLC_CHECK(!types.names.isEmpty() && types.names.size() <= kMaxTypeLines, QString());
  for (const QString &name : types.names) {
    QLC_CHECK(Writable(name), name);
    const QString line = TypeLine(name).value_or(QString());
    QLC_CHECK(ParseTypes(line.toUtf8()).names == QStringList{name}, line);
  }
  // A type line at the end always loads: no file stands for one empty name.
  auto names = [](const QByteArray &file) {
    QStringList loaded = ParseTypes(file + "\r\n\"#\"").names;
    loaded.removeLast();
    return loaded;
  };
  CheckLineByLine(lines, names, "\"\xB0\xFF\"\r\n", QString::fromUtf8("°ÿ"));

  for (const NumberSeparators &sep : kSeparators) {
    const ConversionTable file = ParseConversions(bytes, sep);
    const std::vector<ConversionRecord> records = file.Records();
    CheckReport(file.report);
    QLC_CHECK(records.size() <= std::size_t(kMaxConversionRecords), QString());
    for (const ConversionRecord &r : records) {
      for (const QString &f : {r.FromUnit, r.ToUnit, r.TypeName, r.Multiplier, r.Adder})
        QLC_CHECK(Writable(f), f);
      // The adder is a number in the user's form; a conversion reads it as it stands.
      const ReadResult adder = ReadNumber(r.Adder, sep);
      QLC_CHECK(adder.ok(), r.Adder);
      const QString line =
          RecordLine(r.FromUnit, r.ToUnit, r.TypeName, r.Multiplier, adder.value).value_or("");
      const std::vector<ConversionRecord> again = ParseConversions(line.toUtf8(), sep).Records();
      ConversionRecord expected = r;
      if (r.Multiplier.isEmpty()) expected.Multiplier = QStringLiteral("0");  // written as 0
      QLC_CHECK(again.size() == 1 && again[0] == expected, line);
    }
  }
  // Lines do not depend on the separators: one set is enough here.
  CheckLineByLine(
      lines, [](const QByteArray &l) { return ParseConversions(l, kEnglishSeparators).Records(); },
      "\"\xB0\",\"\xFF\",\"T\",1,0\r\n", ConversionRecord{"°", "ÿ", "T", "1", "0"});
  return 0;
}
