#include "data/TextValue.h"

double LeadingNumber(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && text[i].isSpace()) ++i;
  QString number;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) number += text[i++];
  bool seenPoint = false;
  bool seenDigit = false;
  for (; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      seenDigit = true;
    } else if (c == u'.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
    number += c;
  }
  return seenDigit ? number.toDouble() : 0.0;
}
