#pragma once
// qiwu-cli commands. Each command lives in its own cli/<Name>Command.cpp and registers itself:
//   static const CommandRegistration reg{"sql", "sql STATEMENT", &RunSql};
// A command writes its answer to standard output, errors to standard error, and returns the
// process's exit code.
#include <QString>
#include <QStringList>

#include "data/CityPlace.h"

struct CliContext {
  qiwu::CityPlace place;     // the city (default 栖坞市) in --root, else in the data folder holding it
  QString db;                // a database file in place of the city's, or empty
  QString serverConnection;  // a server city's, for its "pg:" layers, once its database is open

  QString DatabasePath() const;  // db, or the city's database (its .pg on a server, else its .mdb)
  QString MainWorkspacePath() const { return place.mainWorkspace; }
};

using CommandFn = int (*)(const CliContext& context, const QStringList& args);

struct CommandRegistration {
  CommandRegistration(const char* name, const char* usage, CommandFn run);
};

// Opens the context's database through modDBAccess; false (with a message on stderr) on failure.
bool OpenDatabase(const CliContext& context);

// Writes text to standard output as UTF-8, byte for byte (no line-ending translation).
void WriteOut(const QString& text);
