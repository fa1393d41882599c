#include "settings_store.h"

#include <QSettings>

#include "number_text.h"

namespace orv {

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Orvista"), QStringLiteral("Orvista")))
{
}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

QtSettingsStore::~QtSettingsStore() = default;

static QString path(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

QString QtSettingsStore::get(const QString& section, const QString& key, const QString& defaultValue) const
{
    QVariant v = settings_->value(path(section, key));
    if (!v.isValid())
        return defaultValue;
    return v.toString();
}

void QtSettingsStore::save(const QString& section, const QString& key, const QString& value)
{
    settings_->setValue(path(section, key), value);
    settings_->sync();
}

void QtSettingsStore::remove(const QString& section, const QString& key)
{
    settings_->remove(path(section, key));
    settings_->sync();
}

long long SettingNumber(const QString& text)
{
    return ParseTypedNumber(text.toStdString());
}

} // namespace orv
