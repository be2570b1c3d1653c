#include "features/DrawerArt.h"

#include <QFrame>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "kit/Twips.h"

QPixmap DrawerTabPicture(const QString& label, QSize size, qreal ratio) {
  QPixmap picture(size * ratio);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);

  const QRectF face(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
  const double radius = std::min(8.0, face.width() / 2);
  QPainterPath outline;
  outline.moveTo(face.right() + 1, face.top());
  outline.lineTo(face.left() + radius, face.top());
  outline.quadTo(face.left(), face.top(), face.left(), face.top() + radius);
  outline.lineTo(face.left(), face.bottom() - radius);
  outline.quadTo(face.left(), face.bottom(), face.left() + radius, face.bottom());
  outline.lineTo(face.right() + 1, face.bottom());
  QLinearGradient shade(face.topLeft(), face.topRight());
  shade.setColorAt(0, QColor(0x5b, 0x8d, 0xc9));
  shade.setColorAt(1, QColor(0x2f, 0x5f, 0x9e));
  painter.fillPath(outline, shade);
  painter.setPen(QPen(QColor(0x24, 0x4a, 0x7c), 1));
  painter.drawPath(outline);

  QFont font = painter.font();
  font.setPixelSize(std::max(9, std::min(14, int(size.width() * 0.55))));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  const QFontMetricsF metrics(font);
  const double step = metrics.height();
  double y = (size.height() - step * label.size()) / 2;
  for (const QChar c : label) {
    painter.drawText(QRectF(0, y, size.width(), step), Qt::AlignCenter, QString(c));
    y += step;
  }
  return picture;
}

void AddDrawerBackground(QWidget* drawer, int tabWidth) {
  auto* background = new QFrame(drawer);
  background->setObjectName(QStringLiteral("drawerBackground"));
  background->setFrameStyle(QFrame::Panel | QFrame::Raised);
  background->setLineWidth(2);
  background->setAutoFillBackground(true);
  QPalette palette = background->palette();
  palette.setColor(QPalette::Window, QColor(0xf4, 0xf1, 0xe8));
  background->setPalette(palette);
  const QRect drawerTwips = qiwu::TwipsGeometry(drawer);
  qiwu::SetTwipsGeometry(background, tabWidth, 0, drawerTwips.width() - tabWidth, drawerTwips.height());
  background->lower();
}
