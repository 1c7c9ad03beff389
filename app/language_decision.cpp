#include "app/language_decision.h"

#include "resources/resource_ids.h"

namespace {

constexpr int32_t kNotChosen = -1;
constexpr int32_t kEnglish = 0;
constexpr int32_t kJapanese = 1;

bool IsKnownLanguage(int32_t language) { return language == kEnglish || language == kJapanese; }

}  // namespace

int32_t TextLanguage(int32_t language) { return language == kJapanese ? kJapanese : kEnglish; }

int32_t DialogTemplateFor(int32_t japanese_template_id, int32_t language) {
  return language == kJapanese ? japanese_template_id : japanese_template_id + IDD_ENGLISH_OFFSET;
}

RunLanguage DecideRunLanguage(int32_t stored_language) {
  if (IsKnownLanguage(stored_language)) return {stored_language, false};
  // Not chosen yet, or a value no version of the program writes: ask again.
  return {kEnglish, true};
}

LanguageDialogSetup SetUpLanguageDialog(int32_t stored_language, int32_t current_language,
                                        uint16_t user_default_language_id) {
  if (!IsKnownLanguage(stored_language)) {
    const int32_t guess = user_default_language_id == kJapaneseLanguageId ? kJapanese : kEnglish;
    return {guess, guess};
  }
  return {current_language, stored_language};
}

LanguageChoice ResolveLanguageChoice(bool first_start, bool confirmed, int32_t selection) {
  return {first_start || confirmed, first_start, selection};
}
