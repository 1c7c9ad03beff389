// Reading a recording block by block: a day's recording is analysed in the memory an hour's
// takes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/recording.h"
#include "analysis/wave_header.h"
#include "files/file.h"

// A recording opened for reading in blocks, so that its length does not bound the memory
// it takes.
class RecordingFile {
 public:
  // Opens the recording at path (UTF-16) and reads its header; channel is 1 for the first.
  // WAV files may hold any chunks, any number of channels and the sample formats
  // ReadWaveHeader names, at any rate the file states within the accepted range; raw
  // G.711 files are one byte per sample at raw_rate. On a problem *reason holds one
  // sentence for the command line, without the file name.
  RecordingProblem Open(const wchar_t* path, RecordingEncoding encoding, int32_t raw_rate, int32_t channel,
                        std::string* reason);
  // Everything about the recording but its samples. Its louder_channel is known once a
  // block has been read: the first block read decides it.
  const Recording& layout() const { return layout_; }
  int64_t frames() const { return frames_; }
  // Reads count frames from frame first of the chosen channel into *samples.
  RecordingProblem Read(int64_t first, int64_t count, std::vector<int16_t>* samples, std::string* reason);

 private:
  CFile file_;
  WaveHeader header_;
  Recording layout_;
  int64_t frames_ = 0;
  bool louder_channel_known_ = false;
};

