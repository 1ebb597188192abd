#include "ui/PreferencesDialog.h"

#include "core/AppInfo.h"
#include "core/FormatRegistry.h"
#include "core/StringTable.h"
#include "settings/Config.h"
#include "settings/SettingsTable.h"
#include "settings/ValueParse.h"
#include "ui/Dialogs.h"
#include "ui/Icons.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTimeZone>
#include <QTreeWidget>
#include <cmath>
#include <limits>

namespace tarvix {
namespace {

QString Pref(const char* key) {
    return GetText(QStringLiteral("Preferences"), QString::fromLatin1(key));
}
QString Dialog(const char* key) {
    return GetText(QStringLiteral("Dialog"), QString::fromLatin1(key));
}

const SettingDef* Def(const PreferenceRow& row) {
    if (!row.group || !row.key) return nullptr;
    return FindSetting(QString::fromLatin1(row.group), QString::fromLatin1(row.key));
}

QString HexOf(const Rgb& c) {
    return QStringLiteral("%1%2%3")
        .arg(c.red, 2, 16, QLatin1Char('0'))
        .arg(c.green, 2, 16, QLatin1Char('0'))
        .arg(c.blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QColor ToQColor(const Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

QIcon ColourIcon(const QColor& colour, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// Texts that must stay on one line: blanks trimmed, tabs and line breaks gone.
QString OneLine(QString text) {
    text.remove(QLatin1Char('\t')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    return TrimBlanks(text);
}

QStringList CommaList(const QString& text) {
    QStringList items;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString trimmed = TrimBlanks(part);
        if (!trimmed.isEmpty()) items << trimmed;
    }
    return items;
}

// A spin box that takes any whole number as it is typed and brings it into its
// range at once, as the design's spin fields do (typing 150 where 100 is the
// most gives 100).
class ClampingSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

    void Attach() {
        connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
            bool ok = false;
            const qlonglong typed = text.toLongLong(&ok);
            if (!ok) return;
            const qlonglong clamped = std::clamp<qlonglong>(typed, minimum(), maximum());
            if (clamped != typed) {
                setValue(int(clamped));
                lineEdit()->setText(QString::number(clamped));
            }
        });
    }

protected:
    QValidator::State validate(QString& text, int&) const override {
        static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]{0,10}$"));
        if (!digits.match(text).hasMatch()) return QValidator::Invalid;
        bool ok = false;
        text.toLongLong(&ok);
        return ok ? QValidator::Acceptable : QValidator::Intermediate;
    }
    int valueFromText(const QString& text) const override {
        return int(std::clamp<qlonglong>(text.toLongLong(), minimum(), maximum()));
    }
};

// Gamma: any decimal number, brought into 0.01..9.99 and shown with two
// decimals once typing ends.
class GammaSpinBox : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;

protected:
    QValidator::State validate(QString& text, int&) const override {
        static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]{0,6}([.][0-9]{0,6})?$"));
        if (!number.match(text).hasMatch()) return QValidator::Invalid;
        bool ok = false;
        text.toDouble(&ok);
        return ok ? QValidator::Acceptable : QValidator::Intermediate;
    }
    double valueFromText(const QString& text) const override {
        const double v = std::round(text.toDouble() * 100.0) / 100.0;
        return std::clamp(v, minimum(), maximum());
    }
    QString textFromValue(double value) const override { return QString::number(value, 'f', 2); }
};

constexpr int kPageCount = 9;

// A page or area whose rows do not fit scrolls: the widget placed on the page
// and the one its rows go into (the same widget when it does not scroll).
// Inside a page that scrolls, a drop-down, spin box or slider takes the wheel
// only once focused: otherwise the wheel scrolls the page the user is reading.
class WheelOnlyWhenFocused : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->hasFocus()) return false;
        event->ignore(); // handed on to the scrolling page
        return true;
    }
};

void KeepWheelForScrolling(QWidget* inner) {
    auto* filter = new WheelOnlyWhenFocused(inner);
    const QList<QWidget*> controls = inner->findChildren<QWidget*>();
    for (QWidget* control : controls)
        if (qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractSpinBox*>(control) ||
            qobject_cast<QAbstractSlider*>(control)) {
            if (control->focusPolicy() == Qt::WheelFocus) control->setFocusPolicy(Qt::StrongFocus);
            control->installEventFilter(filter);
        }
}

std::pair<QWidget*, QWidget*> Scrolling(QWidget* parent, int innerHeight) {
    if (innerHeight <= 0) {
        auto* plain = new QWidget(parent);
        return {plain, plain};
    }
    auto* scroll = new QScrollArea(parent);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* inner = new QWidget;
    inner->setFixedSize(420, innerHeight);
    scroll->setWidget(inner);
    scroll->verticalScrollBar()->setSingleStep(10);
    return {scroll, inner};
}

} // namespace

QString ColorLabel(const QString& colorText) {
    static const char* const named[][2] = {
        {"000000", "Black"},  {"C0C0C0", "Silver"}, {"808080", "Gray"},   {"FFFFFF", "White"},
        {"800000", "Maroon"}, {"FF0000", "Red"},    {"800080", "Purple"}, {"FF00FF", "Fuchsia"},
        {"008000", "Green"},  {"00FF00", "Lime"},   {"808000", "Olive"},  {"FFFF00", "Yellow"},
        {"000080", "Navy"},   {"0000FF", "Blue"},   {"008080", "Teal"},   {"00FFFF", "Aqua"},
        {"FF8000", "Orange"}, {"804000", "Brown"},  {"8000FF", "Violet"}};
    const QString upper = colorText.toUpper();
    for (const auto& entry : named)
        if (upper == QLatin1String(entry[0])) return Pref(entry[1]);
    return Pref("Color") + QStringLiteral(" #") + upper;
}

