#include "files/wave_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/common/debug_capture.h"
#include "tests/common/test_paths.h"

namespace {

using sonaril_test::ReadAll;
using sonaril_test::TempDir;
using sonaril_test::WriteAll;

std::wstring WidePath(const std::string& utf8) {
  CString path;
  path.Assign(utf8.c_str());
  const wchar_t* wide = path.GetWide();
  return wide == nullptr ? std::wstring() : std::wstring(wide);
}

AudioFormat Format(int32_t rate, int32_t channels, int32_t bits) {
  AudioFormat format;
  std::memset(&format, 0, sizeof(format));
  format.kind = 1;
  format.samples_per_second = rate;
  format.channels = channels;
  format.bits_per_sample = bits;
  return format;
}

uint32_t Le32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

uint16_t Le16(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

std::string Put32(uint32_t value) {
  std::string bytes(4, 0);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

std::string Put16(uint16_t value) { return Put32(value).substr(0, 2); }

std::string Chunk(const std::string& id, const std::string& body) { return id + Put32(body.size()) + body; }

std::string FormatBody(uint16_t channels, uint32_t rate, uint16_t bits) {
  uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  return Put16(1) + Put16(channels) + Put32(rate) + Put32(rate * align) + Put16(align) + Put16(bits);
}

// A RIFF/WAVE file made of the given chunks, with a correct RIFF size.
std::string Riff(const std::string& chunks) { return "RIFF" + Put32(4 + chunks.size()) + "WAVE" + chunks; }

std::string Samples(size_t count) {
  std::string bytes(count * 2, 0);
  for (size_t i = 0; i < count; ++i) {
    int16_t sample = static_cast<int16_t>((i * 37) % 65536 - 32768);
    bytes[2 * i] = static_cast<char>(sample & 0xFF);
    bytes[2 * i + 1] = static_cast<char>((sample >> 8) & 0xFF);
  }
  return bytes;
}

// Writes samples the way the WAV export does; returns Create's result.
int Export(const std::string& path, int32_t rate, const std::string& samples, int overwrite = 0) {
  CWaveFile wave;
  AudioFormat format = Format(rate, 1, 16);
  EXPECT_EQ(wave.SetFormat(&format), 1);
  int created = wave.Create(WidePath(path).c_str(), overwrite);
  if (created != 0) return created;
  EXPECT_TRUE(wave.WriteData(samples.data(), static_cast<uint32_t>(samples.size())));
  wave.Close();
  return 0;
}

struct Field {
  size_t offset;
  size_t size;  // 2 or 4: a number; 0: the four characters of text
  uint32_t value;
  const char* text;
};

void ExpectHeader(const std::string& file, const std::vector<Field>& fields) {
  ASSERT_GE(file.size(), 56u);
  for (const Field& field : fields) {
    if (field.size == 0) {
      EXPECT_EQ(file.substr(field.offset, 4), field.text) << "at " << field.offset;
    } else if (field.size == 2) {
      EXPECT_EQ(Le16(file, field.offset), field.value) << "at " << field.offset;
    } else {
      EXPECT_EQ(Le32(file, field.offset), field.value) << "at " << field.offset;
    }
  }
}

std::vector<Field> MonoHeader(uint32_t rate, uint32_t data_bytes) {
  return {{0, 0, 0, "RIFF"},  {4, 4, 48 + data_bytes, nullptr}, {8, 0, 0, "WAVE"},
          {12, 0, 0, "fmt "}, {16, 4, 16, nullptr},             {20, 2, 1, nullptr},
          {22, 2, 1, nullptr}, {24, 4, rate, nullptr},          {28, 4, rate * 2, nullptr},
          {32, 2, 2, nullptr}, {34, 2, 16, nullptr},            {36, 0, 0, "fact"},
          {40, 4, 4, nullptr}, {44, 4, data_bytes / 2, nullptr}, {48, 0, 0, "data"},
          {52, 4, data_bytes, nullptr}};
}

TEST(CWaveFile, EightThousandSamplesMakeA16056ByteFile) {
  TempDir dir;
  const std::string path = dir.File("tone.wav");
  const std::string samples = Samples(8000);
  ASSERT_EQ(Export(path, 8000, samples), 0);
  const std::string file = ReadAll(path);
  ASSERT_EQ(file.size(), 16056u);
  ExpectHeader(file, MonoHeader(8000, 16000));
  EXPECT_EQ(Le32(file, 4), 16048u);
  EXPECT_EQ(Le32(file, 28), 16000u);
  EXPECT_EQ(Le32(file, 44), 8000u);
  EXPECT_EQ(file.substr(56), samples);
}

TEST(CWaveFile, ZeroSamplesMakeA56ByteFile) {
  TempDir dir;
  const std::string path = dir.File("empty.wav");
  ASSERT_EQ(Export(path, 8000, std::string()), 0);
  const std::string file = ReadAll(path);
  ASSERT_EQ(file.size(), 56u);
  ExpectHeader(file, MonoHeader(8000, 0));
}

TEST(CWaveFile, HeaderIsFinishedByTheDestructorToo) {
  TempDir dir;
  const std::string path = dir.File("d.wav");
  const std::string samples = Samples(441);
  {
    std::unique_ptr<CFile> file(new CWaveFile());
    CWaveFile* wave = static_cast<CWaveFile*>(file.get());
    AudioFormat format = Format(44100, 1, 16);
    wave->SetFormat(&format);
    ASSERT_EQ(wave->Create(WidePath(path).c_str(), 0), 0);
    ASSERT_TRUE(wave->WriteData(samples.data(), 882));
    EXPECT_EQ(wave->frame_count, 441u);
  }  // deleted through a CFile pointer
  const std::string file = ReadAll(path);
  ASSERT_EQ(file.size(), 56u + 882u);
  ExpectHeader(file, MonoHeader(44100, 882));
}

TEST(CWaveFile, SeveralWritesAddUp) {
  TempDir dir;
  const std::string path = dir.File("parts.wav");
  const std::string samples = Samples(1000);
  CWaveFile wave;
  AudioFormat format = Format(16000, 1, 16);
  wave.SetFormat(&format);
  ASSERT_EQ(wave.Create(WidePath(path).c_str(), 0), 0);
  EXPECT_EQ(ReadAll(path).size(), 56u);  // the header is there from the start, sizes still 0
  EXPECT_EQ(Le32(ReadAll(path), 52), 0u);
  ASSERT_TRUE(wave.WriteData(samples.data(), 600));
  ASSERT_TRUE(wave.WriteData(samples.data() + 600, 1400));
  EXPECT_EQ(wave.frame_count, 1000u);
  wave.Close();
  wave.Close();  // a second Close changes nothing
  const std::string file = ReadAll(path);
  ASSERT_EQ(file.size(), 2056u);
  ExpectHeader(file, MonoHeader(16000, 2000));
  EXPECT_EQ(file.substr(56), samples);
}

TEST(CWaveFile, StereoAndEightBitHeaders) {
  struct Case {
    int32_t rate, channels, bits;
    uint32_t block_align, bytes_per_second;
  };
  const Case cases[] = {{48000, 2, 16, 4, 192000}, {8000, 1, 8, 1, 8000}, {96000, 2, 24, 6, 576000}};
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.File("f.wav");
    CWaveFile wave;
    AudioFormat format = Format(c.rate, c.channels, c.bits);
    wave.SetFormat(&format);
    ASSERT_EQ(wave.Create(WidePath(path).c_str(), 0), 0);
    std::string data(c.block_align * 10, 'x');
    ASSERT_TRUE(wave.WriteData(data.data(), static_cast<uint32_t>(data.size())));
    wave.Close();
    const std::string file = ReadAll(path);
    EXPECT_EQ(Le16(file, 22), c.channels);
    EXPECT_EQ(Le32(file, 28), c.bytes_per_second);
    EXPECT_EQ(Le16(file, 32), c.block_align);
    EXPECT_EQ(Le16(file, 34), c.bits);
    EXPECT_EQ(Le32(file, 44), 10u);
  }
}

TEST(CWaveFile, CreateNewVersusOverwrite) {
  TempDir dir;
  const std::string path = dir.File("exists.wav");
  ASSERT_TRUE(WriteAll(path, "precious"));
  EXPECT_EQ(Export(path, 8000, Samples(10), 0), -2);
  EXPECT_EQ(ReadAll(path), "precious");
  EXPECT_EQ(Export(path, 8000, Samples(10), 1), 0);
  const std::string file = ReadAll(path);
  ASSERT_EQ(file.size(), 76u);
  ExpectHeader(file, MonoHeader(8000, 20));
}

TEST(CWaveFile, UnusableFormatsCreateNoFile) {
  struct Case {
    int32_t rate, channels, bits;
  };
  const Case cases[] = {{8000, 0, 16}, {8000, 1, 0}, {0, 1, 16},    {8000, 1, 4},  // block align 0
                        {-8000, 1, 16}, {8000, 65536, 16},                          // 0 channels as 16 bits
                        {INT32_MAX, 2, 16}};                                        // byte rate beyond 32 bits
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.File("bad.wav");
    CWaveFile wave;
    AudioFormat format = Format(c.rate, c.channels, c.bits);
    wave.SetFormat(&format);
    EXPECT_EQ(wave.Create(WidePath(path).c_str(), 1), -1) << c.rate << "/" << c.channels << "/" << c.bits;
    EXPECT_FALSE(wave.IsOpen());
    CFile probe;
    EXPECT_FALSE(probe.OpenRead(WidePath(path).c_str()));
  }
}

TEST(CWaveFile, CreateRefusals) {
  TempDir dir;
  CWaveFile wave;
  AudioFormat format = Format(8000, 1, 16);
  EXPECT_EQ(wave.SetFormat(nullptr), 0);
  wave.SetFormat(&format);
  EXPECT_EQ(wave.Create(nullptr, 0), -1);
  EXPECT_EQ(wave.Create(L"", 0), -1);
  EXPECT_EQ(wave.Create(WidePath(dir.File("no-folder") + "/x.wav").c_str(), 0), -1);
  ASSERT_EQ(wave.Create(WidePath(dir.File("a.wav")).c_str(), 0), 0);
  EXPECT_EQ(wave.Create(WidePath(dir.File("b.wav")).c_str(), 0), -1);  // already open
}

TEST(CWaveFile, WriteDataRefusals) {
  TempDir dir;
  CWaveFile closed;
  EXPECT_FALSE(closed.WriteData("ab", 2));  // nothing open: nothing was written
  EXPECT_FALSE(closed.WriteRaw("ab", 2));

  const std::string path = dir.File("limit.wav");
  CWaveFile wave;
  AudioFormat format = Format(8000, 1, 16);
  wave.SetFormat(&format);
  ASSERT_EQ(wave.Create(WidePath(path).c_str(), 0), 0);
  ASSERT_TRUE(wave.WriteData("abcd", 4));
  EXPECT_FALSE(wave.WriteRaw("ab", 2));
  // Sample bytes the 32-bit sizes of the header could not describe are refused.
  wave.size = 0xFFFFFFFFull - 48 - 2;
  EXPECT_FALSE(wave.WriteData("abcd", 4));
  EXPECT_EQ(wave.frame_count, 2u);
  wave.size = 4;
  wave.Close();
  ExpectHeader(ReadAll(path), MonoHeader(8000, 4));
}

TEST(CWaveFile, ReadsBackWhatItWrote) {
  TempDir dir;
  const std::string path = dir.File("round.wav");
  const std::string samples = Samples(8000);
  ASSERT_EQ(Export(path, 8000, samples), 0);

  CWaveFile wave;
  ASSERT_TRUE(wave.OpenMedia(WidePath(path).c_str()));
  EXPECT_EQ(wave.read_mode, 1);
  EXPECT_EQ(wave.m_Offset, 56u);
  EXPECT_EQ(wave.size, 16000u);
  EXPECT_EQ(wave.frame_count, 8000u);
  const AudioFormat* format = wave.GetFormat();
  ASSERT_NE(format, nullptr);
  EXPECT_EQ(format->kind, 1);
  EXPECT_EQ(format->samples_per_second, 8000);
  EXPECT_EQ(format->channels, 1);
  EXPECT_EQ(format->bits_per_sample, 16);
  EXPECT_EQ(wave.GetPositionSeconds(), 0u);
  EXPECT_EQ(wave.IsDataEnd(), 0);
  EXPECT_TRUE(wave.WriteData("ab", 2));  // reading mode: accepted, nothing written

  wave.SetBlock(300, 0);  // 2400 frames, 4800 bytes: four blocks, the last one short
  EXPECT_EQ(wave.block_ms, 300);
  EXPECT_EQ(wave.GetBlockSize(), 4800);
  EXPECT_EQ(wave.GetBlockCount(), 4);
  std::string read_back;
  std::vector<char> buffer(8000);
  for (uint32_t got; (got = wave.ReadNextBlock(buffer.data(), 8000)) != 0;) read_back.append(buffer.data(), got);
  EXPECT_EQ(read_back, samples);
  EXPECT_EQ(wave.GetBlockIndex(0), 4);
  EXPECT_EQ(wave.GetBlockIndex(1), 0);
  EXPECT_EQ(wave.IsDataEnd(), 1);
  EXPECT_EQ(wave.GetPositionSeconds(), 1u);

  ASSERT_TRUE(wave.Rewind());
  EXPECT_EQ(wave.GetBlockIndex(0), 0);
  EXPECT_EQ(wave.ReadNextBlock1(buffer.data(), 100), 100u);  // capacity below the block size
  EXPECT_EQ(std::string(buffer.data(), 100), samples.substr(0, 100));
  EXPECT_EQ(wave.GetBlockIndex(1), 1);
  EXPECT_EQ(wave.ReadAt(buffer.data(), 4, 56 + 10), 4u);
  EXPECT_EQ(std::string(buffer.data(), 4), samples.substr(10, 4));
  wave.Close();
  EXPECT_EQ(ReadAll(path).size(), 16056u);  // closing a read file writes nothing
  EXPECT_EQ(Le32(ReadAll(path), 4), 16048u);
}

TEST(CWaveFile, SeekSecondsReportsTheAddress) {
  TempDir dir;
  const std::string path = dir.File("seek.wav");
  ASSERT_EQ(Export(path, 8000, Samples(24000)), 0);
  CWaveFile wave;
  sonaril_test::DebugCapture capture;
  wave.SeekSeconds(1);  // closed: nothing happens
  EXPECT_TRUE(capture.Lines().empty());
  ASSERT_TRUE(wave.OpenMedia(WidePath(path).c_str()));
  wave.SeekSeconds(2);
  EXPECT_TRUE(capture.Contains("adr = 32056, m_Offset=56, SamplesPerSec=8000\n"));
  EXPECT_EQ(wave.GetPositionSeconds(), 2u);
  char sample[2];
  EXPECT_EQ(wave.Read(sample, 2), 2u);
  EXPECT_EQ(std::string(sample, 2), Samples(24000).substr(32000, 2));
}

TEST(CWaveFile, OpenIsOpenMedia) {
  TempDir dir;
  const std::string path = dir.File("open.wav");
  ASSERT_EQ(Export(path, 8000, Samples(10)), 0);
  CWaveFile wave;
  ASSERT_TRUE(wave.Open(WidePath(path).c_str()));
  EXPECT_EQ(wave.m_Offset, 56u);
  EXPECT_EQ(wave.frame_count, 10u);
}

TEST(CWaveFile, EighteenByteFormatChunkIsRead) {
  TempDir dir;
  const std::string path = dir.File("fmt18.wav");
  const std::string samples = Samples(100);
  ASSERT_TRUE(WriteAll(path, Riff(Chunk("fmt ", FormatBody(1, 8000, 16) + Put16(0)) + Chunk("data", samples))));
  CWaveFile wave;
  ASSERT_TRUE(wave.OpenMedia(WidePath(path).c_str()));
  EXPECT_EQ(wave.m_Offset, 12u + 8 + 18 + 8);
  EXPECT_EQ(wave.frame_count, 100u);
  EXPECT_EQ(wave.GetFormat()->samples_per_second, 8000);
}

TEST(CWaveFile, FormatChunkWithExtensionBytesIsRead) {
  TempDir dir;
  const std::string path = dir.File("fmt40.wav");
  // A 40-byte format chunk whose extension bytes are not zero.
  std::string extension = Put16(22) + Put16(16) + Put32(4) + std::string(16, '\x11');
  ASSERT_TRUE(WriteAll(path, Riff(Chunk("fmt ", FormatBody(2, 48000, 16) + extension) + Chunk("data", Samples(8)))));
  CWaveFile wave;
  ASSERT_TRUE(wave.OpenMedia(WidePath(path).c_str()));
  EXPECT_EQ(wave.m_Offset, 12u + 8 + 40 + 8);
  EXPECT_EQ(wave.frame_count, 4u);
  EXPECT_EQ(wave.GetFormat()->channels, 2);
}

TEST(CWaveFile, OtherChunksBeforeTheDataAreSkipped) {
  TempDir dir;
  const std::string path = dir.File("list.wav");
  // An odd-sized chunk followed by its zero pad byte, and an empty chunk.
  std::string chunks = Chunk("fmt ", FormatBody(1, 8000, 16)) + Chunk("LIST", "odd") + std::string(1, '\0') +
                       Chunk("none", "") + Chunk("data", Samples(6));
  ASSERT_TRUE(WriteAll(path, Riff(chunks)));
  CWaveFile wave;
  ASSERT_TRUE(wave.OpenMedia(WidePath(path).c_str()));
  EXPECT_EQ(wave.m_Offset, 12u + 24 + 12 + 8 + 8);
  EXPECT_EQ(wave.frame_count, 6u);
}

// A file whose data chunk header starts at data_at, with a filler chunk before it.
std::string DataChunkAt(size_t data_at) {
  std::string head = Riff(Chunk("fmt ", FormatBody(1, 8000, 16)));
  size_t filler = data_at - head.size() - 8;
  return head + Chunk("junk", std::string(filler, 'j')) + Chunk("data", Samples(1000));
}

TEST(CWaveFile, DataChunkMustStartWithinTheFirst1024Bytes) {
  struct Case {
    size_t data_at;
    bool opens;
  };
  const Case cases[] = {{1015, true}, {1016, false}, {1500, false}};
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.File("far.wav");
    ASSERT_TRUE(WriteAll(path, DataChunkAt(c.data_at)));
    CWaveFile wave;
    EXPECT_EQ(wave.OpenMedia(WidePath(path).c_str()), c.opens) << c.data_at;
    EXPECT_EQ(wave.IsOpen(), c.opens);
    if (c.opens) {
      EXPECT_EQ(wave.m_Offset, c.data_at + 8);
    }
  }
}

