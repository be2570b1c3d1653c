// The printed page: `qiwu-cli render --out FILE.pdf` on the demo city gives a vector page of the
// chosen paper whose CJK font is embedded and whose title, scale, legend and labels are text; the
// page's regions; the source line; and the framed PNG.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "data/CityVocabulary.h"
#include "features/MapExport.h"
#include "features/MapPage.h"
#include "features/PageSource.h"
#include "features/PdfTextMap.h"
#include "tests/features/PanelHarness.h"
#include "tests/support/CliRun.h"

namespace {

QString Tool(const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

// qiwu-cli render on the demo city beside the test program.
CliRun RenderDemo(const QStringList& args) {
  const QString dir = QCoreApplication::applicationDirPath();
  return RunProgram(dir + "/qiwu-cli", QStringList{"--root", dir, "render"} + args);
}

// A poppler tool's answer about pdf.
QString Poppler(const char* tool, const QStringList& args) {
  const CliRun run = RunProgram(Tool(tool), args);
  EXPECT_EQ(run.exitCode, 0) << tool << ": " << run.err.toStdString();
  return QString::fromUtf8(run.out);
}

// 钟楼 on the demo city, and a view around it narrow enough for every name near it.
const QStringList kAroundTheBellTower{"--center", "500000", "3399500", "--view-width", "1500"};

TEST(MapPage, DemoCityPdfIsAVectorPageOfTheChosenPaper) {
  if (Tool("pdftotext").isEmpty() || Tool("pdffonts").isEmpty() || Tool("pdfinfo").isEmpty())
    GTEST_SKIP() << "poppler-utils is not installed (scripts/install-deps.sh)";
  QTemporaryDir dir;
  const struct {
    QStringList options;
    const char* paper;  // as pdfinfo names it
    bool landscape;
    QString title;
  } cases[] = {
      {{}, "A4", true, QStringLiteral("栖坞市")},
      {{"--portrait", "--title", "老城区步行地图"}, "A4", false, QStringLiteral("老城区步行地图")},
      {{"--paper", "A3", "--landscape"}, "A3", true, QStringLiteral("栖坞市")},
  };
  const QRegularExpression pageSize(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts \\((\\w+)\\)"));
  const QRegularExpression embeddedCjk(QStringLiteral("^\\S*CJK\\S*\\s.*\\byes\\b"),
                                       QRegularExpression::MultilineOption);
  // The legend lists the drawer's classes (each has a layer on the demo city); the scale bar's
  // length is a round number of metres.
  QStringList legend;
  for (const char* name : city::kLegendClasses) legend << QString::fromUtf8(name);
  const QRegularExpression scaleBar(QStringLiteral("\\b[125]0* (米|公里)"));
  for (const auto& c : cases) {
    const QString pdf = dir.filePath(QStringLiteral("页.pdf"));
    const CliRun run = RenderDemo(QStringList{"--out", pdf} + kAroundTheBellTower + c.options);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    SCOPED_TRACE(c.options.join(' ').toStdString());

    const QString info = Poppler("pdfinfo", {pdf});
    const QRegularExpressionMatch size = pageSize.match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_EQ(size.captured(3), QLatin1String(c.paper));
    EXPECT_EQ(size.captured(1).toDouble() > size.captured(2).toDouble(), c.landscape);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    const QString fonts = Poppler("pdffonts", {pdf});
    EXPECT_TRUE(fonts.contains(embeddedCjk)) << fonts.toStdString();

    const QString text = Poppler("pdftotext", {pdf, "-"});
    for (const QString& wanted : QStringList{c.title, QStringLiteral("比例尺 1:"), QStringLiteral("图例"),
                                             QStringLiteral("钟楼"), QStringLiteral("数据：栖坞市 数据集")} +
                                     legend)
      EXPECT_TRUE(text.contains(wanted)) << wanted.toStdString() << " not in:\n" << text.toStdString();
    EXPECT_TRUE(text.contains(scaleBar));
    // Vectors, not a picture of the map: no image at all, and a page of modest size.
    const QStringList images = Poppler("pdfimages", {"-list", pdf}).trimmed().split('\n');
    EXPECT_EQ(images.size(), 2) << images.join('\n').toStdString();  // the list's two header lines
    EXPECT_LT(QFileInfo(pdf).size(), 2 * 1024 * 1024);
  }
}

// Glyphs named by a Kangxi radical get the ideograph; ranges, other code points and the glyph ids
// (the first two numbers) stay, and so does the length.
TEST(MapPage, TextMapsNameIdeographsNotRadicals) {
  const struct {
    QByteArray ranges;
    QByteArray folded;
  } cases[] = {
      {"<0001> <0001> <2F76>", "<0001> <0001> <7C73>"},  // ⽶ 米
      {"<2F24> <2F24> <2F24>\n<0003> <0003> <6C34>", "<2F24> <2F24> <5927>\n<0003> <0003> <6C34>"},  // ⼤ 大
      {"<0004> <0005> <2F76>", "<0004> <0005> <2F76>"},                                    // a range of two
      {"<0001> <0003> [<6816> <2F50> <2F24> ]", "<0001> <0003> [<6816> <6BD4> <5927> ]"},  // ⽐ 比, ⼤ 大
      {"<0006> <0006> <2ED4>", "<0006> <0006> <2ED4>"},  // a supplement radical
  };
  for (const auto& c : cases) {
    QByteArray pdf = "1 0 obj\n2 beginbfrange\n" + c.ranges + "\nendbfrange\nendcmap\n<0009> <0009> <2F76>\n";
    const QByteArray before = pdf;
    mappage::FoldRadicalsInTextMaps(pdf);
    EXPECT_EQ(pdf.size(), before.size());
    EXPECT_EQ(pdf, QByteArray(before).replace(c.ranges, c.folded)) << c.ranges.toStdString();
  }
}

TEST(MapPage, PictureAndPageOptionsAreNotMixed) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("a.pdf"), png = dir.filePath("a.png");
  const QStringList refused[] = {
      {"--out", pdf, "--width", "400", "--height", "300"},
      {"--out", pdf, "--width", "400"},
      {"--out", pdf, "--height", "300"},
      {"--out", pdf, "--no-scale-bar"},
      {"--out", pdf, "--paper", "A5"},
      {"--out", pdf, "--landscape", "--portrait"},
      {"--out", png, "--width", "40", "--height", "30", "--title", "x"},
      {"--out", png, "--width", "40", "--height", "30", "--portrait"},
  };
  for (const QStringList& args : refused) {
    const CliRun run = RenderDemo(args);
    EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
    EXPECT_FALSE(QFileInfo::exists(pdf) || QFileInfo::exists(png)) << args.join(' ').toStdString();
  }
}

TEST(MapPage, RegionsTileThePageWithoutOverlap) {
  const struct {
    QRectF area;
    int entries;
    bool legendBeside;  // else below the map
  } cases[] = {
      {{0, 0, 1047, 718}, 10, true},   // A4 landscape, 10 mm margins
      {{0, 0, 718, 1047}, 10, false},  // A4 portrait
      {{16, 16, 400, 300}, 30, true},  // a small framed picture with a long legend
      {{0, 0, 1047, 718}, 0, true},
  };
  for (const auto& c : cases) {
    const mappage::PageRegions r = mappage::LayoutPage(c.area, c.entries);
    const QRectF parts[] = {r.title, r.map, r.legend, r.footer};
    for (const QRectF& part : parts) EXPECT_TRUE(part.isEmpty() || c.area.contains(part)) << c.entries;
    for (const QRectF& a : parts)
      for (const QRectF& b : parts)
        if (&a != &b) {
          EXPECT_FALSE(a.intersects(b)) << c.entries;
        }
    EXPECT_LE(r.title.bottom(), r.map.top());
    EXPECT_LE(r.map.bottom(), r.footer.top());
    EXPECT_GT(r.map.width() * r.map.height(), 0.4 * c.area.width() * c.area.height());
    EXPECT_EQ(r.legend.isEmpty(), c.entries == 0);
    if (c.entries > 0) {
      EXPECT_EQ(r.legend.left() >= r.map.right(), c.legendBeside);
    }
  }
}

TEST(MapPage, SourceLineNamesTheImportedFilesAndCreditsOpenStreetMap) {
  const QString header =
      QStringLiteral("What qiwu-import read for 圣米迦勒, what it kept and what it left out.\n\n");
  const struct {
    QString report;
    QStringList sources;
    QString line;
  } cases[] = {
      {header + "map.osm\n  what  read\n  highway=x  9\n\nfeed.zip\n  routes 3\n",
       {"map.osm", "feed.zip"},
       QStringLiteral("数据：城 数据集；来源：map.osm、feed.zip；© OpenStreetMap 贡献者")},
      {header + "feed.zip\n  routes 3\n", {"feed.zip"}, QStringLiteral("数据：城 数据集；来源：feed.zip")},
      {header + "a\x01\x1b[31m.pbf\n" + QString(100, 'x') + "\nc\nd\ne\n",
       {"a[31m.pbf", QString(mappage::kMaxSourceName, 'x'), "c", "d"},
       QStringLiteral("数据：城 数据集；来源：a[31m.pbf、%1、c、d；© OpenStreetMap 贡献者")
           .arg(QString(mappage::kMaxSourceName, 'x'))},
      {QString(), {}, QStringLiteral("数据：城 数据集")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mappage::ImportedSources(c.report), c.sources);
    EXPECT_EQ(mappage::SourceLine(QStringLiteral("城"), c.sources), c.line);
  }
}

TEST(MapPage, FramedPngHasAMarginTitleAndLegendAroundTheMap) {
  PanelHarness h;
  QTemporaryDir dir;
  mappage::PageSetup setup;
  setup.title = QStringLiteral("测试市");
  setup.date = QDate(2026, 1, 2);
  const QSize size(900, 600);
  QImage framed, bare;
  for (const bool frame : {true, false}) {
    const QString path = dir.filePath(frame ? "framed.png" : "bare.png");
    QString error;
    ASSERT_TRUE(mapexport::WritePng(path, h.Map1->LayersBottomToTop(), h.Map1->View(), size, error,
                                    frame ? &setup : nullptr));
    (frame ? framed : bare) = QImage(path).convertToFormat(QImage::Format_RGB32);
  }
  ASSERT_EQ(framed.size(), size);
  const auto blank = [](const QImage& image, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
  };
  EXPECT_TRUE(blank(framed, QRect(0, 0, size.width(), 12)));  // the margin
  EXPECT_FALSE(blank(framed, QRect(16, 16, 200, 40)));        // the title
  EXPECT_NE(framed, bare);
}

}  // namespace