QString PreferencesDialog::ImageFilter() {
    const QString jpeg = QStringLiteral("*.jpg *.jpeg *.jpe *.jif");
    const QString png = QStringLiteral("*.png");
    const QString bmp = QStringLiteral("*.bmp *.rle *.dib");
    auto entry = [](const QString& caption, const QString& patterns) {
        return caption + QStringLiteral(" (") + patterns + QLatin1Char(')');
    };
    return QStringList{entry(Dialog("All Supported Files"),
                             jpeg + QLatin1Char(' ') + png + QLatin1Char(' ') + bmp),
                       entry(InputFormat(QStringLiteral("jpg")).description, jpeg),
                       entry(InputFormat(QStringLiteral("png")).description, png),
                       entry(InputFormat(QStringLiteral("bmp")).description, bmp),
                       Dialog("All Files") + QStringLiteral(" (*)")}
        .join(QStringLiteral(";;"));
}

PreferencesDialog::PreferencesDialog(MainWindow* main, Settings& settings, int startPage,
                                     QList<ThemeEntry> themes)
    : QDialog(main), main_(main), settings_(settings), themes_(std::move(themes)) {
    setObjectName(QStringLiteral("PreferencesDialog"));
    setWindowTitle(Pref("Title"));
    setFixedSize(600, 350);
    setModal(true);
    FillFormatRegistry();

    pageList_ = new QTreeWidget(this);
    pageList_->setObjectName(QStringLiteral("PageList"));
    pageList_->setGeometry(10, 10, 120, 295);
    pageList_->setHeaderHidden(true);
    pageList_->setRootIsDecorated(false);
    pageList_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const PreferencePage& page : PreferencePages())
        pageList_->addTopLevelItem(new QTreeWidgetItem(QStringList{Pref(page.key)}));

    auto* strip = new QFrame(this);
    strip->setGeometry(140, 10, 450, 30);
    strip->setFrameShape(QFrame::Box);
    strip->setAutoFillBackground(true);
    QPalette white = strip->palette();
    white.setColor(QPalette::Window, Qt::white);
    strip->setPalette(white);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("PageTitle"));
    title_->setGeometry(150, 17, 330, 20);
    QFont titleFont = QApplication::font();
    titleFont.setPointSize(10);
    titleFont.setBold(true);
    title_->setFont(titleFont);

    for (const PreferencePage& page : PreferencePages()) {
        const auto [container, inner] = Scrolling(this, page.innerHeight);
        container->setObjectName(QStringLiteral("Page/") + QLatin1String(page.key));
        container->setGeometry(140, 50, 450, 255);
        BuildRows(inner, page.rows);
        for (const PreferenceArea& area : page.areas) {
            const auto [box, areaInner] = Scrolling(inner, area.innerHeight);
            const QString name = QLatin1String(page.key) + QLatin1Char('/') + area.name;
            box->setObjectName(QStringLiteral("Area/") + name);
            box->setGeometry(0, 40, 450, 215);
            box->hide();
            areas_.insert(name, box);
            BuildRows(areaInner, area.rows);
            if (area.innerHeight > 0) KeepWheelForScrolling(areaInner);
        }
        if (page.innerHeight > 0) KeepWheelForScrolling(inner);
        container->hide();
        pages_ << container;
    }

    defaults_ = new QPushButton(Dialog("Defaults"), this);
    defaults_->setGeometry(10, 315, 80, 25);
    ok_ = new QPushButton(Dialog("OK"), this);
    ok_->setGeometry(420, 315, 80, 25);
    ok_->setDefault(true);
    cancel_ = new QPushButton(Dialog("Cancel"), this);
    cancel_->setGeometry(510, 315, 80, 25);
    connect(ok_, &QPushButton::clicked, this, &PreferencesDialog::OnOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults_, &QPushButton::clicked, this, &PreferencesDialog::OnDefaults);
    connect(pageList_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) ShowPage(pageList_->indexOfTopLevelItem(item));
    });

    chooseColor = [this](const QColor& start) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(start, this);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    chooseFont = [this](const QFont& start) -> std::optional<QFont> {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, start, this);
        return ok ? std::optional<QFont>(f) : std::nullopt;
    };
    chooseImage = [this](const QString& start, const QString& filter) {
        return QFileDialog::getOpenFileName(this, Dialog("Select Watermark Image"), start, filter);
    };

    for (const QString& id : rowOrder_)
        LoadRow(rows_[id]);
    ApplyDependencies();

    ShowPage(std::clamp(startPage, 0, kPageCount - 1));
    pageList_->setFocus();
    if (main_) move(main_->geometry().center() - QPoint(width() / 2, height() / 2));
}

// How each kind of row is made (its widgets and their signals), shows its
// setting and stores it back: one handler a kind.
struct PreferencesDialog::RowKinds {
    using RowWidgets = PreferencesDialog::RowWidgets;
    struct Handler {
        void (*create)(PreferencesDialog& d, QWidget* parent, RowWidgets& w, int k);
        void (*load)(PreferencesDialog& d, RowWidgets& w, const SettingDef* def);
        void (*store)(PreferencesDialog& d, const RowWidgets& w, const SettingDef& def);
    };
    static const Handler& Of(RowKind kind);

