#include "map/render/TextPaths.h"

#include <QFontMetricsF>
#include <QStringList>

QStringList LabelFontFamilies() {
  return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
          QStringLiteral("Sans Serif")};
}

QFont LabelFont(int pixelSize, double spacing) {
  QFont font;
  font.setFamilies(LabelFontFamilies());
  font.setPixelSize(pixelSize);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(false);
  font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
  return font;
}

const TextPath& TextPaths::Get(const QString& text, int pixelSize, double spacing) {
  const QString key = QStringLiteral("%1|%2|%3").arg(pixelSize).arg(spacing).arg(text);
  if (const TextPath* cached = cache_.object(key)) return *cached;

  const QFont font = LabelFont(pixelSize);
  const QFontMetricsF metrics(font);
  // The ideographic em box runs from 0.88 em above the baseline to 0.12 em below it.
  const double baseline = LabelBaseline(pixelSize);

  auto* result = new TextPath;
  double x = 0;
  const QList<uint> letters = text.toUcs4();
  for (qsizetype i = 0; i < letters.size(); ++i) {
    const QString letter = QString::fromUcs4(reinterpret_cast<const char32_t*>(&letters[i]), 1);
    result->path.addText(x, baseline, font, letter);
    x += metrics.horizontalAdvance(letter) + (i + 1 < letters.size() ? spacing : 0);
  }
  result->width = x;
  result->height = pixelSize;
  cache_.insert(key, result);
  return *result;
}