TEST(CWaveFile, DamagedFilesAreRefused) {
  const std::string good_format = Chunk("fmt ", FormatBody(1, 8000, 16));
  const std::string data = Chunk("data", Samples(10));
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"eleven bytes", "RIFF\0\0\0\0WAV"},
      {"only the RIFF header", "RIFF" + Put32(4) + "WAVE"},
      {"not RIFF", "RIFX" + Put32(100) + "WAVE" + good_format + data},
      {"not WAVE", "RIFF" + Put32(100) + "AVI " + good_format + data},
      {"no data chunk", Riff(good_format)},
      {"data without format", Riff(data)},
      {"data before format", Riff(data + good_format)},
      {"zero channels", Riff(Chunk("fmt ", FormatBody(0, 8000, 16)) + data)},
      {"zero rate", Riff(Chunk("fmt ", FormatBody(1, 0, 16)) + data)},
      {"zero bits", Riff(Chunk("fmt ", FormatBody(1, 8000, 0)) + data)},
      {"format chunk too small", Riff("fmt " + Put32(14) + FormatBody(1, 8000, 16) + data)},
      {"format chunk cut off", Riff("fmt " + Put32(16) + FormatBody(1, 8000, 16).substr(0, 10))},
      {"huge chunk size", Riff("LIST" + Put32(0xFFFFFFFF) + good_format + data)},
      {"huge size just before the end", Riff(good_format + "LIST" + Put32(0xFFFFFFF0))},
      {"chunk size pointing past the data", Riff(good_format + "LIST" + Put32(0x7FFFFFFF) + data)},
      {"zeros only", "RIFF" + Put32(1000) + "WAVE" + std::string(1000, '\0')},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.File("bad.wav");
    ASSERT_TRUE(WriteAll(path, c.bytes));
    CWaveFile wave;
    EXPECT_FALSE(wave.OpenMedia(WidePath(path).c_str())) << c.what;
    EXPECT_FALSE(wave.IsOpen()) << c.what;
    char buffer[16];
    EXPECT_EQ(wave.ReadNextBlock(buffer, 16), 0u) << c.what;
    EXPECT_EQ(ReadAll(path), c.bytes) << c.what;  // reading never changes the file
  }
  CWaveFile wave;
  EXPECT_FALSE(wave.OpenMedia(nullptr));
  TempDir dir;
  EXPECT_FALSE(wave.OpenMedia(WidePath(dir.File("missing.wav")).c_str()));
}

