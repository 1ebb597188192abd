#include "platform/Display.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

using namespace tarvix;

namespace {

// Sets the variables for one case and puts the old values back afterwards.
class Environment {
public:
    Environment(std::initializer_list<std::pair<const char*, const char*>> values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name);
            saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
            if (value)
                ::setenv(name, value, 1);
            else
                ::unsetenv(name);
        }
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name, value->c_str(), 1);
            else
                ::unsetenv(name);
        }
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

} // namespace

TEST(GraphicalSession, FollowsThePlatformTheToolkitWillUse) {
    QTemporaryDir runtime;
    const QByteArray folder = QFile::encodeName(runtime.path());
    ASSERT_TRUE(QFile(runtime.path() + "/wayland-test").open(QIODevice::WriteOnly));
    struct Case {
        const char *platform, *display, *wayland;
        bool expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, false},
        {"offscreen", nullptr, nullptr, true},
        {"minimal", nullptr, nullptr, true},
        {"xcb", nullptr, nullptr, false},
        {"xcb", ":4711", nullptr, false},           // no such server socket
        {"xcb", "remote.example:0", nullptr, true}, // cannot be checked: trusted
        {"wayland", nullptr, "wayland-test", true},
        {"wayland", nullptr, "wayland-missing", false},
        {nullptr, nullptr, "wayland-test", true},
        {"wayland;offscreen", nullptr, nullptr, true},
        {"xcb:fontengine=freetype", nullptr, nullptr, false},
    };
    for (const Case& c : cases) {
        Environment env({{"QT_QPA_PLATFORM", c.platform},
                         {"DISPLAY", c.display},
                         {"WAYLAND_DISPLAY", c.wayland},
                         {"XDG_RUNTIME_DIR", folder.constData()}});
        EXPECT_EQ(GraphicalSessionAvailable(), c.expected)
            << (c.platform ? c.platform : "-") << " " << (c.display ? c.display : "-") << " "
            << (c.wayland ? c.wayland : "-");
    }
}
