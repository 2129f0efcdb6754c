#include "i18n/catalogue.h"
#include "i18n/language.h"
#include "tests/support/program_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>

using doubles::Ui;
using i18n::CatalogueKey;
using i18n::CatalogueText;
using i18n::Language;
using i18n::LanguageResolution;
using i18n::ResolveLanguage;
using testing_support::Exists;
using testing_support::MakeFolder;
using testing_support::ProgramTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

CatalogueKey Key(int k) {
    return static_cast<CatalogueKey>(k);
}

class CatalogueTest : public ProgramTest {};
class LanguageTest : public ProgramTest {};

} // namespace

TEST_F(CatalogueTest, EmptyBeforeSelectionAndFullAfterInEveryLanguage) {
    for (int k = 0; k < i18n::kCatalogueKeyCount; ++k) {
        EXPECT_EQ(CatalogueText(Key(k)), "") << k;
    }
    for (int language = 0; language < i18n::kLanguageCount; ++language) {
        i18n::ClearLanguageSelection();
        i18n::SelectLanguage(static_cast<Language>(language));
        for (int k = 0; k < i18n::kCatalogueKeyCount; ++k) {
            const std::string& text = CatalogueText(Key(k));
            EXPECT_FALSE(text.empty()) << "language " << language << " key " << k;
            EXPECT_EQ(text.find_first_of(std::string("\t\r\0", 3)), std::string::npos);
            if (Key(k) != CatalogueKey::AboutText) {
                EXPECT_EQ(text.find('\n'), std::string::npos);
            }
        }
        EXPECT_EQ(CatalogueText(CatalogueKey::DirectoryPrefix)
                      .substr(CatalogueText(CatalogueKey::DirectoryPrefix).size() - 3),
                  " : ");
        EXPECT_EQ(CatalogueText(CatalogueKey::YouAreInPrefix).back(), ' ');
        EXPECT_EQ(CatalogueText(CatalogueKey::UpdateSavedPrefix).back(), ' ');
        EXPECT_EQ(CatalogueText(CatalogueKey::UpdateOnlineSuffix).front(), ' ');
    }
}

TEST_F(CatalogueTest, FirstSelectionHolds) {
    i18n::SelectLanguage(Language::Spanish);
    i18n::SelectLanguage(Language::French);
    EXPECT_EQ(CatalogueText(CatalogueKey::ErrorTitle), "Falta");
}

TEST_F(CatalogueTest, AboutTextIsFourParagraphsEndingTheSecondWithTheSite) {
    for (int language = 0; language < i18n::kLanguageCount; ++language) {
        i18n::ClearLanguageSelection();
        i18n::SelectLanguage(static_cast<Language>(language));
        const std::string& about = CatalogueText(CatalogueKey::AboutText);
        EXPECT_EQ(std::count(about.begin(), about.end(), '\n'), 6);
        EXPECT_EQ(about.find('\r'), std::string::npos);
        EXPECT_NE(about.front(), '\n');
        EXPECT_NE(about.back(), '\n');
        const std::string site = std::string(common::MakerSiteUrl()) + "\n\n";
        const std::size_t first = about.find("\n\n");
        const std::size_t second = about.find("\n\n", first + 2);
        const std::size_t third = about.find("\n\n", second + 2);
        ASSERT_NE(third, std::string::npos);
        EXPECT_EQ(about.find("\n\n\n"), std::string::npos);
        EXPECT_EQ(about.substr(second - site.size() + 2, site.size()), site);
    }
}

TEST_F(CatalogueTest, TextsByteForByte) {
    i18n::SelectLanguage(Language::German);
    EXPECT_EQ(CatalogueText(CatalogueKey::UppercaseLabel), "Alles in Gro\xDF"
                                                           "buchstaben");
    EXPECT_EQ(CatalogueText(CatalogueKey::UppercaseLabel).size(), 23u);
    EXPECT_EQ(CatalogueText(CatalogueKey::AboutTabLabel), "\xDC"
                                                          "ber Skimdex");
    // German shares three texts with English.
    EXPECT_EQ(CatalogueText(CatalogueKey::TextPatternLabel), "Text");
    EXPECT_EQ(CatalogueText(CatalogueKey::UpdateLabel), "update");
    EXPECT_EQ(CatalogueText(CatalogueKey::ErrorTitle), "Error");

    i18n::ClearLanguageSelection();
    i18n::SelectLanguage(Language::French);
    EXPECT_EQ(CatalogueText(CatalogueKey::ListCreatedText), "La liste a \xE9t\xE9 cr\xE9\xE9"
                                                            "e !");
    EXPECT_EQ(CatalogueText(CatalogueKey::DirectoryPrefix), "R\xE9pertoire : ");

    i18n::ClearLanguageSelection();
    i18n::SelectLanguage(Language::English);
    EXPECT_EQ(CatalogueText(CatalogueKey::UpdateOnlineSuffix),
              " is online, do you want To download it ?");
    EXPECT_EQ(CatalogueText(CatalogueKey::YouAreInPrefix), "You're in ");
    EXPECT_EQ(CatalogueText(CatalogueKey::AboutText).substr(0, 47),
              "Skimdex is a free software developed by QUORVAN");

    i18n::ClearLanguageSelection();
    i18n::SelectLanguage(Language::Spanish);
    EXPECT_EQ(CatalogueText(CatalogueKey::RootDirectoryLabel), "directorio ra\xEDz");
}

