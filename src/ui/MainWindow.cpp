#include "ui/MainWindow.h"

#include "core/AppInfo.h"
#include "core/FormatRegistry.h"
#include "core/StringTable.h"
#include "platform/LocalTime.h"
#include "platform/Paths.h"
#include "request/ConversionRequest.h"
#include "request/InputSelection.h"
#include "settings/OutputHistory.h"
#include "ui/Dialogs.h"
#include "ui/Icons.h"
#include "ui/PreferencesDialog.h"
#include "ui/PreviewWindow.h"
#include "ui/SmallWindows.h"
#include "update/HttpFetch.h"
#include "update/UpdateCheck.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <atomic>
#include <thread>

namespace tarvix {
namespace {

QString MenuText(const char* key) {
    return GetText(QStringLiteral("Menu"), QString::fromLatin1(key));
}
QString GeneralText(const char* key) {
    return GetText(QStringLiteral("General"), QString::fromLatin1(key));
}

QLabel* Caption(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

QString ShortenForDisplay(const QString& text, int max) {
    if (text.isEmpty() || text.size() <= max) return text;
    const int keep = (max - 3) / 2;
    return text.left(keep) + QStringLiteral("...") + text.right(keep);
}

// The widget base destroys the children, and a field losing its focus then
// reports it finished editing: nothing may call back into a window that is
// no longer one.
MainWindow::~MainWindow() {
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

MainWindow::MainWindow(Settings& settings, RunState& state) : settings_(settings), state_(state) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(AppTitle());
    move(settings_.x, settings_.y);
    resize(settings_.width, settings_.height);
    // Only the width can change.
    setMinimumSize(510, 260);
    setMaximumHeight(260);
    setAcceptDrops(true);

    BuildMenu();
    BuildToolbar();

    status_ = new QLabel(this);
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(false);
    statusBarHeight_ = statusBar()->sizeHint().height();

    client_ = new QWidget(this);
    setCentralWidget(client_);
    panel_ = new QWidget(client_);
    panel_->setObjectName(QStringLiteral("ControlPanel"));
    panel_->setGeometry(0, 0, settings_.width, settings_.height - 130);
    Caption(panel_, GeneralText("Input File"), QRect(10, 5, 350, 20));
    inputField_ = new QLineEdit(panel_);
    inputField_->setObjectName(QStringLiteral("InputFileField"));
    inputField_->setGeometry(10, 20, 350, 20);
    // A drop anywhere on the window is the window's: the field would take the
    // dropped address as text.
    inputField_->setAcceptDrops(false);
    Caption(panel_, GeneralText("Output Folder"), QRect(10, 45, 350, 20));
    folderList_ = new QComboBox(panel_);
    folderList_->setObjectName(QStringLiteral("OutputFolderList"));
    folderList_->setGeometry(10, 60, 350, 21);
    Caption(panel_, GeneralText("Output Format"), QRect(10, 85, 350, 20));
    formatList_ = new QComboBox(panel_);
    formatList_->setObjectName(QStringLiteral("OutputFormatList"));
    formatList_->setGeometry(10, 100, 350, 21);
    BuildOptionButtons();
    convertButton_ = new QToolButton(panel_);
    convertButton_->setObjectName(QStringLiteral("ConvertButton"));
    convertButton_->setGeometry(400, 20, 100, 100);
    convertButton_->setIconSize(QSize(64, 64));
    convertButton_->setIcon(CommandIcon(ButtonIds(), QStringLiteral("Convert"), 64));
    convertButton_->setToolTip(MenuText("Convert"));
    convertButton_->setAutoRaise(false);
    OrderTabs();

    // The notice sits in the window's client area, below the panel: its y is
    // counted from the top of the client area, which begins above the toolbar.
    notice_ = new QLabel(ProductNotice(), client_);
    notice_->setObjectName(QStringLiteral("NoticeLabel"));
    notice_->setGeometry(10, height() - 70 - toolbarHeight_, 350, 20);
    notice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(folderList_, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { state_.outputFolder = text; });
    connect(formatList_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        const int i = formatList_->itemData(index).toInt();
        if (i >= 0 && i < OutputExtensions().size()) settings_.outputFormat = OutputExtensions()[i];
    });
    connect(convertButton_, &QToolButton::clicked, this, [this] { BatchRun(); });
    // Typing replaces a dropped list; the preview follows what the field names.
    connect(inputField_, &QLineEdit::textEdited, this, [this] { inputs_.clear(); });
    connect(inputField_, &QLineEdit::editingFinished, this, [this] { RefreshPreview(); });
    connect(formatList_, qOverload<int>(&QComboBox::activated), this, [this] { RefreshPreview(); });
    // F10 opens the menu bar, as on other desktops.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty()) {
            menuBar()->setFocus(Qt::ShortcutFocusReason);
            menuBar()->setActiveAction(menuBar()->actions().first());
        }
    });

    chooseInputFolder = [this](const QString& start) {
        return QFileDialog::getExistingDirectory(this, GetText("Dialog", "Select Input Folder"),
                                                 start);
    };
    chooseInputFile = [this](const QString& filter, const QString& start) {
        return QFileDialog::getOpenFileName(this, GetText("Dialog", "Select Input Files"), start,
                                            filter);
    };
    openUrl = OpenOnDesktop;
    chooseOutputFolder = [this](const QString& start) {
        return QFileDialog::getExistingDirectory(this, GetText("Dialog", "Select Output Folder"),
                                                 start);
    };
}

