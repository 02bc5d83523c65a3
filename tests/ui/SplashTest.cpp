// The splash: its look, and that it refuses to close until its timer fired.
// The timer's handler is called directly; nothing waits for 3 seconds.

#include <gtest/gtest.h>

#include <QLabel>
#include <QMetaObject>
#include <QTimer>

#include "ui/splash.h"

namespace quillon {
namespace {

TEST(Splash, IsABorderlessPictureWithARunningTimer)
{
    TfrmSplash splash;
    EXPECT_EQ(splash.size(), QSize(407, 243));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("Tarvex Quillon"));
    EXPECT_FALSE(splash.Image1->pixmap().isNull());
    EXPECT_EQ(splash.Timer1->interval(), 3000);
    EXPECT_TRUE(splash.Timer1->isActive());
}

TEST(Splash, RefusesToCloseUntilItsTimerFired)
{
    TfrmSplash splash;
    splash.show();
    EXPECT_FALSE(splash.close());
    EXPECT_TRUE(splash.isVisible());
    splash.Timer1Timer();
    EXPECT_FALSE(splash.Timer1->isActive());
    EXPECT_TRUE(splash.close());
    EXPECT_FALSE(splash.isVisible());
}

TEST(Splash, EntryLoopEndsOnceTheTimerFired)
{
    TfrmSplash splash;
    // Stands in for the timer's own event: queued, so the loop has to run to see it.
    QMetaObject::invokeMethod(
        &splash, [&splash] { splash.Timer1Timer(); }, Qt::QueuedConnection);
    RunSplash(splash);
    EXPECT_TRUE(splash.CloseQuery());
    EXPECT_FALSE(splash.isVisible());
}

}  // namespace
}  // namespace quillon
