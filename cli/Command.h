#pragma once
// qiwu-cli commands. Each command lives in its own cli/<Name>Command.cpp and registers itself:
//   static const CommandRegistration reg{"sql", "sql STATEMENT", &RunSql};
// A command writes its answer to standard output, errors to standard error, and returns the
// process's exit code.
#include <QString>
#include <QStringList>

struct CliContext {
  QString root;  // the program directory (default: the directory of qiwu-cli)
  QString city;  // default 栖坞市
  QString db;    // a database file in place of the city's, or empty

  QString DatabasePath() const;       // db, or root/data/<city>.pg (a server city) or <city>.mdb
  QString MainWorkspacePath() const;  // root/map/<city>/<city>.gst (.pg.gst for a server city)
};

using CommandFn = int (*)(const CliContext& context, const QStringList& args);

struct CommandRegistration {
  CommandRegistration(const char* name, const char* usage, CommandFn run);
};

// Opens the context's database through modDBAccess; false (with a message on stderr) on failure.
bool OpenDatabase(const CliContext& context);

// Writes text to standard output as UTF-8, byte for byte (no line-ending translation).
void WriteOut(const QString& text);
