#pragma once
// Suffix sorting by induced sorting (linear time) in caller memory.

#include <cstddef>
#include <cstdint>

#include "work_area.h"

namespace vex {

// Work memory suffixSort needs beyond sa for n symbols of 0..upper.
size_t suffixSortScratch(int32_t n, int32_t upper);

// sa receives the start positions of the n suffixes of text (symbols 0..upper)
// in increasing order. text[-1] must hold a symbol above upper (the passes
// read it instead of testing for position 0). Takes its work memory from
// scratch and gives it back. False when scratch is smaller than
// suffixSortScratch(n, upper), or text[-1] is no such symbol.
bool suffixSort(const uint16_t* text, int32_t n, int32_t upper, int32_t* sa, WorkArea& scratch);

} // namespace vex
