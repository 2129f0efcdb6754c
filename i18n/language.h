// Finding the recorded language, or asking for one in the language chooser.
// The choice is an empty marker file in ProgramDirectory.
#pragma once

#include "i18n/catalogue.h"
#include "platform/ui.h"

#include <array>

namespace i18n {

constexpr int kLanguageWindow = 13;
constexpr platform::Rect kLanguageWindowRect{761, 573, 286, 67};
constexpr const char* kLanguageWindowTitle = "Skimdex";

constexpr int kEnglishButton = 14;
constexpr int kFrenchButton = 15;
constexpr int kGermanButton = 16;
constexpr int kSpanishButton = 17;
constexpr int kExitButton = 18;

struct ChooserButton {
    int control;
    platform::Rect rect;
    const char* text;
    unsigned settings;
};

// The chooser's buttons in the order they are created.
constexpr std::array<ChooserButton, 5> kChooserButtons{{
    {kEnglishButton, {0, 0, 140, 20}, "English", platform::kGroupStart},
    {kFrenchButton,
     {145, 0, 140, 20},
     "Fran\xE7"
     "ais",
     platform::kGroupStart},
    {kGermanButton, {0, 25, 140, 20}, "Deutch", platform::kGroupStart},
    {kSpanishButton,
     {145, 25, 140, 20},
     "Espa\xF1"
     "ol",
     platform::kGroupStart},
    {kExitButton,
     {0, 50, 285, 15},
     "Exit - Quitter - Verlassen - Salir",
     platform::kGroupStart | platform::kFlat},
}};

struct LanguageMarker {
    Language language;
    const char* name;
    int button;
};

// In check order; a marker's file slot is its language's value.
constexpr std::array<LanguageMarker, kLanguageCount> kLanguageMarkers{{
    {Language::French, "fr.lng", kFrenchButton},
    {Language::English, "uk.lng", kEnglishButton},
    {Language::German, "de.lng", kGermanButton},
    {Language::Spanish, "es.lng", kSpanishButton},
}};

constexpr const char* kRefusalTitle = "Error";
constexpr const char* kRefusalText =
    "You have to choose a language to use Skimdex\nChoose a language next time - thank you";

enum class LanguageResolution { Selected, Declined };

// Selects the first marker in check order that opens; with none, shows the
// chooser until a language is chosen (then searches again) or the user
// declines, which the caller answers by ending the program.
LanguageResolution ResolveLanguage();

} // namespace i18n
