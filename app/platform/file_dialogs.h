#pragma once
// Open and save dialogs behind an interface. A dialog gets the starting file
// name and the filter list in the form "Description|patterns|Description|...";
// it returns the chosen name, or nothing when the user cancels.

#include <QFileDialog>
#include <QString>
#include <optional>
#include <vector>

class QWidget;

namespace orv {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> openFile(QWidget* parent, const QString& startName, const QString& filter) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& startName, const QString& filter) = 0;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<QString> openFile(QWidget* parent, const QString& startName, const QString& filter) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& startName, const QString& filter) override;
};

// "Desc|*.a;*.b|Desc2|*.c" -> {"Desc (*.a *.b)", "Desc2 (*.c)"} for Qt dialogs.
QStringList QtFilterList(const QString& barSeparated);

// Mode, filters (each description shown once) and start name of a dialog.
void SetUpFileDialog(QFileDialog& dialog, const QString& startName, const QString& filter,
                     QFileDialog::AcceptMode mode);

// Scripted dialogs for tests: answers are taken in order; every call is recorded.
class ScriptedFileDialogs final : public FileDialogs {
public:
    struct Call {
        bool save;
        QString startName;
        QString filter;
    };
    std::optional<QString> openFile(QWidget*, const QString& startName, const QString& filter) override;
    std::optional<QString> saveFile(QWidget*, const QString& startName, const QString& filter) override;

    std::vector<std::optional<QString>> answers;
    std::vector<Call> calls;

private:
    std::optional<QString> next(bool save, const QString& startName, const QString& filter);
};

} // namespace orv
