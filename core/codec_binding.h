#pragma once
// The codec's entry points as one binding provides them. codec.cpp calls
// through ActiveCodec(), which the linked binding library defines.

#include <string>

#include "vexlib.h"

namespace orv::codec {

struct Binding {
    decltype(&VexMeasure) measure = nullptr;
    decltype(&VexMeasureLimited) measureLimited = nullptr;
    decltype(&VexDecode) decode = nullptr;
    decltype(&VexEncode) encode = nullptr;
    decltype(&VexEncodeInArea) encodeInArea = nullptr;
    decltype(&VexEncodeAreaSize) encodeAreaSize = nullptr;
    decltype(&VexMaxEncodedSize) maxEncoded = nullptr;
    std::string problem; // why the entry points are missing; empty when bound
};

const Binding& ActiveCodec();

} // namespace orv::codec
