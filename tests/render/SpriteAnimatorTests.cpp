// SpriteAnimator with a stand-in monster: which frame instance is shown, the
// random start countdowns in their draw order, idle built from the walk
// frames, the death animation holding its last frame, the bob and the
// flinch turn.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Random.h"
#include "render/SpriteAnimator.h"

namespace mirefell
{
namespace
{

using Anim = MonsterAnimation;

class FakeMonster : public ISpriteOwner
{
public:
    // One frame mesh per frame, each holding this monster's instance at
    // index 1 behind another monster's at 0, all hidden as the spawner
    // leaves them.
    void AddFrames(Anim id, int count)
    {
        std::vector<SpriteFrame>& list = frames[id];
        for (int i = 0; i < count; ++i) {
            auto mesh = std::make_unique<Mesh>(EffectIdInstancedTexture, MeshVertexFormatTexture);
            mesh->instances.resize(2);
            for (MeshInstance& instance : mesh->instances)
                instance.shown = false;
            list.push_back({mesh.get(), 1});
            meshes.push_back(std::move(mesh));
        }
    }

    int ShownCount() const
    {
        int shown = 0;
        for (const auto& mesh : meshes)
            shown += mesh->instances[1].shown ? 1 : 0;
        return shown;
    }
    bool Shown(Anim id, size_t frame) { return frames[id].at(frame).Instance().shown; }

    SpriteFrameMap& GetAnimationFrames() override { return frames; }
    int32_t GetWalkFrameTicks() const override { return walkFrameTicks; }
    bool IsOwnerDead() const override { return dead; }
    bool IsOwnerMoving() const override { return moving; }
    void ClearFlinching() override { flinching = false; }

    SpriteFrameMap frames;
    std::vector<std::unique_ptr<Mesh>> meshes;
    int32_t walkFrameTicks = 15;
    bool dead = false;
    bool moving = false;
    bool flinching = false;
};

// A "nom": walk 2, death 4, attack 2 frames.
class SpriteAnimatorTest : public ::testing::Test
{
protected:
    SpriteAnimatorTest()
    {
        SeedRand(7);
        monster.AddFrames(Anim::Walk, 2);
        monster.AddFrames(Anim::Death, 4);
        monster.AddFrames(Anim::Attack, 2);
    }

    // Advances until the current frame changes, returning the steps taken.
    int StepsToNextFrame(SpriteAnimator& animator)
    {
        const SpriteFrame* before = animator.currentFrame;
        for (int steps = 1; steps <= 1000; ++steps) {
            animator.Advance(true);
            if (animator.currentFrame != before)
                return steps;
        }
        return -1;
    }

