#include "message_sink.h"

#include <QMessageBox>
#include <QPushButton>

namespace orv {

namespace {
QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

QString captionOf(const Message& message)
{
    return message.caption.isEmpty() ? QStringLiteral("Orvista") : message.caption;
}
} // namespace

bool BoxMessageSink::ask(const Message& question)
{
    QMessageBox box(boxIcon(question.icon), captionOf(question), question.text,
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void BoxMessageSink::show(const Message& message)
{
    QMessageBox box(boxIcon(message.icon), captionOf(message), message.text, QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace orv
