// Writes the default conversion data, type.txt and convert.txt, from the unit definitions in
// tools/units (units.txt: every unit in terms of its base unit; pairs.txt: which conversions
// go into which group, in file order).
//
//   gen_data <definitions folder> <output folder>
//
// Every factor is worked out as an exact fraction (times a whole power of pi, for angles and
// the parsec) from the definitions and rounded once to the nearest double, so that a record
// and its reverse come from the same numbers.

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace {

__extension__ typedef __int128 Int;

struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A number beyond the 128-bit arithmetic; rounding with pi retries with fewer digits.
struct Overflow : Error {
  using Error::Error;
};

Int Abs(Int v) {
  return v < 0 ? -v : v;
}

Int Gcd(Int a, Int b) {
  a = Abs(a);
  b = Abs(b);
  while (b != 0) a = std::exchange(b, a % b);
  return a;
}

Int Mul(Int a, Int b) {
  Int r;
  if (__builtin_mul_overflow(a, b, &r)) throw Overflow("number too large for exact arithmetic");
  return r;
}

Int Add(Int a, Int b) {
  Int r;
  if (__builtin_add_overflow(a, b, &r)) throw Overflow("number too large for exact arithmetic");
  return r;
}

// An exact fraction, always reduced, with a positive denominator.
struct Rational {
  Int num = 0;
  Int den = 1;

  static Rational Make(Int n, Int d) {
    if (d == 0) throw Error("division by zero");
    if (d < 0) n = -n, d = -d;
    const Int g = Gcd(n, d);
    return g > 1 ? Rational{n / g, d / g} : Rational{n, d};
  }
};

Rational operator*(Rational a, Rational b) {
  // Cross-reduce first so that products of long definitions stay within 128 bits.
  // Both gcds are at least 1: denominators are never 0.
  const Int g1 = Gcd(a.num, b.den), g2 = Gcd(b.num, a.den);
  return Rational::Make(Mul(a.num / g1, b.num / g2), Mul(a.den / g2, b.den / g1));
}

Rational operator/(Rational a, Rational b) {
  if (b.num == 0) throw Error("division by zero");
  return a * Rational::Make(b.den, b.num);
}

Rational operator+(Rational a, Rational b) {
  const Int g = Gcd(a.den, b.den);
  const Int da = a.den / g, db = b.den / g;
  return Rational::Make(Add(Mul(a.num, db), Mul(b.num, da)), Mul(a.den, db));
}

Rational operator-(Rational a) {
  return {-a.num, a.den};
}

Rational Power(Rational base, long exponent) {
  Rational r;
  r.num = 1;
  for (long i = 0; i < (exponent < 0 ? -exponent : exponent); ++i) r = r * base;
  return exponent < 0 ? Rational{1, 1} / r : r;
}

// The double nearest to the fraction. The decimal expansion is taken far enough (past the
// longest expansion a halfway point between two doubles can have) and marked as inexact when
// it stops early, so from_chars rounds exactly as it would with the whole expansion.
double ToDouble(const Rational &r) {
  Int n = Abs(r.num);
  const Int d = r.den;
  if (d > Int(1) << 120) throw Overflow("denominator too large to round");
  std::string text = r.num < 0 ? "-" : "";
  std::string whole;
  for (Int q = n / d; q > 0; q /= 10) whole.insert(whole.begin(), char('0' + int(q % 10)));
  text += whole.empty() ? "0" : whole;
  text += '.';
  n %= d;
  int significant = int(whole.size());
  while (n != 0 && significant < 1100) {
    n *= 10;
    const int digit = int(n / d);
    n %= d;
    text += char('0' + digit);
    if (significant > 0 || digit != 0) ++significant;
  }
  if (n != 0) text += '1';
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size())
    throw Error("value out of the range of a double");
  return value;
}

// Shortest text that reads back as the same double; plain digits for everyday magnitudes,
// otherwise an exponent written as E with no plus sign and no leading zeros.
std::string NumberText(double value) {
  if (value == 0) return "0";
  char buf[64];
  auto sci = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  const std::string s(buf, sci.ptr);
  const std::size_t e = s.find('e');
  const int exponent = std::stoi(s.substr(e + 1));
  if (exponent >= -6 && exponent < 16) {
    auto fixed = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return std::string(buf, fixed.ptr);
  }
  return s.substr(0, e) + "E" + std::to_string(exponent);
}

std::string Trim(std::string_view s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  const auto e = s.find_last_not_of(" \t");
  return std::string(s.substr(b, e - b + 1));
}

