#pragma once
// Results that leave the window: the result table of the radius search (it follows every search)
// and, on request, of the type and keyword lists; the main map exported as a picture or a PDF, or
// printed. Its commands are the toolbar `actions`, whose place is the strip above the panels; the
// result lists also offer the table in their context menus. Owned by the main window.
#include <QObject>
#include <QStandardPaths>
#include <QString>
#include <vector>

#include "features/ResultRows.h"

class CityDatabase;
class QAction;
class QToolBar;
class ResultTable;
class frmMain;

class ResultsHub : public QObject {
  Q_OBJECT

 public:
  // window: the main window with its panels made; database: the one the panels read.
  ResultsHub(frmMain& window, CityDatabase& database);

  // The radius search found these features of type within radius metres of centre.
  void ShowRadiusResults(const QString& type, MapPoint centre, double radius, const FeatureSet& found);
  // The table of a result list: lstShow(0) (type browse), lstShow(1) (keyword) or lstShow(2)
  // (the last radius search).
  void ShowListTable(int index);
  // The table of the open panel's list (type, keyword or radius); otherwise the table as it was.
  void ShowOpenPanelTable();
  // Ask for a size and a path, then write the main map's view.
  // The file the user names in a save dialog that first proposes folder/fileName; empty: cancelled.
  QString AskSavePath(const QString& title, QStandardPaths::StandardLocation folder, const QString& fileName,
                      const QString& filter);
  void ExportPng();
  void ExportPdf();
  // The print dialog, then the main map's view on one page.
  void PrintMap();

  ResultTable* table;
  QToolBar* actions;
  QAction* tableAction;
  QAction* pngAction;
  QAction* pdfAction;
  QAction* printAction;

 private:
  QAction* AddCommand(const QString& text, void (ResultsHub::*command)());

  frmMain& window_;
  CityDatabase& database_;
  QString radiusSource_;
  std::vector<ResultRow> radiusRows_;
};
