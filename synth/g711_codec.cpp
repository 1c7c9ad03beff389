#include "synth/g711_codec.h"

#include <new>
#include <stdexcept>

namespace {

constexpr int32_t kMuLawSegmentEnds[8] = {0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF, 0x1FFF};
constexpr int32_t kALawSegmentEnds[8] = {0x1F, 0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF};

int32_t FindSegment(int32_t magnitude, const int32_t (&ends)[8]) {
  for (int32_t j = 0; j < 8; ++j) {
    if (magnitude <= ends[j]) return j;
  }
  return -1;
}

}  // namespace

uint8_t EncodeMuLawSample(int16_t sample) {
  int32_t v = sample >> 2;
  int32_t mask;
  if (v < 0) {
    mask = 0x7F;
    v = -v;
  } else {
    mask = 0xFF;
  }
  if (v > 8159) v = 8159;
  v += 33;
  const int32_t j = FindSegment(v, kMuLawSegmentEnds);
  const int32_t code = j < 0 ? 0x7F : (j << 4) | ((v >> (j + 1)) & 0x0F);
  return static_cast<uint8_t>(code ^ mask);
}

uint8_t EncodeALawSample(int16_t sample) {
  int32_t v = sample >> 3;
  int32_t mask;
  if (v >= 0) {
    mask = 0xD5;
  } else {
    mask = 0x55;
    v = -v - 1;
  }
  const int32_t j = FindSegment(v, kALawSegmentEnds);
  if (j < 0) return static_cast<uint8_t>(0x7F ^ mask);
  const int32_t q = j < 2 ? v >> 1 : v >> j;
  return static_cast<uint8_t>(((j << 4) | (q & 0x0F)) ^ mask);
}

int16_t DecodeMuLawByte(uint8_t byte) {
  const int32_t u = ~byte & 0xFF;
  int32_t t = ((u & 0x0F) << 3) + 0x84;
  t <<= (u >> 4) & 7;
  return static_cast<int16_t>((u & 0x80) != 0 ? 0x84 - t : t - 0x84);
}

int16_t DecodeALawByte(uint8_t byte) {
  const int32_t a = byte ^ 0x55;
  int32_t t = (a & 0x0F) << 4;
  const int32_t j = (a >> 4) & 7;
  if (j == 0) {
    t += 8;
  } else if (j == 1) {
    t += 0x108;
  } else {
    t = (t + 0x108) << (j - 1);
  }
  return static_cast<int16_t>((a & 0x80) != 0 ? t : -t);
}

CG711Codec::~CG711Codec() {
  delete[] ulaw_encode;
  delete[] alaw_encode;
  delete[] ulaw_decode;
  delete[] alaw_decode;
}

void CG711Codec::BuildTables() {
  if (ulaw_encode == nullptr) {
    ulaw_encode = new (std::nothrow) uint8_t[65536];
    if (ulaw_encode == nullptr) return;
    for (int32_t i = 0; i < 65536; ++i) ulaw_encode[i] = EncodeMuLawSample(static_cast<int16_t>(i));
  }
  if (alaw_encode == nullptr) {
    alaw_encode = new (std::nothrow) uint8_t[65536];
    if (alaw_encode == nullptr) return;
    for (int32_t i = 0; i < 65536; ++i) alaw_encode[i] = EncodeALawSample(static_cast<int16_t>(i));
  }
  if (ulaw_decode == nullptr) {
    ulaw_decode = new (std::nothrow) int16_t[256];
    if (ulaw_decode == nullptr) return;
    for (int32_t i = 0; i < 256; ++i) ulaw_decode[i] = DecodeMuLawByte(static_cast<uint8_t>(i));
  }
  if (alaw_decode == nullptr) {
    alaw_decode = new (std::nothrow) int16_t[256];
    if (alaw_decode == nullptr) return;
    for (int32_t i = 0; i < 256; ++i) alaw_decode[i] = DecodeALawByte(static_cast<uint8_t>(i));
  }
}

bool EncodeWithCodec(const CG711Codec& codec, const int16_t* samples, size_t count, G711Law law,
                     std::vector<uint8_t>* bytes) {
  const uint8_t* table = law == G711Law::MuLaw ? codec.ulaw_encode : codec.alaw_encode;
  if (table == nullptr || (samples == nullptr && count > 0)) return false;
  std::vector<uint8_t> encoded;
  try {
    encoded.resize(count);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  for (size_t i = 0; i < count; ++i) encoded[i] = table[static_cast<uint16_t>(samples[i])];
  bytes->swap(encoded);
  return true;
}

bool EncodeG711(const int16_t* samples, size_t count, G711Law law, std::vector<uint8_t>* bytes) {
  CG711Codec codec;
  codec.BuildTables();
  return EncodeWithCodec(codec, samples, count, law, bytes);
}
