#include "data/conversion_data.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "numbers/formats.h"

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace qlc {

namespace {

// Windows-1252 for 0x80..0x9F; the five bytes it leaves undefined map to the C1 code
// points, as Windows does, so that every byte reads back as itself.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The blanks around a field: space and tab. A no-break space is part of the text.
bool IsFieldBlank(QChar c) {
  return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView s) {
  qsizetype b = 0, e = s.size();
  while (b < e && IsFieldBlank(s[b])) ++b;
  while (e > b && IsFieldBlank(s[e - 1])) --e;
  return s.mid(b, e - b);
}

// Splits decoded text into lines; CR LF, LF and a lone CR all end a line. A final line
// without a line end still counts; an empty text has no lines.
template <typename Fn>
void ForEachLine(QStringView text, Fn &&fn) {
  qsizetype start = 0;
  int number = 1;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c == u'\n' || c == u'\r') {
      if (!fn(text.mid(start, i - start), number++)) return;
      if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  if (start < n) fn(text.mid(start), number);
}

void NoteSkipped(LoadReport &report, int lineNumber) {
  if (report.skippedLines++ == 0) report.firstSkippedLine = lineNumber;
}

bool ReadWholeFile(const QString &path, QByteArray &bytes, LoadReport &report) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    report.missing = true;
    report.error = file.errorString();
    return false;
  }
  if (QFileInfo(path).isDir()) {
    report.missing = true;
    report.error = QStringLiteral("It is a folder, not a file.");
    return false;
  }
  bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    report.missing = true;
    report.error = file.errorString();
    return false;
  }
  return true;
}

QString DecodeFile(const QByteArray &bytes, LoadReport &report) {
  report.encoding = DetectEncoding(bytes);
  QByteArray body = bytes;
  if (report.encoding == TextEncoding::Utf8 && body.startsWith(kUtf8Bom)) body.remove(0, 3);
  return DecodeText(body, report.encoding);
}

// The multiplier as the user's locale writes the file's number: same digits, the
// locale's decimal separator, so ReadNumber gives the double the file means.
QString LocaleNumberText(QString fileNumber, const NumberSeparators &sep) {
  if (sep.decimal != u'.') fileNumber.replace(u'.', sep.decimal);
  return fileNumber;
}

// A number field of the files: their grammar, read by the one number reader with the full
// stop and no grouping. Beyond the range of a double it is no number; below it, zero.
bool ParseFileNumber(QStringView text, double &value) {
  if (!IsFileNumber(text)) return false;
  const ReadResult read = ReadNumber(text, NumberSeparators{u'.', QChar()});
  value = read.value;
  return read.ok();
}

}  // namespace

TextEncoding DetectEncoding(const QByteArray &bytes) {
  const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
  const qsizetype n = bytes.size();
  qsizetype i = 0;
  while (i < n) {
    // Runs of ASCII eight bytes at a time: most files are nearly all ASCII.
    std::uint64_t word;
    while (i + 8 <= n && (std::memcpy(&word, p + i, 8), (word & 0x8080808080808080u) == 0)) i += 8;
    if (i >= n) break;
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra;
    char32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return TextEncoding::Windows1252;
    }
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= n || (p[i + k] & 0xC0) != 0x80) return TextEncoding::Windows1252;
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return TextEncoding::Windows1252;
    i += extra + 1;
  }
  return TextEncoding::Utf8;
}

QByteArrayView SkipByteOrderMarks(QByteArrayView bytes, TextEncoding encoding) {
  for (int i = 0; i < 2 && encoding == TextEncoding::Utf8 && bytes.startsWith(kUtf8Bom); ++i)
    bytes = bytes.sliced(3);
  return bytes;
}

QString DecodeText(const QByteArray &bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return QString::fromUtf8(bytes);
  QString text(bytes.size(), Qt::Uninitialized);
  QChar *out = text.data();
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
  }
  return text;
}

std::optional<QByteArray> EncodeText(QStringView text, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) {
    // Lone surrogates cannot be written as UTF-8.
    for (qsizetype i = 0; i < text.size(); ++i) {
      const QChar c = text[i];
      if (c.isHighSurrogate()) {
        if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate()) return std::nullopt;
        ++i;
      } else if (c.isLowSurrogate()) {
        return std::nullopt;
      }
    }
    return text.toUtf8();
  }
  QByteArray out;
  out.reserve(text.size());
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out.append(char(u));
      continue;
    }
    const auto it = std::find(kCp1252High.begin(), kCp1252High.end(), u);
    if (it == kCp1252High.end()) return std::nullopt;
    out.append(char(0x80 + (it - kCp1252High.begin())));
  }
  return out;
}

