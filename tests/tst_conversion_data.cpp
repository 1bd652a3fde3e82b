#include <QTemporaryDir>
#include <QtTest>

#include "data/conversion_data.h"
#include "test_support.h"

using namespace qlc;

namespace {
const NumberSeparators kGerman{u',', u'.'};
}

class TestConversionData : public QObject {
  Q_OBJECT
 private slots:
  void readFields_data();
  void readFields();
  void parseConversions_data();
  void parseConversions();
  void localeTexts_data();
  void localeTexts();
  void parseTypes_data();
  void parseTypes();
  void limits();
  void missingFiles();
  void windows1252();
  void lineWriter_data();
  void lineWriter();
  void append_data();
  void append();
};

void TestConversionData::readFields_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QStringList>("texts");  // empty list: the line does not fit
  QTest::newRow("quoted comma") << R"("a,b","c")" << QStringList{"a,b", "c"};
  QTest::newRow("record") << R"("Feet","Meters","LENGTH","0.3048",0)"
                          << QStringList{"Feet", "Meters", "LENGTH", "0.3048", "0"};
  QTest::newRow("unquoted text, blanks") << "  abc , 1.5E-3" << QStringList{"abc", "1.5E-3"};
  QTest::newRow("empty fields") << R"("",,)" << QStringList{"", "", ""};
  QTest::newRow("unclosed quote") << R"("abc,1)" << QStringList{};
  QTest::newRow("text after quote") << R"("abc"x,1)" << QStringList{};
  QTest::newRow("quote inside unquoted") << R"(ab"c,1)" << QStringList{};
}

void TestConversionData::readFields() {
  QFETCH(QString, line);
  QFETCH(QStringList, texts);
  const auto fields = ReadFields(line);
  QCOMPARE(fields.has_value(), !texts.isEmpty());
  if (!fields) return;
  QStringList got;
  for (const Field &f : *fields) got << f.text;
  QCOMPARE(got, texts);
}

void TestConversionData::parseConversions_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QStringList>("fromUnits");
  QTest::addColumn<int>("skipped");
  QTest::addColumn<int>("firstSkipped");
  const QByteArray a = R"("A","B","T","2",0)";
  const QByteArray b = R"("C","D","T","3",1)";
  QTest::newRow("crlf") << a + "\r\n" + b + "\r\n" << QStringList{"A", "C"} << 0 << 0;
  QTest::newRow("no final line break") << a + "\r\n" + b << QStringList{"A", "C"} << 0 << 0;
  QTest::newRow("bare lf") << a + "\n" + b + "\n" << QStringList{"A", "C"} << 0 << 0;
  QTest::newRow("cr only") << a + "\r" + b + "\r" << QStringList{"A", "C"} << 0 << 0;
  QTest::newRow("empty file") << QByteArray() << QStringList{} << 0 << 0;
  QTest::newRow("blank line skipped") << a + "\r\n\r\n" + b << QStringList{"A", "C"} << 1 << 2;
  QTest::newRow("four fields") << QByteArray(R"("x","y","T",1)") + "\n" + a << QStringList{"A"} << 1
                               << 1;
  QTest::newRow("six fields") << a + "\n" + a + ",0" << QStringList{"A"} << 1 << 2;
  QTest::newRow("adder not a number")
      << a + "\n" + R"("x","y","T","1","z")" << QStringList{"A"} << 1 << 2;
  QTest::newRow("unclosed quote") << QByteArray(R"("x,"y","T","1",0)") + "\n" + b
                                  << QStringList{"C"} << 1 << 1;
  QTest::newRow("nul byte") << QByteArray("\"x\0\",\"y\",\"T\",\"1\",0\n", 19) + b
                            << QStringList{"C"} << 1 << 1;
  QTest::newRow("utf8 bom") << "\xEF\xBB\xBF" + a << QStringList{"A"} << 0 << 0;
  // An adder beyond the range of a double is no number either.
  QTest::newRow("adder overflows")
      << a + "\n" + R"("x","y","T","1",1e400)" + "\n" + R"("z","y","T","1",-1E+400)" + "\n" + b
      << QStringList{"A", "C"} << 2 << 2;
}

void TestConversionData::parseConversions() {
  QFETCH(QByteArray, file);
  QFETCH(QStringList, fromUnits);
  QFETCH(int, skipped);
  QFETCH(int, firstSkipped);
  const ConversionsFile parsed = ParseConversions(file, kEnglishSeparators);
  QStringList got;
  for (const auto &r : parsed.records) got << r.FromUnit;
  QCOMPARE(got, fromUnits);
  QCOMPARE(parsed.report.skippedLines, skipped);
  QCOMPARE(parsed.report.firstSkippedLine, firstSkipped);
  QVERIFY(!parsed.report.truncated);
}

