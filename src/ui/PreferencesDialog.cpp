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
#include <QFontDialog>
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
                       Dialog("All Files") + QStringLiteral(" (*.*) (*)")}
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
        QWidget* container = nullptr;
        QWidget* inner = nullptr;
        if (page.innerHeight > 0) {
            auto* scroll = new QScrollArea(this);
            scroll->setFrameShape(QFrame::NoFrame);
            inner = new QWidget;
            inner->setFixedSize(420, page.innerHeight);
            scroll->setWidget(inner);
            scroll->verticalScrollBar()->setSingleStep(10);
            container = scroll;
        } else {
            container = inner = new QWidget(this);
        }
        container->setObjectName(QStringLiteral("Page/") + QLatin1String(page.key));
        container->setGeometry(140, 50, 450, 255);
        BuildRows(inner, page.rows);
        for (const PreferenceArea& area : page.areas) {
            QWidget* box = nullptr;
            QWidget* areaInner = nullptr;
            if (area.innerHeight > 0) {
                auto* scroll = new QScrollArea(inner);
                scroll->setFrameShape(QFrame::NoFrame);
                areaInner = new QWidget;
                areaInner->setFixedSize(420, area.innerHeight);
                scroll->setWidget(areaInner);
                scroll->verticalScrollBar()->setSingleStep(10);
                box = scroll;
            } else {
                box = areaInner = new QWidget(inner);
            }
            const QString name = QLatin1String(page.key) + QLatin1Char('/') + area.name;
            box->setObjectName(QStringLiteral("Area/") + name);
            box->setGeometry(0, 40, 450, 215);
            box->hide();
            areas_.insert(name, box);
            BuildRows(areaInner, area.rows);
        }
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
        FillRow(rows_[id]);
    for (const QString& id : rowOrder_)
        Connect(rows_[id]);
    ApplyDependencies();

    ShowPage(std::clamp(startPage, 0, kPageCount - 1));
    pageList_->setFocus();
    if (main_) move(main_->geometry().center() - QPoint(width() / 2, height() / 2));
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
    auto unitCombo = [&](const std::vector<const char*>& items) {
        auto* unit = new QComboBox(parent);
        unit->setObjectName(id + QStringLiteral(":unit"));
        int widest = 0;
        for (const char* item : items) {
            unit->addItem(Pref(item));
            widest = std::max(widest, unit->fontMetrics().horizontalAdvance(Pref(item)));
        }
        // The designed 70 pixels, or what the desktop font needs for the word
        // and the arrow, taken from the number field beside it.
        const int width = std::max(70, widest + 34);
        unit->setGeometry(410 - width, 9 + 30 * k, width, 21);
        w.unit = unit;
    };
    auto dots = [&]() {
        auto* button = new QPushButton(QStringLiteral("..."), parent);
        button->setObjectName(id + QStringLiteral(":button"));
        button->setGeometry(389, 9 + 30 * k, 22, 22);
        w.button = button;
    };

    switch (row.kind) {
    case RowKind::Combo: {
        auto* combo = new QComboBox(parent);
        combo->setGeometry(170, 10 + 30 * k, 240, 21);
        w.control = combo;
        break;
    }
    case RowKind::Check: {
        auto* check = new QCheckBox(parent);
        check->setGeometry(170, 10 + 30 * k, 240, 20);
        w.control = check;
        break;
    }
    case RowKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setGeometry(170, 10 + 30 * k, 240, 20);
        // A long watermark text must come back whole, not cut at the
        // field's usual limit.
        edit->setMaxLength(std::numeric_limits<int>::max());
        w.control = edit;
        break;
    }
    case RowKind::Number:
    case RowKind::NumberUnit: {
        auto* edit = new QLineEdit(parent);
        edit->setGeometry(170, 10 + 30 * k, 160, 20);
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9]{0,10}")), edit));
        w.control = edit;
        unitCombo(row.items);
        edit->resize(w.unit->x() - 10 - 170, edit->height());
        break;
    }
    case RowKind::Slider: {
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
            w.spin = spin;
        } else {
            const int offset = row.scale == SliderScale::Offset100 ? 100 : 0;
            slider->setRange(row.minimum + offset, row.maximum + offset);
            auto* spin = new ClampingSpinBox(parent);
            spin->setRange(row.minimum, row.maximum);
            spin->Attach();
            w.spin = spin;
        }
        w.spin->setObjectName(id + QStringLiteral(":spin"));
        w.spin->setGeometry(340, 10 + 30 * k, 70, 20);
        break;
    }
    case RowKind::Colour: {
        auto* swatch = new QPushButton(parent);
        swatch->setObjectName(id + QStringLiteral(":button"));
        swatch->setGeometry(170, 9 + 30 * k, 44, 22);
        swatch->setIconSize(QSize(34, 12));
        auto* field = new QLineEdit(parent);
        field->setObjectName(id + QStringLiteral(":field"));
        field->setGeometry(220, 10 + 30 * k, 190, 20);
        field->setReadOnly(true);
        w.button = swatch;
        w.field = field;
        w.control = field;
        break;
    }
    case RowKind::ColourList:
    case RowKind::FontChooser: {
        auto* combo = new QComboBox(parent);
        combo->setGeometry(170, 10 + 30 * k, 214, 21);
        w.control = combo;
        dots();
        break;
    }
    case RowKind::ImageChooser: {
        auto* edit = new QLineEdit(parent);
        edit->setGeometry(170, 10 + 30 * k, 214, 20);
        edit->setMaxLength(std::numeric_limits<int>::max());
        w.control = edit;
        dots();
        break;
    }
    case RowKind::DateTime: {
        auto* picker = new QDateTimeEdit(parent);
        picker->setGeometry(170, 10 + 30 * k, 240, 21);
        picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd hh:mm"));
        // The stored seconds are wall-clock fields counted as if they were UTC.
        picker->setTimeSpec(Qt::UTC);
        w.control = picker;
        break;
    }
    }
    w.control->setObjectName(id);
    if (row.hidden) {
        w.caption->hide();
        w.control->hide();
        if (w.spin) w.spin->hide();
    }
    rows_.insert(id, w);
    rowOrder_ << id;
}