QAction* MainWindow::MakeAction(CommandId commandId, const QString& caption, const QIcon& icon) {
    auto* action = new QAction(icon, caption, this);
    action->setData(commandId);
    connect(action, &QAction::triggered, this, [this, commandId] { Dispatch(commandId); });
    return action;
}

void MainWindow::BuildMenu() {
    QMenuBar* bar = new QMenuBar(this);
    setMenuBar(bar); // replaces (and deletes) an earlier bar
    struct Item {
        CommandId id;
        const char* key;
        const char* icon;
        QKeySequence shortcut;
    };
    auto add = [&](QMenu* menu, const Item& item) {
        QAction* action =
            MakeAction(item.id, MenuText(item.key), CommandIcon(MenuIds(), item.icon));
        action->setObjectName(QStringLiteral("Command%1").arg(item.id));
        if (!item.shortcut.isEmpty()) action->setShortcut(item.shortcut);
        menu->addAction(action);
    };
    QMenu* file = bar->addMenu(MenuText("File"));
    add(file, {kCommandNew, "New", "New", QKeySequence(Qt::CTRL | Qt::Key_N)});
    file->addSeparator();
    add(file, {kCommandAddInputFile, "Select Input File", "Add", {}});
    add(file, {kCommandAddInputFolder, "Select Input Folder", "InFolder",
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)});
    add(file, {kCommandSelectOutputFolder, "Select Output Folder", "OutFolder", {}});
    file->addSeparator();
    add(file, {kCommandExit, "Exit", "Exit", QKeySequence(Qt::ALT | Qt::Key_X)});
    QMenu* converter = bar->addMenu(MenuText("Converter"));
    add(converter, {kCommandConvert, "Convert", "Convert", QKeySequence(Qt::Key_F5)});
    add(converter, {kCommandPreview, "Preview", "Preview", QKeySequence(Qt::Key_F6)});
    converter->addSeparator();
    add(converter, {kCommandCustomConverter, "Custom Converter", "CustomConverter", {}});
    converter->addSeparator();
    add(converter, {kCommandPreferences, "Preferences", "Preferences", {}});
    QMenu* help = bar->addMenu(MenuText("Help"));
    add(help, {kCommandManual, "Manual", "Help", QKeySequence(Qt::Key_F1)});
    help->addSeparator();
    add(help, {kCommandFeedback, "Send Feedback", "Email", {}});
    add(help, {kCommandHomepage, "Visit Homepage", "Web", {}});
    add(help, {kCommandUpdates, "Check For New Version", "Updates", {}});
    help->addSeparator();
    add(help, {kCommandAbout, "About", "About", {}});
    menuBarHeight_ = bar->sizeHint().height();
}