void TestConversionData::localeTexts_data() {
  QTest::addColumn<QByteArray>("line");
  QTest::addColumn<bool>("german");
  QTest::addColumn<QString>("multiplier");
  QTest::addColumn<QString>("adder");
  QTest::addColumn<double>("multiplierValue");  // what ReadNumber gets back; NaN: no number
  QTest::newRow("english") << QByteArray(R"("a","b","T","0.3048",0.5)") << false << "0.3048"
                           << "0.5" << 0.3048;
  QTest::newRow("german adder and multiplier")
      << QByteArray(R"("a","b","T","0.3048",0.5)") << true << "0,3048"
      << "0,5" << 0.3048;
  QTest::newRow("german exponent")
      << QByteArray(R"("a","b","T","1.5E-3",-459.67)") << true << "1,5E-3"
      << "-459,67" << 0.0015;
  QTest::newRow("word kept") << QByteArray(R"("a","b","T","two",0)") << true << "two"
                             << "0" << qQNaN();
  QTest::newRow("unquoted zero multiplier") << QByteArray(R"("a","b","T",0,0)") << false << "0"
                                            << "0" << 0.0;
  QTest::newRow("multiplier beyond a double kept")
      << QByteArray(R"("a","b","T","1e400",1e-400)") << false << "1e400"
      << "0" << qQNaN();
  QTest::newRow("adder to 15 digits")
      << QByteArray(R"("a","b","T","1",0.1234567890123456789)") << false << "1"
      << "0.123456789012346" << 1.0;
}

void TestConversionData::localeTexts() {
  QFETCH(QByteArray, line);
  QFETCH(bool, german);
  QFETCH(QString, multiplier);
  QFETCH(QString, adder);
  QFETCH(double, multiplierValue);
  const NumberSeparators sep = german ? kGerman : kEnglishSeparators;
  const ConversionsFile parsed = ParseConversions(line, sep);
  QCOMPARE(int(parsed.records.size()), 1);
  QCOMPARE(parsed.records[0].Multiplier, multiplier);
  QCOMPARE(parsed.records[0].Adder, adder);
  const ReadResult back = ReadNumber(parsed.records[0].Multiplier, sep);
  QCOMPARE(back.ok(), !qIsNaN(multiplierValue));
  if (back.ok()) QCOMPARE(back.value, multiplierValue);
}

void TestConversionData::parseTypes_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<int>("skipped");
  QTest::newRow("usual") << QByteArray("\"ALL\"\r\n\"LENGTH\"\r\n\"MASS\"\r\n")
                         << QStringList{"ALL", "LENGTH", "MASS"} << 0;
  QTest::newRow("empty file: one empty entry") << QByteArray() << QStringList{""} << 0;
  QTest::newRow("unquoted, no final break")
      << QByteArray("ALL\nAREA") << QStringList{"ALL", "AREA"} << 0;
  QTest::newRow("two fields skipped")
      << QByteArray("\"ALL\"\n\"A\",\"B\"\n\"C\"") << QStringList{"ALL", "C"} << 1;
}

void TestConversionData::parseTypes() {
  QFETCH(QByteArray, file);
  QFETCH(QStringList, names);
  QFETCH(int, skipped);
  const TypesFile parsed = ParseTypes(file);
  QCOMPARE(parsed.names, names);
  QCOMPARE(parsed.report.skippedLines, skipped);
}

void TestConversionData::limits() {
  QByteArray records;
  for (int i = 0; i < kMaxConversionRecords + 2; ++i)
    records += "\"u" + QByteArray::number(i) + "\",\"v\",\"T\",\"1\",0\r\n";
  const ConversionsFile conv = ParseConversions(records, kEnglishSeparators);
  QCOMPARE(int(conv.records.size()), kMaxConversionRecords);
  QVERIFY(conv.report.truncated);
  QCOMPARE(conv.report.limit, kMaxConversionRecords);
  QCOMPARE(conv.records.back().FromUnit, QString("u%1").arg(kMaxConversionRecords - 1));

  QByteArray types;
  for (int i = 0; i < kMaxTypeLines + 1; ++i) types += "\"t\"\n";
  const TypesFile t = ParseTypes(types);
  QCOMPARE(int(t.names.size()), kMaxTypeLines);
  QVERIFY(t.report.truncated);
}

void TestConversionData::missingFiles() {
  QTemporaryDir dir;
  const TypesFile types = ReadTypeFile(dir.filePath("type.txt"));
  QVERIFY(types.report.missing);
  QCOMPARE(types.names, QStringList{QString()});
  const ConversionsFile conv = ReadConversionFile(dir.filePath("convert.txt"), kGerman);
  QVERIFY(conv.report.missing);
  QVERIFY(!conv.report.error.isEmpty());
  QVERIFY(conv.records.empty());
}

