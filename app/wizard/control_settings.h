#pragma once
// Which control each "Settings" key restores at start-up and is stored from.

#include <QString>
#include <utility>
#include <variant>
#include <vector>

#include "settings_keys.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace orv {

class OptionGroup;
class UpDown;
struct Form1Controls;

// One option button per stored value; a value that names none leaves the
// group without a choice. Stored: the chosen button's value, else otherwise.
struct OptionChoice {
    OptionGroup* group;
    std::vector<std::pair<QString, QRadioButton*>> buttons;
    QString otherwise;
};

using BoundControl = std::variant<QCheckBox*, QLineEdit*, UpDown*, OptionChoice>;

struct ControlSetting {
    SettingKey key;
    BoundControl control;
};

class ControlSettings {
public:
    explicit ControlSettings(const Form1Controls& c);

    // Sets every bound control from the store, in table order. Check boxes run
    // their handlers through their toggled signal when their state changes.
    void restoreAll(const SettingsStore& store) const;
    // Stores the named keys from their controls, in the order given.
    void store(SettingsStore& store, std::initializer_list<SettingKey> keys) const;
    // The text that would be stored for a key.
    QString currentValue(const SettingKey& k) const;

    const std::vector<ControlSetting>& table() const { return table_; }

private:
    const ControlSetting* find(const SettingKey& k) const;
    std::vector<ControlSetting> table_;
};

} // namespace orv
