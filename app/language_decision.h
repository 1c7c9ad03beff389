// Which language the program runs in and what the language dialog offers: the
// decisions of the window framework, free of any window.
#pragma once

#include <cstdint>

// The user's default UI language id that stands for Japanese.
constexpr uint16_t kJapaneseLanguageId = 0x0411;

// 1 for language 1 (Japanese), 0 for every other value: texts, templates and
// help pages come in these two languages only.
int32_t TextLanguage(int32_t language);

// The template of a dialog for a language: the Japanese id for language 1,
// otherwise the English one, 100 higher.
int32_t DialogTemplateFor(int32_t japanese_template_id, int32_t language);

// The language of the run from the stored choice, and whether the first-start
// language dialog must be shown (no choice stored, or a value that is none of
// -1, 0 and 1).
struct RunLanguage {
  int32_t current_language;
  bool ask_first_start;
};
RunLanguage DecideRunLanguage(int32_t stored_language);

// What the language dialog shows: the language of its own texts and the entry
// selected when it opens. Without a valid stored choice both are guessed from
// the user's default UI language; otherwise the dialog speaks the language of
// the run and preselects the stored choice.
struct LanguageDialogSetup {
  int32_t display_language;
  int32_t selection;
};
LanguageDialogSetup SetUpLanguageDialog(int32_t stored_language, int32_t current_language,
                                        uint16_t user_default_language_id);

// What follows the dialog: at the first start the selection (confirmed or not)
// becomes the language of the run; at the first start or after OK it is
// stored and saved at once; a cancelled dialog from the menu changes nothing.
struct LanguageChoice {
  bool store;                 // language := selection, then save
  bool set_current_language;  // current_language := selection
  int32_t selection;
};
LanguageChoice ResolveLanguageChoice(bool first_start, bool confirmed, int32_t selection);
