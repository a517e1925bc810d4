#include <windows.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "LxApplication.h"
#include "LxTimer.h"
#include "LxWindow.h"
#include "TestSupport.h"

namespace {

// Counts timer ticks and runs a step on chosen ones.
class Script : public LxRttiObject {
public:
    void tick()
    {
        ++ticks;
        if (step)
            step(ticks);
    }
    std::function<void(int)> step;
    int ticks = 0;
};

class Watcher : public LxRttiObject {
public:
    void onCreated() { ++created; }
    void onDestroyed() { ++destroyed; }
    void onFinished() { ++finished; }
    int created = 0, destroyed = 0, finished = 0;
};

// Ends a loop that did not end by itself with 99 after 10 s.
class Watchdog : public LxRttiObject {
public:
    Watchdog()
    {
        m_timer.timeout.connect(this, &Watchdog::fire);
        m_timer.start(10000);
    }
    void fire() { PostQuitMessage(99); }

private:
    LxTimer m_timer;
};

TEST(LxApplication, InstanceLivesWithTheObject)
{
    EXPECT_EQ(LxApplication::instance(), nullptr);
    {
        LxApplication app;
        EXPECT_EQ(LxApplication::instance(), &app);
        EXPECT_TRUE(app.windows().isEmpty());
    }
    EXPECT_EQ(LxApplication::instance(), nullptr);
}

TEST(LxApplication, ExecWithoutWindowReturnsAtOnce)
{
    LxApplication app;
    EXPECT_EQ(app.exec(), 0);
    PostQuitMessage(-3);  // a windowless run that already asked to quit keeps its code
    EXPECT_EQ(app.exec(), -3);
    EXPECT_EQ(app.exec(), 0);
}

TEST(LxApplication, LoopEndsWhenTheLastWindowIsDestroyed)
{
    LxApplication app;
    Watchdog watchdog;
    LxWindow first;
    LxWindow second;
    ASSERT_TRUE(first.createNativeWindow());
    ASSERT_TRUE(second.createNativeWindow());
    EXPECT_EQ(app.windows().size(), 2u);

    Script script;
    int windowsAfterFirstClose = -1;
    script.step = [&](int tick) {
        if (tick == 1) {
            first.close();
            windowsAfterFirstClose = static_cast<int>(app.windows().size());
        } else if (tick == 3) {
            second.close();
        }
    };
    LxTimer timer;
    timer.timeout.connect(&script, &Script::tick);
    timer.start(10);

    EXPECT_EQ(app.exec(), 0);
    EXPECT_EQ(windowsAfterFirstClose, 1);
    EXPECT_GE(script.ticks, 3);  // the loop went on after the first window had gone
    EXPECT_TRUE(app.windows().isEmpty());
    EXPECT_EQ(first.hwnd(), nullptr);
}

TEST(LxApplication, QuitRequestEndsTheLoopWithItsCode)
{
    LxApplication app;
    Watchdog watchdog;
    LxWindow window;
    ASSERT_TRUE(window.createNativeWindow());
    Script script;
    script.step = [](int) { PostQuitMessage(7); };
    LxTimer timer;
    timer.timeout.connect(&script, &Script::tick);
    timer.start(10);
    EXPECT_EQ(app.exec(), 7);
    EXPECT_NE(window.hwnd(), nullptr);  // the window is still there
}

TEST(LxApplication, DestructorDestroysWindowsStillOpen)
{
    Watcher watcher;
    auto* app = new LxApplication;
    LxWindow a;
    LxWindow b;
    for (LxWindow* window : {&a, &b}) {
        window->created.connect(&watcher, &Watcher::onCreated);
        window->destroyed.connect(&watcher, &Watcher::onDestroyed);
        window->finished.connect(&watcher, &Watcher::onFinished);
        ASSERT_TRUE(window->createNativeWindow());
    }
    EXPECT_EQ(watcher.created, 2);
    const HWND handle = a.hwnd();
    delete app;
    EXPECT_EQ(watcher.destroyed, 2);
    EXPECT_EQ(watcher.finished, 2);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(a.hwnd(), nullptr);
    EXPECT_EQ(b.hwnd(), nullptr);
}

TEST(LxApplication, ApplicationFolder)
{
    LxApplication app;
    std::wstring expected = test::binFolder();
    expected.pop_back();
    EXPECT_EQ(std::wstring(app.applicationDirPath().c_str()), expected);

    struct Row {
        const wchar_t* path;
        const wchar_t* folder;
    };
    const Row rows[] = {{L"C:\\a\\b.exe", L"C:\\a"},
                        {L"C:/a/b.exe", L"C:/a"},
                        {L"C:\\a/b\\c.exe", L"C:\\a/b"},
                        {L"C:\\a\\b/c.exe", L"C:\\a\\b"},
                        {L"program.exe", L"program.exe"},
                        {L"", L""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.path)));
        EXPECT_EQ(std::wstring(LxApplication::folderOf(row.path).c_str()), row.folder);
    }
}

TEST(LxWindow, NativeWindowOfTheHostClass)
{
    LxApplication app;
    LxWindow window;
    EXPECT_EQ(window.hwnd(), nullptr);
    ASSERT_TRUE(window.createNativeWindow());
    const HWND handle = window.hwnd();
    ASSERT_TRUE(window.createNativeWindow());  // exists: not made again
    EXPECT_EQ(window.hwnd(), handle);

    wchar_t className[64] = {};
    GetClassNameW(handle, className, 64);
    EXPECT_STREQ(className, L"DUI_HOST_WINDOW");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(handle, GWL_STYLE)) & LxWindow::kDefaultStyle, LxWindow::kDefaultStyle);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(handle, GWL_EXSTYLE)) & LxWindow::kDefaultExStyle,
              LxWindow::kDefaultExStyle);
    EXPECT_TRUE(app.windows().contains(&window));
    window.close();
    EXPECT_FALSE(app.windows().contains(&window));
    EXPECT_EQ(window.hwnd(), nullptr);
}

} // namespace
