#pragma once
// Asks how a map picture is exported: its width and height in pixels, and whether the printed page's
// frame (title, legend, scale, north arrow, date and source) goes around the map.
#include <QDialog>
#include <QSize>

class QCheckBox;
class QSpinBox;

class ExportSizeDialog : public QDialog {
  Q_OBJECT

 public:
  // pixels: the size offered (the map's own on screen).
  ExportSizeDialog(QSize pixels, QWidget* parent);

  QSize Pixels() const;
  bool Framed() const;

  QSpinBox* spnWidth = nullptr;
  QSpinBox* spnHeight = nullptr;
  QCheckBox* chkFrame = nullptr;
};
