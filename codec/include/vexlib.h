/*
 * vexlib: measure, decompress and compress picture data in the compressed
 * stream format of Pokemon Gold and Silver.
 *
 * All functions are stateless and allocate nothing; every buffer belongs to
 * the caller. Counts are 32-bit signed.
 *
 * The four classic exports trust their input as the games do: they know no
 * buffer sizes (LoadPokeGoldFH does stop at end of file, and DecPokeGoldL
 * never reads outside the output it has written). Callers that read untrusted
 * data (arbitrary ROM offsets, user files) use the Vex* variants, which take
 * buffer sizes and return a VexStatus instead of reading or writing out of
 * bounds.
 *
 * Compression time: EncPokeGoldAsm and VexEncode search copies in 128 KB of
 * stack. Inputs up to about 1600 bytes (a 10 x 10-tile picture) and inputs whose
 * strings are varied (pictures, tile data) take time about linear in their
 * length; longer inputs drawn from very few byte values can take time that
 * grows with the square of the length. VexEncodeInArea, given a work area of
 * VexEncodeAreaSize bytes (about 75 per input byte), bounds every input to
 * O(n log n). All three give the same output.
 *
 * Inputs longer than 32768 bytes: an absolute copy source must fit 15 bits,
 * so the compressor never uses an earlier position of 32768 or more as an
 * absolute (two-byte) copy source; such candidates are skipped and the output
 * still decodes back to the input. For inputs of up to 32768 bytes this rule
 * never applies and the output is the plain greedy result.
 */
#ifndef VEXLIB_H
#define VEXLIB_H

#include <stdint.h>

#if defined(_WIN32)
#define VEX_API __declspec(dllexport)
#else
#define VEX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Worst-case compressed size of n input bytes, end marker included. */
#define VEX_MAX_ENCODED_SIZE(n) ((n) + (n) / 16 + 4)

typedef enum VexStatus {
    VEX_OK = 0,
    VEX_NO_END_MARKER = 1,   /* input (or file) ended before the 0xFF end marker */
    VEX_BAD_COPY_SOURCE = 2, /* a copy reads outside the output written so far */
    VEX_OUTPUT_FULL = 3,     /* output would exceed the destination capacity */
    VEX_IO_ERROR = 4,        /* seek or read on the file descriptor failed */
    VEX_TOO_LONG = 5,        /* a length would not fit a 32-bit signed count */
    VEX_BAD_ARGUMENT = 6     /* null pointer (with a non-zero size) or negative size */
} VexStatus;

/* ---- Classic exports: trusted input, no bounds ---- */

/* Decompresses the stream at source into destination, which must hold the
 * stream's decompressed length. Returns that length. A copy whose source lies
 * outside the output written so far ends decoding there; the result is then
 * the number of bytes written before it. */
VEX_API int32_t DecPokeGoldL(const uint8_t *source, uint8_t *destination);

/* Measures the stream at source: bytes up to and including the end marker,
 * and the decompressed length. */
VEX_API void LoadPokeGoldR(const uint8_t *source, int32_t *compressedLength,
                           int32_t *decompressedLength);

/* Measures the stream at *offset (from the start of the file) through the
 * open file descriptor *handle, using the descriptor's own position; leaves
 * the position just after the end marker. Stops at end of file instead of
 * taking a missing byte as a command; both lengths are 0 then, and after a
 * failed seek or read. */
VEX_API void LoadPokeGoldFH(const int *handle, const int32_t *offset,
                            int32_t *compressedLength, int32_t *decompressedLength);

/* Compresses *length bytes of source into destination, which must hold
 * VEX_MAX_ENCODED_SIZE(*length) bytes. Returns the bytes written, end marker
 * included. */
VEX_API int32_t EncPokeGoldAsm(const uint8_t *source, uint8_t *destination,
                               const int32_t *length);

/* ---- Safe variants: return a VexStatus ---- */

/* Measures a stream held in sourceLength bytes. Also checks every copy
 * source against the output the stream has produced so far. Both lengths are
 * 0 unless the result is VEX_OK. */
VEX_API int32_t VexMeasure(const uint8_t *source, int32_t sourceLength,
                           int32_t *compressedLength, int32_t *decompressedLength);

/* VexMeasure that fails with VEX_OUTPUT_FULL as soon as the stream would
 * produce more than maxDecompressed bytes, before reading further: the cost
 * of measuring untrusted data stays bounded by the output the caller takes. */
VEX_API int32_t VexMeasureLimited(const uint8_t *source, int32_t sourceLength,
                                  int32_t maxDecompressed, int32_t *compressedLength,
                                  int32_t *decompressedLength);

/* Measures a stream starting at offset in the file fd, stopping at end of
 * file; checks copy sources like VexMeasure. On success the descriptor's
 * position is just after the end marker; otherwise it is unchanged. */
VEX_API int32_t VexMeasureFd(int fd, int64_t offset, int32_t *compressedLength,
                             int32_t *decompressedLength);

/* Decompresses at most sourceLength stream bytes into at most
 * destinationCapacity bytes; checks copy sources like VexMeasure. *written
 * receives the output length, on failure the bytes written before it. */
VEX_API int32_t VexDecode(const uint8_t *source, int32_t sourceLength,
                          uint8_t *destination, int32_t destinationCapacity,
                          int32_t *written);

/* Compresses sourceLength bytes; fails with VEX_OUTPUT_FULL (and *written 0)
 * rather than write past destinationCapacity. Output is identical to
 * EncPokeGoldAsm. */
VEX_API int32_t VexEncode(const uint8_t *source, int32_t sourceLength,
                          uint8_t *destination, int32_t destinationCapacity,
                          int32_t *written);

/* VexEncode in O(n log n) time for every input: the copy search may use
 * areaSize bytes at area (no alignment needed), which must be at least
 * VexEncodeAreaSize(sourceLength), else VEX_BAD_ARGUMENT. Same output. */
VEX_API int32_t VexEncodeInArea(const uint8_t *source, int32_t sourceLength,
                                uint8_t *destination, int32_t destinationCapacity,
                                void *area, int64_t areaSize, int32_t *written);

/* Work area VexEncodeInArea needs for inputLength bytes (about 75 bytes per
 * input byte); -1 for a negative length. */
VEX_API int64_t VexEncodeAreaSize(int32_t inputLength);

/* VEX_MAX_ENCODED_SIZE as a function, for callers that bind by name; -1 for
 * a negative length or a size beyond 32-bit counts. */
VEX_API int32_t VexMaxEncodedSize(int32_t inputLength);

#ifdef __cplusplus
}
#endif

#endif /* VEXLIB_H */
