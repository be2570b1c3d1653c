#include "map/Style.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Each reader turns a value into a style field; false when the value is malformed.
using Reader = std::function<bool(const QString& value, LayerStyle& style)>;

bool ReadColor(const QString& value, QColor& out, bool allowNone) {
  const QString v = value.trimmed();
  if (allowNone && v.compare("none", Qt::CaseInsensitive) == 0) {
    out = QColor();
    return true;
  }
  static const QRegularExpression hex("^#([0-9A-Fa-f]{6}|[0-9A-Fa-f]{8})$");
  if (!hex.match(v).hasMatch()) return false;
  out = QColor::fromString(v);  // #AARRGGBB is Qt's own reading of eight digits
  return out.isValid();
}

bool ReadNumber(const QString& value, double& out, bool allowZero) {
  bool ok = false;
  const double d = value.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(d) || d < 0 || (!allowZero && d == 0)) return false;
  out = d;
  return true;
}

template <typename T>
bool ReadChoice(const QString& value, const QList<QPair<QString, T>>& choices, T& out) {
  for (const auto& [name, v] : choices) {
    if (value.trimmed().compare(name, Qt::CaseInsensitive) == 0) {
      out = v;
      return true;
    }
  }
  return false;
}

Reader Color(QColor LayerStyle::*field, bool allowNone) {
  return [=](const QString& v, LayerStyle& s) { return ReadColor(v, s.*field, allowNone); };
}

Reader Number(double LayerStyle::*field, bool allowZero) {
  return [=](const QString& v, LayerStyle& s) { return ReadNumber(v, s.*field, allowZero); };
}

bool ReadPenPattern(const QString& v, LayerStyle& s) {
  if (v.trimmed().compare("wall", Qt::CaseInsensitive) == 0) {
    s.penPattern = Qt::SolidLine;
    s.lineDecoration = LineDecoration::Wall;
    return true;
  }
  const QList<QPair<QString, Qt::PenStyle>> patterns = {{"solid", Qt::SolidLine},
                                                        {"dash", Qt::DashLine},
                                                        {"dot", Qt::DotLine},
                                                        {"dashdot", Qt::DashDotLine},
                                                        {"none", Qt::NoPen}};
  if (!ReadChoice(v, patterns, s.penPattern)) return false;
  s.lineDecoration = LineDecoration::None;
  return true;
}

bool ReadBrushPattern(const QString& v, LayerStyle& s) {
  const QList<QPair<QString, Qt::BrushStyle>> patterns = {{"solid", Qt::SolidPattern},
                                                          {"none", Qt::NoBrush},
                                                          {"hatch", Qt::BDiagPattern},
                                                          {"cross", Qt::DiagCrossPattern}};
  return ReadChoice(v, patterns, s.brushPattern);
}

bool ReadSymbolShape(const QString& v, LayerStyle& s) {
  const QString shape = v.trimmed().toLower();
  if (!SymbolShapes().contains(shape)) return false;
  s.symbolShape = shape;
  return true;
}

bool ReadLegendClass(const QString& v, LayerStyle& s) {
  const QString cls = v.trimmed();
  if (cls.isEmpty()) return false;
  s.legendClass = cls;
  return true;
}

const QMap<QString, Reader>& Readers() {
  static const QMap<QString, Reader> readers = {
      {"STYLE\\PEN\\COLOR", Color(&LayerStyle::penColor, true)},
      {"STYLE\\PEN\\WIDTH", Number(&LayerStyle::penWidth, true)},
      {"STYLE\\PEN\\PATTERN", ReadPenPattern},
      {"STYLE\\CASING\\COLOR", Color(&LayerStyle::casingColor, true)},
      {"STYLE\\CASING\\WIDTH", Number(&LayerStyle::casingWidth, true)},
      {"STYLE\\BRUSH\\COLOR", Color(&LayerStyle::brushColor, true)},
      {"STYLE\\BRUSH\\PATTERN", ReadBrushPattern},
      {"STYLE\\SYMBOL\\SHAPE", ReadSymbolShape},
      {"STYLE\\SYMBOL\\SIZE", Number(&LayerStyle::symbolSize, false)},
      {"STYLE\\SYMBOL\\COLOR", Color(&LayerStyle::symbolColor, false)},
      {"STYLE\\SYMBOL\\OUTLINE", Color(&LayerStyle::symbolOutline, true)},
      {"LABEL\\FIELD",
       [](const QString& v, LayerStyle& s) {
         s.labelField = v.trimmed();
         return true;
       }},
      {"LABEL\\SIZE", Number(&LayerStyle::labelSize, false)},
      {"LABEL\\COLOR", Color(&LayerStyle::labelColor, false)},
      {"LABEL\\HALO", Color(&LayerStyle::labelHalo, true)},
      {"LABEL\\ZOOM\\MAX", Number(&LayerStyle::labelMaxViewWidth, false)},
      {"LEGEND", ReadLegendClass},
  };
  return readers;
}

