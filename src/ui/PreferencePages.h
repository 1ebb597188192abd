#pragma once
// The preferences dialog's nine pages as data: each row names its caption, the
// kind of control, its choices or range and the setting it shows. The dialog
// builds, fills and stores every page by walking these tables.

#include "settings/Vocabulary.h"

#include <QString>
#include <vector>

namespace tarvix {

enum class RowKind {
    Combo,        // drop-down; the setting holds the selected index
    Check,        // check box
    Edit,         // text field
    Number,       // digits-only field and a unit drop-down of one fixed item
    NumberUnit,   // the same with a unit choice stored in its own setting
    Slider,       // track bar and spin box showing one value
    Colour,       // swatch button and read-only field with the six digits
    ColourList,   // drop-down of colours from a comma list, and "..."
    FontChooser,  // drop-down of font names, and "..."
    ImageChooser, // text field with a file path, and "..."
    DateTime,     // date and time picker
};

// Rows whose items or stored value are not a plain index.
enum class RowSpecial {
    None,
    Language,     // one item "English"; stores "en"
    Theme,        // the themes' display names; stores the theme id
    InputFormat,  // the offered input formats; stores the extension
    OutputFormat, // the offered output formats with descriptions; stores the extension
    Bpp,          // "Auto" and the format's depths; stores the depth (0 for Auto)
};

enum class SliderScale {
    Plain,
    Offset100, // the track holds value + 100
    Gamma,     // the track holds gamma x 100, the spin box gamma with two decimals
};

struct PreferenceRow {
    const char* caption = nullptr; // key of the "Preferences" string group
    RowKind kind = RowKind::Combo;
    const char* group = nullptr; // the setting shown (group and key); none when null
    const char* key = nullptr;
    VocabularyKind words = VocabularyKind::None; // combo items: the vocabulary's labels
    std::vector<const char*> items = {};         // or these keys; Number: the unit item
    int minimum = 0, maximum = 0;                // slider range, in the spin box's terms
    SliderScale scale = SliderScale::Plain;
    const char* unitKey = nullptr; // NumberUnit: the setting holding the unit (its words the items)
    RowSpecial special = RowSpecial::None;
    const char* format = nullptr; // Bpp, and a compression's words: the output format
    bool hidden = false;

    // "Group/Key": how the dialog names the row's controls.
    QString Id() const;
};

// A container below row 0 of its page, shown for one choice of row 0.
struct PreferenceArea {
    QString name;        // a format's extension, or the choice it stands for
    int innerHeight = 0; // scrolls when non-zero (inner width 420)
    std::vector<PreferenceRow> rows;
};

struct PreferencePage {
    const char* key = nullptr; // caption of the page list and title (its text equals the key)
    int innerHeight = 0;       // the page scrolls when non-zero
    std::vector<PreferenceRow> rows;
    std::vector<PreferenceArea> areas;
};

const std::vector<PreferencePage>& PreferencePages();

// The page numbers the main window opens the dialog on.
enum PreferencesPage { kPageGeneral = 0, kPageOutput = 3 };

} // namespace tarvix
