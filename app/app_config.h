// The process-wide configuration object. The program entry creates it, loads the
// config file into it and deletes it at the very end; every window reads and
// writes settings through it. Null before the entry creates it and after it is
// deleted: readers then take the defaults.
#pragma once

#include "config/app_parameter.h"

// Owned by the program entry (it deletes it); everyone else only borrows it.
extern CAppParameter* app_config;

// Language 1 picks Japanese, any other value English.
constexpr int kLanguageEnglish = 0;
constexpr int kLanguageJapanese = 1;

// The language of this run, 0 when there is no configuration.
int CurrentLanguage();
