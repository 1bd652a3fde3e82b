#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

#include "numbers/read_number.h"

class QFile;

namespace qlc {

// One line of convert.txt. The numbers stay texts until a conversion is computed.
struct ConversionRecord {
  QString FromUnit;
  QString ToUnit;
  QString TypeName;
  QString Multiplier;
  QString Adder;
  friend bool operator==(const ConversionRecord &, const ConversionRecord &) = default;
};

// The two data files, in the program's working folder.
inline constexpr char kTypeFileName[] = "type.txt";
inline constexpr char kConvertFileName[] = "convert.txt";
// Line 1 of type.txt: the group chooser's entry for every record.
inline constexpr char kAllTypes[] = "ALL";
// What an editor saving as UTF-8 may put before the first line.
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

inline constexpr int kMaxConversionRecords = 32766;
inline constexpr int kMaxTypeLines = 32767;

// The encodings a data file or one line of it can be in: valid UTF-8, else Windows-1252.
enum class TextEncoding { Utf8, Windows1252 };

TextEncoding DetectEncoding(QByteArrayView bytes);
// A file without the byte-order marks an editor may put in front of its first line: up to
// two UTF-8 marks, whatever the encoding of the lines.
QByteArrayView SkipByteOrderMarks(QByteArrayView file);
// Empty optional when a character cannot be held by the encoding, or when Windows-1252
// bytes would be valid UTF-8 beyond ASCII (the reader would take such a line as UTF-8).
std::optional<QByteArray> EncodeText(QStringView text, TextEncoding encoding);

// The number form of the files: the full stop, no grouping.
inline constexpr NumberSeparators kFileSeparators{u'.', QChar()};
// True when the text fits the unquoted number grammar of the files.
bool IsFileNumber(QStringView text);

// What loading a file met, for the start-up message.
struct [[nodiscard]] LoadReport {
  bool missing = false;      // could not be opened or read
  QString error;             // the reason when missing
  int skippedLines = 0;      // lines that do not fit the format
  int firstSkippedLine = 0;  // 1-based
  bool truncated = false;    // stopped at the limit
  int limit = 0;
  // Lines that are not UTF-8 and were read as Windows-1252 in a file whose other lines
  // hold UTF-8 beyond ASCII (a file of Windows-1252 lines only counts none).
  int windows1252Lines = 0;
  int firstWindows1252Line = 0;
};

struct [[nodiscard]] TypesFile {
  QStringList names;  // every line, line 1 ("ALL") included
  LoadReport report;
};

// convert.txt as loaded: five cells a record, in the order of ConversionRecord's fields,
// each an index into texts. Unit and group names repeat across records; each distinct
// text of the file is held once.
struct [[nodiscard]] ConversionTable {
  std::vector<QString> texts;
  std::vector<std::uint32_t> cells;
  LoadReport report;
  std::vector<ConversionRecord> Records() const;
};

// Each line is read in its own encoding. Multiplier fields in the files' number form and
// the adder are held as texts in the given separators, so that they read back through
// ReadNumber as the file's value.
TypesFile ParseTypes(QByteArrayView bytes);
ConversionTable ParseConversions(QByteArrayView bytes, const NumberSeparators &sep);

TypesFile ReadTypeFile(const QString &path);
ConversionTable ReadConversionFile(const QString &path, const NumberSeparators &sep);

// Line writing for the Add dialogs. Texts are quoted; numbers are written unquoted with
// the full stop. Empty optional when a text holds a double quote.
std::optional<QString> TypeLine(const QString &typeName);
// multiplierText empty means the number 0; otherwise it is written as typed, quoted.
std::optional<QString> RecordLine(const QString &fromUnit, const QString &toUnit,
                                  const QString &typeName, const QString &multiplierText,
                                  double adder);
// Shortest text that reads back as the same double, full stop, no grouping.
QString FileNumberText(double value);
// A typed multiplier as the files keep it: one that reads as a number in the user's
// separators is written in the files' form, so that it reads back the same in any locale
// (one already in that form, meaning the same, stays as typed); any other text stays as
// typed.
QString FileMultiplierText(const QString &typed, const NumberSeparators &sep);

struct [[nodiscard]] AppendResult {
  bool ok = false;
  QString error;  // the reason, for a message
};

// Appends one line (CR LF added) in the file's own encoding, creating the file when it
// is missing. A CR LF goes in front when the file does not end with a line break. A line
// holding a line break or NUL is refused, as is a file that cannot be locked against
// another writer. On any failure the file is put back byte-for-byte as it was; where even
// that fails, the error says so.
AppendResult AppendLine(const QString &path, const QString &line);

// Puts a file back as it was before a failed append: cut back to oldSize, or removed when
// the append created it. When that fails too, adds to the error that the file's last line
// may now be part of the line.
void UndoAppend(QFile &file, qint64 oldSize, bool existed, AppendResult &result);

}  // namespace qlc