bool IsIdStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdChar(char c) {
  return IsIdStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads a decimal number (digits, optional fraction, optional exponent) exactly.
Rational ParseDecimal(std::string_view s) {
  Int digits = 0;
  long scale = 0;
  std::size_t i = 0;
  bool any = false;
  for (; i < s.size() && IsDigit(s[i]); ++i, any = true) digits = Add(Mul(digits, 10), s[i] - '0');
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && IsDigit(s[i]); ++i, any = true) {
      digits = Add(Mul(digits, 10), s[i] - '0');
      --scale;
    }
  }
  if (!any) throw Error("bad number '" + std::string(s) + "'");
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    const char *first = s.data() + i + 1;
    if (first < s.data() + s.size() && *first == '+') ++first;
    long exponent = 0;
    const auto [end, ec] = std::from_chars(first, s.data() + s.size(), exponent);
    if (ec != std::errc() || end != s.data() + s.size() || exponent < -60 || exponent > 60)
      throw Error("bad number '" + std::string(s) + "'");
    scale += exponent;
    i = s.size();
  }
  if (i != s.size()) throw Error("bad number '" + std::string(s) + "'");
  return Rational::Make(digits, 1) * Power(Rational{10, 1}, scale);
}

// A value as an exact fraction times a whole power of pi. Definitions multiply and divide by
// pi (angles, the parsec) but never add it to a plain number, so pi stays symbolic until the
// one rounding at the end.
struct Value {
  Rational r;
  long pi = 0;
};

Value operator*(const Value &a, const Value &b) {
  return {a.r * b.r, a.pi + b.pi};
}
Value operator/(const Value &a, const Value &b) {
  return {a.r / b.r, a.pi - b.pi};
}
Value operator-(const Value &a) {
  return {-a.r, a.pi};
}
Value operator+(const Value &a, const Value &b) {
  if (a.r.num == 0) return b;
  if (b.r.num == 0) return a;
  if (a.pi != b.pi) throw Error("pi in a sum with a number of another power of pi");
  return {a.r + b.r, a.pi};
}
Value operator-(const Value &a, const Value &b) {
  return a + -b;
}

// pi^-2 .. pi^2 to 38 digits (bc -l, scale=60). Cut short, each digit string is a lower bound
// and one more in its last digit an upper bound.
constexpr std::string_view kPiPowers[] = {
    "0.10132118364233777144387946320972763890",  // 1/pi²
    "0.31830988618379067153776752674502872406",  // 1/pi
    "1",
    "3.1415926535897932384626433832795028841",  // pi
    "9.8696044010893586188344909998761511353",  // pi²
};

// The double nearest to the value. With pi, the fraction is taken times a lower and an upper
// bound of its power of pi; when both round to the same double, the true value (between them)
// rounds to it too. Large fractions use fewer digits of pi, to stay within 128 bits.
double Round(const Value &v) {
  if (v.pi == 0) return ToDouble(v.r);
  if (v.pi < -2 || v.pi > 2) throw Error("pi to a power beyond 2");
  const std::string_view digits = kPiPowers[v.pi + 2];
  const std::size_t point = digits.find('.');
  for (std::size_t n = digits.size(); n > point + 16; --n) {
    const Rational low = ParseDecimal(digits.substr(0, n));
    const Rational step = Power(Rational{10, 1}, -long(n - point - 1));
    double lower = 0, upper = 0;
    try {
      lower = ToDouble(v.r * low);
      upper = ToDouble(v.r * (low + step));
    } catch (const Overflow &) {
      continue;
    }
    if (lower == upper) return lower;
    break;
  }
  throw Error("the digits of pi do not settle the rounding");
}

struct Unit {
  std::string id, name, quantity;
  Value factor, offset;  // base = factor * x + offset
};

// expr := term (('+' | '-') term)*      term := factor (('*' | '/') factor)*
// factor := '-' factor | primary ('^' ['-'] digits)?
// primary := number | id | "pi" | '(' expr ')'
class Expression {
 public:
  Expression(std::string_view text, const std::map<std::string, Unit> &units)
      : text_(text), units_(units) {}

  Value Evaluate() {
    const Value r = Expr();
    Skip();
    if (pos_ != text_.size()) Fail("unexpected '" + std::string(text_.substr(pos_)) + "'");
    return r;
  }