TEST(CWaveFile, RandomBytesNeverCrashTheReader) {
  TempDir dir;
  const std::string path = dir.File("random.wav");
  uint32_t seed = 12345;
  auto next = [&seed]() {
    seed = seed * 1103515245u + 12345u;
    return seed >> 16;
  };
  const char* ids[] = {"fmt ", "data", "LIST", "fact", "\0\0\0\0"};
  for (int round = 0; round < 200; ++round) {
    std::string chunks;
    int count = static_cast<int>(next() % 6);
    for (int i = 0; i < count; ++i) {
      std::string id(ids[next() % 5], 4);
      uint32_t size = next() % 3 == 0 ? (next() << 16) | next() : next() % 64;
      std::string body(next() % 64, '\0');
      for (char& b : body) b = static_cast<char>(next() % 4 == 0 ? 0 : next());
      chunks += id + Put32(size) + body;
    }
    ASSERT_TRUE(WriteAll(path, Riff(chunks).substr(0, 12 + next() % (chunks.size() + 1))));
    CWaveFile wave;
    if (wave.OpenMedia(WidePath(path).c_str())) {
      wave.SetBlock(static_cast<int32_t>(next() % 2000), 0);
      char buffer[256];
      while (wave.ReadNextBlock(buffer, sizeof(buffer)) != 0) {
      }
      wave.GetPositionSeconds();
      wave.IsDataEnd();
    }
  }
}

