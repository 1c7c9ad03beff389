// 16-bit linear PCM to ITU-T G.711 (mu-law and A-law) through lookup tables.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum class G711Law : int32_t { MuLaw = 0, ALaw = 1 };

class CG711Codec {
 public:
  CG711Codec() = default;
  // Frees every table that exists.
  virtual ~CG711Codec();
  CG711Codec(const CG711Codec&) = delete;
  CG711Codec& operator=(const CG711Codec&) = delete;

  // Allocates and fills ulaw_encode, alaw_encode, ulaw_decode, alaw_decode in this order;
  // when an allocation fails it stops, leaving that table and the following ones null.
  void BuildTables();

  // Encoding tables are indexed by the sample's bits read as unsigned 16-bit; decoding
  // tables by the G.711 byte. Owned; null until built.
  uint8_t* ulaw_encode = nullptr;  // 65536 bytes
  uint8_t* alaw_encode = nullptr;  // 65536 bytes
  int16_t* ulaw_decode = nullptr;  // 256 values
  int16_t* alaw_decode = nullptr;  // 256 values
};

// The rules behind the tables, one value at a time.
uint8_t EncodeMuLawSample(int16_t sample);
uint8_t EncodeALawSample(int16_t sample);
int16_t DecodeMuLawByte(uint8_t byte);
int16_t DecodeALawByte(uint8_t byte);

// Converts count samples to one byte each with the codec's table for law. False, with
// *bytes untouched, when that table is missing or the bytes cannot be allocated.
bool EncodeWithCodec(const CG711Codec& codec, const int16_t* samples, size_t count, G711Law law,
                     std::vector<uint8_t>* bytes);
// The same with a codec built for this call.
bool EncodeG711(const int16_t* samples, size_t count, G711Law law, std::vector<uint8_t>* bytes);
