#pragma once
// Small squares of colour beside the items of page 8's colour lists.

#include <cstdint>

class QComboBox;

namespace orv {

// Gives each item of the list a swatch of its item data (0x00RRGGBB).
void ShowColourSwatches(QComboBox* list);
// Gives one item a swatch of its item data.
void ShowColourSwatch(QComboBox* list, int index);

} // namespace orv