    static QComboBox* ComboOf(const RowWidgets& w) { return static_cast<QComboBox*>(w.control); }
    static QLineEdit* EditOf(const RowWidgets& w) { return static_cast<QLineEdit*>(w.control); }
    static int Number(const PreferencesDialog& d, const SettingDef* def) {
        return def ? GetNumber(d.settings_, *def) : 0;
    }
    static QString Name(const RowWidgets& w, const char* part) {
        return w.row->Id() + QLatin1Char(':') + QLatin1String(part);
    }
    static QComboBox* NewCombo(QWidget* parent, int k, int width) {
        auto* combo = new QComboBox(parent);
        combo->setGeometry(170, 10 + 30 * k, width, 21);
        return combo;
    }
    static QLineEdit* NewEdit(QWidget* parent, int k, int width) {
        auto* edit = new QLineEdit(parent);
        edit->setGeometry(170, 10 + 30 * k, width, 20);
        // A long text must come back whole, not cut at the field's usual limit.
        edit->setMaxLength(std::numeric_limits<int>::max());
        return edit;
    }
    // The "..." button beside a field, calling pick.
    static void Dots(PreferencesDialog& d, QWidget* parent, RowWidgets& w, int k,
                     std::function<void()> pick) {
        auto* button = new QPushButton(QStringLiteral("..."), parent);
        button->setObjectName(Name(w, "button"));
        button->setGeometry(389, 9 + 30 * k, 22, 22);
        QObject::connect(button, &QPushButton::clicked, &d, std::move(pick));
        w.button = button;
    }
    // A stored code without an item shows (and then stores) the first one.
    static void SelectIndex(QComboBox* combo, int index) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : 0);
    }
    static const SettingDef* UnitDef(const PreferenceRow& row) {
        return row.unitKey
                   ? FindSetting(QString::fromLatin1(row.group), QString::fromLatin1(row.unitKey))
                   : nullptr;
    }

    // Combo: a drop-down whose setting holds the selected index, or, for the
    // special rows, a text or depth the items stand for.
    static void CreateCombo(PreferencesDialog&, QWidget* parent, RowWidgets& w, int k) {
        w.control = NewCombo(parent, k, 240);
    }
    static void LoadCombo(PreferencesDialog& d, RowWidgets& w, const SettingDef* def) {
        const PreferenceRow& row = *w.row;
        QComboBox* combo = ComboOf(w);
        const Settings& s = d.settings_;
        switch (row.special) {
        case RowSpecial::Language:
            combo->addItem(QStringLiteral("English"));
            combo->setCurrentIndex(0);
            return;
        case RowSpecial::Theme: {
            QList<ThemeEntry> sorted = d.themes_;
            std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
                return a.id.compare(b.id, Qt::CaseInsensitive) < 0;
            });
            int selected = 0;
            for (const ThemeEntry& theme : sorted) {
                if (theme.name.isEmpty()) continue;
                if (theme.id == s.uiTheme) selected = combo->count();
                combo->addItem(theme.name, theme.id);
            }
            if (combo->count() == 0) combo->addItem(Pref("None"), QString());
            combo->setCurrentIndex(selected);
            return;
        }
        case RowSpecial::InputFormat: {
            const QStringList& formats = InputExtensions();
            int selected = 0;
            for (const QString& format : formats) {
                if (format.isEmpty()) continue;
                if (format == s.inputFormat) selected = combo->count();
                combo->addItem(CommandIcon(MenuIds(), QStringLiteral("New")), format.toUpper(),
                               format);
            }
            combo->setCurrentIndex(selected);
            return;
        }
        case RowSpecial::OutputFormat:
            if (d.main_) d.main_->FillFormatList(combo, true);
            return;
        case RowSpecial::Bpp: {
            combo->addItem(Pref("Auto"));
            for (const QString& bpp : BppList(QString::fromLatin1(row.format))
                                          .split(QLatin1Char(','), Qt::SkipEmptyParts))
                combo->addItem(bpp);
            const int value = Number(d, def);
            combo->setCurrentIndex(value == 0 ? 0 : combo->findText(QString::number(value)));
            return;
        }
        case RowSpecial::None:
            break;
        }
        if (row.words != VocabularyKind::None) {
            for (const QString& key : DialogLabelKeys(
                     row.words, row.format ? QString::fromLatin1(row.format) : QString()))
                combo->addItem(GetText(QStringLiteral("Preferences"), key));
        } else {
            for (const char* item : row.items)
                combo->addItem(Pref(item));
        }
        SelectIndex(combo, Number(d, def));
    }
    static void StoreCombo(PreferencesDialog& d, const RowWidgets& w, const SettingDef& def) {
        QComboBox* combo = ComboOf(w);
        Settings& s = d.settings_;
        switch (w.row->special) {
        case RowSpecial::Language:
            SetText(s, def, QStringLiteral("en"));
            return;
        case RowSpecial::Theme:
        case RowSpecial::InputFormat:
            SetText(s, def, combo->currentData().toString());
            return;
        case RowSpecial::OutputFormat:
            SetText(s, def, OutputExtensions().value(combo->currentData().toInt()));
            return;
        case RowSpecial::Bpp:
            SetNumber(s, def, combo->currentIndex() > 0 ? combo->currentText().toInt() : 0);
            return;
        case RowSpecial::None:
            SetNumber(s, def, std::max(0, combo->currentIndex()));
            return;
        }
    }

    static void CreateCheck(PreferencesDialog&, QWidget* parent, RowWidgets& w, int k) {
        auto* check = new QCheckBox(parent);
        check->setGeometry(170, 10 + 30 * k, 240, 20);
        w.control = check;
    }
    static void LoadCheck(PreferencesDialog& d, RowWidgets& w, const SettingDef* def) {
        static_cast<QCheckBox*>(w.control)->setChecked(Number(d, def) != 0);
    }
    static void StoreCheck(PreferencesDialog& d, const RowWidgets& w, const SettingDef& def) {
        SetNumber(d.settings_, def, static_cast<QCheckBox*>(w.control)->isChecked() ? 1 : 0);
    }

    // Edit and ImageChooser: a text field (with "..." for the picture).
    static void CreateEdit(PreferencesDialog&, QWidget* parent, RowWidgets& w, int k) {
        w.control = NewEdit(parent, k, 240);
    }
    static void CreateImageChooser(PreferencesDialog& d, QWidget* parent, RowWidgets& w, int k) {
        w.control = NewEdit(parent, k, 214);
        Dots(d, parent, w, k, [&d] { d.PickImage(); });
    }
    static void LoadText(PreferencesDialog& d, RowWidgets& w, const SettingDef* def) {
        EditOf(w)->setText(def ? GetText(d.settings_, *def) : QString());
        EditOf(w)->setCursorPosition(0); // show where the text begins
    }
    static void StoreText(PreferencesDialog& d, const RowWidgets& w, const SettingDef& def) {
        SetText(d.settings_, def, OneLine(EditOf(w)->text()));
    }

    // Number and NumberUnit: a digits-only field and a unit drop-down, of one
    // fixed item or of the unit setting's words.
    static void CreateNumber(PreferencesDialog&, QWidget* parent, RowWidgets& w, int k) {
        const PreferenceRow& row = *w.row;
        auto* edit = new QLineEdit(parent);
        edit->setGeometry(170, 10 + 30 * k, 160, 20);
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9]{0,10}")), edit));
        w.control = edit;
        QStringList items;
        if (const SettingDef* unit = UnitDef(row))
            items = DialogLabelKeys(unit->vocabulary);
        else
            for (const char* item : row.items)
                items << QString::fromLatin1(item);
        auto* combo = new QComboBox(parent);
        combo->setObjectName(Name(w, "unit"));
        int widest = 0;
        for (const QString& item : items) {
            const QString text = GetText(QStringLiteral("Preferences"), item);
            combo->addItem(text);
            widest = std::max(widest, combo->fontMetrics().horizontalAdvance(text));
        }
        // The designed 70 pixels, or what the desktop font needs for the word
        // and the arrow, taken from the number field beside it.
        const int width = std::max(70, widest + 34);
        combo->setGeometry(410 - width, 9 + 30 * k, width, 21);
        w.unit = combo;
        edit->resize(combo->x() - 10 - 170, edit->height());
    }
    static void LoadNumber(PreferencesDialog& d, RowWidgets& w, const SettingDef* def) {
        EditOf(w)->setText(QString::number(Number(d, def)));
        auto* unit = static_cast<QComboBox*>(w.unit);
        const int code = Number(d, UnitDef(*w.row));
        unit->setCurrentIndex(code >= 0 && code < unit->count() ? code : 0);
    }
    static void StoreNumber(PreferencesDialog& d, const RowWidgets& w, const SettingDef& def) {
        SetNumber(d.settings_, def, ParseOptionInteger(EditOf(w)->text()));
        if (const SettingDef* unit = UnitDef(*w.row))
            SetNumber(d.settings_, *unit,
                      std::max(0, static_cast<QComboBox*>(w.unit)->currentIndex()));
    }

    // Slider: a track bar and a spin box showing one value, kept in step.
    static void CreateSlider(PreferencesDialog&, QWidget* parent, RowWidgets& w, int k) {
        const PreferenceRow& row = *w.row;
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setGeometry(170, 10 + 30 * k, 170, 20);
        w.control = slider;
        if (row.scale == SliderScale::Gamma) {
            slider->setRange(row.minimum, row.maximum);
            auto* spin = new GammaSpinBox(parent);
            spin->setLocale(QLocale::c());
            spin->setDecimals(2);
            spin->setRange(row.minimum / 100.0, row.maximum / 100.0);
            spin->setSingleStep(0.01);
            spin->setKeyboardTracking(true);
            QObject::connect(slider, &QSlider::valueChanged, spin, [spin](int v) {
                if (int(std::lround(spin->value() * 100)) != v) spin->setValue(v / 100.0);
            });
            QObject::connect(spin, &QDoubleSpinBox::valueChanged, slider,
                             [slider](double v) { slider->setValue(int(std::lround(v * 100))); });
            w.spin = spin;
        } else {
            const int offset = row.scale == SliderScale::Offset100 ? 100 : 0;
            slider->setRange(row.minimum + offset, row.maximum + offset);
            auto* spin = new ClampingSpinBox(parent);
            spin->setRange(row.minimum, row.maximum);
            spin->Attach();
            QObject::connect(slider, &QSlider::valueChanged, spin,
                             [spin, offset](int v) { spin->setValue(v - offset); });
            QObject::connect(spin, &QSpinBox::valueChanged, slider,
                             [slider, offset](int v) { slider->setValue(v + offset); });
            w.spin = spin;
        }
        w.spin->setObjectName(Name(w, "spin"));
        w.spin->setGeometry(340, 10 + 30 * k, 70, 20);
    }
    static void LoadSlider(PreferencesDialog& d, RowWidgets& w, const SettingDef* def) {
        const PreferenceRow& row = *w.row;
        auto* slider = static_cast<QSlider*>(w.control);
        if (row.scale == SliderScale::Gamma) {
            const float gamma = def ? GetReal(d.settings_, *def) : 1.0f;
            // An unusable stored gamma shows as the nearest value the range has.
            const double hundredths = std::isnan(gamma) ? 100.0 : std::round(double(gamma) * 100.0);
            const int value = int(std::clamp(hundredths, double(row.minimum), double(row.maximum)));
            slider->setValue(value);
            static_cast<QDoubleSpinBox*>(w.spin)->setValue(value / 100.0);
        } else {
            const int value = std::clamp(Number(d, def), row.minimum, row.maximum);
            static_cast<QSpinBox*>(w.spin)->setValue(value);
            slider->setValue(value + (row.scale == SliderScale::Offset100 ? 100 : 0));
        }
    }
    static void StoreSlider(PreferencesDialog& d, const RowWidgets& w, const SettingDef& def) {
        if (w.row->scale == SliderScale::Gamma)
            SetReal(d.settings_, def,
                    float(std::lround(static_cast<QDoubleSpinBox*>(w.spin)->value() * 100)) /
                        100.0f);
        else
            SetNumber(d.settings_, def, static_cast<QSpinBox*>(w.spin)->value());
    }

    // Colour: a swatch button and a read-only field with the six digits.
    static void CreateColour(PreferencesDialog& d, QWidget* parent, RowWidgets& w, int k) {
        auto* swatch = new QPushButton(parent);
        swatch->setObjectName(Name(w, "button"));
        swatch->setGeometry(170, 9 + 30 * k, 44, 22);
        swatch->setIconSize(QSize(34, 12));
        auto* field = new QLineEdit(parent);
        field->setObjectName(Name(w, "field"));
        field->setGeometry(220, 10 + 30 * k, 190, 20);
        field->setReadOnly(true);
        w.button = swatch;
        w.field = field;
        w.control = field;
        const QString id = w.row->Id();
        QObject::connect(swatch, &QPushButton::clicked, &d,
                         [&d, id] { d.PickColour(d.rows_[id]); });
    }
    static void LoadColour(PreferencesDialog& d, RowWidgets& w, const SettingDef* def) {
        const QString hex = HexOf(ColorText(def ? GetText(d.settings_, *def) : QString()));
        static_cast<QLineEdit*>(w.field)->setText(hex);
        static_cast<QPushButton*>(w.button)->setIcon(
            ColourIcon(ToQColor(ColorText(hex)), QSize(34, 12)));
    }
    static void StoreColour(PreferencesDialog& d, const RowWidgets& w, const SettingDef& def) {
        SetText(d.settings_, def, static_cast<QLineEdit*>(w.field)->text());
    }

    // ColourList: a drop-down of the colours of a comma list, and "..." to add one.
    static bool FontColours(const RowWidgets& w) {
        return QLatin1String(w.row->key) == QLatin1String("Font Color");
    }
    static void CreateColourList(PreferencesDialog& d, QWidget* parent, RowWidgets& w, int k) {
        w.control = NewCombo(parent, k, 214);
        const QString id = w.row->Id();
        const char* list = FontColours(w) ? "Font Colors" : "Back Colors";
        Dots(d, parent, w, k, [&d, id, list] { d.AddListColour(d.rows_[id], list); });
    }
    static void LoadColourList(PreferencesDialog& d, RowWidgets& w, const SettingDef*) {
        const Settings& s = d.settings_;
        const bool font = FontColours(w);
        const Rgb current = ColorText(font ? s.fontColor : s.backColor);
        QComboBox* combo = ComboOf(w);
        int selected = 0;
        for (const QString& entry : CommaList(font ? s.fontColors : s.backColors)) {
            const Rgb rgb = ColorText(entry);
            if (rgb == current) selected = combo->count();
            combo->addItem(ColourIcon(ToQColor(rgb), QSize(16, 16)), ColorLabel(entry), HexOf(rgb));
        }
        combo->setCurrentIndex(combo->count() > 0 ? selected : -1);
    }
    static void StoreColourList(PreferencesDialog& d, const RowWidgets& w, const SettingDef& def) {
        QComboBox* combo = ComboOf(w);
        SetText(d.settings_, def,
                combo->currentIndex() >= 0 ? combo->currentData().toString()
                                           : HexOf(ColorText(GetText(d.settings_, def))));
    }

    // FontChooser: a drop-down of font names, and "..." for the font chooser.
    static void CreateFontChooser(PreferencesDialog& d, QWidget* parent, RowWidgets& w, int k) {
        w.control = NewCombo(parent, k, 214);
        Dots(d, parent, w, k, [&d] { d.PickFont(); });
    }
    static void LoadFontChooser(PreferencesDialog& d, RowWidgets& w, const SettingDef*) {
        Settings& s = d.settings_;
        if (TrimBlanks(s.fonts).isEmpty()) s.fonts = s.font;
        QComboBox* combo = ComboOf(w);
        for (const QString& name : CommaList(s.fonts))
            combo->addItem(name);
        const int found = combo->findText(s.font, Qt::MatchFixedString);
        combo->setCurrentIndex(found >= 0 ? found : 0);
    }
    static void StoreFontChooser(PreferencesDialog& d, const RowWidgets& w, const SettingDef& def) {
        SetText(d.settings_, def, ComboOf(w)->currentText());
    }

    static void CreateDateTime(PreferencesDialog&, QWidget* parent, RowWidgets& w, int k) {
        auto* picker = new QDateTimeEdit(parent);
        picker->setGeometry(170, 10 + 30 * k, 240, 21);
        picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd hh:mm"));
        // The stored seconds are wall-clock fields counted as if they were UTC.
        picker->setTimeSpec(Qt::UTC);
        w.control = picker;
    }
    static void LoadDateTime(PreferencesDialog& d, RowWidgets& w, const SettingDef* def) {
        static_cast<QDateTimeEdit*>(w.control)->setDateTime(
            QDateTime::fromSecsSinceEpoch(Number(d, def), QTimeZone::utc()));
    }
    static void StoreDateTime(PreferencesDialog& d, const RowWidgets& w, const SettingDef& def) {
        const qint64 seconds =
            static_cast<QDateTimeEdit*>(w.control)->dateTime().toSecsSinceEpoch();
        SetNumber(d.settings_, def,
                  std::clamp<qint64>(seconds, std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()));
    }
};

