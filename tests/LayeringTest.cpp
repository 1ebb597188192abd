// The source folders are layers: a file includes headers of its own folder and
// of the folders below it, never of a folder above or beside it. Graphics stay
// out of the layers the executable starts with, widgets out of all but ui/.

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

// Lowest first; cli and ui stand side by side.
const QMap<QString, int>& Layers() {
    static const QMap<QString, int> layers = {
        {"core", 0},   {"platform", 1}, {"settings", 2}, {"theme", 3}, {"dds", 4}, {"request", 5},
        {"engine", 6}, {"draw", 7},     {"update", 8},   {"cli", 9},   {"ui", 9},  {"app", 10},
    };
    return layers;
}

struct Include {
    QString file; // relative to src/
    int line;
    QString target; // what stands between the quotes or angle brackets
    bool quoted;
};

QList<Include> SourceIncludes(const QString& root) {
    static const QRegularExpression pattern(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    QList<Include> includes;
    QDirIterator it(root, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "cannot read " << path.toStdString();
            continue;
        }
        QTextStream in(&file);
        int number = 0;
        while (!in.atEnd()) {
            const QString text = in.readLine();
            ++number;
            const auto match = pattern.match(text);
            if (match.hasMatch())
                includes.append({path.mid(root.size() + 1), number, match.captured(2),
                                 match.captured(1) == "\""});
        }
    }
    return includes;
}

QString FolderOf(const QString& relative) {
    const qsizetype slash = relative.indexOf('/');
    return slash < 0 ? QString() : relative.left(slash);
}

// Headers of QtGui and QtWidgets that this program uses or might reach for.
bool IsGuiHeader(const QString& h) {
    static const QSet<QString> names = {
        "QColor",        "QFont",           "QFontDatabase", "QFontInfo", "QFontMetrics",
        "QFontMetricsF", "QGuiApplication", "QIcon",         "QImage",    "QImageReader",
        "QImageWriter",  "QPainter",        "QPainterPath",  "QPixmap",   "QPolygon",
        "QRawFont",      "QTransform",      "QPen",          "QBrush",    "QScreen",
    };
    return h.startsWith("QtGui/") || names.contains(h);
}

bool IsWidgetsHeader(const QString& h) {
    static const QSet<QString> names = {
        "QApplication", "QWidget",   "QDialog",      "QMainWindow", "QMessageBox",  "QLabel",
        "QPushButton",  "QComboBox", "QLineEdit",    "QMenuBar",    "QMenu",        "QToolBar",
        "QStatusBar",   "QCheckBox", "QProgressBar", "QFileDialog", "QColorDialog", "QFontDialog",
        "QSpinBox",     "QSlider",   "QTreeWidget",  "QToolButton",
    };
    return h.startsWith("QtWidgets/") || names.contains(h);
}

} // namespace

TEST(Layering, IncludesRunDownwardsOnly) {
    const QString root = QStringLiteral(TARVIX_SOURCE_DIR "/src");
    const QList<Include> includes = SourceIncludes(root);
    ASSERT_GT(includes.size(), 100); // the tree was found
    QSet<QString> seenFolders;
    for (const Include& inc : includes) {
        const QString from = FolderOf(inc.file);
        seenFolders.insert(from);
        ASSERT_TRUE(Layers().contains(from))
            << inc.file.toStdString() << " lies in a folder that is no layer";
        if (!inc.quoted) continue;
        const QString to = FolderOf(inc.target);
        ASSERT_TRUE(Layers().contains(to))
            << inc.file.toStdString() << ":" << inc.line << " includes " << inc.target.toStdString()
            << ", which names no layer";
        const bool allowed = to == from || Layers()[to] < Layers()[from];
        EXPECT_TRUE(allowed) << inc.file.toStdString() << ":" << inc.line << " includes "
                             << inc.target.toStdString() << " (" << to.toStdString()
                             << " is not below " << from.toStdString() << ")";
    }
    EXPECT_TRUE(seenFolders.contains("core"));
    EXPECT_TRUE(seenFolders.contains("app"));
}

TEST(Layering, GraphicsOnlyInTheDrawingAndWindowLayers) {
    const QString root = QStringLiteral(TARVIX_SOURCE_DIR "/src");
    for (const Include& inc : SourceIncludes(root)) {
        if (inc.quoted) continue;
        const QString from = FolderOf(inc.file);
        const std::string where = inc.file.toStdString() + ":" + std::to_string(inc.line) +
                                  " includes <" + inc.target.toStdString() + ">";
        if (IsWidgetsHeader(inc.target)) {
            EXPECT_EQ(from, "ui") << where;
        } else if (IsGuiHeader(inc.target)) {
            EXPECT_TRUE(from == "draw" || from == "ui") << where;
        }
    }
}
