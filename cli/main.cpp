// qiwu-cli: the program's modules without windows, for scripting, tests and benchmarks.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <map>
#include <string>

#include "app/kit/Messages.h"
#include "cli/Command.h"
#include "data/modDBAccess.h"
#include "map/GdalLockDown.h"

namespace {
struct Entry {
  const char* usage;
  CommandFn run;
};
std::map<std::string, Entry>& Commands() {
  static std::map<std::string, Entry> commands;
  return commands;
}

int Usage() {
  std::fprintf(stderr, "usage: qiwu-cli [--root DIR] [--city NAME] [--db FILE] COMMAND ...\n");
  for (const auto& [name, entry] : Commands()) std::fprintf(stderr, "  %s\n", entry.usage);
  return 2;
}
}  // namespace

CommandRegistration::CommandRegistration(const char* name, const char* usage, CommandFn run) {
  Commands()[name] = Entry{usage, run};
}

QString CliContext::DatabasePath() const {
  return db.isEmpty() ? QDir(root).filePath("data/" + city + ".mdb") : db;
}
QString CliContext::MainWorkspacePath() const {
  return QDir(root).filePath("map/" + city + "/" + city + ".gst");
}
QString CliContext::OverviewWorkspacePath() const {
  return QDir(root).filePath("map/" + city + "/" + city + "2.gst");
}

bool OpenDatabase(const CliContext& context) {
  return modDBAccess::OpenConnection(context.DatabasePath());
}

void WriteOut(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
}

int main(int argc, char** argv) {
  // Offscreen by default: the command line renders maps without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  LockDownGdal(CityLayerDrivers());
  CityDatabase database;  // the city database the commands read, for the life of the program
  const modDBAccess::CurrentCity current(database);
  QStringList args = app.arguments().mid(1);
  CliContext context{QCoreApplication::applicationDirPath(), QStringLiteral("栖坞市"), QString()};
  while (!args.isEmpty() && args.first().startsWith("--")) {
    const QString option = args.takeFirst();
    if (args.isEmpty()) return Usage();
    const QString value = args.takeFirst();
    if (option == "--root") context.root = value;
    else if (option == "--city") context.city = value;
    else if (option == "--db") context.db = value;
    else return Usage();
  }
  if (args.isEmpty()) return Usage();
  const auto found = Commands().find(args.first().toStdString());
  if (found == Commands().end()) return Usage();
  args.removeFirst();
  return found->second.run(context, args);
}
