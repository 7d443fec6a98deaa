// SpriteAnimator: frames, bob and turn.
#include "render/SpriteAnimator.h"

#include <cassert>
#include <cmath>

#include "platform/Lookup.h"
#include "platform/Random.h"

namespace mirefell
{

namespace
{

constexpr uint32_t AttackFrameTicks = 10;
constexpr uint32_t IdleFrameTicks = 30;
constexpr uint32_t DeathFrameTicks = 30;

// floor(numerator / denominator) for a positive denominator.
int64_t FloorDivide(int64_t numerator, int64_t denominator)
{
    const int64_t quotient = numerator / denominator;
    return (numerator % denominator != 0 && numerator < 0) ? quotient - 1 : quotient;
}

} // namespace

MeshInstance& SpriteFrame::Instance() const
{
    assert(mesh && index < mesh->instances.size());
    return mesh->instances[index];
}

SpriteAnimator::SpriteAnimator(ISpriteOwner* owner_) : owner(owner_)
{
    animations[MonsterAnimation::Attack].frameTicks = AttackFrameTicks;
    animations[MonsterAnimation::Idle].frameTicks = IdleFrameTicks;
    animations[MonsterAnimation::Walk].frameTicks = static_cast<uint32_t>(owner->GetWalkFrameTicks());
    SpriteAnimation& death = animations[MonsterAnimation::Death];
    death.frameTicks = DeathFrameTicks;
    death.playOnce = true;

    const SpriteFrameMap& frames = owner->GetAnimationFrames();
    if (const auto walk = frames.find(MonsterAnimation::Walk); walk != frames.end() && !walk->second.empty())
        walk->second.front().Instance().shown = true;
}

void SpriteAnimator::Start()
{
    for (auto& [id, frames] : owner->GetAnimationFrames()) {
        SpriteAnimation& animation = MapAt(animations, id);
        animation.frame = 0;
        animation.frames.clear();
        for (SpriteFrame& frame : frames)
            animation.frames.push_back(&frame);
        animation.frameCount = static_cast<uint32_t>(animation.frames.size());
        const int64_t r = Rand();
        animation.countdown = static_cast<int32_t>(FloorDivide((int64_t{animation.frameTicks} - 1) * r, RandMax) + 1);
    }

    const SpriteAnimation& walk = MapAt(animations, MonsterAnimation::Walk);
    SpriteAnimation& idle = MapAt(animations, MonsterAnimation::Idle);
    idle.countdown = static_cast<int32_t>(idle.frameTicks);
    idle.frame = 0;
    if (!walk.frames.empty())
        idle.frames.push_back(walk.frames[0]);
    if (walk.frames.size() > 2)
        idle.frames.push_back(walk.frames[2]);
    idle.frameCount = static_cast<uint32_t>(idle.frames.size());
}

void SpriteAnimator::Show(SpriteFrame* frame)
{
    if (currentFrame)
        currentFrame->Instance().shown = false;
    currentFrame = frame;
    if (currentFrame)
        currentFrame->Instance().shown = true;
}

void SpriteAnimator::Play(MonsterAnimation id)
{
    currentAnimation = &MapAt(animations, id);
    currentAnimation->frame = 0;
    // An animation without frames shows nothing rather than a stale frame.
    Show(currentAnimation->frames.empty() ? nullptr : currentAnimation->frames.front());
}

void SpriteAnimator::Advance(bool draw)
{
    if (SpriteAnimation* animation = currentAnimation; animation && animation->frameCount > 0) {
        const bool heldOnLast =
            animation->playOnce && animation->frame == static_cast<int32_t>(animation->frameCount) - 1;
        if (!heldOnLast && animation->countdown > 0 && --animation->countdown == 0) {
            animation->countdown = static_cast<int32_t>(animation->frameTicks);
            animation->frame = (animation->frame + 1) % static_cast<int32_t>(animation->frameCount);
            Show(animation->frames[animation->frame]);
        }
    }

    if (!owner->IsOwnerDead()) {
        if (owner->IsOwnerMoving())
            bobPhase += bobStepMoving;
        else if (currentAnimation == &animations[MonsterAnimation::Idle])
            bobPhase += bobStepIdle;
        bobOffset = std::sin(bobPhase) * bobAmplitude;

        if (turnAngle != 0.0f) {
            turnAngle -= turnSign * turnSpeed;
            if ((turnSign > 0.0f && turnAngle < 0.0f) || (turnSign < 0.0f && turnAngle > 0.0f)) {
                turnAngle = 0.0f;
                owner->ClearFlinching();
            }
        }
        turnOffset = turnAngle;
    }

    if (currentFrame)
        currentFrame->Instance().shown = draw;
}

void SpriteAnimator::RandomizeFacing()
{
    const int k = 2 * Rand() / RandMax;
    if (k != 0) {
        turnAngle = -turnStartAngle;
        turnSign = -1.0f;
    } else {
        turnAngle = turnStartAngle;
        turnSign = 1.0f;
    }
}

void SpriteAnimator::SetBounds(const float* bounds)
{
    for (auto& [id, animation] : animations)
        for (SpriteFrame* frame : animation.frames)
            frame->Instance().bounds = bounds;
}

} // namespace mirefell