void MainWindow::BuildToolbar() {
    if (toolbar_) {
        removeToolBar(toolbar_);
        delete toolbar_;
    }
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("MainToolbar"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    const int size = IconSizeForUiSize(settings_.uiSize);
    toolbar_->setIconSize(QSize(size, size));
    auto button = [&](CommandId id, const char* icon, const char* key) {
        QAction* action = MakeAction(id, MenuText(key), CommandIcon(ToolbarIds(), icon, size));
        action->setToolTip(MenuText(key));
        toolbar_->addAction(action);
    };
    button(kCommandNew, "New", "New");
    button(kCommandAddInputFile, "Add", "Select Input File");
    button(kCommandAddInputFolder, "InFolder", "Select Input Folder");
    button(kCommandSelectOutputFolder, "OutFolder", "Select Output Folder");
    toolbar_->addSeparator();
    button(kCommandPreferences, "Preferences", "Preferences");
    toolbar_->addSeparator();
    button(kCommandConvert, "Convert", "Convert");
    button(kCommandPreview, "Preview", "Preview");
    toolbar_->addSeparator();
    button(kCommandManual, "Help", "Manual");
    button(kCommandFeedback, "Email", "Send Feedback");
    button(kCommandHomepage, "Web", "Visit Homepage");
    button(kCommandUpdates, "Updates", "Check For New Version");
    addToolBar(Qt::TopToolBarArea, toolbar_);
    toolbarHeight_ = toolbar_->sizeHint().height();
    if (notice_) notice_->move(10, height() - 70 - toolbarHeight_);
}

void MainWindow::BuildOptionButtons() {
    struct Button {
        CommandId id;
        const char* icon;
        const char* key;
        QPoint at;
    };
    const Button buttons[3] = {
        {kCommandAddInputFile, "Add", "Select Input File", {364, 19}},
        {kCommandSelectOutputFolder, "OutFolder", "Select Output Folder", {364, 59}},
        {kCommandFormatOptions, "OutFormat", "Output Format Options", {396, 99}}};
    for (int n = 0; n < 3; ++n) {
        delete optionButtons_[n];
        auto* bar = new QToolBar(panel_);
        bar->setObjectName(QStringLiteral("OptionButton%1").arg(n + 1));
        bar->setIconSize(QSize(16, 16));
        bar->setMovable(false);
        bar->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"));
        QAction* action = MakeAction(buttons[n].id, MenuText(buttons[n].key),
                                     CommandIcon(MenuIds(), buttons[n].icon));
        action->setToolTip(MenuText(buttons[n].key));
        bar->addAction(action);
        bar->setGeometry(QRect(buttons[n].at, QSize(24, 24)));
        // Reached with Tab after the control it serves.
        if (QWidget* button = bar->widgetForAction(action)) button->setFocusPolicy(Qt::StrongFocus);
        bar->show();
        optionButtons_[n] = bar;
    }
    OrderTabs();
}

void MainWindow::OrderTabs() {
    if (!convertButton_) return;
    auto button = [this](int n) {
        return optionButtons_[n]->widgetForAction(optionButtons_[n]->actions().value(0));
    };
    QWidget* order[] = {inputField_, button(0), folderList_,   button(1),
                        formatList_, button(2), convertButton_};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        if (order[i] && order[i + 1]) setTabOrder(order[i], order[i + 1]);
}

void MainWindow::RefreshControlIcons() {
    convertButton_->setIcon(CommandIcon(ButtonIds(), QStringLiteral("Convert"), 64));
    for (int i = 0; i < folderList_->count(); ++i)
        if (!folderList_->itemText(i).isEmpty())
            folderList_->setItemIcon(i, CommandIcon(MenuIds(), QStringLiteral("FavFolder")));
    for (int i = 0; i < formatList_->count(); ++i)
        formatList_->setItemIcon(i, CommandIcon(MenuIds(), QStringLiteral("New")));
}

void MainWindow::FillFormatList(QComboBox* list, bool withDescriptions) {
    list->clear();
    int selected = 0;
    const QStringList& formats = OutputExtensions();
    for (int i = 0; i < formats.size() && i < 128; ++i) {
        if (formats[i].isEmpty()) continue;
        QString text = formats[i].toUpper();
        if (withDescriptions)
            text += QStringLiteral(" (") + OutputFormat(formats[i]).description + QLatin1Char(')');
        list->addItem(CommandIcon(MenuIds(), QStringLiteral("New")), text, i);
        if (formats[i] == settings_.outputFormat) selected = list->count() - 1;
    }
    list->setCurrentIndex(selected);
}

void MainWindow::FinishSetup() {
    FillFormatRegistry();
    if (settings_.isMaximized) setWindowState(windowState() | Qt::WindowMaximized);
    if (settings_.recentOutFolders.isEmpty()) folderList_->addItem(QString());
    FillFormatList(formatList_, true);
    ClearForNew();
    show();
    LayoutMainWindow();
}

void MainWindow::LayoutMainWindow() {
    const int W = width(), H = height();
    panel_->setGeometry(0, 0, W, H - menuBarHeight_ - toolbarHeight_ - statusBarHeight_ - 40);
    inputField_->resize(W - 160, inputField_->height());
    folderList_->resize(W - 160, folderList_->height());
    formatList_->resize(W - 160, formatList_->height());
    const int ys[3] = {19, 59, 99};
    for (int n = 0; n < 3; ++n)
        optionButtons_[n]->setGeometry(W - 146, ys[n], 24, 24);
    convertButton_->move(W - 110, convertButton_->y());
    notice_->move(10, H - 70 - toolbarHeight_);
    update();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    LayoutMainWindow();
}

void MainWindow::ClearForNew() {
    RefreshOutputFolderList();
    ResetRunState(state_);
    inputs_.clear();
    inputField_->clear();
    // The list keeps its items but shows no folder.
    folderList_->setCurrentIndex(-1);
    state_.outputFolder.clear();
}

void MainWindow::RefreshOutputFolderList() {
    if (settings_.recentOutFolders.isEmpty()) return;
    const QSignalBlocker block(folderList_);
    folderList_->clear();
    int selected = 0;
    for (int i = 0; i < settings_.outFoldersNumber; ++i) {
        const QString entry = RecentOutputFolder(settings_, i);
        if (entry.isEmpty()) continue;
        if (entry == state_.outputFolder) selected = folderList_->count();
        folderList_->addItem(CommandIcon(MenuIds(), QStringLiteral("FavFolder")), entry);
    }
    folderList_->setCurrentIndex(selected);
    state_.outputFolder = folderList_->currentText();
}

bool MainWindow::AcceptInputFile(const QString& path) {
    const bool accepted = SetInputFile(state_, path, [this](const QString& accepted) {
        inputs_.clear();
        inputField_->setText(accepted);
        if (!folderList_->currentText().isEmpty()) return;
        const QString folder =
            state_.cliInputPath.isEmpty() ? FolderOf(accepted) : state_.cliInputPath;
        AddRecentOutputFolder(settings_, folder);
        state_.outputFolder = folder;
        RefreshOutputFolderList();
    });
    if (accepted) RefreshPreview();
    return accepted;
}

bool MainWindow::AcceptInputs(const QStringList& paths) {
    QStringList kept;
    for (const QString& path : paths) {
        if (IsFolder(path))
            kept << (path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/'));
        else if (FileSize(path) != 0 &&
                 state_.acceptedExtensions.contains(ExtensionOf(path).toLower()))
            kept << path;
    }
    if (kept.isEmpty()) return false;
    if (kept.size() == 1 && !kept.first().endsWith(QLatin1Char('/')))
        return AcceptInputFile(kept.first());
    state_.inputList.clear();
    inputs_ = kept;
    inputsSummary_ = kept.size() == 1 ? kept.first()
                                      : kept.first() + QLatin1Char(' ') +
                                            FormatText(GeneralText("And more"),
                                                       QString::number(kept.size() - 1));
    inputField_->setText(inputsSummary_);
    if (folderList_->currentText().isEmpty()) {
        // A folder's pictures go beside its textures, as on the command line.
        const QString folder =
            kept.first().endsWith(QLatin1Char('/')) ? kept.first() : FolderOf(kept.first());
        AddRecentOutputFolder(settings_, folder);
        state_.outputFolder = folder;
        RefreshOutputFolderList();
    }
    RefreshPreview();
    return true;
}

QStringList MainWindow::InputPaths() const {
    const QString text = inputField_->text().trimmed();
    if (!inputs_.isEmpty() && text == inputsSummary_) return inputs_;
    return text.isEmpty() ? QStringList() : QStringList{text};
}

bool MainWindow::SelectInputFolder() {
    const QString chosen = chooseInputFolder(LastChosenFolder());
    const bool accepted = !chosen.isEmpty() && AcceptInputs({chosen});
    if (!chosen.isEmpty()) RememberChosen(chosen);
    LayoutMainWindow();
    return accepted;
}

bool MainWindow::SelectInputFile() {
    // "All Supported Files", then one filter per description, then all files.
    QStringList all;
    QMap<QString, QStringList> byDescription;
    for (const QString& ext : state_.acceptedExtensions) {
        all << QStringLiteral("*.") + ext;
        byDescription[InputFormat(ext).description].prepend(QStringLiteral("*.") + ext);
    }
    QStringList filters{GetText("Dialog", "All Supported Files") + QStringLiteral(" (") +
                        all.join(' ') + ')'};
    for (auto it = byDescription.constBegin(); it != byDescription.constEnd(); ++it)
        filters << it.key() + QStringLiteral(" (") + it.value().join(' ') + ')';
    filters << GetText("Dialog", "All Files") + QStringLiteral(" (*.*)");
    // The dialog opens where the user last chose something, not in the folder
    // the program was started from.
    const QString start =
        state_.currentInputFile.isEmpty() ? LastChosenFolder() : state_.currentInputFile;
    const QString chosen = chooseInputFile(filters.join(QStringLiteral(";;")), start);
    const bool accepted = !chosen.isEmpty() && AcceptInputFile(chosen);
    RememberChosen(chosen);
    state_.currentInputFile.clear();
    LayoutMainWindow();
    return accepted;
}

void MainWindow::SelectOutputFolder() {
    QString start = FolderOf(folderList_->currentText());
    if (start.isEmpty()) start = LastChosenFolder();
    QString chosen = chooseOutputFolder(start);
    RememberChosen(chosen);
    if (!chosen.isEmpty() && IsFolder(chosen)) {
        if (!chosen.endsWith('/')) chosen += '/';
        AddRecentOutputFolder(settings_, chosen);
        state_.outputFolder = chosen;
        RefreshOutputFolderList();
    }
    LayoutMainWindow();
}

void MainWindow::SetStatusText(const QString& text) {
    status_->setText(text);
}
QString MainWindow::StatusText() const {
    return status_->text();
}

void MainWindow::Dispatch(CommandId commandId) {
    switch (commandId) {
    case kCommandNew:
        ClearForNew();
        break;
    case kCommandExit:
        quit_ = true;
        close();
        break;
    case kCommandAddInputFile:
        SelectInputFile();
        break;
    case kCommandAddInputFolder:
        SelectInputFolder();
        break;
    case kCommandPreview:
        ShowPreview();
        break;
    case kCommandSelectOutputFolder:
        SelectOutputFolder();
        break;
    case kCommandConvert:
        BatchRun();
        break;
    case kCommandPreferences:
        OpenPreferences(kPageGeneral);
        break;
    case kCommandFormatOptions:
        OpenPreferences(kPageOutput);
        break;
    case kCommandUpdates:
        CheckForUpdates();
        break;
    case kCommandCustomConverter: {
        CustomConverterDialog dialog(this, openUrl);
        dialog.exec();
        activateWindow();
        break;
    }
    case kCommandManual:
        // A missing manual opens nothing, as the desktop would show only an error.
        if (const QUrl manual = ManualUrl(); !manual.isEmpty()) openUrl(manual);
        break;
    case kCommandFeedback:
        openUrl(FeedbackUrl());
        break;
    case kCommandHomepage:
        openUrl(QUrl(ProductPage(), QUrl::StrictMode));
        break;
    case kCommandAbout: {
        AboutWindow about(this, openUrl);
        about.exec();
        activateWindow();
        break;
    }
    default:
        break;
    }
}

void MainWindow::CheckForUpdates() {
    if (checkingUpdates_) return;
    checkingUpdates_ = true;
    // The fetch may wait up to its whole time limit: the window keeps painting
    // but takes no commands meanwhile.
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    QString answer;
    std::atomic<bool> done{false};
    QEventLoop loop;
    const QString url = VersionFileUrl();
    const int timeout = updateTimeoutMs;
    std::thread fetch([&] {
        answer = FetchUrlText(url, AppTitle(), timeout);
        done = true;
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    if (!done) loop.exec();
    fetch.join();
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    checkingUpdates_ = false;

    const QString msg = QStringLiteral("Msg");
    switch (ClassifyVersionText(answer)) {
    case UpdateAnswer::ConnectionProblem:
        ShowMessage(this, MessageKind::Error, GetText(msg, QStringLiteral("Error")),
                    GetText(msg, QStringLiteral("Internet connection problems")));
        break;
    case UpdateAnswer::NewVersion:
        if (AskYesNo(this, GetText(msg, QStringLiteral("New Update")),
                     GetText(msg, QStringLiteral("New Update Text")), MessageKind::Question))
            openUrl(QUrl(ProductPage()));
        break;
    case UpdateAnswer::UpToDate:
        ShowMessage(this, MessageKind::Information, GetText(msg, QStringLiteral("No Update")),
                    GetText(msg, QStringLiteral("No Update Text")));
        break;
    }
}

void MainWindow::ScheduledUpdateCheck() {
    if (!UpdateCheckDue(settings_, LocalNowSeconds())) return;
    const QString msg = QStringLiteral("Msg");
    const bool yes =
        AskYesNo(this, GetText(msg, QStringLiteral("Check for Updates")),
                 GetText(msg, QStringLiteral("Ask check for updates")), MessageKind::Question);
    if (yes) CheckForUpdates();
    settings_.updateDate = int32_t(LocalNowSeconds());
}

void MainWindow::OpenPreferences(int page) {
    PreferencesDialog dialog(this, settings_, page, themes_);
    dialog.exec();
    activateWindow();
}

void MainWindow::ApplyPreferences(int outputFormatIndex, int reload) {
    if (reload == 2) {
        LoadTheme(settings_, themes_, false, false, true);
        BuildToolbar();
        LayoutMainWindow();
    } else if (reload == 1) {
        LoadTheme(settings_, themes_, true, true, true);
        BuildMenu();
        BuildToolbar();
        BuildOptionButtons();
        RefreshControlIcons();
        LayoutMainWindow();
    }
    if (outputFormatIndex >= 0 && outputFormatIndex < formatList_->count())
        formatList_->setCurrentIndex(outputFormatIndex);
    if (folderList_->count() != settings_.outFoldersNumber) RefreshOutputFolderList();
    RefreshPreview();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // While a conversion runs the window is disabled and cannot be closed.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    quit_ = true;
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    // Every local file and folder of a drop is taken; what is not local, or
    // cannot be converted, is left out.
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) paths << url.toLocalFile();
    if (paths.isEmpty() || !isEnabled()) return;
    if (AcceptInputs(paths)) event->acceptProposedAction();
}

} // namespace tarvix