void TestConversionData::windows1252() {
  // 0xB0 is the degree sign, 0x80 the euro sign; not valid UTF-8.
  const QByteArray file = "\"Grad \xB0\x43 \x80\",\"b\",\"T\",\"1\",0\r\n";
  QCOMPARE(DetectEncoding(file), TextEncoding::Windows1252);
  const auto parsed = ParseConversions(file, kEnglishSeparators);
  QCOMPARE(parsed.records.at(0).FromUnit, QString::fromUtf8("Grad °C €"));
  QCOMPARE(DetectEncoding("\"Grad \xC2\xB0\x43\""), TextEncoding::Utf8);
  QCOMPARE(DetectEncoding("\xC0\x80"), TextEncoding::Windows1252);  // overlong
  // Every byte survives a round trip through the Windows-1252 reading.
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(char(b));
  QCOMPARE(EncodeText(DecodeText(all, TextEncoding::Windows1252), TextEncoding::Windows1252),
           std::optional<QByteArray>(all));
  QVERIFY(!EncodeText(u"\u4E00", TextEncoding::Windows1252));
}

void TestConversionData::lineWriter_data() {
  QTest::addColumn<QString>("multiplier");
  QTest::addColumn<double>("adder");
  QTest::addColumn<QString>("line");
  QTest::newRow("blank multiplier and adder") << "" << 0.0 << R"("F","T","G",0,0)";
  QTest::newRow("typed multiplier, half adder") << "2.54" << 0.5 << R"("F","T","G","2.54",0.5)";
  QTest::newRow("word multiplier") << "two" << -40.0 << R"("F","T","G","two",-40)";
  QTest::newRow("tiny adder, round trip")
      << "1" << 1.0 / 3.0 << R"("F","T","G","1",0.3333333333333333)";
  QTest::newRow("big adder") << "1" << 1e300 << R"("F","T","G","1",1E+300)";
}

void TestConversionData::lineWriter() {
  QFETCH(QString, multiplier);
  QFETCH(double, adder);
  QFETCH(QString, line);
  const auto written = RecordLine("F", "T", "G", multiplier, adder);
  QCOMPARE(written.value_or("<refused>"), line);
  // What the writer makes, the reader takes back as the same record.
  const auto parsed = ParseConversions(line.toUtf8(), kEnglishSeparators);
  QCOMPARE(int(parsed.records.size()), 1);
  const double back = ReadNumber(parsed.records[0].Adder, kEnglishSeparators).value;
  QVERIFY(qAbs(back - adder) <= 1e-14 * qAbs(adder));
  QVERIFY(!RecordLine("F\"", "T", "G", multiplier, adder));
  QVERIFY(!TypeLine("a\"b"));
  QCOMPARE(TypeLine("MASS").value_or(""), QString("\"MASS\""));
}

void TestConversionData::append_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QString>("line");
  QTest::addColumn<QByteArray>("after");
  QTest::newRow("new file") << QByteArray() << "\"A\"" << QByteArray("\"A\"\r\n");
  QTest::newRow("ends with crlf") << QByteArray("\"X\"\r\n") << "\"A\""
                                  << QByteArray("\"X\"\r\n\"A\"\r\n");
  QTest::newRow("no final break") << QByteArray("\"X\"") << "\"A\""
                                  << QByteArray("\"X\"\r\n\"A\"\r\n");
  QTest::newRow("utf-8 kept") << QByteArray("\"\xC2\xB0\"\r\n") << QString::fromUtf8("\"µ\"")
                              << QByteArray("\"\xC2\xB0\"\r\n\"\xC2\xB5\"\r\n");
  QTest::newRow("windows-1252 kept") << QByteArray("\"\xB0\"\r\n") << QString::fromUtf8("\"µ\"")
                                     << QByteArray("\"\xB0\"\r\n\"\xB5\"\r\n");
}

void TestConversionData::append() {
  QFETCH(QByteArray, before);
  QFETCH(QString, line);
  QFETCH(QByteArray, after);
  QTemporaryDir dir;
  const QString path = dir.filePath("convert.txt");
  if (!before.isEmpty()) QVERIFY(test::WriteBytes(path, before));
  const AppendResult r = AppendLine(path, line);
  QVERIFY2(r.ok, qPrintable(r.error));
  QCOMPARE(test::ReadBytes(path), after);
}

QTEST_GUILESS_MAIN(TestConversionData)
#include "tst_conversion_data.moc"
