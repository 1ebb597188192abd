#pragma once
// The preferences dialog: every user-editable setting on nine pages, built from
// the page tables. OK stores and saves, "Defaults" resets, Cancel discards.

#include "settings/Settings.h"
#include "theme/Themes.h"
#include "ui/PreferencePages.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QHash>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace tarvix {

class MainWindow;

// The caption of a colour item: the named colour of that value, else "Color #"
// and the six upper-case digits.
QString ColorLabel(const QString& colorText);

class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    // Opens on startPage (0 to 8). The themes are those the main window found;
    // an empty list shows "None".
    PreferencesDialog(MainWindow* main, Settings& settings, int startPage = 0,
                      QList<ThemeEntry> themes = {});

    // The choosers; tests replace them. Each returns nothing when cancelled.
    std::function<std::optional<QColor>(const QColor& start)> chooseColor;
    std::function<std::optional<QFont>(const QFont& start)> chooseFont;
    std::function<QString(const QString& start, const QString& filter)> chooseImage;

    // The control showing a row (by PreferenceRow::Id()), and its companions:
    // "caption", "unit", "spin", "field" or "button".
    QWidget* Control(const QString& id) const;
    QWidget* Companion(const QString& id, const char* part) const;
    QTreeWidget* pageList() const { return pageList_; }
    QLabel* pageTitle() const { return title_; }
    QWidget* PageWidget(int page) const { return pages_.value(page); }
    QWidget* AreaWidget(const QString& page, const QString& area) const;
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* defaultsButton() const { return defaults_; }
    int CurrentPage() const { return currentPage_; }
    void ShowPage(int page);

    // The filter list of the watermark picture chooser.
    static QString ImageFilter();

private:
    struct RowWidgets {
        const PreferenceRow* row = nullptr;
        QLabel* caption = nullptr;
        QWidget* control = nullptr;
        QWidget* unit = nullptr;   // unit drop-down
        QWidget* spin = nullptr;   // the slider's spin box
        QWidget* field = nullptr;  // the colour's read-only field
        QWidget* button = nullptr; // swatch or "..."
    };

    MainWindow* main_;
    Settings& settings_;
    // What OK asks the main window to reload: 0 nothing, 1 the theme, 2 the
    // toolbar's icon size only.
    int reload_ = 0;
    QList<ThemeEntry> themes_;
    QTreeWidget* pageList_ = nullptr;
    QLabel* title_ = nullptr;
    QList<QWidget*> pages_;
    QHash<QString, QWidget*> areas_; // "Page/area"
    QHash<QString, RowWidgets> rows_;
    QList<QString> rowOrder_;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* defaults_ = nullptr;
    int currentPage_ = 0;

    struct RowKinds; // how each kind of row is made, loaded and stored

    QWidget* BuildRows(QWidget* parent, const std::vector<PreferenceRow>& rows);
    void BuildRow(QWidget* parent, const PreferenceRow& row, int k);
    void LoadRow(RowWidgets& w);
    void StoreRow(const RowWidgets& w);
    void ApplyDependencies();
    void ShowArea(const QString& page, const QString& area);

    void OnOk();
    void OnDefaults();
    // Interface reload request from the dialog's theme and size choices.
    void NoteInterfaceChanges();
    void SaveAndApply();

    void PickColour(RowWidgets& w);
    void AddListColour(RowWidgets& w, const char* listKey);
    void PickFont();
    void PickImage();

    const RowWidgets* Row(const QString& id) const;
    void SetRowEnabled(const QString& id, bool on);
    void SetRowVisible(const QString& id, bool on);
};

} // namespace tarvix