bool IsFileNumber(QStringView s) {
  qsizetype i = 0;
  const qsizetype n = s.size();
  if (i < n && (s[i] == u'+' || s[i] == u'-')) ++i;
  qsizetype digits = 0;
  while (i < n && s[i].unicode() >= '0' && s[i].unicode() <= '9') ++i, ++digits;
  if (i < n && s[i] == u'.') {
    ++i;
    qsizetype frac = 0;
    while (i < n && s[i].unicode() >= '0' && s[i].unicode() <= '9') ++i, ++frac;
    if (frac == 0) return false;
    digits += frac;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == u'E' || s[i] == u'e')) {
    ++i;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) ++i;
    qsizetype exp = 0;
    while (i < n && s[i].unicode() >= '0' && s[i].unicode() <= '9') ++i, ++exp;
    if (exp == 0) return false;
  }
  return i == n;
}

std::optional<QList<Field>> ReadFields(QStringView line) {
  QList<Field> fields;
  fields.reserve(5);  // most lines are records of five fields: one allocation each
  const qsizetype n = line.size();
  qsizetype i = 0;
  for (;;) {
    while (i < n && IsFieldBlank(line[i])) ++i;
    Field field;
    if (i < n && line[i] == u'"') {
      const qsizetype close = line.indexOf(u'"', i + 1);
      if (close < 0) return std::nullopt;
      field.kind = Field::QuotedText;
      field.text = line.mid(i + 1, close - i - 1).toString();
      i = close + 1;
      while (i < n && IsFieldBlank(line[i])) ++i;
      if (i < n && line[i] != u',') return std::nullopt;
    } else {
      qsizetype end = line.indexOf(u',', i);
      if (end < 0) end = n;
      const QStringView raw = TrimBlanks(line.mid(i, end - i));
      if (raw.contains(u'"')) return std::nullopt;
      field.kind = IsFileNumber(raw) ? Field::Number : Field::Text;
      field.text = raw.toString();
      i = end;
    }
    fields.append(std::move(field));
    if (i >= n) break;
    ++i;  // the comma
  }
  return fields;
}

TypesFile ParseTypes(const QByteArray &bytes) {
  TypesFile result;
  const QString text = DecodeFile(bytes, result.report);
  ForEachLine(text, [&](QStringView line, int number) {
    if (result.names.size() >= kMaxTypeLines) {
      result.report.truncated = true;
      result.report.limit = kMaxTypeLines;
      return false;
    }
    const auto fields = line.contains(QChar(0)) ? std::nullopt : ReadFields(line);
    if (!fields || fields->size() != 1 || TrimBlanks(line).isEmpty()) {
      NoteSkipped(result.report, number);
      return true;
    }
    result.names.append(fields->front().text);
    return true;
  });
  // A file without lines still gives the chooser one (empty) entry.
  if (result.names.isEmpty()) result.names.append(QString());
  return result;
}

namespace {

// The five fields of a record line, as parts of the line. The rules are those of
// ReadFields; splitting in place spares building a field list for every line. A line
// holding a NUL is no record either.
struct RecordFields {
  std::array<QStringView, 5> text;
  bool adderQuoted = false;
};

bool SplitRecord(QStringView line, RecordFields &out) {
  const char16_t *d = line.utf16();
  const qsizetype n = line.size();
  qsizetype i = 0;
  int count = 0;
  for (;;) {
    while (i < n && (d[i] == u' ' || d[i] == u'\t')) ++i;
    if (count == 5) return false;  // a sixth field
    qsizetype begin, end;
    const bool quoted = i < n && d[i] == u'"';
    if (quoted) {
      begin = ++i;
      while (i < n && d[i] != u'"') {
        if (d[i] == 0) return false;
        ++i;
      }
      if (i == n) return false;  // no closing quote
      end = i++;
      while (i < n && (d[i] == u' ' || d[i] == u'\t')) ++i;
      if (i < n && d[i] != u',') return false;
    } else {
      begin = i;
      while (i < n && d[i] != u',') {
        if (d[i] == u'"' || d[i] == 0) return false;
        ++i;
      }
      end = i;
      while (end > begin && (d[end - 1] == u' ' || d[end - 1] == u'\t')) --end;
    }
    out.text[size_t(count)] = QStringView(d + begin, end - begin);
    if (count == 4) out.adderQuoted = quoted;
    ++count;
    if (i >= n) break;
    ++i;  // the comma
  }
  return count == 5;
}

// One string per distinct text: unit and group names repeat across records, and a file
// of tens of thousands of records then holds each name once.
class TextPool {
 public:
  explicit TextPool(qsizetype expected) { texts_.reserve(expected); }
  // The pooled string for a text of the file; make(text) gives it when the text is new.
  template <typename Make>
  QString Get(QStringView text, Make &&make) {
    auto it = texts_.constFind(text);
    if (it == texts_.constEnd()) {
      Entry entry{text.toString(), {}};
      entry.value = make(entry.text);
      const QStringView key = entry.text;  // the key lives as long as its entry
      it = texts_.insert(key, std::move(entry));
    }
    return it->value;
  }

