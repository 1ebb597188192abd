#include "ui/Icons.h"

#include "platform/Console.h"

#include "draw/Png.h"
#include "theme/ThemeArchive.h"
#include "theme/ThemeConfig.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QPixmap>
#include <QSet>

// The pictures are compiled into the window library, whose resource
// registration must be asked for by name.
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace tarvix {
namespace {

struct Key {
    const char* name;
    int button, menu, toolbar;
};

// The image numbers of every command name.
constexpr Key kKeys[] = {
    {"Convert", 2, 18, 42},
    {"InFiles", 3, 7, 31},
    {"InFolder", 4, 8, 32},
    {"New", 0, 5, 29},
    {"Add", 0, 6, 30},
    {"OutFolder", 0, 9, 33},
    {"OutFormat", 0, 10, 34},
    {"FavFolder", 0, 11, 35},
    {"ImportFiles", 0, 12, 36},
    {"ExportFiles", 0, 13, 37},
    {"Exit", 0, 14, 38},
    {"Copy", 0, 15, 39},
    {"Delete", 0, 16, 40},
    {"SelectAll", 0, 17, 41},
    {"Error", 0, 19, 43},
    {"Preferences", 0, 20, 44},
    {"CustomConverter", 0, 21, 45},
    {"Help", 0, 22, 46},
    {"Email", 0, 25, 49},
    {"Web", 0, 26, 50},
    {"Updates", 0, 27, 51},
    {"About", 0, 28, 52},
    // Added after the numbered sets were fixed: numbers beyond them.
    {"Preview", 0, 53, 54},
};

QHash<QString, int> BuildMap(int Key::*field) {
    QHash<QString, int> map;
    for (const Key& k : kKeys)
        if (k.*field) map.insert(QString::fromLatin1(k.name), k.*field);
    return map;
}

QMap<int, QImage>& Images() {
    static QMap<int, QImage> images;
    return images;
}

// Larger drawings of the same pictures, for screens of more device pixels than
// logical ones: a theme ships each icon at several sizes.
QMap<int, QImage>& Doubles() {
    static QMap<int, QImage> images;
    return images;
}

// The theme's largest size of a picture.
constexpr int kLargestThemeSize = 64;

QImage LoadResource(const QString& name) {
    QFile file(QStringLiteral(":/icons/") + name);
    if (!file.open(QIODevice::ReadOnly)) return QImage();
    return DecodePng(file.readAll());
}

} // namespace

const QHash<QString, int>& ButtonIds() {
    static const QHash<QString, int> map = BuildMap(&Key::button);
    return map;
}

const QHash<QString, int>& MenuIds() {
    static const QHash<QString, int> map = BuildMap(&Key::menu);
    return map;
}

const QHash<QString, int>& ToolbarIds() {
    static const QHash<QString, int> map = BuildMap(&Key::toolbar);
    return map;
}

void LoadBuiltinIcons() {
    InitIconResources();
    QMap<int, QImage>& images = Images();
    images[0] = LoadResource(QStringLiteral("banner.png")).convertToFormat(QImage::Format_RGB888);
    images[ButtonIds().value("Convert")] = LoadResource(QStringLiteral("button_convert_64.png"));
    images[ButtonIds().value("InFiles")] = LoadResource(QStringLiteral("button_infiles_48.png"));
    images[ButtonIds().value("InFolder")] = LoadResource(QStringLiteral("button_infolder_48.png"));
    for (auto it = MenuIds().constBegin(); it != MenuIds().constEnd(); ++it) {
        const QString file = it.key().toLower() + QStringLiteral("_16.png");
        // The toolbar decodes the same picture into numbers of its own.
        images[it.value()] = LoadResource(file);
        images[ToolbarIds().value(it.key())] = LoadResource(file);
    }
}

void LoadTheme(Settings& settings, const QList<ThemeEntry>& themes, bool buttons, bool menu,
               bool toolbar) {
    // "UI Theme" names an installed theme, never a path: config.ini is a file
    // anyone may have edited.
    const bool listed = std::any_of(themes.begin(), themes.end(),
                                    [&](const ThemeEntry& t) { return t.id == settings.uiTheme; });
    if (!listed) {
        if (themes.isEmpty()) return;
        PrintLine(QStringLiteral("Warning: the theme \"%1\" is not installed; \"%2\" is used")
                      .arg(settings.uiTheme, themes.last().id));
        settings.uiTheme = themes.last().id;
    }
    const QString path = ThemeArchivePath(settings.uiTheme);
    ThemeArchive archive;
    if (!archive.Open(path)) return;
    const QString config = QStringLiteral("theme.cfg");
    const QString text =
        DecodeThemeText(archive.Read({config}, ThemeArchive::kMaxConfigBytes).value(config));

    struct Set {
        bool on;
        const QHash<QString, int>& map;
        const char* section;
        int size;
    };
    const Set sets[] = {{buttons, ButtonIds(), "Buttons", 16},
                        {menu, MenuIds(), "Icons", 16},
                        {toolbar, ToolbarIds(), "Icons", IconSizeForUiSize(settings.uiSize)}};
    // Which entry each image number wants, then every entry read in one pass.
    QHash<int, QString> wanted, doubles;
    for (const Set& set : sets) {
        if (!set.on) continue;
        for (auto it = set.map.constBegin(); it != set.map.constEnd(); ++it) {
            const QString value = ThemeValue(text, QLatin1String(set.section), it.key());
            if (value.isEmpty()) continue;
            if (value.contains(QLatin1String(".png"), Qt::CaseInsensitive)) {
                wanted.insert(it.value(), value);
                continue;
            }
            auto sized = [&](int size) {
                return value + QLatin1Char('_') + QString::number(size) + QStringLiteral(".png");
            };
            wanted.insert(it.value(), sized(set.size));
            doubles.insert(it.value(), sized(std::min(2 * set.size, kLargestThemeSize)));
        }
    }
    QList<QString> names = wanted.values();
    names += doubles.values();
    const QHash<QString, QByteArray> data =
        archive.Read(QSet<QString>(names.begin(), names.end()), ThemeArchive::kMaxPictureBytes);
    QMap<int, QImage>& images = Images();
    for (auto it = wanted.constBegin(); it != wanted.constEnd(); ++it) {
        const QImage picture = DecodePng(data.value(it.value()), kMaxThemePictureSide);
        // A picture that is missing or does not decode leaves the one before.
        if (picture.isNull()) continue;
        images[it.key()] = picture;
        const QImage larger = DecodePng(data.value(doubles.value(it.key())), kMaxThemePictureSide);
        if (larger.width() > picture.width())
            Doubles()[it.key()] = larger;
        else
            Doubles().remove(it.key());
    }
}

QIcon ApplicationIcon() {
    InitIconResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(LoadResource(QStringLiteral("app_%1.png").arg(size))));
    return icon;
}

QImage IconImage(int number) {
    return Images().value(number);
}

QIcon CommandIcon(const QHash<QString, int>& map, const QString& name, int size) {
    const int number = map.value(name, -1);
    const QImage image = IconImage(number);
    if (image.isNull()) return QIcon();
    // Each size the icon is drawn at, so the icon engine takes the one that
    // fits the device pixels; a whole-step enlargement only where none does.
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image));
    const QImage larger = Doubles().value(number);
    if (!larger.isNull()) icon.addPixmap(QPixmap::fromImage(larger));
    const int widest = std::max(image.width(), larger.width());
    for (int pixels : {size, 2 * size}) {
        const int factor = pixels / std::max(1, widest);
        if (factor >= 2 && widest < pixels)
            icon.addPixmap(
                QPixmap::fromImage(image.scaled(image.width() * factor, image.height() * factor,
                                                Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    }
    return icon;
}

int IconSizeForUiSize(int code) {
    switch (code) {
    case 1:
        return 24;
    case 2:
        return 32;
    case 3:
        return 48;
    case 4:
        return 64;
    default:
        return 16;
    }
}

} // namespace tarvix