TEST(CWaveFile, BlockSizesFollowTheFormat) {
  TempDir dir;
  const std::string path = dir.File("blocks.wav");
  ASSERT_EQ(Export(path, 8000, Samples(8000)), 0);
  CWaveFile wave;
  ASSERT_TRUE(wave.OpenMedia(WidePath(path).c_str()));
  EXPECT_EQ(wave.GetBlockCount(), 0);  // no block duration yet
  struct Case {
    int32_t ms;
    int32_t block_size;
    int32_t block_count;
  };
  const Case cases[] = {{100, 1600, 10}, {1000, 16000, 1}, {3000, 48000, 1}, {1, 16, 1000}, {0, 0, 1000},
                        {-5, 0, 1000},   {INT32_MAX, 0, 1000}};
  for (const Case& c : cases) {
    wave.SetBlock(c.ms, 0);
    EXPECT_EQ(wave.GetBlockSize(), c.block_size) << c.ms;
    EXPECT_EQ(wave.GetBlockCount(), c.block_count) << c.ms;  // unchanged by a block of 0 bytes
  }
}

TEST(CWaveFile, JapaneseFileNameSavesAndOpens) {
  TempDir dir;
  // "トーン生成.wav"
  const std::string path = dir.File("\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xB3\xE7\x94\x9F\xE6\x88\x90.wav");
  ASSERT_EQ(Export(path, 16000, Samples(50)), 0);
  EXPECT_EQ(ReadAll(path).size(), 156u);
  CWaveFile wave;
  ASSERT_TRUE(wave.OpenMedia(WidePath(path).c_str()));
  EXPECT_EQ(wave.frame_count, 50u);
}

