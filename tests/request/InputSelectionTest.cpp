#include "request/InputSelection.h"
#include "TestSupport.h"
#include "request/ConversionRequest.h"

#include <gtest/gtest.h>

using namespace tarvix;

TEST(ExtensionOf, StopsAtBlanksAndSlashes) {
    EXPECT_EQ(ExtensionOf("/a/b.DDS"), "DDS");
    EXPECT_EQ(ExtensionOf("/a.b/c"), "");
    EXPECT_EQ(ExtensionOf("/a/b.dds.bak"), "bak");
    EXPECT_EQ(ExtensionOf("b.d s"), "");
    EXPECT_EQ(ExtensionOf("noext"), "");
}

TEST(RelativeSubfolder, RemovesTheBase) {
    EXPECT_EQ(RelativeSubfolder("/base/sub/a.dds", "/base/"), "sub/");
    EXPECT_EQ(RelativeSubfolder("/other/a.dds", "/base/"), "");
    EXPECT_EQ(RelativeSubfolder("/base/a.dds", ""), "");
}

TEST(SetInputFile, AcceptanceRules) {
    QTemporaryDir dir;
    RunState state;
    ResetRunState(state);
    state.cliInputGiven = 1;
    const QString good = dir.path() + "/a.DDS";
    const QString second = dir.path() + "/b.dds";
    const QString empty = dir.path() + "/empty.dds";
    const QString bak = dir.path() + "/c.dds.bak";
    const QString png = dir.path() + "/d.png";
    for (const QString& p : {good, second, bak, png})
        ASSERT_TRUE(test::WriteBytes(p, "data"));
    ASSERT_TRUE(test::WriteBytes(empty, ""));
    EXPECT_TRUE(SetInputFile(state, good));
    EXPECT_TRUE(SetInputFile(state, second));
    EXPECT_EQ(state.inputList.keys(), QStringList{second}); // replaced, still one entry
    EXPECT_FALSE(SetInputFile(state, empty));
    EXPECT_FALSE(SetInputFile(state, bak));
    EXPECT_FALSE(SetInputFile(state, png));
    EXPECT_FALSE(SetInputFile(state, dir.path() + "/noext"));
    EXPECT_EQ(state.inputList.keys(), QStringList{second});
    // A missing .dds is left for the conversion to report.
    EXPECT_TRUE(SetInputFile(state, dir.path() + "/missing.dds"));
}

TEST(SetInputFile, WindowHookOnlyOnWindowedRuns) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/a.dds";
    ASSERT_TRUE(test::WriteBytes(file, "data"));
    RunState state;
    ResetRunState(state);
    int calls = 0;
    state.cliInputGiven = 1;
    SetInputFile(state, file, [&](const QString&) { ++calls; });
    EXPECT_EQ(calls, 0);
    state.cliInputGiven = 0;
    SetInputFile(state, file, [&](const QString& p) { calls += p == file; });
    EXPECT_EQ(calls, 1);
}

TEST(ResetRunState, KeepsOnlyTheRunMode) {
    RunState state;
    state.runMode = RunMode::Screenshot;
    state.counter = 9;
    state.outputFolder = "/x/";
    state.inputList.insert("a", {});
    ResetRunState(state);
    EXPECT_EQ(state.runMode, RunMode::Screenshot);
    EXPECT_EQ(state.counter, 1);
    EXPECT_GE(state.randomNumber, 1);
    EXPECT_LE(state.randomNumber, 99999);
    EXPECT_TRUE(state.outputFolder.isEmpty());
    EXPECT_TRUE(state.inputList.isEmpty());
    EXPECT_EQ(state.acceptedExtensions, QStringList{"dds"});
    EXPECT_TRUE(state.programFolder.endsWith('/'));
}
