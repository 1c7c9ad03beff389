#include "synth/g711_codec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

TEST(G711CodecTest, EncodesTheTableOfSamples) {
  const struct {
    int16_t sample;
    uint8_t mu;
    uint8_t a;
  } rows[] = {
      {0, 0xFF, 0xD5},      {-1, 0x7E, 0x55},     {100, 0xF2, 0xD3},  {-100, 0x72, 0x53},
      {1000, 0xCE, 0xFA},   {-1000, 0x4E, 0x7A},  {32767, 0x80, 0xAA}, {-32768, 0x00, 0x2A},
  };
  CG711Codec codec;
  codec.BuildTables();
  ASSERT_NE(codec.ulaw_encode, nullptr);
  ASSERT_NE(codec.alaw_encode, nullptr);
  for (const auto& row : rows) {
    const uint16_t index = static_cast<uint16_t>(row.sample);
    EXPECT_EQ(codec.ulaw_encode[index], row.mu) << row.sample;
    EXPECT_EQ(codec.alaw_encode[index], row.a) << row.sample;
    EXPECT_EQ(EncodeMuLawSample(row.sample), row.mu) << row.sample;
    EXPECT_EQ(EncodeALawSample(row.sample), row.a) << row.sample;
  }
}

TEST(G711CodecTest, DecodesTheTableOfBytes) {
  CG711Codec codec;
  codec.BuildTables();
  ASSERT_NE(codec.ulaw_decode, nullptr);
  ASSERT_NE(codec.alaw_decode, nullptr);
  EXPECT_EQ(codec.ulaw_decode[0x00], -32124);
  EXPECT_EQ(codec.ulaw_decode[0x80], 32124);
  EXPECT_EQ(codec.ulaw_decode[0x7F], 0);
  EXPECT_EQ(codec.ulaw_decode[0xFF], 0);
  EXPECT_EQ(codec.alaw_decode[0xD5], 8);
  EXPECT_EQ(codec.alaw_decode[0x55], -8);
  EXPECT_EQ(codec.alaw_decode[0xAA], 32256);
  EXPECT_EQ(codec.alaw_decode[0x2A], -32256);
}

TEST(G711CodecTest, DecodingAnEncodedSampleStaysClose) {
  CG711Codec codec;
  codec.BuildTables();
  for (int32_t s = -32768; s <= 32767; ++s) {
    const uint16_t index = static_cast<uint16_t>(s);
    const int32_t mu = codec.ulaw_decode[codec.ulaw_encode[index]];
    const int32_t a = codec.alaw_decode[codec.alaw_encode[index]];
    // Quantisation steps grow with the magnitude: 1/16 of it, at least 16 near zero.
    const int32_t allowed = std::abs(s) / 16 + 16;
    ASSERT_LE(std::abs(mu - s), allowed) << s;
    ASSERT_LE(std::abs(a - s), allowed) << s;
  }
}

TEST(G711CodecTest, EncodingEachSampleUsesTheTableOfTheLaw) {
  const std::vector<int16_t> samples = {0, -1, 100, -100, 1000, -1000, 32767, -32768};
  std::vector<uint8_t> mu, a;
  ASSERT_TRUE(EncodeG711(samples.data(), samples.size(), G711Law::MuLaw, &mu));
  ASSERT_TRUE(EncodeG711(samples.data(), samples.size(), G711Law::ALaw, &a));
  EXPECT_EQ(mu, (std::vector<uint8_t>{0xFF, 0x7E, 0xF2, 0x72, 0xCE, 0x4E, 0x80, 0x00}));
  EXPECT_EQ(a, (std::vector<uint8_t>{0xD5, 0x55, 0xD3, 0x53, 0xFA, 0x7A, 0xAA, 0x2A}));
  std::vector<uint8_t> none = {9};
  EXPECT_TRUE(EncodeG711(nullptr, 0, G711Law::ALaw, &none));
  EXPECT_TRUE(none.empty());
}

TEST(G711CodecTest, AMissingTableFailsAndLeavesTheBytes) {
  const int16_t samples[] = {1, 2, 3};
  std::vector<uint8_t> bytes = {7, 7};
  CG711Codec empty;
  EXPECT_FALSE(EncodeWithCodec(empty, samples, 3, G711Law::MuLaw, &bytes));
  EXPECT_FALSE(EncodeWithCodec(empty, samples, 3, G711Law::ALaw, &bytes));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{7, 7}));

  // Only the mu-law table: A-law still fails.
  CG711Codec partial;
  partial.BuildTables();
  delete[] partial.alaw_encode;
  partial.alaw_encode = nullptr;
  EXPECT_FALSE(EncodeWithCodec(partial, samples, 3, G711Law::ALaw, &bytes));
  EXPECT_TRUE(EncodeWithCodec(partial, samples, 3, G711Law::MuLaw, &bytes));
  EXPECT_EQ(bytes.size(), 3u);
  EXPECT_FALSE(EncodeWithCodec(partial, nullptr, 3, G711Law::MuLaw, &bytes));
}

}  // namespace
