#include "shell/MainMenus.h"

#include "framework/FrameworkCommands.h"
#include "shell/MainFrameCommands.h"

#include <cstring>

namespace MainMenus {
namespace {

namespace F = FrameworkCommands;

constexpr unsigned kRecentFiles[] = {F::kFileMruFirst, F::kFileMruFirst + 1, F::kFileMruFirst + 2,
                                     F::kFileMruFirst + 3};

// clang-format off
// The commands that other objects than the main frame's table handle.
const CommandDescription kOtherCommands[] = {
    {F::kFileNew,             "Nouveau",                           nullptr, nullptr},
    {F::kFileOpen,            "Ouvrir...",                         nullptr, nullptr},
    {32813,                   "Ouvrir un Dossier...",              nullptr, nullptr},
    {F::kFileClose,           "Fermer",                            nullptr, nullptr},
    {32894,                   "Fermer tout",                       nullptr, nullptr},
    {F::kFileSave,            "Enregistrer",                       nullptr, nullptr},
    {F::kFileSaveAs,          "Enregistrer sous...",               nullptr, nullptr},
    {32800,                   "Exporter vers Word...",             nullptr, nullptr},
    {32801,                   "Exporter vers Excel...",            nullptr, nullptr},
    {32885,                   "Exporter en Ascii...",              nullptr, nullptr},
    {F::kFilePrint,           "Imprimer...",                       nullptr, nullptr},
    {F::kFilePrintPreview,    "Aperçu avant l'impression",         nullptr, nullptr},
    {F::kFilePrintSetup,      "Configuration de l'impression...",  nullptr, nullptr},
    {kRecentFiles[0],         "Fichier récent",                    nullptr, nullptr},
    {kRecentFiles[1],         "Fichier récent",                    nullptr, nullptr},
    {kRecentFiles[2],         "Fichier récent",                    nullptr, nullptr},
    {kRecentFiles[3],         "Fichier récent",                    nullptr, nullptr},
    {F::kAppExit,             "Quitter",                           nullptr, nullptr},
    {F::kEditUndo,            "Annuler",                           nullptr, nullptr},
    {F::kEditCut,             "Couper",                            nullptr, nullptr},
    {F::kEditCopy,            "Copier",                            nullptr, nullptr},
    {F::kEditPaste,           "Coller",                            nullptr, nullptr},
    {32788,                   "Présentation...",                   nullptr, nullptr},
    {32787,                   "Retour à la définition...",         nullptr, nullptr},
    {32786,                   "Ajouter au Dossier",                nullptr, nullptr},
    {32817,                   "Envoyer vers Graphique",            nullptr, nullptr},
    {32875,                   "Envoyer vers ACP",                  nullptr, nullptr},
    {32876,                   "Envoyer vers AFC...",               nullptr, nullptr},
    {32878,                   "Taille des cellules fixes",         nullptr, nullptr},
    {32879,                   "Taille des cellules variables",     nullptr, nullptr},
    {32811,                   "Supprimer",                         nullptr, nullptr},
    {32806,                   "Déplacer vers le haut",             nullptr, nullptr},
    {32807,                   "Déplacer vers le bas",              nullptr, nullptr},
    {32808,                   "Déplacer vers la gauche",           nullptr, nullptr},
    {32809,                   "Déplacer vers la droite",           nullptr, nullptr},
    {32810,                   "Insérer",                           nullptr, nullptr},
    {32915,                   "Supprimer",                         nullptr, nullptr},
    {32896,                   "Changer le champ d'étude...",       nullptr, nullptr},
    {32897,                   "Changer le redressement...",        nullptr, nullptr},
    {32919,                   "Changer le niveau...",              nullptr, nullptr},
    {32898,                   "Changer la présentation...",        nullptr, nullptr},
    {32895,                   "Supprimer les Non Réponses",        nullptr, nullptr},
    {32914,                   "Sélectionner le langage courant...", nullptr, nullptr},
    {32893,                   "Tableaux croisés significatifs",    nullptr, nullptr},
    {32960,                   "50",                                nullptr, nullptr},
    {32961,                   "75",                                nullptr, nullptr},
    {32962,                   "100",                               nullptr, nullptr},
    {32963,                   "200",                               nullptr, nullptr},
    {32964,                   "400",                               nullptr, nullptr},
    {32965,                   "Lignes",                            nullptr, nullptr},
    {32966,                   "Colonnes",                          nullptr, nullptr},
    {32967,                   "Lignes",                            nullptr, nullptr},
    {32968,                   "Colonnes",                          nullptr, nullptr},
    {32969,                   "Envoyer vers un Dossier",           nullptr, nullptr},
    {F::kViewToolBar,         "Barre d'outils",                    nullptr, nullptr},
    {F::kViewStatusBar,       "Barre d'état",                      nullptr, nullptr},
    {F::kWindowCascade,       "Cascade",                           nullptr, nullptr},
    {F::kWindowTileHorizontally, "Mosaïque",                       nullptr, nullptr},
    {F::kHelpFinder,          "Contenu",                           nullptr, nullptr},
    {F::kHelp,                "Aide",                              nullptr, nullptr},
    {F::kAppAbout,            "À propos...",                       nullptr, nullptr},
    {F::kNextPane,            "Volet suivant",                     nullptr, nullptr},
    {F::kPreviousPane,        "Volet précédent",                   nullptr, nullptr},
    {kInterviewCountPane,     "In.         0",                     nullptr, nullptr},
};

constexpr Item kNoDocumentMenus[] = {
    {"&Fichier", F::kFileOpen}, {"&Fichier", F::kFilePrintSetup}, {"&Fichier", 0},
    {"&Fichier", kRecentFiles[0]}, {"&Fichier", kRecentFiles[1]}, {"&Fichier", kRecentFiles[2]},
    {"&Fichier", kRecentFiles[3]}, {"&Fichier", 0}, {"&Fichier", F::kAppExit},
    {"&Affichage", F::kViewToolBar}, {"&Affichage", F::kViewStatusBar},
    {"A&ide", F::kHelpFinder}, {"A&ide", 0}, {"A&ide", F::kAppAbout},
};

constexpr Item kDocumentMenus[] = {
    {"&Fichier", F::kFileOpen}, {"&Fichier", 32813}, {"&Fichier", F::kFileClose}, {"&Fichier", 32894},
    {"&Fichier", 0}, {"&Fichier", F::kFileSave}, {"&Fichier", F::kFileSaveAs},
    {"&Fichier", 0}, {"&Fichier", 32800}, {"&Fichier", 32801}, {"&Fichier", 32885},
    {"&Fichier", 32860}, {"&Fichier", 32882},
    {"&Fichier", 0}, {"&Fichier", F::kFilePrint}, {"&Fichier", F::kFilePrintPreview}, {"&Fichier", F::kFilePrintSetup},
    {"&Fichier", 0}, {"&Fichier", kRecentFiles[0]}, {"&Fichier", kRecentFiles[1]}, {"&Fichier", kRecentFiles[2]},
    {"&Fichier", kRecentFiles[3]}, {"&Fichier", 0}, {"&Fichier", F::kAppExit},

    {"&Edition", F::kEditCopy}, {"&Edition", 0},
    {"&Edition", 32788}, {"&Edition", 32787}, {"&Edition", 32786}, {"&Edition", 32817}, {"&Edition", 32875},
    {"&Edition", 32876}, {"&Edition", 0}, {"&Edition", 32878}, {"&Edition", 32879}, {"&Edition", 0},
    {"&Edition/Regrouper", 32802}, {"&Edition/Regrouper", 32836}, {"&Edition/Regrouper", 32837},
    {"&Edition/Changer le niveau de la question", 32888}, {"&Edition/Changer le niveau de la question", 32889},
    {"&Edition/Changer le niveau de la question", 32911},
    {"&Edition", 32822}, {"&Edition", 32803}, {"&Edition", 32811}, {"&Edition", 32903}, {"&Edition", 32912},
    {"&Edition", 0}, {"&Edition", 32887}, {"&Edition", 32914},

    {"&Tris", 32771}, {"&Tris", 32804}, {"&Tris", 32793}, {"&Tris", 32892}, {"&Tris", 32846}, {"&Tris", 0},
    {"&Tris", 32795}, {"&Tris", 32796}, {"&Tris", 32844}, {"&Tris", 0},
    {"&Tris", 32789}, {"&Tris", 32917}, {"&Tris", 32859}, {"&Tris", 32797}, {"&Tris", 0},
    {"&Tris", 32798}, {"&Tris", 32874}, {"&Tris", 32890},

    {"Te&st", 32884},

    {"&Morvane", 32847}, {"&Morvane", 32861}, {"&Morvane", 32848}, {"&Morvane", 32862}, {"&Morvane", 0},
    {"&Morvane", 32863}, {"&Morvane", 32864}, {"&Morvane", 0}, {"&Morvane", 32886}, {"&Morvane", 32893},

    {"O&uverte", 32814}, {"O&uverte", 32816}, {"O&uverte/Spécificités", 32818},
    {"O&uverte/Spécificités", 32880}, {"O&uverte", 32820}, {"O&uverte", 32826}, {"O&uverte", 32881},
    {"O&uverte", 0}, {"O&uverte", 32856}, {"O&uverte", 32857}, {"O&uverte", 0}, {"O&uverte", 32918},
    {"O&uverte", 32858},

    {"&Outils", 32791}, {"&Outils", 32792}, {"&Outils", 0}, {"&Outils", 32842}, {"&Outils", 0},
    {"&Outils", 32913}, {"&Outils", 32916}, {"&Outils", 32920}, {"&Outils", 32921},

    {"&Dossier", 32810}, {"&Dossier", 32915}, {"&Dossier", 0}, {"&Dossier", F::kEditCut},
    {"&Dossier", F::kEditCopy}, {"&Dossier", F::kEditPaste}, {"&Dossier", 0},
    {"&Dossier", 32806}, {"&Dossier", 32807}, {"&Dossier", 32808}, {"&Dossier", 32809}, {"&Dossier", 0},
    {"&Dossier", 32896}, {"&Dossier", 32897}, {"&Dossier", 32919}, {"&Dossier", 32898}, {"&Dossier", 0},
    {"&Dossier", 32895},

    // The map window's menu; its leading separator only makes the menu before its sub-menus.
    {"Ma&pping", 0}, {"Ma&pping/&Zoom", 32960}, {"Ma&pping/&Zoom", 32961}, {"Ma&pping/&Zoom", 32962},
    {"Ma&pping/&Zoom", 32963}, {"Ma&pping/&Zoom", 32964},
    {"Ma&pping/&Brushing", 32965}, {"Ma&pping/&Brushing", 32966},
    {"Ma&pping/&Sizing", 32967}, {"Ma&pping/&Sizing", 32968}, {"Ma&pping", 0}, {"Ma&pping", 32788},
    {"Ma&pping", 32800}, {"Ma&pping", 32969},

    {"&Affichage", F::kViewToolBar}, {"&Affichage", F::kViewStatusBar},
    {kWindowMenu, F::kWindowCascade}, {kWindowMenu, F::kWindowTileHorizontally},
    {"A&ide", F::kHelpFinder}, {"A&ide", 0}, {"A&ide", F::kAppAbout},
};

constexpr unsigned kToolBar[] = {
    F::kFileOpen, 32800, 32801, 0, 32771, 32804, 32793, 0, 32789, 32797, 0, 32788, 32787, 32786, 32817, 0,
    F::kFilePrint, F::kFilePrintPreview, 0, 32806, 32807, 32808, 32809, 0, 32810, 32811,
};

// Only keys whose command does something here: no window is created empty, nothing is undone and
// no window is split into panes, so "New", "Undo" and the pane keys stay unbound rather than dead.
constexpr Accelerator kAccelerators[] = {
    {F::kEditCopy,     "Ctrl+C",         "Ctrl+Ins"},
    {F::kFileOpen,     "Ctrl+O",         nullptr},
    {F::kFilePrint,    "Ctrl+P",         nullptr},
    {F::kFileSave,     "Ctrl+S",         nullptr},
    {F::kEditPaste,    "Ctrl+V",         "Shift+Ins"},
    {F::kEditCut,      "Shift+Del",      "Ctrl+X"},
    {F::kHelp,         "F1",             nullptr},
    {32806,            "Alt+Up",         nullptr},
    {32807,            "Alt+Down",       nullptr},
    {32808,            "Alt+Left",       nullptr},
    {32809,            "Alt+Right",      nullptr},
};
// clang-format on

// The item's text: the last part of the command table's "menu/item" text.
const char* ItemText(const char* text) {
    const char* slash = std::strrchr(text, '/');
    return slash != nullptr ? slash + 1 : text;
}

} // namespace

std::span<const Item> NoDocumentMenus() {
    return kNoDocumentMenus;
}

std::span<const Item> DocumentMenus() {
    return kDocumentMenus;
}

std::span<const unsigned> ToolBar() {
    return kToolBar;
}

std::span<const Accelerator> Accelerators() {
    return kAccelerators;
}

std::vector<CommandDescription> Commands() {
    std::vector<CommandDescription> commands(std::begin(kOtherCommands), std::end(kOtherCommands));
    for (const MainFrameCommands::Command& command : MainFrameCommands::All())
        commands.push_back({command.id, ItemText(command.text), nullptr, nullptr});
    return commands;
}

} // namespace MainMenus
