#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

#include "numbers/read_number.h"

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

// The encodings a data file can be in: valid UTF-8, else Windows-1252.
enum class TextEncoding { Utf8, Windows1252 };

TextEncoding DetectEncoding(const QByteArray &bytes);
// A UTF-8 file's text as the readers see it: without its byte-order mark and a second one
// right after it (which QString::fromUtf8 drops as well).
QByteArrayView SkipByteOrderMarks(QByteArrayView bytes, TextEncoding encoding);
QString DecodeText(const QByteArray &bytes, TextEncoding encoding);
// Empty optional when a character cannot be held by the encoding.
std::optional<QByteArray> EncodeText(QStringView text, TextEncoding encoding);

// One field of a line.
struct Field {
  enum Kind { QuotedText, Number, Text };
  Kind kind = Text;
  QString text;
};

// Splits one line (without its line end) into fields. Empty optional when the line does
// not fit the format (an unclosed quote, characters after a closing quote).
std::optional<QList<Field>> ReadFields(QStringView line);

// True when the text fits the unquoted number grammar of the files (full stop decimal).
bool IsFileNumber(QStringView text);

// What loading a file met, for the start-up message.
struct LoadReport {
  bool missing = false;      // could not be opened or read
  QString error;             // the reason when missing
  int skippedLines = 0;      // lines that do not fit the format
  int firstSkippedLine = 0;  // 1-based
  bool truncated = false;    // stopped at the limit
  int limit = 0;
  TextEncoding encoding = TextEncoding::Utf8;
};

struct TypesFile {
  QStringList names;  // every line, line 1 ("ALL") included
  LoadReport report;
};

struct ConversionsFile {
  std::vector<ConversionRecord> records;
  LoadReport report;
};

// Where a reader puts the records, for a caller that keeps them in a table of its own
// rather than in a list first: reserve (may be empty) learns how many records the file
// can hold at most before the first add; add receives each record in file order.
struct RecordSink {
  std::function<void(int records)> reserve;
  std::function<void(ConversionRecord &&record)> add;
};

TypesFile ParseTypes(const QByteArray &bytes);
// Multiplier fields in the file's number grammar and the adder are held as texts in the
// given separators, so that they read back through ReadNumber as the file's value.
ConversionsFile ParseConversions(const QByteArray &bytes, const NumberSeparators &sep);
LoadReport ParseConversions(const QByteArray &bytes, const NumberSeparators &sep,
                            const RecordSink &sink);

TypesFile ReadTypeFile(const QString &path);
ConversionsFile ReadConversionFile(const QString &path, const NumberSeparators &sep);
LoadReport ReadConversionFile(const QString &path, const NumberSeparators &sep,
                              const RecordSink &sink);

// Line writing for the Add dialogs. Texts are quoted; numbers are written unquoted with
// the full stop. Empty optional when a text holds a double quote.
std::optional<QString> TypeLine(const QString &typeName);
// multiplierText empty means the number 0; otherwise it is written as typed, quoted.
std::optional<QString> RecordLine(const QString &fromUnit, const QString &toUnit,
                                  const QString &typeName, const QString &multiplierText,
                                  double adder);
// Shortest text that reads back as the same double, full stop, no grouping.
QString FileNumberText(double value);

struct AppendResult {
  bool ok = false;
  QString error;  // the reason, for a message
};

// Appends one line (CR LF added) in the file's own encoding, creating the file when it
// is missing. A CR LF goes in front when the file does not end with a line break. A line
// holding a line break or NUL is refused. On any failure the file is left byte-for-byte as
// it was.
AppendResult AppendLine(const QString &path, const QString &line);

}  // namespace qlc