TEST_F(LanguageTest, FirstMarkerInCheckOrderWinsAndIsNotTouched) {
    WriteBytes(common::ProgramDirectory + "uk.lng", "");
    WriteBytes(common::ProgramDirectory + "de.lng", "some content");
    EXPECT_EQ(ResolveLanguage(), LanguageResolution::Selected);
    EXPECT_EQ(CatalogueText(CatalogueKey::CreateListLabel), "Create List");
    EXPECT_TRUE(Ui().windows.empty()) << "no chooser";
    EXPECT_EQ(ReadBytes(common::ProgramDirectory + "uk.lng"), "");
    EXPECT_EQ(ReadBytes(common::ProgramDirectory + "de.lng"), "some content");
}

TEST_F(LanguageTest, ChooserShowsItsButtonsAndRecordsTheChoice) {
    MakeFolder(common::ProgramDirectory + "fr.lng"); // a folder is no marker
    doubles::QueueOther();
    doubles::QueueControlEvent(i18n::kGermanButton);
    EXPECT_EQ(ResolveLanguage(), LanguageResolution::Selected);

    ASSERT_EQ(Ui().windows.size(), 1u);
    const doubles::Window& chooser = Ui().windows[0];
    EXPECT_EQ(chooser.id, 13);
    EXPECT_EQ(chooser.title, "Skimdex");
    EXPECT_EQ(chooser.style, platform::WindowStyle::Popup);
    EXPECT_EQ(chooser.rect.x, 761);
    EXPECT_EQ(chooser.rect.y, 573);
    EXPECT_EQ(chooser.rect.width, 286);
    EXPECT_EQ(chooser.rect.height, 67);
    EXPECT_FALSE(chooser.open) << "closed after the choice";

    EXPECT_TRUE(Exists(common::ProgramDirectory + "de.lng"));
    EXPECT_EQ(ReadBytes(common::ProgramDirectory + "de.lng"), "");
    EXPECT_EQ(CatalogueText(CatalogueKey::UpdateLabel), "update");
    EXPECT_TRUE(Ui().messages.empty());
}

TEST_F(LanguageTest, EveryButtonMakesItsOwnMarker) {
    const struct {
        int button;
        const char* marker;
        CatalogueKey key;
        const char* text;
    } rows[] = {
        {i18n::kEnglishButton, "uk.lng", CatalogueKey::ErrorTitle, "Error"},
        {i18n::kFrenchButton, "fr.lng", CatalogueKey::ErrorTitle, "Erreur"},
        {i18n::kGermanButton, "de.lng", CatalogueKey::RootDirectoryLabel, "Stammverzeichnis"},
        {i18n::kSpanishButton, "es.lng", CatalogueKey::ErrorTitle, "Falta"},
    };
    for (const auto& row : rows) {
        testing_support::TempFolder rowFolder;
        SetUp();
        common::ProgramDirectory = rowFolder.path();
        doubles::QueueControlEvent(row.button);
        EXPECT_EQ(ResolveLanguage(), LanguageResolution::Selected);
        EXPECT_EQ(CatalogueText(row.key), row.text);
        EXPECT_TRUE(Exists(common::ProgramDirectory + row.marker)) << row.marker;
    }
}

TEST_F(LanguageTest, ExitAndCloseRequestDecline) {
    for (bool byClose : {false, true}) {
        SetUp();
        if (byClose) {
            doubles::QueueClose(i18n::kLanguageWindow); // Alt+F4
        } else {
            doubles::QueueControlEvent(i18n::kExitButton);
        }
        EXPECT_EQ(ResolveLanguage(), LanguageResolution::Declined);
        ASSERT_EQ(Ui().messages.size(), 1u);
        EXPECT_EQ(Ui().messages[0].title, "Error");
        EXPECT_EQ(Ui().messages[0].text, "You have to choose a language to use Skimdex\n"
                                         "Choose a language next time - thank you");
        EXPECT_EQ(Ui().messages[0].icon, platform::MessageIcon::Warning);
        EXPECT_EQ(Ui().messages[0].buttons, platform::MessageButtons::Ok);
        EXPECT_EQ(CatalogueText(CatalogueKey::ErrorTitle), "");
        for (const auto& marker : i18n::kLanguageMarkers) {
            EXPECT_FALSE(Exists(common::ProgramDirectory + marker.name));
        }
        EXPECT_FALSE(Ui().scriptRanOut);
    }
}

TEST_F(LanguageTest, MarkerThatCannotBeMadeShowsTheChooserAgain) {
    MakeFolder(common::ProgramDirectory + "es.lng");
    doubles::QueueControlEvent(i18n::kSpanishButton);
    doubles::QueueControlEvent(i18n::kEnglishButton);
    EXPECT_EQ(ResolveLanguage(), LanguageResolution::Selected);
    EXPECT_EQ(Ui().windows.size(), 2u);
    EXPECT_EQ(CatalogueText(CatalogueKey::ErrorTitle), "Error");
}

TEST_F(LanguageTest, ChooserThatCannotOpenEndsTheRun) {
    Ui().windowsOpen = false;
    EXPECT_EQ(ResolveLanguage(), LanguageResolution::Declined);
    EXPECT_FALSE(Ui().scriptRanOut) << "no event was waited for";
}
