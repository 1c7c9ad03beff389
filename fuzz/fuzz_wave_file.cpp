// Opens any bytes as a WAV file and reads every block of it.
#include <string>

#include "files/string.h"
#include "files/wave_file.h"
#include "fuzz/fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input = WriteFuzzInput("wave", data, size);
  if (input.empty()) return 0;
  CString path;
  path.Assign(input.c_str());
  CWaveFile wave;
  if (!wave.OpenMedia(path.GetWide())) return 0;
  wave.GetFormat();
  static uint8_t block[1 << 16];
  while (wave.ReadNextBlock(block, sizeof(block)) > 0) {
  }
  wave.GetPositionSeconds();
  wave.IsDataEnd();
  wave.SeekSeconds(1);
  wave.Rewind();
  wave.ReadNextBlock1(block, sizeof(block));
  wave.Close();
  return 0;
}
