#include "files/tone_export.h"

#include <algorithm>
#include <vector>

#include "files/file.h"
#include "files/safe_save_platform.h"
#include "files/wave_file.h"
#include "synth/g711_codec.h"

namespace {

// Samples already in memory, handed over as one run.
class CBufferSource : public CSampleSource {
 public:
  CBufferSource(const int16_t* samples, int32_t count) : samples_(samples), count_(count) {}
  const int16_t* NextRun(int32_t* count) override {
    *count = given_ ? 0 : count_;
    given_ = true;
    return *count > 0 ? samples_ : nullptr;
  }

 private:
  const int16_t* samples_;
  int32_t count_;
  bool given_ = false;
};

// File creation answers -2 only when the file exists; every other failure is -1.
ExportResult ClassifyCreateFailure(int result) {
  return result == -2 ? ExportResult::Exists : ExportResult::CannotCreate;
}

// The next run of at most left samples; null when the source has none.
const int16_t* NextRunOf(CSampleSource* source, int32_t left, int32_t* run) {
  const int16_t* samples = source->NextRun(run);
  if (samples == nullptr || *run <= 0) return nullptr;
  *run = std::min(*run, left);
  return samples;
}

// The count samples the source hands over, a run at a time, as linear PCM or G.711 bytes
// to write. False with *out_of_memory set when G.711 bytes could not be allocated.
template <typename Write>
bool WriteRuns(CSampleSource* source, int32_t count, const G711Law* law, Write write, bool* out_of_memory) {
  CG711Codec codec;
  if (law != nullptr) codec.BuildTables();
  std::vector<uint8_t> bytes;
  for (int32_t done = 0; done < count;) {
    int32_t run = 0;
    const int16_t* samples = NextRunOf(source, count - done, &run);
    if (samples == nullptr) return false;
    if (law == nullptr) {
      if (!write(samples, static_cast<uint32_t>(run) * 2u)) return false;
    } else if (!EncodeWithCodec(codec, samples, static_cast<size_t>(run), *law, &bytes)) {
      *out_of_memory = true;
      return false;
    } else if (!write(bytes.data(), static_cast<uint32_t>(run))) {
      return false;
    }
    done += run;
  }
  return true;
}

// A file that could not be finished for want of memory would pass for a shorter export:
// nothing is left behind.
ExportResult Finish(CFile* file, bool written, bool out_of_memory, const wchar_t* path) {
  const bool finished = file->Finish();
  if (out_of_memory) {
    safe_save_platform::RemoveFile(CString(path));
    return ExportResult::OutOfMemory;
  }
  return written && finished ? ExportResult::Written : ExportResult::Incomplete;
}

ExportResult WriteWave(const wchar_t* path, CSampleSource* source, int32_t count, int32_t sampling_frequency,
                       const G711Law* law, bool overwrite) {
  CWaveFile file;
  AudioFormat format{};
  format.kind = law == nullptr ? 1 : *law == G711Law::ALaw ? CWaveFile::kWaveALaw : CWaveFile::kWaveMuLaw;
  format.samples_per_second = sampling_frequency;
  format.channels = 1;
  format.bits_per_sample = law == nullptr ? 16 : 8;
  file.SetFormat(&format);
  int created = file.Create(path, overwrite ? 1 : 0);
  if (created != 0) return ClassifyCreateFailure(created);
  bool out_of_memory = false;
  const bool written = WriteRuns(
      source, count, law, [&file](const void* bytes, uint32_t size) { return file.WriteData(bytes, size); },
      &out_of_memory);
  // The header gets its sizes only in Finish; it counts as much as the samples.
  return Finish(&file, written, out_of_memory, path);
}

ExportResult WriteG711(const wchar_t* path, G711Law law, CSampleSource* source, int32_t count,
                       bool overwrite) {
  CFile file;
  int created = file.OpenWrite(path, overwrite ? 1 : 0);
  if (created != 0) return ClassifyCreateFailure(created);
  bool out_of_memory = false;
  const bool written = WriteRuns(
      source, count, &law, [&file](const void* bytes, uint32_t size) { return file.Write(bytes, size) == size; },
      &out_of_memory);
  return Finish(&file, written, out_of_memory, path);
}

}  // namespace

ExportResult WriteExport(const wchar_t* path, ExportFormat format, const int16_t* samples,
                         int32_t count, int32_t sampling_frequency, bool overwrite) {
  if (count < 0 || (count > 0 && samples == nullptr)) return ExportResult::CannotCreate;
  CBufferSource source(samples, count);
  return WriteExport(path, format, &source, count, sampling_frequency, overwrite);
}

ExportResult WriteExport(const wchar_t* path, ExportFormat format, CSampleSource* source,
                         int32_t count, int32_t sampling_frequency, bool overwrite) {
  if (count < 0 || source == nullptr) return ExportResult::CannotCreate;
  switch (format) {
    case ExportFormat::Wave:
      return WriteWave(path, source, count, sampling_frequency, nullptr, overwrite);
    case ExportFormat::WaveMuLaw:
    case ExportFormat::WaveALaw: {
      const G711Law law = format == ExportFormat::WaveALaw ? G711Law::ALaw : G711Law::MuLaw;
      return WriteWave(path, source, count, sampling_frequency, &law, overwrite);
    }
    case ExportFormat::MuLaw:
      return WriteG711(path, G711Law::MuLaw, source, count, overwrite);
    case ExportFormat::ALaw:
      return WriteG711(path, G711Law::ALaw, source, count, overwrite);
  }
  return ExportResult::CannotCreate;
}

uint64_t ExportFileSize(ExportFormat format, int32_t count) {
  uint64_t samples = count > 0 ? static_cast<uint64_t>(count) : 0;
  switch (format) {
    case ExportFormat::Wave:
      return CWaveFile::kHeaderBytes + 2 * samples;
    case ExportFormat::WaveMuLaw:
      return CWaveFile::HeaderBytesFor(CWaveFile::kWaveMuLaw) + samples;
    case ExportFormat::WaveALaw:
      return CWaveFile::HeaderBytesFor(CWaveFile::kWaveALaw) + samples;
    case ExportFormat::MuLaw:
    case ExportFormat::ALaw:
      break;
  }
  return samples;
}
