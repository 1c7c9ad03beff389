// Recording files built byte by byte for the tests: WAV headers with any field, samples.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sonaril_test {

struct WaveLayout {
  uint16_t format_tag = 1;
  uint16_t channels = 1;
  uint32_t rate = 8000;
  uint16_t bits = 16;
  // The data chunk's size as stated; -1: the data's real size.
  int64_t stated_data_bytes = -1;
  std::string after_data;   // further chunks behind the samples
  std::string before_data;  // chunks between the format and the samples
  uint16_t sub_format = 1;  // the format tag inside WAVE_FORMAT_EXTENSIBLE
};

// Little-endian 16-bit samples.
std::string SampleBytes(const std::vector<int16_t>& samples);
// A RIFF/WAVE file holding data in the layout.
std::string WaveBytes(const WaveLayout& layout, const std::string& data);
// The same samples as a 16-bit mono PCM WAV file at rate.
std::string MonoWave(const std::vector<int16_t>& samples, uint32_t rate);

}  // namespace sonaril_test