 private:
  struct Entry {
    QString text, value;
  };
  QHash<QStringView, Entry> texts_;
};

// Splits bytes into lines as ForEachLine splits text: a line break is ASCII in both file
// encodings, so a line of bytes is a line of the decoded text.
template <typename Fn>
void ForEachByteLine(QByteArrayView bytes, Fn &&fn) {
  const char *const begin = bytes.data(), *const end = begin + bytes.size();
  const char *start = begin;
  int number = 1;
  while (start < end) {
    const auto *lf = static_cast<const char *>(std::memchr(start, '\n', size_t(end - start)));
    const char *stop = lf ? lf : end;
    const auto *cr = static_cast<const char *>(std::memchr(start, '\r', size_t(stop - start)));
    if (cr) stop = cr;
    if (!fn(QByteArrayView(start, stop - start), number++)) return;
    if (stop == end) return;
    start = stop + 1;
    if (*stop == '\r' && start < end && *start == '\n') ++start;
  }
}

// The bytes of one line as text, into a buffer kept from line to line.
class LineDecoder {
 public:
  explicit LineDecoder(TextEncoding encoding)
      : encoding_(encoding),
        utf8_(QStringConverter::Utf8,
              QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom) {}
  QStringView operator()(QByteArrayView line) {
    if (buffer_.size() < line.size()) buffer_.resize(line.size());
    QChar *out = buffer_.data();
    if (encoding_ == TextEncoding::Utf8) return QStringView(out, utf8_.appendToBuffer(out, line));
    for (const char ch : line) {
      const auto b = static_cast<unsigned char>(ch);
      *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return QStringView(buffer_.data(), out);
  }

 private:
  TextEncoding encoding_;
  QStringDecoder utf8_;
  QString buffer_;
};

}  // namespace

LoadReport ParseConversions(const QByteArray &bytes, const NumberSeparators &sep,
                            const RecordSink &sink) {
  LoadReport report;
  report.encoding = DetectEncoding(bytes);
  const QByteArrayView body = SkipByteOrderMarks(bytes, report.encoding);
  // The lines decoded one at a time: the whole text is never held at once.
  int lines = 0;
  ForEachByteLine(body, [&lines](QByteArrayView, int) { return ++lines < kMaxConversionRecords; });
  if (sink.reserve) sink.reserve(lines);

  LineDecoder decode(report.encoding);
  TextPool names(256), multipliers(64), adders(64);
  const QString zero = QStringLiteral("0");
  RecordFields f;
  int records = 0;
  ForEachByteLine(body, [&](QByteArrayView bytesOfLine, int number) {
    if (records >= kMaxConversionRecords) {
      report.truncated = true;
      report.limit = kMaxConversionRecords;
      return false;
    }
    double adder = 0.0;
    if (!SplitRecord(decode(bytesOfLine), f) || f.adderQuoted ||
        !ParseFileNumber(f.text[4], adder)) {
      NoteSkipped(report, number);
      return true;
    }
    auto same = [](const QString &text) { return text; };
    ConversionRecord record;
    record.FromUnit = names.Get(f.text[0], same);
    record.ToUnit = names.Get(f.text[1], same);
    record.TypeName = names.Get(f.text[2], same);
    record.Multiplier = multipliers.Get(f.text[3], [&sep](const QString &text) {
      return IsFileNumber(text) ? LocaleNumberText(text, sep) : text;
    });
    record.Adder = adder == 0.0 ? zero : adders.Get(f.text[4], [adder, &sep](const QString &) {
      return GeneralText(adder, sep);
    });
    ++records;
    sink.add(std::move(record));
    return true;
  });
  return report;
}

namespace {

// A sink that keeps the records in the file's list.
RecordSink IntoList(ConversionsFile &file) {
  return {[&file](int n) { file.records.reserve(size_t(n)); },
          [&file](ConversionRecord &&r) { file.records.push_back(std::move(r)); }};
}

}  // namespace

ConversionsFile ParseConversions(const QByteArray &bytes, const NumberSeparators &sep) {
  ConversionsFile result;
  result.report = ParseConversions(bytes, sep, IntoList(result));
  return result;
}

TypesFile ReadTypeFile(const QString &path) {
  QByteArray bytes;
  LoadReport report;
  if (!ReadWholeFile(path, bytes, report)) {
    TypesFile result;
    result.names.append(QString());
    result.report = report;
    return result;
  }
  return ParseTypes(bytes);
}

LoadReport ReadConversionFile(const QString &path, const NumberSeparators &sep,
                              const RecordSink &sink) {
  QByteArray bytes;
  LoadReport report;
  if (!ReadWholeFile(path, bytes, report)) return report;
  return ParseConversions(bytes, sep, sink);
}

ConversionsFile ReadConversionFile(const QString &path, const NumberSeparators &sep) {
  ConversionsFile result;
  result.report = ReadConversionFile(path, sep, IntoList(result));
  return result;
}

QString FileNumberText(double value) {
  if (value == 0.0) return QStringLiteral("0");
  char buffer[64];
  auto [p, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ec != std::errc()) return QStringLiteral("0");
  // The files' grammar wants an upper-case exponent letter and no bare "inf".
  for (char *q = buffer; q != p; ++q)
    if (*q == 'e') *q = 'E';
  return QString::fromLatin1(buffer, p - buffer);
}

namespace {
std::optional<QString> Quoted(const QString &text) {
  if (text.contains(u'"')) return std::nullopt;
  return QLatin1Char('"') + text + QLatin1Char('"');
}
}  // namespace

std::optional<QString> TypeLine(const QString &typeName) {
  return Quoted(typeName);
}

std::optional<QString> RecordLine(const QString &fromUnit, const QString &toUnit,
                                  const QString &typeName, const QString &multiplierText,
                                  double adder) {
  const auto from = Quoted(fromUnit), to = Quoted(toUnit), type = Quoted(typeName);
  if (!from || !to || !type || !std::isfinite(adder)) return std::nullopt;
  QString multiplier = QStringLiteral("0");
  if (!multiplierText.isEmpty()) {
    const auto quoted = Quoted(multiplierText);
    if (!quoted) return std::nullopt;
    multiplier = *quoted;
  }
  return *from + u',' + *to + u',' + *type + u',' + multiplier + u',' + FileNumberText(adder);
}

AppendResult AppendLine(const QString &path, const QString &line) {
  AppendResult result;
  // A NUL would make the reader skip the whole line at the next start.
  if (line.contains(u'\n') || line.contains(u'\r') || line.contains(QChar(0))) {
    result.error = QStringLiteral("The text holds a line break or a NUL character.");
    return result;
  }
  QFile file(path);
  const bool existed = QFileInfo::exists(path);
  if (QFileInfo(path).isDir()) {
    result.error = QStringLiteral("It is a folder, not a file.");
    return result;
  }
  // Unbuffered: a failed write shows here, with nothing left in a buffer that would
  // block cutting the file back or be written later.
  if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
    result.error = file.errorString();
    return result;
  }
#ifndef Q_OS_WIN
  // Two programs appending at once must not interleave their lines.
  ::flock(file.handle(), LOCK_EX);
#endif
  // What the file holds decides the encoding and whether a line break is missing.
  const qint64 oldSize = file.size();
  QByteArray existing;
  if (oldSize > 0) {
    QFile reader(path);
    if (reader.open(QIODevice::ReadOnly)) existing = reader.readAll();
  }
  const TextEncoding encoding = existing.isEmpty() ? TextEncoding::Utf8 : DetectEncoding(existing);
  const auto encoded = EncodeText(line, encoding);
  if (!encoded) {
    result.error = QStringLiteral(
        "The text holds a character that the file's encoding "
        "(Windows-1252) cannot store.");
    if (!existed) file.remove();
    return result;
  }
  QByteArray bytes;
  // A file of only byte-order marks (an empty file saved as UTF-8) has no line to end.
  if (!SkipByteOrderMarks(existing, encoding).isEmpty() && !existing.endsWith('\n') &&
      !existing.endsWith('\r'))
    bytes.append("\r\n");
  bytes.append(*encoded);
  bytes.append("\r\n");
  // A short write is continued, so that a full disk reports its own reason.
  qint64 written = 0;
  while (written < bytes.size()) {
    const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
    if (n <= 0) break;
    written += n;
  }
  const bool flushed = written == bytes.size() && file.flush();
  if (!flushed) {
    result.error = file.errorString();
    if (result.error.isEmpty()) result.error = QStringLiteral("The line could not be written.");
    // Leave the file exactly as it was.
    file.resize(oldSize);
    if (!existed) file.remove();
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace qlc
