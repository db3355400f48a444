// A long loop's progress: the bar gets a new value only when what it shows changes, and always
// ends on the exact count, also when the loop stops early.
#include "skin/ProgressSteps.h"

#include <QProgressBar>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(ProgressBarSteps, HandsTheBarOnlyValuesThatChangeWhatItShows)
{
    QProgressBar bar;
    bar.resize(150, 12);
    QSignalSpy values(&bar, &QProgressBar::valueChanged);
    {
        skin::ProgressBarSteps progress(&bar);
        progress.begin(1000000);
        for (int i = 0; i < 1000000; ++i)
            progress.step();
    }
    EXPECT_EQ(bar.value(), 1000000);
    EXPECT_LE(values.count(), 260);  // at most one per percent and one per pixel
    EXPECT_GE(values.count(), 100);
}

TEST(ProgressBarSteps, EndsOnTheExactCountWhenTheLoopStopsEarly)
{
    QProgressBar bar;
    bar.resize(150, 12);
    {
        skin::ProgressBarSteps progress(&bar);
        progress.begin(1000);
        for (int i = 0; i < 3; ++i)
            progress.step();
    }
    EXPECT_EQ(bar.value(), 3);
}

TEST(ProgressBarSteps, AnEmptyLoopShowsAnEmptyBarNotABusyOne)
{
    QProgressBar bar;
    skin::ProgressBarSteps progress(&bar);
    progress.begin(0);
    EXPECT_EQ(bar.maximum(), 1);
    EXPECT_EQ(bar.value(), 0);
}

} // namespace
