// qiwu-cli: the program's modules without windows, for scripting, tests and benchmarks.
#include <QCommandLineParser>
#include <QGuiApplication>
#include <cstdio>
#include <map>
#include <string>

#include "cli/Command.h"
#include "data/CityPaths.h"
#include "data/DataFolders.h"
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

int Usage(FILE* to = stderr, int exitCode = 2) {
  std::fprintf(to, "usage: qiwu-cli [--root DIR] [--city NAME] [--db FILE] COMMAND ...\n");
  for (const auto& [name, entry] : Commands()) std::fprintf(to, "  %s\n", entry.usage);
  return exitCode;
}
}  // namespace

CommandRegistration::CommandRegistration(const char* name, const char* usage, CommandFn run) {
  Commands()[name] = Entry{usage, run};
}

QString CliContext::DatabasePath() const { return db.isEmpty() ? place.database : db; }

// A server city stays connected once open.
bool OpenDatabase(const CliContext& context) {
  const QString path = context.DatabasePath();
  if (modDBAccess::cnnCity->IsOpen() && modDBAccess::cnnCity->Path() == path) return true;
  return modDBAccess::OpenConnection(path);
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
  QCoreApplication::setApplicationVersion(QStringLiteral(QIWU_VERSION));
  const QCommandLineOption root("root", QString(), "DIR");
  const QCommandLineOption city("city", QString(), "NAME", qiwu::kDemoCity);
  const QCommandLineOption db("db", QString(), "FILE");
  const QCommandLineOption help("help"), version("version");
  QCommandLineParser parser;
  parser.addOptions({root, city, db, help, version});
  // Everything from the command on is the command's own (render has options of its own).
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  if (!parser.parse(app.arguments())) return Usage();
  if (parser.isSet(help)) return Usage(stdout, 0);
  if (parser.isSet(version)) {
    std::printf("qiwu-cli %s\n", QIWU_VERSION);
    return 0;
  }
  // Without --root, the data folder that holds the city (data/DataFolders.h).
  const QString folder =
      parser.isSet(root)
          ? parser.value(root)
          : qiwu::FolderOfCity(qiwu::DataFolders(QCoreApplication::applicationDirPath()), parser.value(city));
  CliContext context{qiwu::ResolveCity(folder, parser.value(city)), parser.value(db), QString()};
  QStringList args = parser.positionalArguments();
  if (args.isEmpty()) return Usage();
  // A server city's layers need its connection before any workspace loads.
  if (context.db.isEmpty() && context.place.onServer) {
    if (!OpenDatabase(context)) return 1;
    context.serverConnection = database.ServerConnection();
  }
  const auto found = Commands().find(args.first().toStdString());
  if (found == Commands().end()) return Usage();
  args.removeFirst();
  return found->second.run(context, args);
}
