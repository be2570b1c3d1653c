#pragma once
// Results that leave the window: the result table, which shows what the user did last: whatever a
// panel it follows hands on as its results (the radius search at every search, the type and keyword
// lists on request), or the main map's selection, each row with its place (features/ResultPlaces.h);
// the main map exported as a picture or a PDF, or printed: a PDF and a print are the printed page
// (features/MapPage.h), set up and seen first in the page preview. Its commands are the toolbar `actions`,
// whose place is the strip above the panels; a followed panel's list also offers the table in its
// context menu. Owned by the main map's window.
#include <QAction>
#include <QListWidget>
#include <QObject>
#include <QStandardPaths>
#include <QString>
#include <memory>
#include <vector>

#include "app/PagePreviewDialog.h"
#include "data/CityPlace.h"
#include "features/MapPage.h"
#include "features/ResultRows.h"
#include "kit/HandlerGuard.h"

class MapControl;
class QToolBar;
class ResultTable;

class ResultsHub : public QObject {
  Q_OBJECT

 public:
  // map: the main map, which the table's rows are shown on and the exports draw; the table and
  // the dialogs belong to its window. city: the city shown, named on the printed page (the
  // window's own, which outlives the hub).
  ResultsHub(MapControl& map, const qiwu::CityPlace& city);

  // The table shows panel's results (its ResultsReady); list's context menu asks the panel for
  // them (its OfferResults).
  template <class Panel>
  void Follow(Panel* panel, QListWidget* list) {
    connect(panel, &Panel::ResultsReady, this, &ResultsHub::ShowResults);
    auto* inTable = new QAction(QStringLiteral("在表格中查看"), list);
    connect(inTable, &QAction::triggered, panel,
            [panel] { qiwu::Guarded(QStringLiteral("结果表格"), [panel] { panel->OfferResults(); }); });
    list->addAction(inTable);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
  }
  // A panel's list in the table, in front.
  void ShowResults(const QString& title, const std::vector<ResultRow>& rows);
  // The map's selection in the table: shown or not as the table was. An empty selection replaces
  // only a selection, never a list.
  void ShowSelection();
  // The table as it was.
  void ShowTable();
  // The file the user names in a save dialog that first proposes folder/fileName; empty: cancelled.
  QString AskSavePath(const QString& title, QStandardPaths::StandardLocation folder, const QString& fileName,
                      const QString& filter);
  // Ask for a size (and a frame) and a path, then write the main map's view.
  void ExportPng();
  // The page preview, then a path or the print dialog, then the page.
  void ExportPdf();
  void PrintMap();
  // The page the exports offer first: the city's name as title, A4 landscape, today.
  mappage::PageSetup DefaultPage() const;
  // The page preview of the main map (shown by the commands; tests look at it unshown).
  std::unique_ptr<PagePreviewDialog> MakePreview(PagePreviewDialog::Purpose purpose) const;

  ResultTable* table;
  QToolBar* actions;
  QAction* tableAction;
  QAction* pngAction;
  QAction* pdfAction;
  QAction* printAction;

 signals:
  // The table command after a panel's list: the window hands on the open panel's results, or shows
  // the table. After a map selection the command shows the table itself.
  void TableAsked();

 private:
  QAction* AddCommand(const QString& text, void (ResultsHub::*command)());

  MapControl& map_;
  const qiwu::CityPlace& city_;
  QWidget* window_;
  bool showsSelection_ = false;  // the table's rows are the map's selection, not a list
  bool choosing_ = false;        // the table itself is selecting its row's feature on the map
};
