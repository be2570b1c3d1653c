#pragma once
// The printed page before it leaves the program: its title, paper and orientation beside a preview
// of the page as it will print. 打印… and 导出 PDF… both pass through it; its button goes on to the
// printer or to the PDF file.
#include <QDialog>
#include <memory>
#include <vector>

#include "features/MapPage.h"
#include "map/Layer.h"
#include "map/MapView.h"

class QComboBox;
class QLineEdit;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

class PagePreviewDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Purpose { Print, Pdf };

  // layers and screen: the main map's, drawn on the page; setup: the page offered (title, paper).
  PagePreviewDialog(Purpose purpose, std::vector<const Layer*> bottomToTop, const MapView& screen,
                    const mappage::PageSetup& setup, QWidget* parent);
  ~PagePreviewDialog() override;

  // The page as the user has set it.
  mappage::PageSetup Setup() const;
  // The printer the preview draws on, set to the page's paper and orientation.
  QPrinter& Printer() const { return *printer_; }

  QLineEdit* txtTitle = nullptr;
  QComboBox* cmbPaper = nullptr;
  QComboBox* cmbOrientation = nullptr;
  QPrintPreviewWidget* preview = nullptr;
  QPushButton* cmdGo = nullptr;

 private:
  void PageChanged();

  std::unique_ptr<QPrinter> printer_;
  std::vector<const Layer*> layers_;
  MapView screen_;
  mappage::PageSetup setup_;
};
