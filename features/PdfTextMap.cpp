#include "features/PdfTextMap.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace mappage {

namespace {

// The ideograph radical code stands for, or 0.
char16_t Ideograph(uint code) {
  if (code < 0x2F00 || code > 0x2FD5) return 0;
  const QString folded = QString(QChar(char16_t(code))).normalized(QString::NormalizationForm_KC);
  return folded.size() == 1 ? folded.front().unicode() : 0;
}

}  // namespace

int FoldRadicalsInTextMaps(QByteArray& pdf) {
  // Between beginbfrange and endbfrange, one range a line: "<0012> <0012> <2F76>" (one glyph) or
  // "<0001> <0006> [<6816> <2F76> ...]" (a character for each glyph). A radical as the start of a
  // longer range, "<0004> <0005> <2F76>", stands for consecutive radicals and is left alone.
  static const QRegularExpression hex(QStringLiteral("<([0-9A-F]{4})>"));
  int rewritten = 0;
  qsizetype from = 0;
  while ((from = pdf.indexOf("beginbfrange", from)) >= 0) {
    const qsizetype end = pdf.indexOf("endbfrange", from);
    if (end < 0) break;
    for (qsizetype line = from; line < end;) {
      const qsizetype next = std::min(end, pdf.indexOf('\n', line) < 0 ? end : pdf.indexOf('\n', line) + 1);
      const QString text = QString::fromLatin1(pdf.mid(line, next - line));
      const qsizetype array = text.indexOf(QLatin1Char('['));
      QStringList codes;
      std::vector<qsizetype> at;
      for (auto it = hex.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        codes << m.captured(1);
        at.push_back(m.capturedStart(1));
      }
      for (qsizetype k = 2; k < codes.size(); ++k) {
        const bool destination = array >= 0 ? at[std::size_t(k)] > array : k == 2 && codes[0] == codes[1];
        const char16_t ideograph = destination ? Ideograph(codes[k].toUInt(nullptr, 16)) : 0;
        if (!ideograph) continue;
        pdf.replace(line + at[std::size_t(k)], 4, QByteArray::number(uint(ideograph), 16).toUpper());
        ++rewritten;
      }
      line = next;
    }
    from = end;
  }
  return rewritten;
}

}  // namespace mappage
