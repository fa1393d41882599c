#pragma once
// The wizard's main window: eleven pages on top of each other, driven by
// Next (the single dispatcher) and Back.

#include <QWidget>
#include <memory>
#include <vector>

#include "form1_controls.h"
#include "form2.h"
#include "settings_keys.h"
#include "wizard_state.h"

class QComboBox;

namespace orv {

class ControlSettings;
class FileDialogs;
class MessageSink;
class PageRules;
class PageWork;
class SettingsStore;
class SlotNames;

class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(SettingsStore& settings, MessageSink& messages, FileDialogs& dialogs, PageWork& work,
          LinkOpener openLink, QWidget* parent = nullptr);
    ~Form1() override;

    // Restores everything from the settings store; a command line that is not
    // blank goes into Combo1 and is loaded at once with Next. Call before show().
    void startUp(const QString& commandLine = {});
    // Stores the window position unless minimized; runs when the window closes.
    void shutdown();

    void ShowPage(int n);
    void HidePage(int n);
    void NextClicked();
    void BackClicked();
    void LayoutPreview();

    // Recent lists (kSourceList -> Combo1, kTargetList -> Combo2).
    void RememberFile(const RecentList& list);
    void ResetList(const RecentList& list);
    void BrowseSource();
    void BrowseTarget();
    void FitDropDownWidth(QComboBox* box);
    static QString sourceFilter();
    static QString targetFilter();
    // The suffix a typed target name without one gets, per target filter.
    static QStringList targetSuffixes();

    // Selects an item and runs the list's selection handler even when the
    // index stays the same, as a user's choice would.
    void selectItem(QComboBox* box, int index);
    // Replaces a list's items (text, item data), leaving nothing selected and
    // running no handler; a list box would otherwise select its first item.
    struct ListItem {
        QString text;
        qlonglong data;
    };
    void replaceItems(QComboBox* box, const std::vector<ListItem>& items);
    // Opens the about window modally.
    void openAbout();

    WizardState& state() { return state_; }
    const Form1Controls& ui() const { return ui_; }
    SettingsStore& settings() { return settings_; }
    MessageSink& messages() { return messages_; }
    PageRules& rules() { return *rules_; }
    const ControlSettings& controlSettings() const { return *controlSettings_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One branch of the dispatcher; false when its work failed.
    bool runNext();
    bool skipTo(int page);
    bool nextFromSource();
    bool nextFromExtraction();
    bool nextFromPreview();
    bool nextFromTarget();
    bool nextFromOffset();
    bool nextFromSlot();
    bool nextFromSuccess();
    bool nextFromColours();
    bool nextFromInsertion();
    bool nextFromRomChoice();
    bool nextFromCompression();

    void loadRecentLists();
    void restoreWindowPosition();
    void applyPreviewSettings();
    QComboBox* comboOf(const RecentList& list) const;

    SettingsStore& settings_;
    MessageSink& messages_;
    FileDialogs& dialogs_;
    PageWork& work_;
    LinkOpener openLink_;
    Form1Controls ui_{};
    WizardState state_;
    std::unique_ptr<ControlSettings> controlSettings_;
    PageRules* rules_ = nullptr;
    SlotNames* slotNames_ = nullptr;
};

} // namespace orv
