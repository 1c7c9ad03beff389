// A recording to measure: the samples of one channel at the rate the file states, read
// from a WAV file or from raw G.711 bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class RecordingEncoding { Wave, MuLaw, ALaw };

// Recordings longer than this are refused rather than analysed: a test rig records
// seconds or minutes, and the samples are held in memory whole.
constexpr int64_t kLongestRecordingSeconds = 3600;
// Sampling frequencies the analysis accepts, in Hz.
constexpr int32_t kLowestRecordingRate = 1000;
constexpr int32_t kHighestRecordingRate = 768000;

struct Recording {
  int32_t sampling_frequency = 0;  // Hz
  int32_t channels = 1;            // in the file; samples holds the first one
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
  NotPcm16,     // a WAV file of another sample format
  NoSamples,    // a data chunk holding no whole sample frame
  UnusableRate,
  TooLong,
  OutOfMemory,
  ReadFailed,
};

// Reads the recording at path (UTF-16). WAV files must be 16-bit PCM, any number of
// channels (the first is kept), any rate the file states within the accepted range; raw
// G.711 files are one byte per sample at raw_rate. On a problem *recording is left empty
// and *reason holds one sentence for the command line, without the file name.
RecordingProblem ReadRecording(const wchar_t* path, RecordingEncoding encoding, int32_t raw_rate,
                               Recording* recording, std::string* reason);
