#include "slot.h"

#include "error.h"
#include "rom_layout.h"

namespace orv::rom {

Slot TableEntry(const Slot& slot)
{
    Slot entry = slot;
    entry.shiny = false;
    if (slot.kind == Slot::Kind::Trainer)
        entry.back = false;
    if (slot.kind == Slot::Kind::Pokemon && slot.number == kUnownNumber)
        entry = {Slot::Kind::Unown, 1, slot.back, false};
    return entry;
}

std::expected<Slot, Error> CheckedSlot(const Slot& slot)
{
    const auto refuse = [](NumberField field, int64_t value, int64_t max) {
        return std::unexpected(OutOfRangeError(field, value, 1, max));
    };
    switch (slot.kind) {
    case Slot::Kind::Trainer:
        if (slot.number < 1 || slot.number > kMaxTrainer)
            return refuse(NumberField::TrainerNumber, slot.number, kMaxTrainer);
        break;
    case Slot::Kind::Unown:
        // The wizard's spin allows more, but the Unown table has 26 entries.
        if (slot.number < 1 || slot.number > kMaxUnownIndex)
            return refuse(NumberField::UnownIndex, slot.number, kMaxUnownIndex);
        break;
    case Slot::Kind::Pokemon:
        if (slot.number < 1 || slot.number > kMaxPokemon)
            return refuse(NumberField::PokemonNumber, slot.number, kMaxPokemon);
        break;
    }
    Slot checked = TableEntry(slot);
    checked.shiny = slot.shiny && !IsTrainer(slot);
    return checked;
}

bool IsTrainer(const Slot& slot) { return slot.kind == Slot::Kind::Trainer; }

int PaletteNumber(const Slot& slot)
{
    const Slot entry = TableEntry(slot);
    return entry.kind == Slot::Kind::Unown ? kUnownNumber : static_cast<int>(entry.number);
}

int64_t PointerLocation(const Slot& slot)
{
    const Slot entry = TableEntry(slot);
    const int number = static_cast<int>(entry.number);
    switch (entry.kind) {
    case Slot::Kind::Trainer: return PicturePointerLocation(true, number, 1, false);
    case Slot::Kind::Unown: return PicturePointerLocation(false, kUnownNumber, number, entry.back);
    case Slot::Kind::Pokemon: break;
    }
    return PicturePointerLocation(false, number, 1, entry.back);
}

int64_t PaletteLocation(const Slot& slot)
{
    return PaletteLocation(IsTrainer(slot), PaletteNumber(slot), slot.shiny && !IsTrainer(slot));
}

const std::vector<Slot>& AllPictureSlots(Pokemon201 pokemon201)
{
    const auto make = [](bool with201) {
        std::vector<Slot> all;
        using K = Slot::Kind;
        for (int n = 1; n <= kMaxPokemon; ++n)
            if (n != kUnownNumber || with201)
                for (bool back : {false, true})
                    all.push_back({K::Pokemon, n, back});
        for (int u = 1; u <= kMaxUnownIndex; ++u)
            for (bool back : {false, true})
                all.push_back({K::Unown, u, back});
        for (int t = 1; t <= kMaxTrainer; ++t)
            all.push_back({K::Trainer, t, false});
        return all;
    };
    static const std::vector<Slot> skipped = make(false), listed = make(true);
    return pokemon201 == Pokemon201::Listed ? listed : skipped;
}

} // namespace orv::rom
