#pragma once
// Asks how large a map export is: width and height in pixels for a picture, or a page size and
// orientation for a PDF.
#include <QDialog>
#include <QPageLayout>
#include <QSize>

class QComboBox;
class QSpinBox;

class ExportSizeDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Kind { Picture, Page };

  // pixels: the size offered for a picture (the map's own on screen).
  ExportSizeDialog(Kind kind, QSize pixels, QWidget* parent);

  QSize Pixels() const;
  QPageLayout PageLayout() const;

  QSpinBox* spnWidth = nullptr;
  QSpinBox* spnHeight = nullptr;
  QComboBox* cmbPage = nullptr;
  QComboBox* cmbOrientation = nullptr;
};