constexpr QLatin1String kCasePrefix("STYLE\\CASE\\");

// A STYLE\CASE\<value>\<key> key: the value it is for and the key it sets, a reader's STYLE\ key
// or LEGEND.
struct CaseKey {
  QString value;
  QString key;
};

// Splits the key after "STYLE\CASE\" at the known key it ends in; false when it ends in none.
bool SplitCaseKey(const QString& rest, CaseKey& out) {
  for (auto it = Readers().cbegin(); it != Readers().cend(); ++it) {
    if (!it.key().startsWith(QLatin1String("STYLE\\"))) continue;
    const QString tail = it.key().mid(5);  // "\PEN\COLOR"
    if (rest.endsWith(tail, Qt::CaseInsensitive)) {
      out = {rest.chopped(tail.size()), it.key()};
      return true;
    }
  }
  if (!rest.endsWith(QLatin1String("\\LEGEND"), Qt::CaseInsensitive)) return false;
  out = {rest.chopped(7), QStringLiteral("LEGEND")};
  return true;
}

// A case's value is any text a key can hold between two backslashes.
bool IsCaseValue(const QString& value) {
  return !value.isEmpty() && !value.contains(u'\\') && !value.contains(u'"');
}

bool ApplyCaseKey(const CaseKey& key, const QString& value, StyleCase& to) {
  if (key.key != QLatin1String("LEGEND")) return (*Readers().constFind(key.key))(value, to.style);
  to.legend = value.trimmed();
  return !to.legend.isEmpty();
}

}  // namespace

const QStringList& SymbolShapes() {
  static const QStringList shapes = {"circle", "square", "triangle", "diamond", "star",   "cross",
                                     "bus",    "bank",   "hospital", "college", "dining", "sight"};
  return shapes;
}

LayerStyle ParseLayerStyle(const QMap<QString, QString>& keys, QString* error) {
  LayerStyle style;
  QStringList problems;
  const auto report = [&](const QString& key, const QString& value) {
    problems << QStringLiteral("%1: malformed value \"%2\"").arg(key, value);
  };
  for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
    if (it.key().startsWith(kCasePrefix, Qt::CaseInsensitive)) continue;  // laid over the base below
    const QString key = it.key().toUpper();
    if (key == QLatin1String("STYLE\\BY")) {
      style.caseField = it.value().trimmed();
      if (style.caseField.isEmpty()) report(it.key(), it.value());
      continue;
    }
    const auto reader = Readers().constFind(key);
    if (reader != Readers().cend() && !(*reader)(it.value(), style)) report(it.key(), it.value());
  }
  // Each case starts from the finished base style.
  QMap<QString, StyleCase> cases;
  for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
    CaseKey key;
    if (!it.key().startsWith(kCasePrefix, Qt::CaseInsensitive) ||
        !SplitCaseKey(it.key().mid(kCasePrefix.size()), key))
      continue;
    auto found = cases.find(key.value);
    if (found == cases.end()) {
      if (!IsCaseValue(key.value) || cases.size() == kMaxStyleCases) {
        report(it.key(), it.value());
        continue;
      }
      found = cases.insert(key.value, StyleCase{key.value, {}, style});
    }
    if (!ApplyCaseKey(key, it.value(), *found)) report(it.key(), it.value());
  }
  style.cases.assign(cases.cbegin(), cases.cend());
  if (error) *error = problems.join("; ");
  return style;
}

int StyleCaseOf(const LayerStyle& style, QStringView value) {
  const auto& cases = style.cases;
  const auto it = std::lower_bound(cases.begin(), cases.end(), value, [](const StyleCase& c, QStringView v) {
    return QStringView(c.value) < v;
  });
  return it != cases.end() && it->value == value ? int(it - cases.begin()) + 1 : 0;
}
