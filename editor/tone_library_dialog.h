// "Open from Tone Library": the countries of the library (filtered by what is typed) and
// the chosen country's tones with their tone strings and levels. Open, or a double-click
// on a tone, chooses that tone's file.
#pragma once
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/dialog.h"
#include "editor/tone_library.h"

class CToneLibraryDialog : public CDialog {
 public:
  void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) override;
  void OnCommand(HWND dialog, int id, int code) override;
  void OnNotify(HWND dialog, int id, NMHDR* header) override;
  // Agrees only when a tone is selected; its file becomes chosen_file.
  int OnOK(HWND dialog) override;

  std::filesystem::path folder;  // named when the library is missing
  std::wstring filter;           // the text in the country field, in and out
  ToneLibrary library;
  std::filesystem::path chosen_file;

 private:
  void ShowCountries(HWND dialog);
  void ShowTones(HWND dialog);
  std::vector<size_t> shown_countries_;
  const LibraryCountry* shown_country_ = nullptr;
};

// The library beside the program: the tones folder in Sonaril.exe's own folder.
std::filesystem::path ToneLibraryFolder();

// Runs the dialog on the library in folder, with *filter typed into the country field (and
// what was typed there afterwards kept in it, so the next opening shows the same countries).
// The chosen tone's file, or empty after Cancel.
std::filesystem::path RunToneLibraryDialog(HWND owner, const std::filesystem::path& folder, std::wstring* filter);
