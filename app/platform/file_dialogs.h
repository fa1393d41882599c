#pragma once
// Open and save dialogs behind an interface. A dialog gets the starting file
// name and the filter list in the form "Description|patterns|Description|...";
// it returns the chosen name, or nothing when the user cancels. A save dialog
// also gets one suffix per filter ("bmp"), added to a chosen name without one.

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
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& startName, const QString& filter,
                                            const QStringList& suffixes) = 0;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<QString> openFile(QWidget* parent, const QString& startName, const QString& filter) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& startName, const QString& filter,
                                    const QStringList& suffixes) override;
};

// "Desc|*.a;*.b|Desc2|*.c" -> {"Desc (*.a *.b)", "Desc2 (*.c)"} for Qt dialogs.
QStringList qtFilterList(const QString& barSeparated);

// The name with "." and the suffix added when its last part has no "."; an
// empty suffix adds nothing.
QString WithSuffix(const QString& name, const QString& suffix);

// Mode, filters (each description shown once) and start name of a dialog.
void setUpFileDialog(QFileDialog& dialog, const QString& startName, const QString& filter,
                     QFileDialog::AcceptMode mode);

// Scripted dialogs for tests: answers are taken in order; every call is recorded.
class ScriptedFileDialogs final : public FileDialogs {
public:
    struct Call {
        bool save;
        QString startName;
        QString filter;
        QStringList suffixes;
    };
    std::optional<QString> openFile(QWidget*, const QString& startName, const QString& filter) override;
    std::optional<QString> saveFile(QWidget*, const QString& startName, const QString& filter,
                                    const QStringList& suffixes) override;

    std::vector<std::optional<QString>> answers;
    std::vector<Call> calls;

private:
    std::optional<QString> next(Call call);
};

} // namespace orv
