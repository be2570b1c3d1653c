#include "data/ServerStatement.h"

#include <QStringList>
#include <vector>

namespace qiwu {
namespace {

enum class Kind { Blank, Word, Literal, Quoted, Other };

struct Token {
  Kind kind;
  QString text;
};

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c.unicode() >= 0x80; }

// Reads a string in quote up to its closing quote; a doubled quote stands for one.
QString ReadQuoted(const QString& s, qsizetype& i, QChar quote) {
  QString content;
  for (++i; i < s.size(); ++i) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        content += quote;
        ++i;
      } else {
        ++i;
        break;
      }
    } else {
      content += s[i];
    }
  }
  return content;
}

std::vector<Token> Tokens(const QString& s) {
  std::vector<Token> tokens;
  for (qsizetype i = 0; i < s.size();) {
    const QChar c = s[i];
    if (c.isSpace()) {
      const qsizetype start = i;
      while (i < s.size() && s[i].isSpace()) ++i;
      tokens.push_back({Kind::Blank, s.mid(start, i - start)});
    } else if (c == u'\'') {
      tokens.push_back({Kind::Literal, ReadQuoted(s, i, u'\'')});
    } else if (c == u'"') {
      tokens.push_back({Kind::Quoted, ReadQuoted(s, i, u'"')});
    } else if (IsWordChar(c)) {
      const qsizetype start = i;
      while (i < s.size() && (IsWordChar(s[i]) || s[i] == u'.')) ++i;
      tokens.push_back({Kind::Word, s.mid(start, i - start)});
    } else {
      tokens.push_back({Kind::Other, QString(c)});
      ++i;
    }
  }
  return tokens;
}

QString LowerLatin(QString text) {
  for (QChar& c : text)
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
  return text;
}

QString SqlLiteral(QString content) { return u'\'' + content.replace(u'\'', QStringLiteral("''")) + u'\''; }

bool Is(const Token& t, const char* word) {
  return t.kind == Kind::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

const QStringList kKeywords = {"select", "from",  "where",    "and",   "or",   "not",    "like", "escape",
                               "order",  "by",    "distinct", "union", "all",  "as",     "null", "is",
                               "in",     "group", "having",   "asc",   "desc", "between"};

bool IsColumn(const Token& t) {
  return t.kind == Kind::Word && !t.text[0].isDigit() && !kKeywords.contains(t.text, Qt::CaseInsensitive);
}

bool IsLiteral(const Token& t) { return t.kind == Kind::Literal || t.kind == Kind::Quoted; }

}  // namespace

QString FoldedColumn(const QString& column) {
  return "translate(" + column + "::text, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz')";
}

QString TranslateForServer(const QString& jetStatement) {
  const std::vector<Token> tokens = Tokens(jetStatement);
  std::vector<std::size_t> sig;  // the tokens that are not blanks
  for (std::size_t i = 0; i < tokens.size(); ++i)
    if (tokens[i].kind != Kind::Blank) sig.push_back(i);

  QStringList out;
  for (const Token& t : tokens) out.append(IsLiteral(t) ? SqlLiteral(t.text) : t.text);

  int depth = 0;
  int tables = 0;
  bool plainSelect = true;  // one table, no distinct, union, group by or aggregate at the top level
  bool ordered = false;
  bool inFrom = false;  // inside the top level's from clause
  static const QStringList kAggregates = {"count", "sum", "min", "max", "avg"};
  for (std::size_t k = 0; k < sig.size(); ++k) {
    const Token& t = tokens[sig[k]];
    // An aggregate's one row has no order to keep (and the server refuses an order key beside it).
    if (depth == 0 && !inFrom && k + 1 < sig.size() && tokens[sig[k + 1]].text == "(" &&
        kAggregates.contains(t.text, Qt::CaseInsensitive))
      plainSelect = false;
    if (t.text == "(") ++depth;
    if (t.text == ")") --depth;
    if (depth == 0) {
      if (Is(t, "distinct") || Is(t, "union") || Is(t, "group")) plainSelect = false;
      if (Is(t, "order")) ordered = true;
      if (Is(t, "where") || Is(t, "order") || Is(t, "group") || Is(t, "union") || Is(t, "having"))
        inFrom = false;
      if (inFrom && (t.text == "," || Is(t, "join"))) plainSelect = false;
      if (inFrom && t.kind == Kind::Word && !Is(t, "as")) ++tables;
      if (Is(t, "from")) inFrom = true;
    }
    const bool equals = t.text == "=";
    const bool like = Is(t, "like");
    if ((!equals && !like) || k == 0 || k + 1 >= sig.size()) continue;
    const std::size_t left = sig[k - 1];
    const std::size_t right = sig[k + 1];
    if (!IsColumn(tokens[left]) || !IsLiteral(tokens[right])) continue;
    out[left] = FoldedColumn(tokens[left].text);
    out[right] = SqlLiteral(LowerLatin(tokens[right].text));
    if (like && !(k + 2 < sig.size() && Is(tokens[sig[k + 2]], "escape"))) out[right] += " escape ''";
  }
  if (tables != 1) plainSelect = false;

  // The order key goes after the last token that is not a closing ';'.
  std::size_t end = sig.size();
  while (end > 0 && tokens[sig[end - 1]].text == ";") --end;
  if (plainSelect && end > 0 && Is(tokens[sig[0]], "select"))
    out[sig[end - 1]] +=
        ordered ? QStringLiteral(", ") + kRowOrderColumn : QStringLiteral(" order by ") + kRowOrderColumn;
  return out.join(QString());
}

}  // namespace qiwu
