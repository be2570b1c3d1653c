// Layer styles read from workspace keys: every key with a good value, malformed values reported
// with the default kept, unknown keys ignored; style cases laid over the base, and found by value.
#include <gtest/gtest.h>

#include <functional>

#include "map/Style.h"

namespace {

struct Good {
  const char* key;
  const char* value;
  std::function<bool(const LayerStyle&)> holds;
};

TEST(RenderStyle, EveryKeyIsRead) {
  const Good cases[] = {
      {"STYLE\\PEN\\COLOR", "#123456", [](auto& s) { return s.penColor == QColor(0x12, 0x34, 0x56); }},
      {"STYLE\\PEN\\COLOR", "#80123456",
       [](auto& s) { return s.penColor == QColor(0x12, 0x34, 0x56, 0x80); }},
      {"STYLE\\PEN\\COLOR", "none", [](auto& s) { return !s.penColor.isValid(); }},
      {"STYLE\\PEN\\WIDTH", "2.5", [](auto& s) { return s.penWidth == 2.5; }},
      {"STYLE\\PEN\\PATTERN", "solid", [](auto& s) { return s.penPattern == Qt::SolidLine; }},
      {"STYLE\\PEN\\PATTERN", "dash", [](auto& s) { return s.penPattern == Qt::DashLine; }},
      {"STYLE\\PEN\\PATTERN", "dot", [](auto& s) { return s.penPattern == Qt::DotLine; }},
      {"STYLE\\PEN\\PATTERN", "DashDot", [](auto& s) { return s.penPattern == Qt::DashDotLine; }},
      {"STYLE\\PEN\\PATTERN", "none", [](auto& s) { return s.penPattern == Qt::NoPen; }},
      {"STYLE\\PEN\\PATTERN", "wall",
       [](auto& s) { return s.penPattern == Qt::SolidLine && s.lineDecoration == LineDecoration::Wall; }},
      {"STYLE\\CASING\\COLOR", "#8A5A00", [](auto& s) { return s.casingColor == QColor(0x8A, 0x5A, 0x00); }},
      {"STYLE\\CASING\\WIDTH", "6", [](auto& s) { return s.casingWidth == 6; }},
      {"STYLE\\BRUSH\\COLOR", "#aad3f2", [](auto& s) { return s.brushColor == QColor(0xAA, 0xD3, 0xF2); }},
      {"STYLE\\BRUSH\\COLOR", "none", [](auto& s) { return !s.brushColor.isValid(); }},
      {"STYLE\\BRUSH\\PATTERN", "solid", [](auto& s) { return s.brushPattern == Qt::SolidPattern; }},
      {"STYLE\\BRUSH\\PATTERN", "none", [](auto& s) { return s.brushPattern == Qt::NoBrush; }},
      {"STYLE\\BRUSH\\PATTERN", "hatch", [](auto& s) { return s.brushPattern == Qt::BDiagPattern; }},
      {"STYLE\\BRUSH\\PATTERN", "cross", [](auto& s) { return s.brushPattern == Qt::DiagCrossPattern; }},
      {"STYLE\\SYMBOL\\SIZE", "13", [](auto& s) { return s.symbolSize == 13; }},
      {"STYLE\\SYMBOL\\COLOR", "#1F6FD1", [](auto& s) { return s.symbolColor == QColor(0x1F, 0x6F, 0xD1); }},
      {"STYLE\\SYMBOL\\OUTLINE", "#FFFFFF", [](auto& s) { return s.symbolOutline == QColor(Qt::white); }},
      {"LABEL\\FIELD", "name", [](auto& s) { return s.labelField == "name"; }},
      {"LABEL\\SIZE", "9.5", [](auto& s) { return s.labelSize == 9.5; }},
      {"LABEL\\COLOR", "#4A4030", [](auto& s) { return s.labelColor == QColor(0x4A, 0x40, 0x30); }},
      {"LABEL\\HALO", "none", [](auto& s) { return !s.labelHalo.isValid(); }},
      {"LABEL\\ZOOM\\MAX", "2500", [](auto& s) { return s.labelMaxViewWidth == 2500; }},
      {"label\\zoom\\max", "2500", [](auto& s) { return s.labelMaxViewWidth == 2500; }},
  };
  for (const Good& c : cases) {
    QString error = "untouched";
    const LayerStyle style = ParseLayerStyle({{c.key, c.value}}, &error);
    EXPECT_TRUE(c.holds(style)) << c.key << " = " << c.value;
    EXPECT_TRUE(error.isEmpty()) << c.key << ": " << error.toStdString();
  }
  for (const QString& shape : SymbolShapes()) {
    EXPECT_EQ(ParseLayerStyle({{"STYLE\\SYMBOL\\SHAPE", shape.toUpper()}}).symbolShape, shape);
  }
  EXPECT_EQ(ParseLayerStyle({{"LEGEND", " 绿地 "}}).legendClass, "绿地");
}

TEST(RenderStyle, MalformedValuesAreReportedAndLeaveTheDefault) {
  const LayerStyle defaults;
  const std::pair<const char*, const char*> cases[] = {
      {"STYLE\\PEN\\COLOR", "red"},      {"STYLE\\PEN\\COLOR", "#12345"},
      {"STYLE\\PEN\\COLOR", "#GG3456"},  {"STYLE\\PEN\\WIDTH", "abc"},
      {"STYLE\\PEN\\WIDTH", "-1"},       {"STYLE\\PEN\\WIDTH", "inf"},
      {"STYLE\\PEN\\PATTERN", "zigzag"}, {"STYLE\\CASING\\COLOR", "#1234"},
      {"STYLE\\CASING\\WIDTH", ""},      {"STYLE\\BRUSH\\COLOR", "blue"},
      {"STYLE\\BRUSH\\PATTERN", "dots"}, {"STYLE\\SYMBOL\\SHAPE", "hexagon"},
      {"STYLE\\SYMBOL\\SIZE", "0"},      {"STYLE\\SYMBOL\\COLOR", "none"},
      {"STYLE\\SYMBOL\\OUTLINE", "#12"}, {"LABEL\\SIZE", "big"},
      {"LABEL\\COLOR", "none"},          {"LABEL\\HALO", "white"},
      {"LABEL\\ZOOM\\MAX", "0"},         {"LEGEND", " "},
  };
  for (const auto& [key, value] : cases) {
    QString error;
    const LayerStyle style = ParseLayerStyle({{key, value}}, &error);
    EXPECT_TRUE(error.contains(key)) << key << " = " << value << ": " << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("\"%1\"").arg(value))) << error.toStdString();
    EXPECT_EQ(style.penColor, defaults.penColor);
    EXPECT_EQ(style.penWidth, defaults.penWidth);
    EXPECT_EQ(style.penPattern, defaults.penPattern);
    EXPECT_EQ(style.casingColor, defaults.casingColor);
    EXPECT_EQ(style.casingWidth, defaults.casingWidth);
    EXPECT_EQ(style.brushColor, defaults.brushColor);
    EXPECT_EQ(style.brushPattern, defaults.brushPattern);
    EXPECT_EQ(style.symbolShape, defaults.symbolShape);
    EXPECT_EQ(style.symbolSize, defaults.symbolSize);
    EXPECT_EQ(style.symbolColor, defaults.symbolColor);
    EXPECT_EQ(style.symbolOutline, defaults.symbolOutline);
    EXPECT_EQ(style.labelSize, defaults.labelSize);
    EXPECT_EQ(style.labelColor, defaults.labelColor);
    EXPECT_EQ(style.labelHalo, defaults.labelHalo);
    EXPECT_EQ(style.labelMaxViewWidth, defaults.labelMaxViewWidth);
    EXPECT_EQ(style.legendClass, defaults.legendClass);
  }
}

