#include "message_sink.h"

#include <QMessageBox>

namespace orv {

void BoxMessageSink::show(const Message& message)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (message.icon) {
    case MessageIcon::None: icon = QMessageBox::NoIcon; break;
    case MessageIcon::Critical: icon = QMessageBox::Critical; break;
    case MessageIcon::Information: icon = QMessageBox::Information; break;
    case MessageIcon::Warning: icon = QMessageBox::Warning; break;
    }
    QMessageBox box(icon, message.caption.isEmpty() ? QStringLiteral("Orvista") : message.caption,
                    message.text, QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace orv