const PreferencesDialog::RowKinds::Handler& PreferencesDialog::RowKinds::Of(RowKind kind) {
    static const Handler combo{CreateCombo, LoadCombo, StoreCombo};
    static const Handler check{CreateCheck, LoadCheck, StoreCheck};
    static const Handler edit{CreateEdit, LoadText, StoreText};
    static const Handler number{CreateNumber, LoadNumber, StoreNumber};
    static const Handler slider{CreateSlider, LoadSlider, StoreSlider};
    static const Handler colour{CreateColour, LoadColour, StoreColour};
    static const Handler colourList{CreateColourList, LoadColourList, StoreColourList};
    static const Handler font{CreateFontChooser, LoadFontChooser, StoreFontChooser};
    static const Handler image{CreateImageChooser, LoadText, StoreText};
    static const Handler dateTime{CreateDateTime, LoadDateTime, StoreDateTime};
    switch (kind) {
    case RowKind::Combo:
        return combo;
    case RowKind::Check:
        return check;
    case RowKind::Edit:
        return edit;
    case RowKind::Number:
    case RowKind::NumberUnit:
        return number;
    case RowKind::Slider:
        return slider;
    case RowKind::Colour:
        return colour;
    case RowKind::ColourList:
        return colourList;
    case RowKind::FontChooser:
        return font;
    case RowKind::ImageChooser:
        return image;
    case RowKind::DateTime:
        break;
    }
    return dateTime;
}

