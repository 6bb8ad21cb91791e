// A running tick of the main window, once its buffers have grown to their working size,
// allocates nothing: the beat engine, the needle's move, the synchronous repaint of the
// display panel, the lamp and the beat display on beats, and the hand-over of the changed
// area to the window system. This executable replaces operator new to count the calls,
// so it stands apart from the other tests.

#include "app_lib/MetronomeTestSupport.h"

#include <cstdlib>
#include <new>

namespace {

// Only the ticking thread counts, and only while a test asks: gtest's own bookkeeping and
// any other thread of the process stay out of the count.
thread_local bool tCounting = false;
thread_local int64_t tAllocations = 0;

void* Allocate(std::size_t n)
{
    if (tCounting)
        ++tAllocations;
    return std::malloc(n ? n : 1);
}

} // namespace

// Every form of operator new comes here; the aligned forms stay the library's and are not
// used by the code under test.
void* operator new(std::size_t n)
{
    if (void* p = Allocate(n))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
// The replaced operator new takes its memory from malloc, so free is its match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// The allocations of the calling thread while it lives.
class AllocationCount {
public:
    AllocationCount()
        : FBefore(tAllocations)
    {
        tCounting = true;
    }
    ~AllocationCount() { tCounting = false; }
    int64_t Count() const { return tAllocations - FBefore; }

private:
    int64_t FBefore;
};

class SteadyTickTest : public MetronomeTest, public ::testing::WithParamInterface<int> {
protected:
    // One tick at clock value now, then the changed area goes to the window system, as the
    // message loop does after every tick.
    void Tick(int32_t now)
    {
        TickAt(now);
        form->PresentChanges();
    }
};

} // namespace

// The counter sees what it should: a region grown past its storage allocates.
TEST(AllocationCount, CountsTheCallingThreadsAllocations)
{
    AllocationCount count;
    plat::Region r;
    r |= plat::Region(plat::Rect { 0, 0, 10, 10 });
    r |= plat::Region(plat::Rect { 20, 20, 30, 30 });
    EXPECT_GT(count.Count(), 0);
}

// After a warm-up of two swings, three whole swings (every tick 10 ms apart, beats with
// their lamp flash and display step included) allocate nothing, with Beep off and on.
TEST_P(SteadyTickTest, RunningTicksAllocateNothing)
{
    const int tempo = GetParam();
    Open();
    form->sliderTempo->SetValue(tempo);
    int32_t now = 1000;
    plat::SetManualClock(now);
    Click(form->btnRun);
    ASSERT_TRUE(form->btnRun->StateOn());
    const int32_t swing = 60000 / tempo;
    for (bool beep : { false, true }) {
        form->btnBeep->SetStateOn(beep);
        for (const int32_t end = now + 2 * swing + 20; now < end;)
            Tick(now += 10);
        const int shownBefore = Shown(), playsBefore = plays;
        int64_t allocations = 0;
        int allocatingTicks = 0, firstAllocating = -1, ticks = 0;
        for (const int32_t end = now + 3 * swing + 10; now < end; ++ticks) {
            AllocationCount count;
            Tick(now += 10);
            if (count.Count() > 0) {
                allocations += count.Count();
                if (allocatingTicks++ == 0)
                    firstAllocating = ticks;
            }
        }
        // The measured ticks ran the beat engine through its beats, with their clicks when
        // Beep is on.
        EXPECT_GE(Shown() - shownBefore, 3) << "Beep " << beep;
        EXPECT_EQ(plays > playsBefore, beep);
        EXPECT_EQ(allocations, 0) << tempo << " bpm, Beep " << (beep ? "on" : "off") << ": "
                                  << allocatingTicks << " of " << ticks
                                  << " ticks allocated, the first at tick " << firstAllocating;
    }
}

INSTANTIATE_TEST_SUITE_P(Tempos, SteadyTickTest, ::testing::Values(40, 120, 208));
