#pragma once
// The plan box of the plan window: a read-only plain-text box that keeps the text it was given
// byte for byte (lines end with CR LF) and shows it line by line. A double click on a line
// reports that line's text.
#include <QPlainTextEdit>
#include <QString>

class PlanTextBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit PlanTextBox(QWidget* parent = nullptr);

  // The text exactly as last set, CR LF line breaks included.
  const QString& Text() const { return text_; }
  void SetText(const QString& text);

 signals:
  // The text of the line under a double click, without its line break.
  void LineDoubleClicked(const QString& line);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QString text_;
};