QWidget* PreferencesDialog::BuildRows(QWidget* parent, const std::vector<PreferenceRow>& rows) {
    for (size_t k = 0; k < rows.size(); ++k)
        BuildRow(parent, rows[k], int(k));
    return parent;
}

void PreferencesDialog::BuildRow(QWidget* parent, const PreferenceRow& row, int k) {
    RowWidgets w;
    w.row = &row;
    const QString id = row.Id();
    w.caption = new QLabel(Pref(row.caption), parent);
    w.caption->setObjectName(id + QStringLiteral(":caption"));
    w.caption->setGeometry(10, 13 + 30 * k, 160, 20);
    w.caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    RowKinds::Of(row.kind).create(*this, parent, w, k);
    w.control->setObjectName(id);
    if (row.hidden) {
        w.caption->hide();
        w.control->hide();
        if (w.spin) w.spin->hide();
    }
    // Every control another row depends on re-applies the rules.
    if (auto* combo = qobject_cast<QComboBox*>(w.control))
        connect(combo, &QComboBox::currentIndexChanged, this,
                &PreferencesDialog::ApplyDependencies);
    if (auto* check = qobject_cast<QCheckBox*>(w.control))
        connect(check, &QCheckBox::toggled, this, &PreferencesDialog::ApplyDependencies);
    rows_.insert(id, w);
    rowOrder_ << id;
}

