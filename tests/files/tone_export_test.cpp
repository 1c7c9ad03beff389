#include "files/tone_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/string.h"
#include "tests/common/refusing_disk.h"
#include "tests/common/test_paths.h"

namespace {

using sonaril_test::ReadAll;
using sonaril_test::TempDir;
using sonaril_test::WriteAll;

ExportResult Export(const std::string& path, ExportFormat format, const std::vector<int16_t>& samples,
                    bool overwrite) {
  CString wide_path;
  wide_path.Assign(path.c_str());
  return WriteExport(wide_path.GetWide(), format, samples.data(),
                     static_cast<int32_t>(samples.size()), 8000, overwrite);
}

TEST(ToneExport, RawFilesHoldOneByteASampleAndWavTwo) {
  TempDir dir;
  std::vector<int16_t> samples = {0, -1, 100, -100, 1000, -1000, 32767, -32768};
  ASSERT_EQ(Export(dir.File("t.ul"), ExportFormat::MuLaw, samples, false), ExportResult::Written);
  ASSERT_EQ(Export(dir.File("t.al"), ExportFormat::ALaw, samples, false), ExportResult::Written);
  ASSERT_EQ(Export(dir.File("t.wav"), ExportFormat::Wave, samples, false), ExportResult::Written);
  EXPECT_EQ(ReadAll(dir.File("t.ul")), std::string("\xFF\x7E\xF2\x72\xCE\x4E\x80\x00", 8));
  EXPECT_EQ(ReadAll(dir.File("t.al")), std::string("\xD5\x55\xD3\x53\xFA\x7A\xAA\x2A", 8));
  std::string wav = ReadAll(dir.File("t.wav"));
  ASSERT_EQ(wav.size(), ExportFileSize(ExportFormat::Wave, 8));
  EXPECT_EQ(wav.substr(56), std::string(reinterpret_cast<const char*>(samples.data()), 16));
  EXPECT_EQ(ExportFileSize(ExportFormat::ALaw, 8), 8u);
}

// G.711 in a WAV file: format tag 7 or 6, 8 bits, the format chunk's extension size and the
// fact chunk's sample count, then the very bytes of the raw export.
TEST(ToneExport, G711WavFilesHoldTheRawBytesBehindTheirHeader) {
  TempDir dir;
  const std::vector<int16_t> samples = {0, -1, 100, -100, 1000, -1000, 32767, -32768};
  for (const char tag : {7, 6}) {
    const ExportFormat wave = tag == 7 ? ExportFormat::WaveMuLaw : ExportFormat::WaveALaw;
    const ExportFormat raw = tag == 7 ? ExportFormat::MuLaw : ExportFormat::ALaw;
    ASSERT_EQ(Export(dir.File("g.wav"), wave, samples, true), ExportResult::Written);
    ASSERT_EQ(Export(dir.File("g.raw"), raw, samples, true), ExportResult::Written);
    const std::string header = std::string("RIFF\x3A\0\0\0WAVEfmt \x12\0\0\0", 20) + tag +
                               std::string("\0\x01\0\x40\x1F\0\0\x40\x1F\0\0\x01\0\x08\0\0\0"
                                           "fact\x04\0\0\0\x08\0\0\0data\x08\0\0\0", 37);
    EXPECT_EQ(ReadAll(dir.File("g.wav")), header + ReadAll(dir.File("g.raw"))) << int(tag);
    EXPECT_EQ(ExportFileSize(wave, 8), 58u + 8u);
  }
}

TEST(ToneExport, AnExistingFileIsKeptUnlessOverwriteIsAskedFor) {
  TempDir dir;
  std::vector<int16_t> samples(100, 1234);
  for (ExportFormat format : {ExportFormat::Wave, ExportFormat::MuLaw, ExportFormat::ALaw}) {
    std::string path = dir.File("existing.bin");
    ASSERT_TRUE(WriteAll(path, "keep me"));
    EXPECT_EQ(Export(path, format, samples, false), ExportResult::Exists);
    EXPECT_EQ(ReadAll(path), "keep me");
    EXPECT_EQ(Export(path, format, samples, true), ExportResult::Written);
    EXPECT_EQ(ReadAll(path).size(), ExportFileSize(format, 100));
  }
}

TEST(ToneExport, AMissingFolderIsNotMistakenForAnExistingFile) {
  TempDir dir;
  std::vector<int16_t> samples(10, 0);
  for (ExportFormat format : {ExportFormat::Wave, ExportFormat::MuLaw, ExportFormat::ALaw}) {
    for (bool overwrite : {false, true}) {
      EXPECT_EQ(Export(dir.File("no-such-folder/x.bin"), format, samples, overwrite),
                ExportResult::CannotCreate);
    }
  }
}

TEST(ToneExport, ZeroSamplesGiveAHeaderOnlyWavAndAnEmptyRawFile) {
  TempDir dir;
  std::vector<int16_t> none;
  ASSERT_EQ(Export(dir.File("empty.wav"), ExportFormat::Wave, none, false), ExportResult::Written);
  EXPECT_EQ(ReadAll(dir.File("empty.wav")).size(), 56u);
  ASSERT_EQ(Export(dir.File("empty.ul"), ExportFormat::MuLaw, none, false), ExportResult::Written);
  EXPECT_TRUE(ReadAll(dir.File("empty.ul")).empty());
}

// What fails after the samples are written still fails the export: the WAV header is
// completed last, and a close can report that written bytes did not reach the disk.
TEST(ToneExport, AFailureAfterTheSamplesFailsTheExport) {
  struct Case {
    const char* name;
    ExportFormat format;
    uint64_t accepted_bytes;
    bool refuse_close;
    ExportResult expected;
  } cases[] = {
      {"nothing refused", ExportFormat::Wave, UINT64_MAX, false, ExportResult::Written},
      {"WAV header rewrite", ExportFormat::Wave, 56 + 200, false, ExportResult::Incomplete},
      {"WAV close", ExportFormat::Wave, UINT64_MAX, true, ExportResult::Incomplete},
      {"u-law close", ExportFormat::MuLaw, UINT64_MAX, true, ExportResult::Incomplete},
      {"A-law WAV header rewrite", ExportFormat::WaveALaw, 58 + 100, false, ExportResult::Incomplete},
  };
  const std::vector<int16_t> samples(100, -1234);
  for (const Case& c : cases) {
    TempDir dir;
    ExportResult result;
    {
      sonaril_test::CRefusingDisk disk(c.accepted_bytes, c.refuse_close);
      result = Export(dir.File("tone.bin"), c.format, samples, false);
    }
    EXPECT_EQ(result, c.expected) << c.name;
  }
}

}  // namespace
