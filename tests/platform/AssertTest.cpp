#include "platform/raster/Region_p.h"
#include "platform/system/Assert.h"

#include <gtest/gtest.h>

#include <vector>

// The test build checks invariants; these show that the checks are live and say what
// broke, in the macro itself and at the region builder's preconditions.
#if METRONOME_ASSERTS

TEST(AssertDeathTest, ABrokenInvariantNamesItsConditionAndAborts)
{
    int x = 1;
    EXPECT_DEATH(METRONOME_ASSERT(x == 2), "invariant broken: x == 2");
    METRONOME_ASSERT(x == 1);   // a kept invariant costs nothing but the check
}

TEST(AssertDeathTest, TheBandWriterRefusesBandsOutOfOrderAndUnsortedSpans)
{
    std::vector<plat::Rect> out;
    plat::detail::BandWriter writer(out);
    const std::vector<int32_t> spans { 0, 4 };
    writer.Add(10, 20, spans);
    EXPECT_DEATH(writer.Add(0, 5, spans), "bottom <= top");
    const std::vector<int32_t> unsorted { 5, 2 };
    EXPECT_DEATH(writer.Add(30, 40, unsorted), "is_sorted");
    const std::vector<int32_t> odd { 1, 2, 3 };
    EXPECT_DEATH(writer.Add(30, 40, odd), "% 2 == 0");
    ASSERT_EQ(out.size(), 1u);   // only the band in order was written
}

#else

TEST(AssertTest, ChecksAreOffOutsideTheTestAndDebugBuilds)
{
    int evaluated = 0;
    METRONOME_ASSERT(++evaluated == 5);
    EXPECT_EQ(evaluated, 0);
}

#endif