void PreferencesDialog::LoadRow(RowWidgets& w) {
    RowKinds::Of(w.row->kind).load(*this, w, Def(*w.row));
}

void PreferencesDialog::StoreRow(const RowWidgets& w) {
    if (const SettingDef* def = Def(*w.row)) RowKinds::Of(w.row->kind).store(*this, w, *def);
}

const PreferencesDialog::RowWidgets* PreferencesDialog::Row(const QString& id) const {
    auto it = rows_.constFind(id);
    return it == rows_.constEnd() ? nullptr : &it.value();
}

QWidget* PreferencesDialog::Control(const QString& id) const {
    const RowWidgets* w = Row(id);
    return w ? w->control : nullptr;
}

QWidget* PreferencesDialog::Companion(const QString& id, const char* part) const {
    const RowWidgets* w = Row(id);
    if (!w) return nullptr;
    const QLatin1String p(part);
    if (p == QLatin1String("caption")) return w->caption;
    if (p == QLatin1String("unit")) return w->unit;
    if (p == QLatin1String("spin")) return w->spin;
    if (p == QLatin1String("field")) return w->field;
    if (p == QLatin1String("button")) return w->button;
    return nullptr;
}

QWidget* PreferencesDialog::AreaWidget(const QString& page, const QString& area) const {
    return areas_.value(page + QLatin1Char('/') + area);
}

