// The codec binding of programs that link vexlib in.

#include "codec_binding.h"

namespace orv::codec {

const Binding& ActiveCodec()
{
    static const Binding binding{&VexMeasure,      &VexMeasureLimited, &VexDecode,        &VexEncode,
                                 &VexEncodeInArea, &VexEncodeAreaSize, &VexMaxEncodedSize, {}};
    return binding;
}

} // namespace orv::codec
