#include "kit/PlainText.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QTextDocument>
#include <QToolTip>

namespace qiwu {
namespace {

// Shows a tooltip that Qt would take for markup as escaped text instead.
class PlainToolTips : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    const QString tip = widget->toolTip();
    if (!Qt::mightBeRichText(tip)) return false;
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), PlainToolTipText(tip), widget, QRect(),
                       widget->toolTipDuration());
    return true;
  }
};

}  // namespace

QString PlainToolTipText(const QString& text) {
  return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text) : text;
}

QLabel* NewLabel(QWidget* parent, const QString& text) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setText(text);
  return label;
}

void InstallPlainToolTips() {
  const QString name = QStringLiteral("qiwuPlainToolTips");
  if (qApp->findChild<QObject*>(name, Qt::FindDirectChildrenOnly)) return;
  auto* guard = new PlainToolTips(qApp);
  guard->setObjectName(name);
  qApp->installEventFilter(guard);
}

}  // namespace qiwu
