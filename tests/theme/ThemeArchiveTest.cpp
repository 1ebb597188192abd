#include "theme/ThemeArchive.h"

#include "TestSupport.h"
#include "ZipWriter.h"
#include "fuzz/ThemeFuzzBody.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

class ThemeArchiveTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Zip(const QString& name, const QList<QPair<QString, QByteArray>>& entries,
                bool compress = true) {
        const QString path = dir.path() + "/" + name;
        EXPECT_TRUE(artwork::WriteZip(path, entries, compress));
        return path;
    }
};

} // namespace

TEST_F(ThemeArchiveTest, DirectoryAndReading) {
    const QString path = Zip("t.zip", {{"theme.cfg", "[Theme]\r\nName=T\r\n"},
                                       {"empty.png", ""},
                                       {"a.png", "first"},
                                       {"a.png", "second one"},
                                       {"dir/b.png", QByteArray(5000, 'b')}});
    ThemeArchive archive;
    ASSERT_TRUE(archive.Open(path));
    EXPECT_EQ(archive.Entries().size(), 3); // the empty entry counts as missing
    EXPECT_FALSE(archive.Entries().contains("empty.png"));
    EXPECT_EQ(archive.Entries().value("a.png"), 5); // the first of equal names
    const auto data = archive.Read({"a.png", "dir/b.png", "theme.cfg", "missing.png"}, 10000);
    EXPECT_EQ(data.value("a.png"), "first");
    EXPECT_EQ(data.value("dir/b.png"), QByteArray(5000, 'b'));
    EXPECT_EQ(data.value("theme.cfg"), "[Theme]\r\nName=T\r\n");
    EXPECT_FALSE(data.contains("missing.png"));
    // Larger than the limit: left out, not cut.
    EXPECT_FALSE(archive.Read({"dir/b.png"}, 4999).contains("dir/b.png"));
    EXPECT_EQ(archive.ReadPrefix("dir/b.png", 10), QByteArray(10, 'b'));
    EXPECT_EQ(archive.ReadPrefix("theme.cfg", 255), "[Theme]\r\nName=T\r\n");
    EXPECT_EQ(archive.ReadPrefix("nothing", 255), "");
}

TEST_F(ThemeArchiveTest, WhatIsNoArchive) {
    ThemeArchive archive;
    EXPECT_FALSE(archive.Open(dir.path() + "/missing.zip"));
    ASSERT_TRUE(WriteBytes(dir.path() + "/empty.zip", ""));
    EXPECT_FALSE(archive.Open(dir.path() + "/empty.zip"));
    ASSERT_TRUE(WriteBytes(dir.path() + "/text.zip", "this is not an archive at all"));
    EXPECT_FALSE(archive.Open(dir.path() + "/text.zip"));
    EXPECT_TRUE(archive.Entries().isEmpty());
    EXPECT_TRUE(archive.Read({"theme.cfg"}, 100).isEmpty());
    EXPECT_FALSE(archive.OpenBytes(QByteArray()));
}

TEST_F(ThemeArchiveTest, DamagedArchivesNeverGiveMoreThanTheyState) {
    QList<QPair<QString, QByteArray>> entries;
    for (int i = 0; i < 20; ++i)
        entries.append({QStringLiteral("e%1.png").arg(i), QByteArray(3000 + i, char('a' + i))});
    const QByteArray whole = ReadBytes(Zip("whole.zip", entries, false));
    ASSERT_FALSE(whole.isEmpty());
    // What a damaged archive gives must never exceed what it states.
    auto check = [](const QByteArray& bytes, qsizetype where) {
        ThemeArchive archive;
        if (!archive.OpenBytes(bytes)) return;
        QSet<QString> names;
        for (auto it = archive.Entries().constBegin(); it != archive.Entries().constEnd(); ++it)
            names.insert(it.key());
        const auto data = archive.Read(names, ThemeArchive::kMaxPictureBytes);
        for (auto it = data.constBegin(); it != data.constEnd(); ++it)
            EXPECT_EQ(it.value().size(), archive.Entries().value(it.key())) << where;
    };
    // Every cut of the file, and every byte of its first kilobyte broken.
    for (qsizetype cut = 0; cut < whole.size(); cut += 97)
        check(whole.left(cut), cut);
    for (qsizetype at = 0; at < 1024; ++at) {
        QByteArray broken = whole;
        broken[at] = char(broken[at] ^ 0x5a);
        check(broken, at);
    }
}

TEST_F(ThemeArchiveTest, BombsAndCrowdsStayBounded) {
    // 64 MiB of zeros packs into a small file; its size alone rules it out,
    // and a prefix read stops early.
    const QString bomb = Zip("bomb.zip", {{"theme.cfg", QByteArray(64 << 20, '\0')},
                                          {"big.png", QByteArray(8 << 20, 'x')}});
    QElapsedTimer timer;
    timer.start();
    ThemeArchive archive;
    ASSERT_TRUE(archive.Open(bomb));
    EXPECT_TRUE(archive.Read({"theme.cfg"}, ThemeArchive::kMaxConfigBytes).isEmpty());
    EXPECT_TRUE(archive.Read({"big.png"}, ThemeArchive::kMaxPictureBytes).isEmpty());
    EXPECT_EQ(archive.ReadPrefix("theme.cfg", 255), QByteArray(255, '\0'));
    EXPECT_LT(timer.elapsed(), 5000);

    // Thousands of entries: only the first ones are looked at.
    QList<QPair<QString, QByteArray>> crowd;
    for (int i = 0; i < ThemeArchive::kMaxEntries + 500; ++i)
        crowd.append({QStringLiteral("n%1").arg(i), QByteArray("x")});
    crowd.append({QStringLiteral("theme.cfg"), QByteArray("late")});
    ThemeArchive many;
    ASSERT_TRUE(many.Open(Zip("crowd.zip", crowd)));
    EXPECT_EQ(many.Entries().size(), ThemeArchive::kMaxEntries);
    EXPECT_FALSE(many.Entries().contains("theme.cfg"));
    EXPECT_TRUE(many.Read({"theme.cfg"}, 100).isEmpty());

    // Absurd names are skipped.
    ThemeArchive names;
    ASSERT_TRUE(names.Open(Zip("names.zip", {{QString(5000, 'n'), "x"}, {"ok.png", "y"}})));
    EXPECT_EQ(names.Entries().keys(), QStringList{"ok.png"});
}

TEST(ThemeFuzzFindings, StayFixed) {
    const QDir findings(QStringLiteral(TARVIX_SOURCE_DIR "/tests/theme/fuzz/findings"));
    ASSERT_TRUE(findings.exists());
    for (const QString& name : findings.entryList(QDir::Files))
        if (!name.endsWith(".md")) ReadThemeBytes(ReadBytes(findings.filePath(name)));
}