 private:
  [[noreturn]] void Fail(const std::string &what) const {
    throw Error("in '" + std::string(text_) + "': " + what);
  }
  void Skip() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool Take(char c) {
    Skip();
    if (pos_ < text_.size() && text_[pos_] == c) return ++pos_, true;
    return false;
  }
  Value Expr() {
    Value r = Term();
    for (;;) {
      if (Take('+'))
        r = r + Term();
      else if (Take('-'))
        r = r - Term();
      else
        return r;
    }
  }
  Value Term() {
    Value r = Factor();
    for (;;) {
      if (Take('*'))
        r = r * Factor();
      else if (Take('/'))
        r = r / Factor();
      else
        return r;
    }
  }
  Value Factor() {
    if (Take('-')) return -Factor();
    const Value base = Primary();
    if (!Take('^')) return base;
    Skip();
    const std::size_t start = pos_;
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    long exponent = 0;
    const auto [end, ec] = std::from_chars(text_.data() + start, text_.data() + pos_, exponent);
    if (ec != std::errc() || end != text_.data() + pos_ || exponent < -20 || exponent > 20)
      Fail("the power must be a small whole number");
    return {Power(base.r, exponent), base.pi * exponent};
  }
  Value Primary() {
    Skip();
    if (Take('(')) {
      const Value r = Expr();
      if (!Take(')')) Fail("missing ')'");
      return r;
    }
    const std::size_t start = pos_;
    if (pos_ < text_.size() && (IsDigit(text_[pos_]) || text_[pos_] == '.')) {
      while (pos_ < text_.size() && (IsDigit(text_[pos_]) || text_[pos_] == '.')) ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
        ++pos_;
        if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) ++pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
      }
      return {ParseDecimal(text_.substr(start, pos_ - start))};
    }
    if (pos_ < text_.size() && IsIdStart(text_[pos_])) {
      while (pos_ < text_.size() && IsIdChar(text_[pos_])) ++pos_;
      const std::string id(text_.substr(start, pos_ - start));
      if (id == "pi") return {{1, 1}, 1};
      const auto it = units_.find(id);
      if (it == units_.end()) Fail("unknown unit '" + id + "' (units must be defined above)");
      if (it->second.offset.r.num != 0) Fail("'" + id + "' has an offset and is no factor");
      return it->second.factor;
    }
    Fail(pos_ < text_.size() ? "unexpected '" + std::string(1, text_[pos_]) + "'"
                             : "unexpected end");
  }

  std::string_view text_;
  const std::map<std::string, Unit> &units_;
  std::size_t pos_ = 0;
};

struct Group {
  std::string name;
  std::vector<std::pair<std::string, std::string>> pairs;
};

struct Definitions {
  std::map<std::string, Unit> units;
  std::vector<Group> groups;
};

// A name must survive the file format: quoted, with no quote inside and no line break.
void CheckName(const std::string &name, const std::string &what) {
  if (name.empty()) throw Error(what + " is empty");
  for (char c : name)
    if (c == '"' || c == '\r' || c == '\n') throw Error(what + " '" + name + "' holds a quote");
}

std::vector<std::string> ReadLines(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("cannot read " + path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a CR LF checkout
    lines.push_back(line);
  }
  return lines;
}

// Runs fn(line) for every line that is neither blank nor a comment; errors name the line.
template <typename Fn>
void ForEachEntry(const std::string &path, Fn &&fn) {
  const std::vector<std::string> lines = ReadLines(path);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = Trim(lines[i]);
    if (line.empty() || line[0] == '#') continue;
    try {
      fn(line);
    } catch (const Error &e) {
      throw Error(path + ":" + std::to_string(i + 1) + ": " + e.what());
    }
  }
}

void ReadUnits(const std::string &path, Definitions &defs) {
  std::string quantity;
  ForEachEntry(path, [&](const std::string &line) {
    if (line.rfind("quantity ", 0) == 0) {
      quantity = Trim(line.substr(9));
      return;
    }
    if (quantity.empty()) throw Error("a unit before the first quantity line");
    std::vector<std::string> cols;
    std::stringstream ss(line);
    for (std::string col; std::getline(ss, col, '|');) cols.push_back(Trim(col));
    if (cols.size() == 4 && line.back() == '|') cols.emplace_back();
    if (cols.size() != 5) throw Error("expected 5 columns separated by '|'");
    Unit u;
    u.id = cols[0];
    u.name = cols[1];
    u.quantity = quantity;
    if (u.id.empty() || !IsIdStart(u.id[0]) || !std::all_of(u.id.begin(), u.id.end(), IsIdChar) ||
        u.id == "pi")
      throw Error("bad unit id '" + u.id + "'");
    if (defs.units.count(u.id)) throw Error("unit '" + u.id + "' defined twice");
    CheckName(u.name, "unit name");
    u.factor = Expression(cols[2], defs.units).Evaluate();
    if (u.factor.r.num <= 0) throw Error("the value of '" + u.id + "' must be positive");
    if (!cols[3].empty()) u.offset = Expression(cols[3], defs.units).Evaluate();
    defs.units.emplace(u.id, u);
  });
}

