#include "platform/Console.h"

#include <gtest/gtest.h>

using namespace tarvix;

// A name may hold any byte but "/" and NUL: printed, it must stay on its line and
// never steer the terminal.
TEST(EscapeControls, EveryControlCharacterIsWrittenOut) {
    const struct {
        QString in, out;
    } cases[] = {
        {"plain/path.dds", "plain/path.dds"},
        {"a\nError: fake.dds", "a\\nError: fake.dds"},
        {"tab\there\r", "tab\\there\\r"},
        {QString("esc") + QChar(0x1B) + "[31mred", "esc\\x1b[31mred"},
        {QString("del") + QChar(0x7F) + QChar(0x01), "del\\x7f\\x01"},
        {QString::fromUtf8("café ü €"), QString::fromUtf8("café ü €")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EscapeControls(c.in), c.out) << c.in.toStdString();
}
