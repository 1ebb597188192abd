#pragma once
// The main window: input file, output folder and format, the Convert button,
// menu bar, toolbar and status bar, and the dispatch of every command.

#include "core/RunState.h"
#include "settings/Settings.h"
#include "theme/Themes.h"

#include <QMainWindow>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;
class QUrl;

namespace tarvix {

enum CommandId {
    kCommandNew = 0,
    kCommandExit = 3,
    kCommandAddInputFile = 5,
    kCommandAddInputFolder = 6,
    kCommandSelectOutputFolder = 7,
    kCommandFormatOptions = 8,
    kCommandConvert = 14,
    kCommandCustomConverter = 16,
    kCommandPreferences = 17,
    kCommandManual = 18,
    kCommandFeedback = 21,
    kCommandHomepage = 22,
    kCommandUpdates = 23,
    kCommandAbout = 24,
    kCommandPreview = 25,
};

class PreviewWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Settings& settings, RunState& state);
    ~MainWindow() override;

    // Second start-up step: registry, maximised state, lists, New; ends visible.
    void FinishSetup();
    void Dispatch(CommandId commandId);

    void BuildMenu();
    void BuildToolbar();
    void BuildOptionButtons();
    // Tab runs down the fields, each followed by the small button beside it.
    void OrderTabs();
    void RefreshControlIcons();
    void FillFormatList(QComboBox* list, bool withDescriptions);
    void LayoutMainWindow();
    void ClearForNew();
    void RefreshOutputFolderList();
    bool SelectInputFile();
    bool SelectInputFolder();
    void SelectOutputFolder();
    // Accepts a chosen file as the input.
    bool AcceptInputFile(const QString& path);
    // Accepts dropped or chosen files and folders: one file as AcceptInputFile
    // does, folders and several files as one run's input (the field shows the
    // first and how many more). What cannot be converted is left out; false
    // when nothing was left.
    bool AcceptInputs(const QStringList& paths);
    // What Convert will read: the field's text, or the dropped list while the
    // field still shows it.
    QStringList InputPaths() const;
    void SetStatusText(const QString& text);
    QString StatusText() const;
    bool QuitRequested() const { return quit_; }

    // The Convert command: checks, progress window, outcome.
    void BatchRun();
    // The Preview command: opens (or raises) the preview window, showing the
    // current input with the current settings.
    void ShowPreview();
    // Hands the preview window the current input and settings, when it is open.
    void RefreshPreview();
    PreviewWindow* previewWindow() const { return preview_; }

    // Opens the preferences dialog on a page and runs it until it closes.
    void OpenPreferences(int page);
    // Help › Check For a New Version: fetches the version file off the window's
    // thread (the window waits, disabled, with a busy cursor) and answers.
    void CheckForUpdates();
    // The start-up check when the schedule says it is due; "Update Date" moves
    // to now whatever the answer.
    void ScheduledUpdateCheck();
    // The whole fetch's time limit; tests shorten it.
    int updateTimeoutMs = 10000;
    // Hands a web page, mail link or document to the desktop; tests replace it.
    std::function<void(const QUrl&)> openUrl;

    // The themes found at start, offered by the preferences dialog.
    void SetThemes(QList<ThemeEntry> themes) { themes_ = std::move(themes); }
    // Brings the window in line after the preferences were stored: the theme or
    // the toolbar's icon size reloaded as requested (reload: 0 nothing, 1 the
    // theme, 2 the icon size only), the output format of the dialog's list
    // selected, the folder history refilled.
    void ApplyPreferences(int outputFormatIndex, int reload = 0);

    // The file and folder choosers; tests replace them.
    std::function<QString(const QString& filter, const QString& start)> chooseInputFile;
    std::function<QString(const QString& start)> chooseOutputFolder;
    std::function<QString(const QString& start)> chooseInputFolder;

    // Controls, for the conversion run and for tests.
    QWidget* controlPanel() const { return panel_; }
    QLineEdit* inputFileField() const { return inputField_; }
    QComboBox* outputFolderList() const { return folderList_; }
    QComboBox* outputFormatList() const { return formatList_; }
    QToolButton* convertButton() const { return convertButton_; }
    QToolBar* mainToolbar() const { return toolbar_; }
    QToolBar* optionButton(int n) const { return optionButtons_[n - 1]; }
    QLabel* noticeLabel() const { return notice_; }
    Settings& settings() { return settings_; }
    RunState& runState() { return state_; }

    // Measured once, right after each bar is created.
    int menuBarHeight() const { return menuBarHeight_; }
    int toolbarHeight() const { return toolbarHeight_; }
    int statusBarHeight() const { return statusBarHeight_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    Settings& settings_;
    RunState& state_;
    QWidget* client_ = nullptr;
    QWidget* panel_ = nullptr;
    QLineEdit* inputField_ = nullptr;
    QComboBox* folderList_ = nullptr;
    QComboBox* formatList_ = nullptr;
    QToolButton* convertButton_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QToolBar* optionButtons_[3] = {nullptr, nullptr, nullptr};
    QLabel* notice_ = nullptr;
    QLabel* status_ = nullptr;
    int menuBarHeight_ = 0;
    int toolbarHeight_ = 0;
    int statusBarHeight_ = 0;
    bool quit_ = false;
    bool checkingUpdates_ = false;
    QList<ThemeEntry> themes_;
    // A drop of several files or folders, kept while the field shows its summary.
    QStringList inputs_;
    QString inputsSummary_;
    PreviewWindow* preview_ = nullptr;

    QAction* MakeAction(CommandId commandId, const QString& captionKey, const QIcon& icon);
};

// Shortens a text longer than max characters to its start, "..." and its end.
QString ShortenForDisplay(const QString& text, int max);

} // namespace tarvix
