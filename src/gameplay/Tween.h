// Tweens: a value carried linearly from a start to an end over a fixed number
// of steps, each intermediate value handed to a callback. The first-person
// weapon view builds every motion (swing, recoil, switch) from them; easing
// is the callbacks' business. A tween of n steps delivers exactly n values,
// the last one exactly the end; after that it is finished and does nothing.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/math/Vector.h"

namespace mirefell::Math
{

class ITween
{
public:
    virtual ~ITween() = default;
    // One step: delivers the next value (and runs onComplete after the last).
    virtual void Update() = 0;
    virtual bool IsFinished() const = 0;
};

// Runs from 0 to 1; the callback receives the value and the 0-based index of
// the delivery.
class NumberTween final : public ITween
{
public:
    using UpdateFunction = std::function<void(float value, int32_t index)>;

    NumberTween(int32_t steps, UpdateFunction onUpdate_);

    void Update() override;
    // A tween made with zero or fewer steps is finished at once.
    bool IsFinished() const override { return stepsLeft <= 0; }

    std::function<void()> onComplete; // optional follow-up, assigned by the owner
    float value = 0.0f;
    float end = 1.0f;
    int32_t stepsLeft;
    int32_t index = 0;
    UpdateFunction onUpdate;
    float increment;
};

class Vector3Tween final : public ITween
{
public:
    using UpdateFunction = std::function<void(const Vector3& current)>;

    Vector3Tween(const Vector3& start, const Vector3& end_, int32_t steps, UpdateFunction onUpdate_);

    void Update() override;
    bool IsFinished() const override { return stepsLeft <= 0; }

    std::function<void()> onComplete;
    Vector3 current;
    Vector3 end;
    int32_t stepsLeft;
    UpdateFunction onUpdate;
    Vector3 delta;
};

} // namespace mirefell::Math
