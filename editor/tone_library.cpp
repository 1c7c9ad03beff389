#include "editor/tone_library.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

#include <nlohmann/json.hpp>

#include "files/tone_file.h"
#include "synth/signal_level.h"
#include "tonestring/tone_setting_reader.h"
#include "tonestring/tone_string_formatter.h"

namespace {

using nlohmann::json;

// The library's own order of tones; others follow alphabetically.
const char* const kToneOrder[] = {"dial", "ringback", "busy", "congestion", "call-waiting",
                                  "special-information", "recall"};

size_t ToneRank(const std::string& name) {
  const auto found = std::find(std::begin(kToneOrder), std::end(kToneOrder), name);
  return static_cast<size_t>(found - std::begin(kToneOrder));
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string LevelText(const std::set<double>& dbm0) {
  std::string text;
  for (double level : dbm0) {
    char number[32];
    std::snprintf(number, sizeof number, "%.1f", level);
    text += (text.empty() ? "" : " / ") + std::string(number);
  }
  return text.empty() ? text : text + " dBm0";
}

std::string StringField(const json& entry, const char* key) {
  const auto found = entry.find(key);
  return found != entry.end() && found->is_string() ? found->get<std::string>() : std::string();
}

std::string IndexLevels(const json& entry) {
  const auto found = entry.find("levels");
  if (found == entry.end()) return std::string();
  if (found->is_string()) return found->get<std::string>();
  std::set<double> levels;
  if (found->is_number()) levels.insert(found->get<double>());
  if (found->is_array()) {
    for (const json& level : *found) {
      if (level.is_number()) levels.insert(level.get<double>());
    }
  }
  return LevelText(levels);
}

// The tone string and levels a .ton file of the library holds.
LibraryTone ToneFromFile(const std::filesystem::path& file) {
  LibraryTone tone;
  tone.name = file.stem().u8string();
  tone.file = file;
  ToneSetting setting;
  if (!LoadToneSetting(setting, file.wstring().c_str())) {
    tone.tone_string = "(cannot be read)";
    return tone;
  }
  ToneSequence sequence;
  std::string why_not;
  tone.tone_string = ReadToneSequence(setting, &sequence, &why_not) ? FormatToneString(sequence) : why_not;
  std::set<double> levels;
  for (const ToneEntry* entry = setting.tones; entry != nullptr; entry = entry->next) {
    if (entry->level > 0) levels.insert(DbfsToDbm0(PercentToDbfs(entry->level)));
  }
  tone.levels = LevelText(levels);
  return tone;
}

ToneLibrary ReadToneFolders(const std::filesystem::path& folder) {
  ToneLibrary library;
  std::error_code error;
  std::vector<std::filesystem::path> countries;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_directory(error)) countries.push_back(it->path());
  }
  std::sort(countries.begin(), countries.end());
  for (const std::filesystem::path& country_folder : countries) {
    LibraryCountry country;
    country.name = CountryNameFromFolder(country_folder.filename().u8string());
    for (std::filesystem::directory_iterator it(country_folder, error), end; !error && it != end;
         it.increment(error)) {
      if (it->path().extension() == ".ton") country.tones.push_back(ToneFromFile(it->path()));
    }
    std::sort(country.tones.begin(), country.tones.end(), [](const LibraryTone& a, const LibraryTone& b) {
      const size_t rank_a = ToneRank(a.name), rank_b = ToneRank(b.name);
      return rank_a != rank_b ? rank_a < rank_b : a.name < b.name;
    });
    if (!country.tones.empty()) library.countries.push_back(std::move(country));
  }
  if (!library.countries.empty()) library.source = LibrarySource::Folders;
  return library;
}

}  // namespace

bool ReadToneLibraryIndex(std::string_view text, const std::filesystem::path& folder, ToneLibrary* library) {
  const json document = json::parse(text.begin(), text.end(), nullptr, false);
  const json* entries = &document;
  if (document.is_object()) {
    entries = nullptr;
    for (const auto& member : document.items()) {
      if (member.value().is_array()) {
        entries = &member.value();
        break;
      }
    }
  }
  if (entries == nullptr || !entries->is_array()) return false;
  ToneLibrary read;
  read.source = LibrarySource::Index;
  for (const json& entry : *entries) {
    if (!entry.is_object()) continue;
    const std::string country = StringField(entry, "country");
    LibraryTone tone;
    tone.name = StringField(entry, "tone");
    const std::string file = StringField(entry, "file");
    if (country.empty() || tone.name.empty() || file.empty()) continue;
    tone.file = folder / std::filesystem::u8path(file);
    tone.tone_string = StringField(entry, "string");
    tone.levels = IndexLevels(entry);
    auto same = std::find_if(read.countries.begin(), read.countries.end(),
                             [&](const LibraryCountry& listed) { return listed.name == country; });
    if (same == read.countries.end()) {
      read.countries.push_back(LibraryCountry{country, StringField(entry, "code"), {}});
      same = read.countries.end() - 1;
    }
    same->tones.push_back(std::move(tone));
  }
  if (read.countries.empty()) return false;
  *library = std::move(read);
  return true;
}

ToneLibrary ReadToneLibrary(const std::filesystem::path& folder) {
  ToneLibrary library;
  std::ifstream index(folder / "index.json", std::ios::binary);
  if (index) {
    const std::string text((std::istreambuf_iterator<char>(index)), std::istreambuf_iterator<char>());
    if (ReadToneLibraryIndex(text, folder, &library)) return library;
  }
  return ReadToneFolders(folder);
}

std::string CountryNameFromFolder(std::string_view folder_name) {
  std::string name(folder_name);
  bool word_start = true;
  for (char& c : name) {
    if (c == '-' || c == '_') {
      c = ' ';
      word_start = true;
    } else {
      if (word_start) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      word_start = false;
    }
  }
  return name;
}

std::vector<size_t> MatchingCountries(const ToneLibrary& library, std::string_view typed) {
  const size_t first = typed.find_first_not_of(" \t");
  const size_t last = typed.find_last_not_of(" \t");
  const std::string wanted = first == std::string_view::npos ? std::string() : Lower(typed.substr(first, last - first + 1));
  std::vector<size_t> matching;
  for (size_t i = 0; i < library.countries.size(); ++i) {
    const LibraryCountry& country = library.countries[i];
    if (Lower(country.name).find(wanted) != std::string::npos || Lower(country.code).find(wanted) != std::string::npos) {
      matching.push_back(i);
    }
  }
  return matching;
}
