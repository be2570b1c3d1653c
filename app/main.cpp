// qiwu: the city map and bus query program. Start-up runs before the window is shown; a
// database that does not open, or a map that does not load, ends the program there.
#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/frmMain.h"
#include "kit/MessageBoxSink.h"
#include "map/GdalLockDown.h"

int main(int argc, char** argv) {
  LockDownGdal(CityLayerDrivers());
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("栖坞"));
  qiwu::InstallMessageBoxSink();
  // Qt's own dialogs and buttons (a file to save, printing, 确定 and 取消) in the program's language.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);

  QApplication::setApplicationVersion(QStringLiteral(QIWU_VERSION));
  QCommandLineParser parser;
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption city("city", QStringLiteral("The city to open (default: 栖坞市)."), "NAME");
  parser.addOption(city);
  parser.process(app);

  frmMain window(QCoreApplication::applicationDirPath());
  window.SetStartCity(parser.value(city));
  window.Start();
  return app.exec();
}
