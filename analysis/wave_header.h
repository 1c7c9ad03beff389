// Where a WAV recording keeps its samples and how they are written, found by walking the
// file's chunks as recorders and editors lay them out.
#pragma once
#include <cstdint>
#include <string>

#include "analysis/recording.h"
#include "files/file.h"

enum class SampleCoding { Pcm, Float, MuLaw, ALaw };

struct WaveHeader {
  SampleCoding coding = SampleCoding::Pcm;
  uint16_t channels = 0;
  uint32_t sampling_frequency = 0;
  uint16_t sample_bytes = 0;  // bytes of one channel's sample in a frame
  uint16_t block_align = 0;   // bytes of one frame
  uint64_t data_offset = 0;
  uint64_t data_bytes = 0;    // the sample bytes to read
  // Set when the data chunk announces more bytes than the file holds.
  bool cut_short = false;
  uint64_t promised_bytes = 0;
};

// A file with more chunks than this before its samples is taken for something else.
constexpr int kMostChunksBeforeData = 4096;

// Reads the RIFF/WAVE header of file: chunks before "data" of any kind are skipped (with
// the pad byte of an odd size), every size is bounded by the file's. Format tags 1 (PCM of
// 8, 16, 24 or 32 bits), 3 (32- or 64-bit float), 6 (A-law), 7 (u-law) and
// WAVE_FORMAT_EXTENSIBLE holding one of them are read. On a problem *reason holds one
// sentence for the command line.
RecordingProblem ReadWaveHeader(CFile& file, WaveHeader* header, std::string* reason);
