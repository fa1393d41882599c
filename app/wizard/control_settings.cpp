#include "control_settings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <cstring>

#include "form1_controls.h"
#include "option_group.h"
#include "up_down.h"

namespace orv {
namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};

QString u(const char* s)
{
    return QString::fromLatin1(s);
}

} // namespace

ControlSettings::ControlSettings(const Form1Controls& c)
{
    // The order of the key table: start-up restores in this order.
    table_ = {
        {key::ExtractPokePic, c.Check12},
        {key::SpecifySize, c.Check13},
        {key::LastExOffset, c.Text12},
        {key::SpecX, c.Text13},
        {key::SpecY, c.Text14},
        {key::IsHorizontal, OptionChoice{c.TileOrder, {{u("1"), c.OptionButton11}, {u("2"), c.OptionButton10}}, u("2")}},
        {key::ReCodeStyle,
         OptionChoice{c.NewComp,
                      {{u("1"), c.OptionButton12}, {u("2"), c.OptionButton13}, {u("3"), c.OptionButton14}},
                      u("3")}},
        {key::SwitchBW, c.Check14},
        {key::SwitchDL, c.Check3},
        {key::PicTypeA, OptionChoice{c.P2A, {{u("1"), c.OptionButton1}, {u("2"), c.OptionButton2}}, u("2")}},
        {key::IcognitoA, c.Check1},
        {key::ShinyA, c.Check2},
        {key::PokeIndexA, c.UpDown1},
        {key::IcognitoIndexA, c.UpDown2},
        {key::TrainerA, c.Check7},
        {key::TrainerIndexA, c.UpDown6},
        {key::IsPokeB, c.Check4},
        {key::IcognitoB, c.Check5},
        {key::DeleteB, c.Check6},
        {key::PokeIndexB, c.UpDown3},
        {key::IcognitoIndexB, c.UpDown5},
        {key::TrainerB, c.Check8},
        {key::TrainerIndexB, c.UpDown7},
        {key::SaveName, c.Check11},
    };
}

void ControlSettings::restoreAll(const SettingsStore& store) const
{
    for (const ControlSetting& s : table_) {
        const QString value = ReadSetting(store, s.key);
        std::visit(Overloaded{
                       [&](QCheckBox* box) { box->setChecked(SettingNumber(value) != 0); },
                       [&](QLineEdit* text) { text->setText(value); },
                       [&](UpDown* spin) { spin->setValue(SettingNumber(value)); },
                       [&](const OptionChoice& choice) {
                           for (const auto& [v, button] : choice.buttons)
                               if (v == value) {
                                   choice.group->choose(button);
                                   return;
                               }
                           choice.group->clear();
                       },
                   },
                   s.control);
    }
}

QString ControlSettings::currentValue(const SettingKey& k) const
{
    const ControlSetting* s = find(k);
    if (!s)
        return {};
    return std::visit(Overloaded{
                          [](QCheckBox* box) { return box->isChecked() ? u("1") : u("0"); },
                          [](QLineEdit* text) { return text->text(); },
                          [](UpDown* spin) { return QString::number(spin->value()); },
                          [](const OptionChoice& choice) {
                              for (const auto& [v, button] : choice.buttons)
                                  if (button->isChecked())
                                      return v;
                              return choice.otherwise;
                          },
                      },
                      s->control);
}

void ControlSettings::store(SettingsStore& store, std::initializer_list<SettingKey> keys) const
{
    for (const SettingKey& k : keys)
        if (find(k))
            WriteSetting(store, k, currentValue(k));
}

const ControlSetting* ControlSettings::find(const SettingKey& k) const
{
    for (const ControlSetting& s : table_)
        if (std::strcmp(s.key.name, k.name) == 0)
            return &s;
    return nullptr;
}

} // namespace orv
