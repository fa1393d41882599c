#pragma once
// The codec as the core uses it. Two bindings implement this header, chosen
// by the library a program links: orv_codec_dlopen (app/platform) loads
// libvexlib.so by name at the first call, as the programs ship it beside
// themselves; orv_codec_static calls vexlib linked in (WebAssembly, the
// core's tests).

#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

namespace orv::codec {

enum class Error {
    NoEndMarker,    // data ended before the end marker
    BadCopySource,  // a copy reads outside the output written so far
    OutputFull,     // output larger than the space given
    Io,             // seek or read on the file failed
    TooLong,        // a length beyond 32-bit counts
    LibraryMissing, // libvexlib.so could not be loaded or lacks an export
};

struct Lengths {
    int32_t compressed = 0;   // stream bytes, end marker included
    int32_t decompressed = 0; // output bytes
};

// Empty when the library can be used; the loader's message otherwise.
std::string LoadProblem();

// Measures a stream in memory (at most data.size() bytes are read).
std::expected<Lengths, Error> Measure(std::span<const uint8_t> data);
// The same, refusing with OutputFull as soon as the stream would produce more
// than maxDecompressed bytes: hostile data costs no more than what is taken.
std::expected<Lengths, Error> Measure(std::span<const uint8_t> data, int32_t maxDecompressed);
// Decompresses a stream whose decompressed length is known from measuring.
std::expected<std::vector<uint8_t>, Error> Decode(std::span<const uint8_t> stream, int32_t decompressedLength);
// Compresses raw bytes with the games' greedy compressor.
std::expected<std::vector<uint8_t>, Error> Encode(std::span<const uint8_t> raw);


} // namespace orv::codec
