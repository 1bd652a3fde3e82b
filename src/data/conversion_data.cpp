#include "data/conversion_data.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cerrno>
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

// What a line's bytes are: ASCII reads the same in both encodings.
enum class Bytes { Ascii, Utf8, Other };

Bytes Classify(QByteArrayView bytes) {
  const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
  const qsizetype n = bytes.size();
  qsizetype i = 0;
  bool ascii = true;
  while (i < n) {
    // Runs of ASCII eight bytes at a time: most lines are all ASCII or nearly so.
    std::uint64_t word;
    while (i + 8 <= n && (std::memcpy(&word, p + i, 8), (word & 0x8080808080808080u) == 0)) i += 8;
    if (i >= n) break;
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    ascii = false;
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
      return Bytes::Other;
    }
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= n || (p[i + k] & 0xC0) != 0x80) return Bytes::Other;
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return Bytes::Other;
    i += extra + 1;
  }
  return ascii ? Bytes::Ascii : Bytes::Utf8;
}

// The one decoder of both files: a field's bytes in its line's encoding. A byte-order mark
// inside a line is the character it is.
QString DecodeText(QByteArrayView bytes, TextEncoding encoding) {
  if (Classify(bytes) == Bytes::Ascii) return QString::fromLatin1(bytes);
  if (encoding == TextEncoding::Utf8)
    return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                      QStringConverter::Flag::ConvertInitialBom)
        .decode(bytes);
  QString text(bytes.size(), Qt::Uninitialized);
  QChar *out = text.data();
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
  }
  return text;
}

void NoteSkipped(LoadReport &report, int lineNumber) {
  if (report.skippedLines++ == 0) report.firstSkippedLine = lineNumber;
}

// The one line reader of both files: the file without its byte-order marks, split at
// CR LF, LF or a lone CR (a last line without a line end counts; an empty file has no
// lines), each line in its own encoding: UTF-8 when it is valid UTF-8, else Windows-1252,
// so that one line saved by another editor garbles no other. fn(line, number, encoding)
// returns false to stop.
template <typename Fn>
void ForEachLine(QByteArrayView file, LoadReport &report, Fn &&fn) {
  file = SkipByteOrderMarks(file);
  const char *start = file.data(), *const end = start + file.size();
  bool utf8Text = false;
  for (int number = 1; start < end; ++number) {
    const auto *lf = static_cast<const char *>(std::memchr(start, '\n', size_t(end - start)));
    const char *stop = lf ? lf : end;
    const auto *cr = static_cast<const char *>(std::memchr(start, '\r', size_t(stop - start)));
    if (cr) stop = cr;
    const QByteArrayView line(start, stop - start);
    const Bytes kind = Classify(line);
    if (!fn(line, number, kind == Bytes::Other ? TextEncoding::Windows1252 : TextEncoding::Utf8))
      break;
    utf8Text = utf8Text || kind == Bytes::Utf8;
    if (kind == Bytes::Other && report.windows1252Lines++ == 0)
      report.firstWindows1252Line = number;
    if (stop == end) break;
    start = stop + 1;
    if (*stop == '\r' && start < end && *start == '\n') ++start;
  }
  // A file of Windows-1252 and ASCII lines only is simply a Windows-1252 file.
  if (!utf8Text) report.windows1252Lines = report.firstWindows1252Line = 0;
}

bool IsFieldBlank(char c) {
  return c == ' ' || c == '\t';
}

// The fields of one line, as parts of it.
struct Fields {
  static constexpr int kMax = 5;
  std::array<QByteArrayView, kMax> text;
  std::array<bool, kMax> quoted{};
  int count = 0;
};

// The one field splitter of both files, on the line's bytes: a comma, a quote and a blank
// are ASCII in either encoding and never part of a UTF-8 sequence. False when the line
// does not fit the format: an unclosed quote, text after a closing quote, a quote in an
// unquoted field, a NUL, more than max fields. Blanks (space, tab) around a field are not
// part of it.
bool SplitFields(QByteArrayView line, int max, Fields &out) {
  const char *d = line.data();
  const qsizetype n = line.size();
  if (n > 0 && std::memchr(d, 0, size_t(n))) return false;
  qsizetype i = 0;
  out.count = 0;
  for (;;) {
    while (i < n && IsFieldBlank(d[i])) ++i;
    if (out.count == max) return false;
    qsizetype begin, end;
    const bool quoted = i < n && d[i] == '"';
    if (quoted) {
      begin = ++i;
      const auto *close = static_cast<const char *>(std::memchr(d + i, '"', size_t(n - i)));
      if (!close) return false;
      end = close - d;
      i = end + 1;
      while (i < n && IsFieldBlank(d[i])) ++i;
    } else {
      begin = i;
      while (i < n && d[i] != ',' && d[i] != '"') ++i;
      end = i;
      while (end > begin && IsFieldBlank(d[end - 1])) --end;
    }
    if (i < n && d[i] != ',') return false;
    out.text[size_t(out.count)] = QByteArrayView(d + begin, end - begin);
    out.quoted[size_t(out.count)] = quoted;
    ++out.count;
    if (i >= n) return true;
    ++i;  // the comma
  }
}

