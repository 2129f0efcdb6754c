// Every interface text that depends on the user's language, in Windows-1252.
// All texts are empty until a language is selected.
#pragma once

#include <string>

namespace i18n {

enum class Language { French = 0, English = 1, German = 2, Spanish = 3 };
constexpr int kLanguageCount = 4;

enum class CatalogueKey {
    ListCreatedText,
    NoFilesHereText,
    SaveDialogTitle,
    TextPatternLabel,
    CanceledText,
    DirectoryPrefix,
    ChooseDirectoryLabel,
    CreateListLabel,
    YouAreInPrefix,
    LowercaseLabel,
    UppercaseLabel,
    AboutTabLabel,
    AboutText,
    RootDirectoryLabel,
    UpdateLabel,
    UpdateOnlineSuffix,
    UpdateSavedPrefix,
    AlreadyLatestText,
    ErrorTitle,
    FileUnavailableText,
};
constexpr int kCatalogueKeyCount = 20;

// Makes `language` current; only the first call of a run counts.
void SelectLanguage(Language language);

// The key's text in the selected language; empty while none is selected.
const std::string& CatalogueText(CatalogueKey key);

// Back to no language, so that tests can start afresh; the program never
// calls it.
void ClearLanguageSelection();

} // namespace i18n
