// Source files stay UTF-8: the Windows-1252 letters are byte escapes.
#include "i18n/catalogue.h"

#include "common/program_values.h"

#include <array>
#include <string_view>

namespace i18n {
namespace {

constexpr int kSimpleKeyCount = kCatalogueKeyCount - 1;

// Every key but AboutText, in the order of CatalogueKey without it.
constexpr std::array<std::array<std::string_view, kSimpleKeyCount>, kLanguageCount> kTexts{{
    // French
    {{
        "La liste a \xE9t\xE9 cr\xE9\xE9"
        "e !",                                                                  // ListCreatedText
        "Vous ne pouvez pas lister le poste de travail, il ni a aucun fichier", // NoFilesHereText
        "Choisissez un fichier \xE0 sauvegarder",                               // SaveDialogTitle
        "Texte",                                                                // TextPatternLabel
        "Op\xE9ration annul\xE9"
        "e par l'utilisateur.",                    // CanceledText
        "R\xE9pertoire : ",                        // DirectoryPrefix
        "Choisissez le r\xE9pertoire \xE0 lister", // ChooseDirectoryLabel
        "Cr\xE9"
        "er une Liste",             // CreateListLabel
        "Vous vous trouvez dans ",  // YouAreInPrefix
        "Tout mettre en minuscule", // LowercaseLabel
        "Tout mettre en majuscule", // UppercaseLabel
        "A Propos de Skimdex",      // AboutTabLabel
        "Poste de travail",         // RootDirectoryLabel
        "Mise \xE0 jour",           // UpdateLabel
        " est disponible, voulez-vous la t\xE9l\xE9"
        "charger maintenant ?", // UpdateOnlineSuffix
        "La mise \xE0 jour a \xE9t\xE9 sauv\xE9"
        "e dans ",                                     // UpdateSavedPrefix
        "Vous avez d\xE9j\xE0 la derni\xE8re Version", // AlreadyLatestText
        "Erreur",                                      // ErrorTitle
        "Fichier indisponible pour Le moment, veuillez r\xE9-essayer dans quelques "
        "minutes.", // FileUnavailableText
    }},
    // English
    {{
        "The list has been created",                                        // ListCreatedText
        "You can not create a list here because it neither has any files.", // NoFilesHereText
        "Choose a file to save",                                            // SaveDialogTitle
        "Text",                                                             // TextPatternLabel
        "Canceled by user",                                                 // CanceledText
        "Directory : ",                                                     // DirectoryPrefix
        "Choose the directory to list",                                     // ChooseDirectoryLabel
        "Create List",                                                      // CreateListLabel
        "You're in ",                                                       // YouAreInPrefix
        "Everything in lowercase",                                          // LowercaseLabel
        "Everything in uppercase",                                          // UppercaseLabel
        "About Skimdex",                                                    // AboutTabLabel
        "root directory",                                                   // RootDirectoryLabel
        "update",                                                           // UpdateLabel
        " is online, do you want To download it ?",                         // UpdateOnlineSuffix
        "The Update has been save in ",                                     // UpdateSavedPrefix
        "You already have the latest release",                              // AlreadyLatestText
        "Error",                                                            // ErrorTitle
        "Unable to find the file, please try in a few minutes",             // FileUnavailableText
    }},
    // German
    {{
        "Die liste erstellt wurde",                                        // ListCreatedText
        "Sie k\xF6nnen keine Liste, da es hier noch keine einzige Datei.", // NoFilesHereText
        "W\xE4hlen Sie eine Datei zu speichern",                           // SaveDialogTitle
        "Text",                                                            // TextPatternLabel
        "Operation vom Benutzer abgebrochen.",                             // CanceledText
        "Verzeichnis : ",                                                  // DirectoryPrefix
        "W\xE4hlen Sie das zu listen.",                                    // ChooseDirectoryLabel
        "Erstellen einer Liste",                                           // CreateListLabel
        "Sie befinden sich in ",                                           // YouAreInPrefix
        "Alles in Kleinbuchstaben",                                        // LowercaseLabel
        "Alles in Gro\xDF"
        "buchstaben", // UppercaseLabel
        "\xDC"
        "ber Skimdex",      // AboutTabLabel
        "Stammverzeichnis", // RootDirectoryLabel
        "update",           // UpdateLabel
        " verf\xFCgbar ist, m\xF6"
        "chten Sie jetzt downloaden?",                                       // UpdateOnlineSuffix
        "Das Update wurde gespeichert in ",                                  // UpdateSavedPrefix
        "Sie haben bereits die neueste Version",                             // AlreadyLatestText
        "Error",                                                             // ErrorTitle
        "Die Datei ist nicht verf\xFCgbar. Versuchen, in ein paar Minuten.", // FileUnavailableText
    }},
    // Spanish
    {{
        "La lista se ha creado", // ListCreatedText
        "Usted no puede crear una lista aqu\xED porque no tiene ning\xFAn archivo.", // NoFilesHereText
        "Elija un archivo para guardar",                   // SaveDialogTitle
        "Texto",                                           // TextPatternLabel
        "Cancelado por el usuario.",                       // CanceledText
        "Directorio : ",                                   // DirectoryPrefix
        "Elija el directorio a la lista.",                 // ChooseDirectoryLabel
        "Crear Lista",                                     // CreateListLabel
        "Usted est\xE1 en ",                               // YouAreInPrefix
        "Todo en min\xFAscula",                            // LowercaseLabel
        "Todo en may\xFAsculas",                           // UppercaseLabel
        "Acerca de Skimdex",                               // AboutTabLabel
        "directorio ra\xEDz",                              // RootDirectoryLabel
        "Actualizado",                                     // UpdateLabel
        " est\xE1 disponible, que desea descargar ahora?", // UpdateOnlineSuffix
        "La actualizaci\xF3n fue guardado en ",            // UpdateSavedPrefix
        "Usted ya tiene la versi\xF3n m\xE1s reciente",    // AlreadyLatestText
        "Falta",                                           // ErrorTitle
        "El archivo no est\xE1 disponible, por favor, int\xE9ntelo de nuevo en unos "
        "minutos", // FileUnavailableText
    }},
}};

// AboutText's four paragraphs; the second ends with the site's address.
constexpr std::array<std::array<std::string_view, 4>, kLanguageCount> kAboutParagraphs{{
    // French
    {{
        "Skimdex est un logiciel gratuit d\xE9velopp\xE9 par QUORVAN",
        "Vous trouverez d'autres logiciels sur ",
        "Pour nous permettre de continuer \xE0 produire des logiciels gratuits, nous acceptons les "
        "dons. Merci de nous soutenir en cliquant sur le bouton ci-dessous",
        "L'\xE9quipe de QUORVAN vous remercie de votre fid\xE9lit\xE9",
    }},
    // English
    {{
        "Skimdex is a free software developed by QUORVAN",
        "You can find other software on our website : ",
        "To help us to produce free software, we accept donations. Thank you to support us by "
        "clicking the button below.",
        "The team of QUORVAN thank you for your loyalty.",
    }},
    // German
    {{
        "Skimdex ist eine kostenlose Software entwickelt von QUORVAN",
        "Finden Sie weitere Software auf der Website ",
        "Damit wir auch weiterhin kostenlose Software zu produzieren, akzeptieren wir die Spenden. "
        "Danke, dass Sie uns unterst\xFCtzen, indem Sie auf die Schaltfl\xE4"
        "che unten.",
        "Das Team von QUORVAN danke Ihnen f\xFCr Ihre Treue.",
    }},
    // Spanish
    {{
        "Skimdex es un software libre desarrollado por QUORVAN",
        "Usted puede encontrar otro software en ",
        "Para que nos ayuden a producir software libre, aceptamos donaciones. Gracias a que nos "
        "apoye haciendo clic en el bot\xF3n de abajo.",
        "El equipo de QUORVAN gracias por su lealtad.",
    }},
}};

bool selected = false;
std::array<std::string, kCatalogueKeyCount> current;

std::string ComposeAboutText(Language language) {
    const auto& paragraphs = kAboutParagraphs[static_cast<std::size_t>(language)];
    std::string text(paragraphs[0]);
    text += "\n\n";
    text += paragraphs[1];
    text += common::MakerSiteUrl();
    text += "\n\n";
    text += paragraphs[2];
    text += "\n\n";
    text += paragraphs[3];
    return text;
}

} // namespace

void SelectLanguage(Language language) {
    if (selected) {
        return;
    }
    selected = true;
    const auto& texts = kTexts[static_cast<std::size_t>(language)];
    int simple = 0;
    for (int key = 0; key < kCatalogueKeyCount; ++key) {
        if (static_cast<CatalogueKey>(key) == CatalogueKey::AboutText) {
            current[static_cast<std::size_t>(key)] = ComposeAboutText(language);
        } else {
            current[static_cast<std::size_t>(key)] =
                std::string(texts[static_cast<std::size_t>(simple++)]);
        }
    }
}

void ClearLanguageSelection() {
    selected = false;
    current = {};
}

const std::string& CatalogueText(CatalogueKey key) {
    return current[static_cast<std::size_t>(key)];
}

} // namespace i18n
