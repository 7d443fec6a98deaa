// Tweens deliver exactly their steps, end exactly, and the list survives
// callbacks that chain or clear tweens while it is being updated.
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "gameplay/TweenList.h"

namespace mirefell
{
namespace
{

using Math::NumberTween;
using Math::Vector3Tween;

TEST(Tweens, NumberTweenDeliversNValuesEndingExactlyAtOne)
{
    for (int steps : {1, 3, 7, 60}) {
        std::vector<float> values;
        std::vector<int> indices;
        int completions = 0;
        NumberTween tween(steps, [&](float v, int32_t i) {
            values.push_back(v);
            indices.push_back(i);
        });
        tween.onComplete = [&] { ++completions; };
        for (int i = 0; i < steps + 5; ++i)
            tween.Update();
        ASSERT_EQ(values.size(), static_cast<size_t>(steps));
        EXPECT_EQ(values.back(), 1.0f); // exact, not 0.99999
        EXPECT_NEAR(values.front(), 1.0f / steps, 1e-6f);
        for (int i = 0; i < steps; ++i)
            EXPECT_EQ(indices[i], i);
        EXPECT_EQ(completions, 1);
        EXPECT_TRUE(tween.IsFinished());
    }
}

TEST(Tweens, Vector3TweenStartsOneStepInAndEndsExactly)
{
    const Vector3 a{1, 2, 3}, b{11, -8, 3.3f};
    std::vector<Vector3> values;
    Vector3Tween tween(a, b, 10, [&](const Vector3& v) { values.push_back(v); });
    while (!tween.IsFinished())
        tween.Update();
    ASSERT_EQ(values.size(), 10u);
    EXPECT_NEAR(values[0].x, 2.0f, 1e-6f);
    EXPECT_NEAR(values[0].y, 1.0f, 1e-6f);
    EXPECT_EQ(values[9], b);
}

TEST(Tweens, ZeroOrNegativeStepsAreFinishedAtOnce)
{
    int calls = 0;
    NumberTween zero(0, [&](float, int32_t) { ++calls; });
    NumberTween negative(-3, [&](float, int32_t) { ++calls; });
    Vector3Tween vector(Vector3(), Vector3(1, 1, 1), 0, [&](const Vector3&) { ++calls; });
    EXPECT_TRUE(zero.IsFinished());
    EXPECT_TRUE(negative.IsFinished());
    EXPECT_TRUE(vector.IsFinished());
    zero.Update();
    negative.Update();
    vector.Update();
    EXPECT_EQ(calls, 0);

    TweenList list;
    list.Add(std::make_unique<NumberTween>(-3, [&](float, int32_t) { ++calls; }));
    list.Update();
    EXPECT_TRUE(list.IsEmpty()); // never stuck in the list
}

TEST(TweenLists, FinishedTweensLeaveOnTheNextPassWithoutAnotherCall)
{
    TweenList list;
    int calls = 0;
    list.Add(std::make_unique<NumberTween>(2, [&](float, int32_t) { ++calls; }));
    list.Update();
    list.Update();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(list.Size(), 1u); // finished but still listed
    list.Update();
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(TweenLists, AChainAddedFromOnCompleteDeliversOneValuePerStep)
{
    // A recoil: kick out over 3 steps, then come back over 2.
    TweenList list;
    std::vector<float> offsets;
    auto kick = std::make_unique<NumberTween>(3, [&](float v, int32_t) { offsets.push_back(v); });
    kick->onComplete = [&] {
        list.Add(std::make_unique<NumberTween>(2, [&](float v, int32_t) { offsets.push_back(1.0f - v); }));
    };
    list.Add(std::move(kick));
    std::vector<size_t> deliveredPerStep;
    for (int step = 0; step < 7; ++step) {
        const size_t before = offsets.size();
        list.Update();
        deliveredPerStep.push_back(offsets.size() - before);
    }
    EXPECT_EQ(deliveredPerStep, (std::vector<size_t>{1, 1, 1, 1, 1, 0, 0}));
    ASSERT_EQ(offsets.size(), 5u);
    EXPECT_EQ(offsets[2], 1.0f);
    EXPECT_EQ(offsets[4], 0.0f);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(TweenLists, ClearFromInsideACallbackIsSafeAndStopsEveryOldTween)
{
    TweenList list;
    int laterCalls = 0, newCalls = 0;
    list.Add(std::make_unique<NumberTween>(5, [&](float, int32_t i) {
        if (i == 1) {
            list.Clear(); // e.g. a weapon switch in the middle of a swing
            list.Add(std::make_unique<NumberTween>(2, [&](float, int32_t) { ++newCalls; }));
        }
    }));
    list.Add(std::make_unique<NumberTween>(5, [&](float, int32_t) { ++laterCalls; }));
    list.Update();
    EXPECT_EQ(laterCalls, 1);
    list.Update(); // the first tween clears the list here
    EXPECT_EQ(laterCalls, 1);
    EXPECT_EQ(newCalls, 0);
    EXPECT_EQ(list.Size(), 1u);
    list.Update();
    list.Update();
    EXPECT_EQ(newCalls, 2);
}

TEST(TweenLists, ClearRunsNoCallbacks)
{
    TweenList list;
    int calls = 0;
    auto tween = std::make_unique<NumberTween>(1, [&](float, int32_t) { ++calls; });
    tween->onComplete = [&] { ++calls; };
    list.Add(std::move(tween));
    list.Clear();
    list.Update();
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(list.IsEmpty());
}

} // namespace
} // namespace mirefell