void PreferencesDialog::FillRow(RowWidgets& w) {
    const PreferenceRow& row = *w.row;
    const SettingDef* def = Def(row);
    auto combo = [&] { return static_cast<QComboBox*>(w.control); };
    auto selectIndex = [&](int index) {
        // A stored code without an item shows (and then stores) the first one.
        combo()->setCurrentIndex(index >= 0 && index < combo()->count() ? index : 0);
    };

    switch (row.kind) {
    case RowKind::Combo:
        switch (row.special) {
        case RowSpecial::Language:
            combo()->addItem(QStringLiteral("English"));
            combo()->setCurrentIndex(0);
            return;
        case RowSpecial::Theme: {
            QList<ThemeEntry> sorted = themes_;
            std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
                return a.id.compare(b.id, Qt::CaseInsensitive) < 0;
            });
            int selected = 0;
            for (const ThemeEntry& theme : sorted) {
                if (theme.name.isEmpty()) continue;
                if (theme.id == settings_.uiTheme) selected = combo()->count();
                combo()->addItem(theme.name, theme.id);
            }
            if (combo()->count() == 0) combo()->addItem(Pref("None"), QString());
            combo()->setCurrentIndex(selected);
            return;
        }
        case RowSpecial::InputFormat: {
            const QStringList& formats = InputExtensions();
            int selected = 0;
            for (int i = 0; i < formats.size(); ++i) {
                if (formats[i].isEmpty()) continue;
                if (formats[i] == settings_.inputFormat) selected = combo()->count();
                combo()->addItem(CommandIcon(MenuIds(), QStringLiteral("New")),
                                 formats[i].toUpper(), formats[i]);
            }
            combo()->setCurrentIndex(selected);
            return;
        }
        case RowSpecial::OutputFormat:
            if (main_) main_->FillFormatList(combo(), true);
            return;
        case RowSpecial::Bpp: {
            const QString ext = QString::fromLatin1(row.format);
            combo()->addItem(Pref("Auto"));
            for (const QString& bpp : BppList(ext).split(QLatin1Char(','), Qt::SkipEmptyParts))
                combo()->addItem(bpp);
            const int value = def ? GetNumber(settings_, *def) : 0;
            combo()->setCurrentIndex(value == 0 ? 0 : combo()->findText(QString::number(value)));
            return;
        }
        case RowSpecial::None:
            break;
        }
        if (row.words != VocabularyKind::None) {
            for (const QString& key : DialogLabelKeys(row.words))
                combo()->addItem(GetText(QStringLiteral("Preferences"), key));
        } else {
            for (const char* item : row.items)
                combo()->addItem(Pref(item));
        }
        selectIndex(def ? GetNumber(settings_, *def) : 0);
        return;
    case RowKind::Check:
        static_cast<QCheckBox*>(w.control)->setChecked(def && GetNumber(settings_, *def) != 0);
        return;
    case RowKind::Edit:
    case RowKind::ImageChooser:
        static_cast<QLineEdit*>(w.control)->setText(def ? GetText(settings_, *def) : QString());
        static_cast<QLineEdit*>(w.control)->setCursorPosition(0); // show where the text begins
        return;
    case RowKind::Number:
    case RowKind::NumberUnit: {
        static_cast<QLineEdit*>(w.control)->setText(
            QString::number(def ? GetNumber(settings_, *def) : 0));
        auto* unit = static_cast<QComboBox*>(w.unit);
        int code = 0;
        if (row.unitKey)
            if (const SettingDef* u =
                    FindSetting(QString::fromLatin1(row.group), QString::fromLatin1(row.unitKey)))
                code = GetNumber(settings_, *u);
        unit->setCurrentIndex(code >= 0 && code < unit->count() ? code : 0);
        return;
    }
    case RowKind::Slider: {
        auto* slider = static_cast<QSlider*>(w.control);
        if (row.scale == SliderScale::Gamma) {
            const float gamma = def ? GetReal(settings_, *def) : 1.0f;
            // An unusable stored gamma shows as the nearest value the range has.
            const double hundredths = std::isnan(gamma) ? 100.0 : std::round(double(gamma) * 100.0);
            const int value = int(std::clamp(hundredths, double(row.minimum), double(row.maximum)));
            slider->setValue(value);
            static_cast<QDoubleSpinBox*>(w.spin)->setValue(value / 100.0);
        } else {
            const int value =
                std::clamp(def ? GetNumber(settings_, *def) : 0, row.minimum, row.maximum);
            static_cast<QSpinBox*>(w.spin)->setValue(value);
            slider->setValue(value + (row.scale == SliderScale::Offset100 ? 100 : 0));
        }
        return;
    }
    case RowKind::Colour: {
        const QString hex = HexOf(ColorText(def ? GetText(settings_, *def) : QString()));
        static_cast<QLineEdit*>(w.field)->setText(hex);
        static_cast<QPushButton*>(w.button)->setIcon(
            ColourIcon(ToQColor(ColorText(hex)), QSize(34, 12)));
        return;
    }
    case RowKind::ColourList: {
        const bool font = QLatin1String(row.key) == QLatin1String("Font Color");
        const QString& list = font ? settings_.fontColors : settings_.backColors;
        const Rgb current = ColorText(font ? settings_.fontColor : settings_.backColor);
        int selected = 0;
        for (const QString& entry : CommaList(list)) {
            const Rgb rgb = ColorText(entry);
            if (rgb == current) selected = combo()->count();
            combo()->addItem(ColourIcon(ToQColor(rgb), QSize(16, 16)), ColorLabel(entry),
                             HexOf(rgb));
        }
        combo()->setCurrentIndex(combo()->count() > 0 ? selected : -1);
        return;
    }
    case RowKind::FontChooser: {
        if (TrimBlanks(settings_.fonts).isEmpty()) settings_.fonts = settings_.font;
        for (const QString& name : CommaList(settings_.fonts))
            combo()->addItem(name);
        const int found = combo()->findText(settings_.font, Qt::MatchFixedString);
        combo()->setCurrentIndex(found >= 0 ? found : 0);
        return;
    }
    case RowKind::DateTime:
        static_cast<QDateTimeEdit*>(w.control)->setDateTime(
            QDateTime::fromSecsSinceEpoch(def ? GetNumber(settings_, *def) : 0, QTimeZone::utc()));
        return;
    }
}

