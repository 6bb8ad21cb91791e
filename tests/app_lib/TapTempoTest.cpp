#include "app/TapTempo.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <optional>

namespace {

// The tempo after tapping at each of the times, in order.
std::optional<int> TapAll(TTapTempo& tap, std::initializer_list<int32_t> times)
{
    std::optional<int> last;
    for (int32_t t : times)
        last = tap.Tap(t);
    return last;
}

} // namespace

// From the second tap on, 60000 over the mean of the last intervals, at most four.
TEST(TapTempo, MeanOfTheLastFourIntervals)
{
    TTapTempo tap;
    EXPECT_EQ(tap.Tap(1000), std::nullopt);
    EXPECT_EQ(tap.Tap(1500), 120);
    EXPECT_EQ(tap.Tap(2000), 120);
    EXPECT_EQ(TapAll(tap, { 2500, 3000 }), 120);
    EXPECT_EQ(tap.Taps(), 5);

    // A slow start is forgotten once four later intervals exist: 1000, then 500 ms four
    // times gives 80 after the third tap (mean 750 ms) and 120 in the end.
    TTapTempo slow;
    EXPECT_EQ(TapAll(slow, { 0, 1000, 1500 }), 80);
    EXPECT_EQ(TapAll(slow, { 2000, 2500 }), 96);   // (1000 + 3 * 500) / 4 = 625 ms
    EXPECT_EQ(slow.Tap(3000), 120);
    EXPECT_EQ(slow.Taps(), 5);

    // Uneven taps: the mean, not the last interval.
    TTapTempo uneven;
    EXPECT_EQ(TapAll(uneven, { 0, 480, 1000, 1530, 2000 }), 120);
}

TEST(TapTempo, RoundsToTheNearestWholeTempo)
{
    TTapTempo a, b, c;
    EXPECT_EQ(TapAll(a, { 0, 545 }), 110);    // 110.09
    EXPECT_EQ(TapAll(b, { 0, 541 }), 111);    // 110.90
    EXPECT_EQ(TapAll(c, { 0, 502 }), 120);    // 119.52
    TTapTempo d;
    EXPECT_EQ(TapAll(d, { 0, 503 }), 119);    // 119.28
}

// A tap 2 s or more after the last one starts a new measurement; 1999 ms still counts.
TEST(TapTempo, APauseOfTwoSecondsStartsAgain)
{
    TTapTempo tap;
    EXPECT_EQ(TapAll(tap, { 0, 500, 1000 }), 120);
    EXPECT_EQ(tap.Tap(3000), std::nullopt);
    EXPECT_EQ(tap.Taps(), 1);
    EXPECT_EQ(tap.Tap(3600), 100);
    EXPECT_EQ(tap.Tap(5599), 46);   // 1999 ms after the last tap: the mean is 1299.5 ms
    EXPECT_EQ(tap.Taps(), 3);
    tap.Reset();
    EXPECT_EQ(tap.Tap(6000), std::nullopt);
}

TEST(TapTempo, ClampedTo40To208)
{
    TTapTempo slow, fast, same;
    EXPECT_EQ(TapAll(slow, { 0, 1999 }), 40);    // 30 bpm
    EXPECT_EQ(TapAll(fast, { 0, 100, 200 }), 208);
    EXPECT_EQ(TapAll(same, { 50, 50 }), 208);    // two taps in one millisecond
    TTapTempo edge;
    EXPECT_EQ(TapAll(edge, { 0, 288 }), 208);    // 208.3
    TTapTempo below;
    EXPECT_EQ(TapAll(below, { 0, 1500 }), 40);
}

// The millisecond clock wraps after 24.8 days; a clock that seems to go back starts anew.
TEST(TapTempo, WrappingAndBackwardClock)
{
    TTapTempo tap;
    EXPECT_EQ(TapAll(tap, { INT32_MAX - 600, INT32_MAX - 100, INT32_MIN + 399 }), 120);
    TTapTempo back;
    EXPECT_EQ(TapAll(back, { 5000, 5500 }), 120);
    EXPECT_EQ(back.Tap(4000), std::nullopt);
    EXPECT_EQ(back.Tap(4750), 80);
}
