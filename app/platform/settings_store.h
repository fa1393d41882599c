#pragma once
// The per-user settings store: (section, key) -> string, application "Orvista".

#include <QString>
#include <memory>

class QSettings;

namespace orv {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString get(const QString& section, const QString& key, const QString& defaultValue) const = 0;
    virtual void save(const QString& section, const QString& key, const QString& value) = 0;
    virtual void remove(const QString& section, const QString& key) = 0;
};

// QSettings-backed store. The default constructor uses the user's real store;
// tests pass an INI file of their own.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    explicit QtSettingsStore(const QString& iniFile);
    ~QtSettingsStore() override;

    QString get(const QString& section, const QString& key, const QString& defaultValue) const override;
    void save(const QString& section, const QString& key, const QString& value) override;
    void remove(const QString& section, const QString& key) override;

private:
    std::unique_ptr<QSettings> settings_;
};

// Reads a number the way the settings values are read: the text's leading
// number (see parseNumber), 0 when there is none.
long long SettingNumber(const QString& text);

} // namespace orv
