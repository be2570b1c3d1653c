#include "kit/MessageBoxSink.h"

#include <QApplication>
#include <QMessageBox>

#include "kit/Messages.h"

namespace qiwu {

void InstallMessageBoxSink() {
  SetMessageSink([](const Message& message) {
    QMessageBox box(message.icon == MsgIcon::Critical ? QMessageBox::Critical : QMessageBox::Information,
                    message.title, message.text, QMessageBox::NoButton, QApplication::activeWindow());
    // Texts carry database descriptions and names from the data set: never markup.
    box.setTextFormat(Qt::PlainText);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
  });
}

}  // namespace qiwu