TEST(RenderStyle, SeveralProblemsAreAllReportedAndGoodKeysStillApply) {
  QString error;
  const LayerStyle style = ParseLayerStyle({{"STYLE\\PEN\\WIDTH", "x"},
                                            {"STYLE\\BRUSH\\COLOR", "#00FF00"},
                                            {"LABEL\\SIZE", "y"},
                                            {"ZOOM\\MAX", "3000"},
                                            {"STYLE\\SOMETHING\\NEW", "whatever"}},
                                           &error);
  EXPECT_TRUE(error.contains("STYLE\\PEN\\WIDTH"));
  EXPECT_TRUE(error.contains("LABEL\\SIZE"));
  EXPECT_FALSE(error.contains("ZOOM")) << "keys that are not style keys are not this reader's business";
  EXPECT_FALSE(error.contains("SOMETHING")) << "unknown keys are ignored";
  EXPECT_EQ(style.brushColor, QColor(0, 255, 0));
}

struct CaseHolds {
  const char* value;
  std::function<bool(const StyleCase&)> holds;
};

TEST(RenderStyle, CasesLayTheirKeysOverTheWholeBaseStyle) {
  QString error = "untouched";
  const LayerStyle style = ParseLayerStyle({{"STYLE\\BY", " mode "},
                                            {"STYLE\\PEN\\COLOR", "#101010"},
                                            {"STYLE\\PEN\\WIDTH", "2"},
                                            {"STYLE\\SYMBOL\\SHAPE", "bus"},
                                            {"LABEL\\SIZE", "11"},
                                            {"STYLE\\CASE\\rail\\PEN\\WIDTH", "5"},
                                            {"STYLE\\CASE\\rail\\CASING\\COLOR", "#202020"},
                                            {"STYLE\\CASE\\rail\\CASING\\WIDTH", "9"},
                                            {"STYLE\\CASE\\rail\\LABEL\\SIZE", "30"},
                                            {"STYLE\\CASE\\ferry\\PEN\\PATTERN", "dash"},
                                            {"STYLE\\CASE\\Ferry\\SYMBOL\\COLOR", "#00FF00"},
                                            {"style\\case\\地铁\\pen\\color", "#0000FF"},
                                            {"STYLE\\CASE\\地铁\\LEGEND", " 地铁 "},
                                            {"STYLE\\CASE\\light rail\\BRUSH\\COLOR", "none"},
                                            {"STYLE\\CASE\\light rail\\PEN\\PATTERN", "wall"}},
                                           &error);
  EXPECT_TRUE(error.isEmpty()) << error.toStdString();
  EXPECT_EQ(style.caseField, "mode");
  EXPECT_EQ(style.penWidth, 2) << "the base keeps its own keys";
  const auto base = [](const LayerStyle& s) {
    return s.penColor == QColor(0x10, 0x10, 0x10) && s.symbolShape == "bus" && s.labelSize == 11;
  };
  const CaseHolds cases[] = {
      {"Ferry",
       [&](auto& c) {
         return base(c.style) && c.style.symbolColor == QColor(0, 255, 0) && c.style.penWidth == 2;
       }},
      {"ferry", [&](auto& c) { return base(c.style) && c.style.penPattern == Qt::DashLine; }},
      {"light rail",
       [&](auto& c) {
         return base(c.style) && !c.style.brushColor.isValid() &&
                c.style.lineDecoration == LineDecoration::Wall;
       }},
      {"rail",
       [&](auto& c) {
         return base(c.style) && c.style.penWidth == 5 && c.style.casingColor == QColor(0x20, 0x20, 0x20) &&
                c.style.casingWidth == 9 && c.legend.isEmpty();
       }},
      {"地铁",
       [&](auto& c) {
         return c.style.penColor == QColor(0, 0, 255) && c.style.penWidth == 2 && c.legend == "地铁";
       }},
  };
  ASSERT_EQ(style.cases.size(), std::size(cases)) << "in order of their values";
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(style.cases[i].value, cases[i].value);
    EXPECT_TRUE(cases[i].holds(style.cases[i])) << cases[i].value;
    EXPECT_TRUE(style.cases[i].style.cases.empty());
  }
}

