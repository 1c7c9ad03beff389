// A recording to measure: the samples of one channel at the rate the file states, read
// from a WAV file or from raw G.711 bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class RecordingEncoding { Wave, MuLaw, ALaw };

// Sampling frequencies the analysis accepts, in Hz.
constexpr int32_t kLowestRecordingRate = 1000;
constexpr int32_t kHighestRecordingRate = 768000;

struct Recording {
  int32_t sampling_frequency = 0;  // Hz
  int32_t channels = 1;            // in the file
  int32_t channel = 1;             // the one samples holds, 1 for the first
  // 1-based number of the loudest channel when the chosen one is silent and that one is
  // not (the tone was recorded on another channel); else 0.
  int32_t louder_channel = 0;
  // Samples of any width or coding, as 16-bit PCM (a full-scale float is full scale).
  std::vector<int16_t> samples;
  // Set when the file promises more sample bytes than it holds: what is there is read.
  bool cut_short = false;
  uint64_t promised_bytes = 0;
  uint64_t present_bytes = 0;
};

enum class RecordingProblem {
  None,
  CannotOpen,
  Empty,
  NotWave,      // no RIFF/WAVE header with a format and a data chunk
  UnreadableFormat,  // a WAV file of a sample format that is not read
  NoSuchChannel,
  NoSamples,    // a data chunk holding no whole sample frame
  UnusableRate,
  OutOfMemory,
  ReadFailed,
};

// Reads the whole of channel (1 for the first) of the recording at path (UTF-16), as
// RecordingFile reads a block. On a problem *recording is left empty and *reason holds one
// sentence for the command line, without the file name.
RecordingProblem ReadRecording(const wchar_t* path, RecordingEncoding encoding, int32_t raw_rate,
                               int32_t channel, Recording* recording, std::string* reason);
