#include "file_dialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace orv {

QStringList QtFilterList(const QString& barSeparated)
{
    const QStringList parts = barSeparated.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

void SetUpFileDialog(QFileDialog& dialog, const QString& startName, const QString& filter,
                     QFileDialog::AcceptMode mode)
{
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Each description is shown as it stands: the pattern list Qt needs
    // after it is not shown a second time.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(QtFilterList(filter));
    // A save dialog would ask before replacing; the wizard's own page decides that.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!startName.isEmpty())
        dialog.selectFile(startName);
}

static std::optional<QString> runDialog(QWidget* parent, const QString& startName, const QString& filter,
                                        QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    SetUpFileDialog(dialog, startName, filter, mode);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtFileDialogs::openFile(QWidget* parent, const QString& startName, const QString& filter)
{
    return runDialog(parent, startName, filter, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileDialogs::saveFile(QWidget* parent, const QString& startName, const QString& filter)
{
    return runDialog(parent, startName, filter, QFileDialog::AcceptSave);
}

std::optional<QString> ScriptedFileDialogs::next(bool save, const QString& startName, const QString& filter)
{
    calls.push_back({save, startName, filter});
    if (answers.empty())
        return std::nullopt;
    auto answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

std::optional<QString> ScriptedFileDialogs::openFile(QWidget*, const QString& startName, const QString& filter)
{
    return next(false, startName, filter);
}

std::optional<QString> ScriptedFileDialogs::saveFile(QWidget*, const QString& startName, const QString& filter)
{
    return next(true, startName, filter);
}

} // namespace orv
