#include "bus/PlanTextBox.h"

#include <QMouseEvent>
#include <QTextBlock>

PlanTextBox::PlanTextBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  // Plans with long stop names are wider than the box; the separator has no blank to break at.
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void PlanTextBox::SetText(const QString& text) {
  text_ = text;
  // The document keeps paragraphs, not line-break characters: a CR before the LF would show as
  // a stray glyph, so the display gets plain LF breaks while text_ keeps the original.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  setPlainText(shown);
}

void PlanTextBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QPlainTextEdit::mouseDoubleClickEvent(event);
  if (event->button() != Qt::LeftButton) return;
  const QString line = cursorForPosition(event->position().toPoint()).block().text();
  if (!line.isEmpty()) emit LineDoubleClicked(line);
}