TEST(RenderStyle, MalformedCaseKeysAreReportedAndTheRestKept) {
  // Beside each, a good case "bus" that must stand as it is, without the bad key.
  const std::pair<const char*, const char*> cases[] = {
      {"STYLE\\CASE\\a\\b\\PEN\\COLOR", "#FF0000"},  // a value holding a backslash
      {"STYLE\\CASE\\a\"b\\PEN\\COLOR", "#FF0000"},  // or a double quote
      {"STYLE\\CASE\\\\PEN\\COLOR", "#FF0000"},      // an empty value
      {"STYLE\\CASE\\bus\\PEN\\COLOR", "red"},
      {"STYLE\\CASE\\bus\\PEN\\WIDTH", "-1"},
      {"STYLE\\CASE\\bus\\SYMBOL\\SHAPE", "hexagon"},
      {"STYLE\\CASE\\bus\\LEGEND", " "},
      {"STYLE\\BY", " "},
  };
  for (const auto& [key, value] : cases) {
    QString error;
    const LayerStyle style =
        ParseLayerStyle({{"STYLE\\CASE\\bus\\BRUSH\\COLOR", "#00FF00"}, {key, value}}, &error);
    EXPECT_TRUE(error.contains(key)) << key << ": " << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("\"%1\"").arg(value))) << error.toStdString();
    ASSERT_EQ(style.cases.size(), 1u) << key;
    const LayerStyle& bus = style.cases[0].style;
    EXPECT_EQ(bus.brushColor, QColor(0, 255, 0)) << key;
    EXPECT_EQ(bus.penColor, LayerStyle().penColor) << key;
    EXPECT_EQ(bus.penWidth, LayerStyle().penWidth) << key;
    EXPECT_EQ(bus.symbolShape, LayerStyle().symbolShape) << key;
    EXPECT_TRUE(style.cases[0].legend.isEmpty()) << key;
    EXPECT_TRUE(style.caseField.isEmpty()) << key;
  }
}