template <typename Char>
bool FitsFileNumber(const Char *s, qsizetype n) {
  auto digit = [&](qsizetype i) { return s[i] >= Char('0') && s[i] <= Char('9'); };
  qsizetype i = 0;
  if (i < n && (s[i] == Char('+') || s[i] == Char('-'))) ++i;
  qsizetype digits = 0;
  while (i < n && digit(i)) ++i, ++digits;
  if (i < n && s[i] == Char('.')) {
    ++i;
    qsizetype frac = 0;
    while (i < n && digit(i)) ++i, ++frac;
    if (frac == 0) return false;
    digits += frac;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == Char('E') || s[i] == Char('e'))) {
    ++i;
    if (i < n && (s[i] == Char('+') || s[i] == Char('-'))) ++i;
    qsizetype exp = 0;
    while (i < n && digit(i)) ++i, ++exp;
    if (exp == 0) return false;
  }
  return i == n;
}

// The multiplier as the user's locale writes the file's number: same digits, the
// locale's decimal separator, so ReadNumber gives the double the file means.
QString LocaleNumberText(QString fileNumber, const NumberSeparators &sep) {
  if (sep.decimal != u'.') fileNumber.replace(u'.', sep.decimal);
  return fileNumber;
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

// The index into a table's texts of each distinct field text, per encoding of its line:
// names repeat across records, and a file of tens of thousands of records then holds and
// decodes each once. An open-addressed table of the fields' bytes, parts of the file,
// which outlives the pool: this lookup runs five times a record.
class TextPool {
 public:
  // make(bytes, encoding) gives the index when the field is new.
  template <typename Make>
  std::uint32_t Get(QByteArrayView bytes, TextEncoding encoding, Make &&make) {
    if (2 * (used_ + 1) > slots_.size()) Grow();
    const std::uint64_t hash = Hash(bytes) ^ std::uint64_t(encoding);
    const size_t mask = slots_.size() - 1;
    for (size_t i = size_t(hash) & mask;; i = (i + 1) & mask) {
      Slot &slot = slots_[i];
      if (!slot.used) {
        slot = {hash, bytes, make(bytes, encoding), true};
        ++used_;
        return slot.id;
      }
      if (slot.hash == hash && slot.bytes.size() == bytes.size() &&
          std::memcmp(slot.bytes.data(), bytes.data(), size_t(bytes.size())) == 0)
        return slot.id;
    }
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;  // the encoding is in its lowest bit
    QByteArrayView bytes;
    std::uint32_t id = 0;
    bool used = false;
  };

  // Eight bytes at a time, the last eight overlapping, then the high bits folded down.
  static std::uint64_t Hash(QByteArrayView bytes) {
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    std::uint64_t h = std::uint64_t(n) * 0x9E3779B97F4A7C15u, w;
    if (n >= 8) {
      for (qsizetype i = 0; i + 8 < n; i += 8) h = (h ^ (std::memcpy(&w, p + i, 8), w)) * kMul;
      h = (h ^ (std::memcpy(&w, p + n - 8, 8), w)) * kMul;
    } else if (n >= 4) {
      std::uint32_t a, b;
      std::memcpy(&a, p, 4), std::memcpy(&b, p + n - 4, 4);
      h = (h ^ (std::uint64_t(a) << 32 | b)) * kMul;
    } else {
      for (qsizetype i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(p[i])) * kMul;
    }
    h ^= h >> 32;
    return (h * kMul) & ~std::uint64_t(1);
  }

  void Grow() {
    std::vector<Slot> old(std::max<size_t>(64, 2 * slots_.size()));
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot &slot : old) {
      if (!slot.used) continue;
      size_t i = size_t(slot.hash) & mask;
      while (slots_[i].used) i = (i + 1) & mask;
      slots_[i] = slot;
    }
  }

  static constexpr std::uint64_t kMul = 0xFF51AFD7ED558CCDu;
  std::vector<Slot> slots_;
  size_t used_ = 0;
};

// An adder that is no number.
constexpr std::uint32_t kNoNumber = UINT32_MAX;

}  // namespace

