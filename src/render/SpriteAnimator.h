// SpriteAnimator: plays a monster's sprite animations. Every frame of every
// animation of a monster kind is an instanced Mesh (the "nom_..." and
// "eye_..." entity meshes) and the monster owns one instance in each; the
// animator keeps exactly one of them shown, steps the current animation once
// per update step and works out two small motions the monster applies when it
// writes its instance: a vertical bob and a turn that swings back to zero
// after a hit.
//
// The animator points into its owner's frame map: the map must be complete
// before Start and must not change while the animator lives.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "render/Mesh.h"
#include "render/MeshInstance.h"
#include "render/MonsterAnimation.h"

namespace mirefell
{

// One frame of a monster's sprite: its frame Mesh and the index of the
// monster's instance in it.
struct SpriteFrame
{
    Mesh* mesh = nullptr;
    uint32_t index = 0;

    MeshInstance& Instance() const;
};

using SpriteFrameMap = std::map<MonsterAnimation, std::vector<SpriteFrame>>;

// What the animator reads of the monster it animates.
class ISpriteOwner
{
public:
    virtual ~ISpriteOwner() = default;
    // The frames of walk, death and attack, in frame order.
    virtual SpriteFrameMap& GetAnimationFrames() = 0;
    // Update steps per walk frame.
    virtual int32_t GetWalkFrameTicks() const = 0;
    virtual bool IsOwnerDead() const = 0;
    virtual bool IsOwnerMoving() const = 0;
    // The turn after a hit has swung back to zero.
    virtual void ClearFlinching() = 0;
};

struct SpriteAnimation
{
    uint32_t frameTicks = 0; // update steps per frame
    bool playOnce = false;   // stop on the last frame instead of wrapping
    int32_t frame = 0;       // index into frames
    std::vector<SpriteFrame*> frames;
    uint32_t frameCount = 0;
    int32_t countdown = 0; // update steps left on the current frame
};

class SpriteAnimator
{
public:
    // Makes attack (10 steps a frame), idle (30), walk (the owner's walk
    // frame duration) and death (30, played once), and shows the owner's
    // first walk frame, when it has one, as the current frame.
    explicit SpriteAnimator(ISpriteOwner* owner_);

    // Takes the frame lists from the owner's map, in id order, each with a
    // random start countdown from 1 to its frameTicks (one Rand() per list),
    // then builds idle from walk frames 0 and 2 (frame 0 alone when walk has
    // two frames or fewer, nothing when it has none). An id outside 1 to 4
    // throws "invalid map<K, T> key".
    void Start();
    // Makes the animation current at frame 0 (its countdown runs on) and
    // shows that frame instead of the one shown. An id outside 1 to 4 throws
    // "invalid map<K, T> key".
    void Play(MonsterAnimation id);
    // One update step: the frame countdown, then, while the owner lives, the
    // bob and the turn; last the shown frame's `shown` byte = draw.
    void Advance(bool draw);
    // Starts a turn to one side, chosen by one Rand().
    void RandomizeFacing();
    // Makes every frame instance of every animation cull with the owner's
    // box (six floats).
    void SetBounds(const float* bounds);

    ISpriteOwner* owner;
    SpriteFrame* currentFrame = nullptr;
    float turnOffset = 0.0f; // added to the instance's yaw by the owner
    float bobOffset = 0.0f;  // added to the instance's height by the owner
    float bobAmplitude = 0.5f;
    float bobPhase = 0.0f;
    float bobStepMoving = 0.175f;
    float bobStepIdle = 0.0875f;
    float turnStartAngle = 1.5707964f;
    float turnAngle = 0.0f; // still to undo
    float turnSpeed = 0.05f;
    float turnSign = 1.0f;
    SpriteAnimation* currentAnimation = nullptr;
    std::map<MonsterAnimation, SpriteAnimation> animations;

private:
    void Show(SpriteFrame* frame);
};

} // namespace mirefell