TEST(RenderStyle, CasesBeyondTheLimitAreReported) {
  QMap<QString, QString> keys;
  for (int i = 0; i <= kMaxStyleCases; ++i)
    keys.insert(QStringLiteral("STYLE\\CASE\\v%1\\PEN\\WIDTH").arg(i, 3, 10, QChar('0')), "3");
  QString error;
  const LayerStyle style = ParseLayerStyle(keys, &error);
  ASSERT_EQ(int(style.cases.size()), kMaxStyleCases);
  EXPECT_EQ(style.cases.back().value, QStringLiteral("v%1").arg(kMaxStyleCases - 1, 3, 10, QChar('0')));
  EXPECT_EQ(error, QStringLiteral("STYLE\\CASE\\v%1\\PEN\\WIDTH: malformed value \"3\"")
                       .arg(kMaxStyleCases, 3, 10, QChar('0')));
}

// StyleCaseOf against a plain search of the cases: exact, case-sensitive matches only.
TEST(RenderStyle, AValueFindsItsOwnCaseOnly) {
  const QStringList values = {"rail", "Rail", "rail2", "light_rail", "地铁", "Straße", "a", "z"};
  QMap<QString, QString> keys;
  for (const QString& v : values) keys.insert("STYLE\\CASE\\" + v + "\\PEN\\WIDTH", "4");
  const LayerStyle style = ParseLayerStyle(keys);
  ASSERT_EQ(style.cases.size(), std::size_t(values.size()));
  const QStringList probes = values + QStringList{"", "rai", "rail ", "RAIL", "STRASSE", "地", "zz", "0"};
  for (const QString& probe : probes) {
    int expected = 0;
    for (std::size_t i = 0; i < style.cases.size(); ++i)
      if (style.cases[i].value == probe) expected = int(i) + 1;
    EXPECT_EQ(StyleCaseOf(style, probe), expected) << probe.toStdString();
    EXPECT_EQ(expected > 0, values.contains(probe)) << probe.toStdString();
  }
}

}  // namespace