TEST(CMediaFile, PlainBlockReading) {
  TempDir dir;
  const std::string path = dir.File("raw.bin");
  const std::string content(1000, 'r');
  ASSERT_TRUE(WriteAll(path, content));
  CMediaFile media;
  media.block_size = 300;
  media.block_ms = 7;
  ASSERT_TRUE(media.Open(WidePath(path).c_str()));
  EXPECT_EQ(media.GetBlockSize(), 300);
  EXPECT_EQ(media.block_ms, 7);
  EXPECT_EQ(media.GetBlockCount(), 4);
  char buffer[400];
  uint32_t total = 0;
  for (uint32_t got; (got = media.ReadNextBlock(buffer, sizeof(buffer))) != 0;) total += got;
  EXPECT_EQ(total, 1000u);
  EXPECT_EQ(media.IsDataEnd(), 1);
  EXPECT_TRUE(media.Rewind());
  EXPECT_EQ(media.IsDataEnd(), 0);
  media.SetBlock(0, 0);
  EXPECT_EQ(media.ReadNextBlock1(buffer, 400), 400u);  // no block size: the capacity
  media.SetBlock(-3, 0);
  EXPECT_EQ(media.GetBlockSize(), 0);
  EXPECT_EQ(media.GetFormat(), nullptr);
  EXPECT_EQ(media.SetFormat(nullptr), 1);
  EXPECT_EQ(media.GetPositionSeconds(), 0u);
  media.Close();

  EXPECT_EQ(media.Create(WidePath(path).c_str(), 0), 1);  // exists
  EXPECT_EQ(media.CreateOnly(WidePath(path).c_str(), 0), -2);
  ASSERT_EQ(media.Create(WidePath(path).c_str(), 1), 0);
  EXPECT_TRUE(media.WriteData("abc", 3));
  EXPECT_TRUE(media.WriteRaw("de", 2));
  EXPECT_EQ(media.ReadNextBlock(buffer, 10), 0u);  // not in reading mode
  media.Close();
  EXPECT_EQ(ReadAll(path), "abcde");
  EXPECT_TRUE(media.OpenMedia(WidePath(path).c_str()));
  EXPECT_EQ(media.size, 5u);
}

}  // namespace
