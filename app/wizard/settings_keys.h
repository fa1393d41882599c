#pragma once
// Every key of the settings store with its section and default, in one table.

#include <QString>
#include <span>

#include "settings_store.h"

namespace orv {

struct SettingKey {
    const char* section;
    const char* name;
    const char* defaultValue;
};

namespace key {
// Section "Settings", in the order start-up restores them.
inline constexpr SettingKey WinPosX{"Settings", "WinPosX", "200"};
inline constexpr SettingKey WinPosY{"Settings", "WinPosY", "200"};
// Default is the last entry of the source list; see RecentList.
inline constexpr SettingKey LastOpenFile{"Settings", "LastOpenFile", ""};
inline constexpr SettingKey LastSaveFile{"Settings", "LastSaveFile", ""};
inline constexpr SettingKey ExtractPokePic{"Settings", "ExtractPokePic", "1"};
inline constexpr SettingKey SpecifySize{"Settings", "SpecifySize", "1"};
inline constexpr SettingKey LastExOffset{"Settings", "LastExOffset", "&H0"};
inline constexpr SettingKey SpecX{"Settings", "SpecX", ""};
inline constexpr SettingKey SpecY{"Settings", "SpecY", ""};
inline constexpr SettingKey IsHorizontal{"Settings", "IsHorizontal", "2"};
inline constexpr SettingKey ReCodeStyle{"Settings", "ReCodeStyle", "3"};
inline constexpr SettingKey SwitchBW{"Settings", "SwitchBW", "0"};
inline constexpr SettingKey SwitchDL{"Settings", "SwitchDL", "0"};
inline constexpr SettingKey PicTypeA{"Settings", "PicTypeA", "1"};
inline constexpr SettingKey IcognitoA{"Settings", "IcognitoA", "0"};
inline constexpr SettingKey ShinyA{"Settings", "ShinyA", "0"};
inline constexpr SettingKey PokeIndexA{"Settings", "PokeIndexA", "1"};
inline constexpr SettingKey IcognitoIndexA{"Settings", "IcognitoIndexA", "1"};
inline constexpr SettingKey TrainerA{"Settings", "TrainerA", "0"};
inline constexpr SettingKey TrainerIndexA{"Settings", "TrainerIndexA", "1"};
inline constexpr SettingKey IsPokeB{"Settings", "IsPokeB", "1"};
inline constexpr SettingKey IcognitoB{"Settings", "IcognitoB", "0"};
inline constexpr SettingKey DeleteB{"Settings", "DeleteB", "1"};
inline constexpr SettingKey PokeIndexB{"Settings", "PokeIndexB", "1"};
inline constexpr SettingKey IcognitoIndexB{"Settings", "IcognitoIndexB", "1"};
inline constexpr SettingKey TrainerB{"Settings", "TrainerB", "0"};
inline constexpr SettingKey TrainerIndexB{"Settings", "TrainerIndexB", "1"};
inline constexpr SettingKey SaveName{"Settings", "SaveName", "0"};
inline constexpr SettingKey BigPreview{"Settings", "BigPreview", "0"};
inline constexpr SettingKey VScrollWidth{"Settings", "VScrollWidth", "9"};
inline constexpr SettingKey HScrollWidth{"Settings", "HScrollWidth", "9"};
inline constexpr SettingKey ColorOverride{"Settings", "ColorOverride", "0"};
} // namespace key

// The two recent-file lists in section "Recent": entries prefix + 1 .. prefix + n,
// oldest first, and their count.
struct RecentList {
    const char* countKey;
    const char* entryPrefix;
    SettingKey lastFile;

    QString entryKey(int i) const { return QString::fromLatin1(entryPrefix) + QString::number(i); }
};

inline constexpr const char* kRecentSection = "Recent";
inline constexpr RecentList kSourceList{"count", "", key::LastOpenFile};
inline constexpr RecentList kTargetList{"Xcount", "X", key::LastSaveFile};

// Every fixed key (the recent entries excluded), for tests and tools.
std::span<const SettingKey> AllSettingKeys();

QString ReadSetting(const SettingsStore& store, const SettingKey& k);
QString ReadSetting(const SettingsStore& store, const SettingKey& k, const QString& defaultValue);
// The value's leading number, 0 when there is none.
long long ReadSettingNumber(const SettingsStore& store, const SettingKey& k);
void WriteSetting(SettingsStore& store, const SettingKey& k, const QString& value);

} // namespace orv