void PreferencesDialog::SetRowEnabled(const QString& id, bool on) {
    const RowWidgets* w = Row(id);
    if (!w) return;
    for (QWidget* part :
         {static_cast<QWidget*>(w->caption), w->control, w->unit, w->spin, w->field, w->button})
        if (part) part->setEnabled(on);
}

void PreferencesDialog::SetRowVisible(const QString& id, bool on) {
    const RowWidgets* w = Row(id);
    if (!w) return;
    for (QWidget* part : {static_cast<QWidget*>(w->caption), w->control, w->spin})
        if (part) part->setVisible(on);
}

void PreferencesDialog::ShowArea(const QString& page, const QString& area) {
    const QString prefix = page + QLatin1Char('/');
    for (auto it = areas_.constBegin(); it != areas_.constEnd(); ++it)
        if (it.key().startsWith(prefix)) it.value()->setVisible(it.key() == prefix + area);
}

void PreferencesDialog::ApplyDependencies() {
    auto index = [this](const char* id) {
        auto* combo = qobject_cast<QComboBox*>(Control(QLatin1String(id)));
        return combo ? combo->currentIndex() : -1;
    };
    auto checked = [this](const char* id) {
        auto* check = qobject_cast<QCheckBox*>(Control(QLatin1String(id)));
        return check && check->isChecked();
    };
    auto data = [this](const char* id) {
        auto* combo = qobject_cast<QComboBox*>(Control(QLatin1String(id)));
        return combo ? combo->currentData().toString() : QString();
    };

    ShowArea(QStringLiteral("Input"), data("Input/Format"));
    auto* output = qobject_cast<QComboBox*>(Control(QStringLiteral("Output/Format")));
    ShowArea(QStringLiteral("Output"),
             OutputExtensions().value(output ? output->currentData().toInt() : -1));

    const int raw = index("Input/RAW Load As");
    const bool rawSized = raw == 1 || raw == 2, rawTone = raw == 4 || raw == 5;
    for (const char* id :
         {"Input/RAW Header Size", "Input/RAW Image Width", "Input/RAW Image Height"})
        SetRowEnabled(QLatin1String(id), rawSized);
    SetRowEnabled(QStringLiteral("Input/RAW Tone Mapping"), rawTone);
    SetRowEnabled(QStringLiteral("Input/DDS Background"),
                  index("Input/DDS Alpha") == kDdsAlphaBackground);

    const bool rotation = checked("Transform/Do Image Rotation");
    for (const char* id : {"Transform/Image Rotation Type", "Transform/Image Rotation",
                           "Transform/Image Rotation Back Color"})
        SetRowEnabled(QLatin1String(id), rotation);
    const bool resize = checked("Transform/Do Image Resize");
    for (const char* id :
         {"Transform/Image Width", "Transform/Image Height", "Transform/Keep Aspect Ratio",
          "Transform/Image Resize Type", "Transform/Image Resize Algorithm"})
        SetRowEnabled(QLatin1String(id), resize);
    SetRowEnabled(QStringLiteral("Adjustment/Image Threshold"),
                  checked("Adjustment/Do Image Threshold"));

    ShowArea(QStringLiteral("Frame"),
             index("Frame/Do Frame") == kFrameSolid ? QStringLiteral("solid") : QString());
    const int watermark = index("Watermark/Do Watermark");
    ShowArea(QStringLiteral("Watermark"), watermark == kWatermarkText    ? QStringLiteral("text")
                                          : watermark == kWatermarkImage ? QStringLiteral("image")
                                                                         : QString());
    SetRowVisible(QStringLiteral("Watermark/Text Scale"), index("Watermark/Text Size") == 1);
    SetRowVisible(QStringLiteral("Watermark/Image Scale"), index("Watermark/Image Size") == 1);
    SetRowEnabled(QStringLiteral("Advanced/Custom Timestamp"),
                  index("Advanced/File Timestamp") == kTimestampCustom);
}

void PreferencesDialog::ShowPage(int page) {
    if (page < 0 || page >= pages_.size()) return;
    currentPage_ = page;
    title_->setText(Pref(PreferencePages()[size_t(page)].key));
    for (int i = 0; i < pages_.size(); ++i)
        pages_[i]->setVisible(i == page);
    QTreeWidgetItem* item = pageList_->topLevelItem(page);
    if (pageList_->currentItem() != item) pageList_->setCurrentItem(item);
    // The title strip stays under the title; the strip is drawn first.
    title_->raise();
}

void PreferencesDialog::NoteInterfaceChanges() {
    auto* size = qobject_cast<QComboBox*>(Control(QStringLiteral("Interface/UI Size")));
    auto* theme = qobject_cast<QComboBox*>(Control(QStringLiteral("Interface/UI Theme")));
    if (size && size->currentIndex() != settings_.uiSize) reload_ = 2;
    if (theme && theme->currentData().toString() != settings_.uiTheme) reload_ = 1;
}