TextEncoding DetectEncoding(QByteArrayView bytes) {
  return Classify(bytes) == Bytes::Other ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

QByteArrayView SkipByteOrderMarks(QByteArrayView file) {
  for (int i = 0; i < 2 && file.startsWith(kUtf8Bom); ++i) file = file.sliced(3);
  return file;
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
  if (Classify(out) == Bytes::Utf8) return std::nullopt;
  return out;
}

bool IsFileNumber(QStringView s) {
  return FitsFileNumber(s.utf16(), s.size());
}

TypesFile ParseTypes(QByteArrayView bytes) {
  TypesFile result;
  Fields f;
  ForEachLine(bytes, result.report, [&](QByteArrayView line, int number, TextEncoding encoding) {
    if (result.names.size() >= kMaxTypeLines) {
      result.report.truncated = true;
      result.report.limit = kMaxTypeLines;
      return false;
    }
    // One field; a blank line is none.
    if (!SplitFields(line, 1, f) || (!f.quoted[0] && f.text[0].isEmpty()))
      NoteSkipped(result.report, number);
    else
      result.names.append(DecodeText(f.text[0], encoding));
    return true;
  });
  // A file without lines still gives the chooser one (empty) entry.
  if (result.names.isEmpty()) result.names.append(QString());
  return result;
}

ConversionTable ParseConversions(QByteArrayView bytes, const NumberSeparators &sep) {
  ConversionTable table;
  // Room for a record a line: never moved while filled, nor much too large.
  int lines = 1;
  for (const char *p = bytes.data(), *end = p + bytes.size();
       p < end && lines < kMaxConversionRecords &&
       (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p))));
       ++p)
    ++lines;
  table.cells.reserve(5 * size_t(lines));
  auto add = [&table](QString text) {
    table.texts.push_back(std::move(text));
    return std::uint32_t(table.texts.size() - 1);
  };
  TextPool names, multipliers, adders;
  const QString zero = QStringLiteral("0");
  Fields f;
  int records = 0;
  ForEachLine(bytes, table.report, [&](QByteArrayView line, int number, TextEncoding encoding) {
    if (records >= kMaxConversionRecords) {
      table.report.truncated = true;
      table.report.limit = kMaxConversionRecords;
      return false;
    }
    // Field 5, the adder, is an unquoted number, held in the user's form.
    const std::uint32_t adder =
        !SplitFields(line, 5, f) || f.count != 5 || f.quoted[4]
            ? kNoNumber
            // A number is ASCII, the same in either encoding: one pool for both.
            : adders.Get(f.text[4], TextEncoding::Utf8, [&](QByteArrayView text, TextEncoding) {
                const ReadResult read = FitsFileNumber(text.data(), text.size())
                                            ? ReadNumber(QString::fromLatin1(text), kFileSeparators)
                                            : ReadResult{};
                if (!read.ok()) return kNoNumber;
                return add(read.value == 0.0 ? zero : GeneralText(read.value, sep));
              });
    if (adder == kNoNumber) {
      NoteSkipped(table.report, number);
      return true;
    }
    auto name = [&](QByteArrayView text, TextEncoding e) { return add(DecodeText(text, e)); };
    for (int i = 0; i < 3; ++i) table.cells.push_back(names.Get(f.text[i], encoding, name));
    table.cells.push_back(
        multipliers.Get(f.text[3], encoding, [&](QByteArrayView text, TextEncoding e) {
          const QString decoded = DecodeText(text, e);
          return add(IsFileNumber(decoded) ? LocaleNumberText(decoded, sep) : decoded);
        }));
    table.cells.push_back(adder);
    ++records;
    return true;
  });
  return table;
}

std::vector<ConversionRecord> ConversionTable::Records() const {
  std::vector<ConversionRecord> records;
  for (size_t i = 0; i + 5 <= cells.size(); i += 5)
    records.push_back({texts[cells[i]], texts[cells[i + 1]], texts[cells[i + 2]],
                       texts[cells[i + 3]], texts[cells[i + 4]]});
  return records;
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

ConversionTable ReadConversionFile(const QString &path, const NumberSeparators &sep) {
  QByteArray bytes;
  LoadReport report;
  if (!ReadWholeFile(path, bytes, report)) {
    ConversionTable table;
    table.report = report;
    return table;
  }
  return ParseConversions(bytes, sep);
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

QString FileMultiplierText(const QString &typed, const NumberSeparators &sep) {
  const ReadResult read = ReadNumber(typed, sep);
  if (!read.ok()) return typed;
  if (IsFileNumber(typed) && ReadNumber(typed, kFileSeparators).value == read.value) return typed;
  return FileNumberText(read.value);
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
  // Two programs appending at once must not interleave their lines: without the lock
  // nothing is written. A signal that cuts the wait short is no failure.
  int locked;
  do locked = ::flock(file.handle(), LOCK_EX);
  while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    result.error = QStringLiteral(
                       "The file could not be locked against another program writing to it at "
                       "the same time (%1), so nothing was written.")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (!existed) UndoAppend(file, 0, false, result);
    return result;
  }
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
        "The text holds a character that the file's encoding (Windows-1252) cannot "
        "store so that it reads back the same.");
    if (!existed) UndoAppend(file, 0, false, result);
    return result;
  }
  QByteArray bytes;
  // A file of only byte-order marks (an empty file saved as UTF-8) has no line to end.
  if (!SkipByteOrderMarks(existing).isEmpty() && !existing.endsWith('\n') &&
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
    UndoAppend(file, oldSize, existed, result);
    return result;
  }
  result.ok = true;
  return result;
}

void UndoAppend(QFile &file, qint64 oldSize, bool existed, AppendResult &result) {
  if (existed ? file.resize(oldSize) : file.remove()) return;
  result.error +=
      QStringLiteral(" The file could not be put back as it was (%1): check its last line.")
          .arg(file.errorString());
}

}  // namespace qlc
