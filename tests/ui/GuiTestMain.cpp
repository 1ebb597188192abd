// The GUI tests drive real widgets on the offscreen platform.

#include "core/StringTable.h"
#include "ui/Icons.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvix::LoadStringTable();
    tarvix::LoadBuiltinIcons();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