void PreferencesDialog::SaveAndApply() {
    // The file is replaced only once it is whole; a failure leaves the old one
    // and must not pass unnoticed, since the user's edits would be lost at the
    // next start.
    if (!SaveConfiguration(settings_, settings_.configPath))
        ShowWarning(
            this, FormatText(GetText(QStringLiteral("Msg"), QStringLiteral("Unable to save file")),
                             settings_.configPath));
    auto* format = qobject_cast<QComboBox*>(Control(QStringLiteral("Output/Format")));
    if (main_) main_->ApplyPreferences(format ? format->currentIndex() : -1, reload_);
}

void PreferencesDialog::OnOk() {
    NoteInterfaceChanges();
    for (const QString& id : rowOrder_)
        StoreRow(rows_[id]);
    Settings& s = settings_;
    s.doImageColorCorrection = (s.imageBrightness != 0 || s.imageContrast != 0 ||
                                s.imageGamma != 1.0f || s.imageInvert != 0)
                                   ? 1
                                   : 0;
    SaveAndApply();
    accept();
}

void PreferencesDialog::OnDefaults() {
    if (!AskYesNo(this, GetText(QStringLiteral("Msg"), QStringLiteral("Reset to Defaults")),
                  GetText(QStringLiteral("Msg"), QStringLiteral("Ask reset to defaults")),
                  MessageKind::Question))
        return;
    const QString configPath = settings_.configPath;
    const QScreen* screen = QGuiApplication::primaryScreen();
    ResetSettings(settings_, false, screen ? screen->size() : QSize());
    settings_.configPath = configPath;
    NoteInterfaceChanges();
    SaveAndApply();
    accept();
}

void PreferencesDialog::PickColour(RowWidgets& w) {
    auto* field = static_cast<QLineEdit*>(w.field);
    const Rgb current = ColorText(field->text());
    const std::optional<QColor> chosen = chooseColor(ToQColor(current));
    if (!chosen) return;
    const Rgb rgb{chosen->red(), chosen->green(), chosen->blue()};
    if (rgb == current) return;
    field->setText(HexOf(rgb));
    static_cast<QPushButton*>(w.button)->setIcon(ColourIcon(ToQColor(rgb), QSize(34, 12)));
}

void PreferencesDialog::AddListColour(RowWidgets& w, const char* listKey) {
    auto* combo = static_cast<QComboBox*>(w.control);
    const Rgb start = ColorText(combo->currentData().toString());
    const std::optional<QColor> chosen = chooseColor(ToQColor(start));
    if (!chosen) return;
    const Rgb rgb{chosen->red(), chosen->green(), chosen->blue()};
    const QString hex = HexOf(rgb);
    QString& list = QLatin1String(listKey) == QLatin1String("Font Colors") ? settings_.fontColors
                                                                           : settings_.backColors;
    bool known = false;
    for (const QString& entry : CommaList(list))
        known = known || ColorText(entry) == rgb;
    if (!known) {
        combo->addItem(ColourIcon(ToQColor(rgb), QSize(16, 16)), ColorLabel(hex), hex);
        // Kept even when the dialog is then cancelled, as the design has it.
        list += QLatin1Char(',') + hex;
    }
    for (int i = combo->count() - 1; i >= 0; --i)
        if (combo->itemData(i).toString() == hex) {
            combo->setCurrentIndex(i);
            break;
        }
}

void PreferencesDialog::PickFont() {
    auto* combo = qobject_cast<QComboBox*>(Control(QStringLiteral("Watermark/Font")));
    auto* size = qobject_cast<QLineEdit*>(Control(QStringLiteral("Watermark/Font Size")));
    auto* style = qobject_cast<QComboBox*>(Control(QStringLiteral("Watermark/Font Style")));
    if (!combo || !size || !style) return;
    const QString stored = combo->currentText();
    QFont start(stored);
    const int points = ParseOptionInteger(size->text());
    if (points > 0 && points <= 5000) start.setPointSize(points);
    const std::optional<QFont> chosen = chooseFont(start);
    if (!chosen) return;
    // A font that is not installed opens the chooser on a stand-in; taking
    // the stand-in is no choice of the user's, so the stored name stays.
    QString name = chosen->family();
    if (!stored.isEmpty() && !QFontDatabase::hasFamily(stored) && name == QFontInfo(start).family())
        name = stored;
    if (!CommaList(settings_.fonts).contains(name)) {
        combo->addItem(name);
        settings_.fonts += QLatin1Char(',') + name;
    }
    combo->setCurrentIndex(combo->findText(name, Qt::MatchFixedString));
    if (chosen->pointSize() > 0) size->setText(QString::number(chosen->pointSize()));
    // Style items stand for the chooser's flags: bold 256, italic 512; underline
    // (4) and strikeout (8) make a value no item has, so the style stays.
    const int flags = (chosen->bold() ? 256 : 0) + (chosen->italic() ? 512 : 0) +
                      (chosen->underline() ? 4 : 0) + (chosen->strikeOut() ? 8 : 0);
    if (flags % 256 == 0 && flags / 256 < style->count()) style->setCurrentIndex(flags / 256);
}

void PreferencesDialog::PickImage() {
    auto* field = qobject_cast<QLineEdit*>(Control(QStringLiteral("Watermark/Image")));
    if (!field) return;
    QString start = TrimBlanks(field->text());
    if (start.isEmpty()) start = LastChosenFolder();
    const QString chosen = chooseImage(start, ImageFilter());
    RememberChosen(chosen);
    if (!chosen.isEmpty()) field->setText(chosen);
}

} // namespace tarvix