void PreferencesDialog::Connect(RowWidgets& w) {
    const PreferenceRow& row = *w.row;
    const QString id = row.Id();
    if (row.kind == RowKind::Slider) {
        auto* slider = static_cast<QSlider*>(w.control);
        if (row.scale == SliderScale::Gamma) {
            auto* spin = static_cast<QDoubleSpinBox*>(w.spin);
            connect(slider, &QSlider::valueChanged, spin, [spin](int v) {
                if (int(std::lround(spin->value() * 100)) != v) spin->setValue(v / 100.0);
            });
            connect(spin, &QDoubleSpinBox::valueChanged, slider,
                    [slider](double v) { slider->setValue(int(std::lround(v * 100))); });
        } else {
            const int offset = row.scale == SliderScale::Offset100 ? 100 : 0;
            auto* spin = static_cast<QSpinBox*>(w.spin);
            connect(slider, &QSlider::valueChanged, spin,
                    [spin, offset](int v) { spin->setValue(v - offset); });
            connect(spin, &QSpinBox::valueChanged, slider,
                    [slider, offset](int v) { slider->setValue(v + offset); });
        }
    }
    if (row.kind == RowKind::Colour)
        connect(static_cast<QPushButton*>(w.button), &QPushButton::clicked, this,
                [this, id] { PickColour(rows_[id]); });
    if (row.kind == RowKind::ColourList) {
        const char* list =
            QLatin1String(row.key) == QLatin1String("Font Color") ? "Font Colors" : "Back Colors";
        connect(static_cast<QPushButton*>(w.button), &QPushButton::clicked, this,
                [this, id, list] { AddListColour(rows_[id], list); });
    }
    if (row.kind == RowKind::FontChooser)
        connect(static_cast<QPushButton*>(w.button), &QPushButton::clicked, this,
                &PreferencesDialog::PickFont);
    if (row.kind == RowKind::ImageChooser)
        connect(static_cast<QPushButton*>(w.button), &QPushButton::clicked, this,
                &PreferencesDialog::PickImage);
    // Every control another row depends on re-applies the rules.
    if (auto* combo = qobject_cast<QComboBox*>(w.control))
        connect(combo, &QComboBox::currentIndexChanged, this,
                &PreferencesDialog::ApplyDependencies);
    if (auto* check = qobject_cast<QCheckBox*>(w.control))
        connect(check, &QCheckBox::toggled, this, &PreferencesDialog::ApplyDependencies);
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
    SetRowVisible(QStringLiteral("Advanced/Keep Subfolders"), false);
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

void PreferencesDialog::StoreRow(const RowWidgets& w) {
    const PreferenceRow& row = *w.row;
    const SettingDef* def = Def(row);
    if (!def) return;
    auto combo = [&] { return static_cast<QComboBox*>(w.control); };
    switch (row.kind) {
    case RowKind::Combo:
        switch (row.special) {
        case RowSpecial::Language:
            SetText(settings_, *def, QStringLiteral("en"));
            return;
        case RowSpecial::Theme:
            SetText(settings_, *def, combo()->currentData().toString());
            return;
        case RowSpecial::InputFormat:
            SetText(settings_, *def, combo()->currentData().toString());
            return;
        case RowSpecial::OutputFormat:
            SetText(settings_, *def, OutputExtensions().value(combo()->currentData().toInt()));
            return;
        case RowSpecial::Bpp:
            SetNumber(settings_, *def,
                      combo()->currentIndex() > 0 ? combo()->currentText().toInt() : 0);
            return;
        case RowSpecial::None:
            SetNumber(settings_, *def, std::max(0, combo()->currentIndex()));
            return;
        }
        return;
    case RowKind::Check:
        SetNumber(settings_, *def, static_cast<QCheckBox*>(w.control)->isChecked() ? 1 : 0);
        return;
    case RowKind::Edit:
    case RowKind::ImageChooser:
        SetText(settings_, *def, OneLine(static_cast<QLineEdit*>(w.control)->text()));
        return;
    case RowKind::Number:
    case RowKind::NumberUnit:
        SetNumber(settings_, *def, ParseOptionInteger(static_cast<QLineEdit*>(w.control)->text()));
        if (row.unitKey)
            if (const SettingDef* u =
                    FindSetting(QString::fromLatin1(row.group), QString::fromLatin1(row.unitKey)))
                SetNumber(settings_, *u,
                          std::max(0, static_cast<QComboBox*>(w.unit)->currentIndex()));
        return;
    case RowKind::Slider:
        if (row.scale == SliderScale::Gamma)
            SetReal(settings_, *def,
                    float(std::lround(static_cast<QDoubleSpinBox*>(w.spin)->value() * 100)) /
                        100.0f);
        else
            SetNumber(settings_, *def, static_cast<QSpinBox*>(w.spin)->value());
        return;
    case RowKind::Colour:
        SetText(settings_, *def, static_cast<QLineEdit*>(w.field)->text());
        return;
    case RowKind::ColourList:
        SetText(settings_, *def,
                combo()->currentIndex() >= 0 ? combo()->currentData().toString()
                                             : HexOf(ColorText(GetText(settings_, *def))));
        return;
    case RowKind::FontChooser:
        SetText(settings_, *def, combo()->currentText());
        return;
    case RowKind::DateTime: {
        const qint64 seconds =
            static_cast<QDateTimeEdit*>(w.control)->dateTime().toSecsSinceEpoch();
        SetNumber(settings_, *def,
                  std::clamp<qint64>(seconds, std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()));
        return;
    }
    }
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
    QFont start(combo->currentText());
    const int points = ParseOptionInteger(size->text());
    if (points > 0 && points <= 5000) start.setPointSize(points);
    const std::optional<QFont> chosen = chooseFont(start);
    if (!chosen) return;
    const QString name = chosen->family();
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
    const QString chosen = chooseImage(TrimBlanks(field->text()), ImageFilter());
    if (!chosen.isEmpty()) field->setText(chosen);
}

} // namespace tarvix
