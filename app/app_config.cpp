#include "app/app_config.h"

CAppParameter* app_config = nullptr;

int CurrentLanguage() { return app_config != nullptr ? app_config->current_language : kLanguageEnglish; }
