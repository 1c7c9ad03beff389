// The country tone library as the "Open from Tone Library" dialog lists it: countries with
// their tones, read from the library's index where it has one, else from its folders
// (tones/<country>/<tone>.ton). Portable.
#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct LibraryTone {
  std::string name;         // "busy"
  std::string tone_string;  // "425/500,0/500"; why there is none when the file holds none
  std::string levels;       // "-10.0 dBm0", several joined by " / "
  std::filesystem::path file;
};

struct LibraryCountry {
  std::string name;  // English name, "Costa Rica"
  std::string code;  // ISO 3166 alpha-2 where known, else empty
  std::vector<LibraryTone> tones;
};

enum class LibrarySource { Missing, Index, Folders };

struct ToneLibrary {
  LibrarySource source = LibrarySource::Missing;
  std::vector<LibraryCountry> countries;
};

// The library in folder: its index.json when that can be read and lists a tone, otherwise
// one country per subfolder holding .ton files (names from the folder, tone strings and
// levels from the files). Missing when neither gives a tone.
ToneLibrary ReadToneLibrary(const std::filesystem::path& folder);

// Fills *library from the text of an index: an array (or an object holding one) of entries
// with country, code, tone, file (relative to folder), string and levels. Entries without a
// country, tone or file are skipped. False when the text is not such an index or lists no
// tone; *library is then untouched.
bool ReadToneLibraryIndex(std::string_view json, const std::filesystem::path& folder, ToneLibrary* library);

// "costa-rica" gives "Costa Rica".
std::string CountryNameFromFolder(std::string_view folder_name);

// Indexes of the countries whose name or code contains typed, ignoring letter case and
// blanks around it; every country when typed is blank.
std::vector<size_t> MatchingCountries(const ToneLibrary& library, std::string_view typed);
