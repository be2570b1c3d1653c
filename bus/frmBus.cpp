#include "bus/frmBus.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

#include "bus/PlanTextBox.h"
#include "kit/Colors.h"
#include "kit/PlainText.h"
#include "kit/Twips.h"

namespace {
constexpr quint32 kLightGrey = 0xC0C0C0;
}

frmBus::frmBus(QWidget* owner) : QWidget(owner, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
  setWindowTitle(QStringLiteral("公交换乘"));
  setFixedSize(qiwu::TwipsToPixels(4215, this), qiwu::TwipsToPixels(5085, this));
  qiwu::SetContainerColor(this, kLightGrey);

  Label1[0] = qiwu::NewLabel(this, QStringLiteral("出发站"));
  qiwu::SetTwipsGeometry(Label1[0], 240, 240, 540, 180);
  txtStart = new QLineEdit(this);
  qiwu::SetTwipsGeometry(txtStart, 960, 120, 2895, 270);
  Label1[1] = qiwu::NewLabel(this, QStringLiteral("目的站"));
  qiwu::SetTwipsGeometry(Label1[1], 240, 600, 540, 180);
  txtEnd = new QLineEdit(this);
  qiwu::SetTwipsGeometry(txtEnd, 960, 480, 2895, 270);

  Frame1 = new QGroupBox(QStringLiteral("乖车方案"), this);
  qiwu::SetTwipsGeometry(Frame1, 240, 960, 3735, 3975);
  qiwu::SetContainerColor(Frame1, kLightGrey);
  rtxtBusChange = new PlanTextBox(Frame1);
  qiwu::SetTwipsGeometry(rtxtBusChange, 120, 240, 3495, 3615);
}
