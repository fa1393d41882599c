#include <QApplication>
#include <QDesktopServices>
#include <QStringList>
#include <QUrl>

#include "core_page_work.h"
#include "file_dialogs.h"
#include "form1.h"
#include "message_sink.h"
#include "settings_store.h"
#include "stop_signals.h"

int main(int argc, char** argv)
{
    orv::installStopHandling("orvista: durch ein Signal beendet; temporäre Dateien entfernt, das Rom ist unverändert.\n",
                             "orvista: durch ein Signal beendet, nachdem das Rom geschrieben wurde.\n");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvista"));

    orv::QtSettingsStore settings;
    orv::BoxMessageSink messages;
    orv::QtFileDialogs dialogs;
    orv::CorePageWork work;
    orv::Form1 form(settings, messages, dialogs, work, [](const QUrl& url) { QDesktopServices::openUrl(url); });
    messages.setParent(&form);

    // The command line after the program's name is one source path.
    form.startUp(QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    form.show();
    return app.exec();
}
