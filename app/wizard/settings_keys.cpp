#include "settings_keys.h"

#include <array>

namespace orv {

std::span<const SettingKey> AllSettingKeys()
{
    static constexpr std::array keys{
        key::WinPosX,        key::WinPosY,       key::LastOpenFile, key::LastSaveFile,  key::ExtractPokePic,
        key::SpecifySize,    key::LastExOffset,  key::SpecX,        key::SpecY,         key::IsHorizontal,
        key::ReCodeStyle,    key::SwitchBW,      key::SwitchDL,     key::PicTypeA,      key::IcognitoA,
        key::ShinyA,         key::PokeIndexA,    key::IcognitoIndexA, key::TrainerA,    key::TrainerIndexA,
        key::IsPokeB,        key::IcognitoB,     key::DeleteB,      key::PokeIndexB,    key::IcognitoIndexB,
        key::TrainerB,       key::TrainerIndexB, key::SaveName,     key::BigPreview,    key::VScrollWidth,
        key::HScrollWidth,   key::ColorOverride,
    };
    return keys;
}

QString ReadSetting(const SettingsStore& store, const SettingKey& k)
{
    return ReadSetting(store, k, QString::fromUtf8(k.defaultValue));
}

QString ReadSetting(const SettingsStore& store, const SettingKey& k, const QString& defaultValue)
{
    return store.get(QString::fromLatin1(k.section), QString::fromLatin1(k.name), defaultValue);
}

long long ReadSettingNumber(const SettingsStore& store, const SettingKey& k)
{
    return SettingNumber(ReadSetting(store, k));
}

void WriteSetting(SettingsStore& store, const SettingKey& k, const QString& value)
{
    store.save(QString::fromLatin1(k.section), QString::fromLatin1(k.name), value);
}

} // namespace orv
