#include "file_dialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace orv {

QStringList qtFilterList(const QString& barSeparated)
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

void setUpFileDialog(QFileDialog& dialog, const QString& startName, const QString& filter,
                     QFileDialog::AcceptMode mode)
{
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Each description is shown as it stands: the pattern list Qt needs
    // after it is not shown a second time.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(qtFilterList(filter));
    // A save dialog would ask before replacing; the wizard's own page decides that.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!startName.isEmpty())
        dialog.selectFile(startName);
}

QString WithSuffix(const QString& name, const QString& suffix)
{
    const QString last = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    if (suffix.isEmpty() || last.isEmpty() || last.contains(QLatin1Char('.')))
        return name;
    return name + QLatin1Char('.') + suffix;
}

// The dialog names its filter as set, or (with the details hidden, in some
// Qt versions) by its description alone.
static qsizetype filterIndexOf(const QString& barSeparated, const QString& selected)
{
    const QStringList parts = barSeparated.split(QLatin1Char('|'));
    const QStringList filters = qtFilterList(barSeparated);
    for (qsizetype i = 0; i < filters.size(); ++i)
        if (selected == filters[i] || selected == parts[2 * i])
            return i;
    return -1;
}

static std::optional<QString> runDialog(QWidget* parent, const QString& startName, const QString& filter,
                                        QFileDialog::AcceptMode mode, const QStringList& suffixes = {})
{
    QFileDialog dialog(parent);
    setUpFileDialog(dialog, startName, filter, mode);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    const qsizetype filterIndex = filterIndexOf(filter, dialog.selectedNameFilter());
    return filterIndex >= 0 && filterIndex < suffixes.size() ? WithSuffix(chosen, suffixes[filterIndex]) : chosen;
}

std::optional<QString> QtFileDialogs::openFile(QWidget* parent, const QString& startName, const QString& filter)
{
    return runDialog(parent, startName, filter, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileDialogs::saveFile(QWidget* parent, const QString& startName, const QString& filter,
                                               const QStringList& suffixes)
{
    return runDialog(parent, startName, filter, QFileDialog::AcceptSave, suffixes);
}

std::optional<QString> ScriptedFileDialogs::next(Call call)
{
    calls.push_back(std::move(call));
    if (answers.empty())
        return std::nullopt;
    auto answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

std::optional<QString> ScriptedFileDialogs::openFile(QWidget*, const QString& startName, const QString& filter)
{
    return next({false, startName, filter, {}});
}

std::optional<QString> ScriptedFileDialogs::saveFile(QWidget*, const QString& startName, const QString& filter,
                                                     const QStringList& suffixes)
{
    return next({true, startName, filter, suffixes});
}

} // namespace orv
