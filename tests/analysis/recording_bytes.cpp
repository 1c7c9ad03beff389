#include "tests/analysis/recording_bytes.h"

namespace sonaril_test {
namespace {

void Put16(std::string* out, uint16_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>(value >> 8));
}

void Put32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

}  // namespace

std::string SampleBytes(const std::vector<int16_t>& samples) {
  std::string bytes;
  for (int16_t sample : samples) Put16(&bytes, static_cast<uint16_t>(sample));
  return bytes;
}

std::string WaveBytes(const WaveLayout& layout, const std::string& data) {
  uint16_t block_align = static_cast<uint16_t>(layout.channels * (layout.bits / 8));
  std::string format;
  Put16(&format, layout.format_tag);
  Put16(&format, layout.channels);
  Put32(&format, layout.rate);
  Put32(&format, layout.rate * block_align);
  Put16(&format, block_align);
  Put16(&format, layout.bits);
  if (layout.format_tag == 0xFFFE) {
    // The extension: its size, valid bits, channel mask and the PCM sub-format GUID.
    Put16(&format, 22);
    Put16(&format, layout.bits);
    Put32(&format, 0);
    Put16(&format, layout.sub_format);
    format += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
  }
  uint32_t stated = layout.stated_data_bytes < 0 ? static_cast<uint32_t>(data.size())
                                                 : static_cast<uint32_t>(layout.stated_data_bytes);
  std::string body = "WAVEfmt ";
  Put32(&body, static_cast<uint32_t>(format.size()));
  body += format + layout.before_data + "data";
  Put32(&body, stated);
  body += data + layout.after_data;
  std::string file = "RIFF";
  Put32(&file, static_cast<uint32_t>(body.size()));
  return file + body;
}

std::string MonoWave(const std::vector<int16_t>& samples, uint32_t rate) {
  WaveLayout layout;
  layout.rate = rate;
  return WaveBytes(layout, SampleBytes(samples));
}

}  // namespace sonaril_test
