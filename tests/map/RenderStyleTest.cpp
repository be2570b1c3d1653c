// Layer styles read from workspace keys: every key with a good value, malformed values reported
// with the default kept, unknown keys ignored.
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

}  // namespace