void ReadPairs(const std::string &path, Definitions &defs) {
  std::set<std::string> groupNames;
  std::set<std::pair<std::string, std::string>> listed;  // by names, as the rows show them
  ForEachEntry(path, [&](const std::string &line) {
    if (line.rfind("group ", 0) == 0) {
      Group g{Trim(line.substr(6)), {}};
      CheckName(g.name, "group name");
      if (g.name == "ALL") throw Error("ALL is the program's own entry, not a group");
      if (!groupNames.insert(g.name).second) throw Error("group '" + g.name + "' listed twice");
      defs.groups.push_back(g);
      return;
    }
    if (defs.groups.empty()) throw Error("a pair before the first group line");
    std::istringstream ss(line);
    std::string a, b, rest;
    if (!(ss >> a >> b) || (ss >> rest)) throw Error("expected two unit ids");
    for (const std::string &id : {a, b})
      if (!defs.units.count(id)) throw Error("unknown unit '" + id + "'");
    if (a == b) throw Error("a unit paired with itself");
    if (defs.units.at(a).quantity != defs.units.at(b).quantity)
      throw Error("'" + a + "' and '" + b + "' are of different quantities");
    // The same pair twice would show as two identical rows.
    const std::string &na = defs.units.at(a).name, &nb = defs.units.at(b).name;
    if (!listed.emplace(na, nb).second || !listed.emplace(nb, na).second)
      throw Error("'" + na + "' and '" + nb + "' are paired twice");
    defs.groups.back().pairs.emplace_back(a, b);
  });
}

struct Record {
  std::string from, to, group;
  double multiplier, adder;
};

// To = From * m + a, with both sides through the base unit: base = f * x + o.
Record Convert(const Unit &from, const Unit &to, const std::string &group) {
  const Value m = from.factor / to.factor;
  const Value a = (from.offset - to.offset) / to.factor;
  Record r{from.name, to.name, group, Round(m), Round(a)};
  if (!(r.multiplier > 0)) throw Error(from.id + " to " + to.id + ": the factor is not usable");
  return r;
}

std::vector<Record> BuildRecords(const Definitions &defs) {
  std::vector<Record> records;
  for (const Group &g : defs.groups) {
    if (g.pairs.empty()) throw Error("group '" + g.name + "' has no pairs");
    for (const auto &[a, b] : g.pairs) {
      const Unit &ua = defs.units.at(a), &ub = defs.units.at(b);
      records.push_back(Convert(ua, ub, g.name));
      records.push_back(Convert(ub, ua, g.name));
    }
  }
  return records;
}

std::string Quoted(const std::string &s) {
  return '"' + s + '"';
}

void WriteFile(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  if (!out) throw Error("cannot write " + path);
}

void Generate(const std::string &definitions, const std::string &output) {
  Definitions defs;
  ReadUnits(definitions + "/units.txt", defs);
  ReadPairs(definitions + "/pairs.txt", defs);
  const std::vector<Record> records = BuildRecords(defs);

  // The chooser lists the groups in this order; with this many, alphabetical finds fastest.
  std::vector<std::string> names;
  for (const Group &g : defs.groups) names.push_back(g.name);
  std::sort(names.begin(), names.end());
  std::string types = "\"ALL\"\r\n";
  for (const std::string &n : names) types += Quoted(n) + "\r\n";

  std::string conversions;
  for (const Record &r : records) {
    conversions += Quoted(r.from) + ',' + Quoted(r.to) + ',' + Quoted(r.group) + ',' +
                   Quoted(NumberText(r.multiplier)) + ',' + NumberText(r.adder) + "\r\n";
  }
  std::error_code ec;
  std::filesystem::create_directories(output, ec);
  WriteFile(output + "/type.txt", types);
  WriteFile(output + "/convert.txt", conversions);
  std::cout << names.size() << " groups, " << records.size() << " conversions\n";
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::cerr << "usage: gen_data <definitions folder> <output folder>\n";
    return 2;
  }
  try {
    Generate(argv[1], argv[2]);
  } catch (const Error &e) {
    std::cerr << "gen_data: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