    FakeMonster monster;
};

TEST_F(SpriteAnimatorTest, StartCountdownsDrawFromRandInIdOrder)
{
    SpriteAnimator animator(&monster);
    EXPECT_TRUE(monster.Shown(Anim::Walk, 0)); // shown by construction, nothing else
    EXPECT_EQ(monster.ShownCount(), 1);
    EXPECT_EQ(animator.currentFrame, &monster.frames[Anim::Walk][0]);

    SeedRand(1234);
    const int walk = Rand(), death = Rand(), attack = Rand();
    SeedRand(1234);
    animator.Start();
    EXPECT_EQ(animator.animations[Anim::Walk].countdown, 14 * walk / 32767 + 1);
    EXPECT_EQ(animator.animations[Anim::Death].countdown, 29 * death / 32767 + 1);
    EXPECT_EQ(animator.animations[Anim::Attack].countdown, 9 * attack / 32767 + 1);
    EXPECT_EQ(animator.animations[Anim::Idle].countdown, 30);
    const int next = Rand();
    SeedRand(1234);
    for (int i = 0; i < 3; ++i)
        Rand();
    EXPECT_EQ(next, Rand()) << "Start draws exactly one number per frame list";
}

TEST_F(SpriteAnimatorTest, IdleIsBuiltFromWalkFramesZeroAndTwo)
{
    SpriteAnimator two(&monster);
    two.Start();
    const SpriteAnimation& idleOfTwo = two.animations[Anim::Idle];
    ASSERT_EQ(idleOfTwo.frameCount, 1u);
    EXPECT_EQ(idleOfTwo.frames[0], &monster.frames[Anim::Walk][0]);

    FakeMonster eye;
    eye.AddFrames(Anim::Walk, 4);
    SpriteAnimator four(&eye);
    four.Start();
    const SpriteAnimation& idleOfFour = four.animations[Anim::Idle];
    ASSERT_EQ(idleOfFour.frameCount, 2u);
    EXPECT_EQ(idleOfFour.frames[1], &eye.frames[Anim::Walk][2]);
    EXPECT_EQ(idleOfFour.frameTicks, 30u);
}

TEST_F(SpriteAnimatorTest, AnimationsWithoutFramesShowNothingAndNeverStep)
{
    FakeMonster bare;
    bare.frames[Anim::Walk]; // an empty walk list
    bare.AddFrames(Anim::Death, 2);
    SpriteAnimator animator(&bare);
    animator.Start();
    EXPECT_EQ(animator.animations[Anim::Idle].frameCount, 0u);
    animator.Play(Anim::Death);
    EXPECT_TRUE(bare.Shown(Anim::Death, 0));
    animator.Play(Anim::Idle);
    EXPECT_EQ(animator.currentFrame, nullptr);
    EXPECT_EQ(bare.ShownCount(), 0);
    for (int i = 0; i < 100; ++i)
        animator.Advance(true);
    EXPECT_EQ(bare.ShownCount(), 0);

    FakeMonster none; // no walk entry at all
    SpriteAnimator empty(&none);
    empty.Start();
    empty.Play(Anim::Walk);
    empty.Advance(true);
    EXPECT_EQ(empty.currentFrame, nullptr);
}

TEST_F(SpriteAnimatorTest, FramesStepEveryFrameTicksAndWrap)
{
    SpriteAnimator animator(&monster);
    animator.Start();
    animator.Play(Anim::Attack); // hides the walk frame shown at construction
    EXPECT_EQ(monster.ShownCount(), 1);
    const int first = animator.animations[Anim::Attack].countdown;
    EXPECT_EQ(StepsToNextFrame(animator), first);
    EXPECT_EQ(animator.animations[Anim::Attack].frame, 1);
    EXPECT_TRUE(monster.Shown(Anim::Attack, 1));
    EXPECT_EQ(monster.ShownCount(), 1);
    EXPECT_EQ(StepsToNextFrame(animator), 10);
    EXPECT_EQ(animator.animations[Anim::Attack].frame, 0); // wrapped
    EXPECT_EQ(monster.ShownCount(), 1);
}

TEST_F(SpriteAnimatorTest, PlayRestartsAtFrameZeroKeepingTheCountdown)
{
    SpriteAnimator animator(&monster);
    animator.Start();
    animator.Play(Anim::Attack);
    StepsToNextFrame(animator);
    animator.Advance(true);
    animator.Advance(true);
    const int left = animator.animations[Anim::Attack].countdown;

    animator.Play(Anim::Attack);
    EXPECT_EQ(animator.animations[Anim::Attack].frame, 0);
    EXPECT_EQ(animator.animations[Anim::Attack].countdown, left);
    EXPECT_TRUE(monster.Shown(Anim::Attack, 0));
    EXPECT_FALSE(monster.Shown(Anim::Attack, 1));

    animator.Play(Anim::Walk);
    EXPECT_EQ(monster.ShownCount(), 1);
    EXPECT_TRUE(monster.Shown(Anim::Walk, 0));
    EXPECT_THROW(animator.Play(static_cast<Anim>(5)), std::out_of_range);
}

TEST_F(SpriteAnimatorTest, DeathStopsOnItsLastFrameAndOnlyDrawSwitchesIt)
{
    SpriteAnimator animator(&monster);
    animator.Start();
    monster.dead = true;
    animator.Play(Anim::Death);
    for (int i = 0; i < 200; ++i)
        animator.Advance(true);
    const SpriteAnimation& death = animator.animations[Anim::Death];
    EXPECT_EQ(death.frame, 3);
    const int countdown = death.countdown;
    EXPECT_TRUE(monster.Shown(Anim::Death, 3));

    animator.Advance(false);
    EXPECT_FALSE(monster.Shown(Anim::Death, 3));
    EXPECT_EQ(monster.ShownCount(), 0);
    animator.Advance(true);
    EXPECT_TRUE(monster.Shown(Anim::Death, 3));
    EXPECT_EQ(death.frame, 3);
    EXPECT_EQ(death.countdown, countdown);
}

TEST_F(SpriteAnimatorTest, BobRunsTwiceAsFastMovingAsIdlingAndNotWhileAttacking)
{
    SpriteAnimator animator(&monster);
    animator.Start();
    animator.Play(Anim::Idle);
    animator.Advance(true);
    EXPECT_FLOAT_EQ(animator.bobPhase, 0.0875f);
    EXPECT_FLOAT_EQ(animator.bobOffset, 0.5f * std::sin(0.0875f));
    monster.moving = true;
    animator.Advance(true);
    EXPECT_FLOAT_EQ(animator.bobPhase, 0.0875f + 0.175f);

    monster.moving = false;
    animator.Play(Anim::Attack);
    animator.Advance(true);
    EXPECT_FLOAT_EQ(animator.bobPhase, 0.0875f + 0.175f);

    monster.moving = true;
    monster.dead = true;
    animator.Advance(true);
    EXPECT_FLOAT_EQ(animator.bobPhase, 0.0875f + 0.175f);
}

TEST_F(SpriteAnimatorTest, FlinchTurnSwingsBackInThirtyTwoStepsAndClearsFlinching)
{
    // One seed whose first number picks each side.
    const auto seedFor = [](bool positive) {
        for (uint32_t seed = 0;; ++seed) {
            SeedRand(seed);
            if ((2 * Rand() / 32767 == 0) == positive)
                return seed;
        }
    };
    for (bool positive : {true, false}) {
        SpriteAnimator animator(&monster);
        animator.Start();
        animator.Play(Anim::Walk);
        SeedRand(seedFor(positive));
        animator.RandomizeFacing();
        monster.flinching = true;
        EXPECT_FLOAT_EQ(animator.turnAngle, positive ? 1.5707964f : -1.5707964f);
        int steps = 0;
        while (animator.turnAngle != 0.0f && steps < 100) {
            animator.Advance(true);
            ++steps;
            if (animator.turnAngle != 0.0f) {
                EXPECT_EQ(animator.turnAngle > 0, positive);
            }
            EXPECT_EQ(animator.turnOffset, animator.turnAngle);
        }
        EXPECT_EQ(steps, 32);
        EXPECT_FALSE(monster.flinching);
    }

    // A dead monster's turn stays where it was.
    SpriteAnimator animator(&monster);
    animator.RandomizeFacing();
    const float angle = animator.turnAngle;
    monster.dead = true;
    animator.Advance(true);
    EXPECT_EQ(animator.turnAngle, angle);
}

} // namespace
} // namespace mirefell
