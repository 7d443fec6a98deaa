// Tweens: one step of a number or vector tween.
#include "gameplay/Tween.h"

namespace mirefell::Math
{

NumberTween::NumberTween(int32_t steps, UpdateFunction onUpdate_)
    : stepsLeft(steps), onUpdate(std::move(onUpdate_)), increment(1.0f / static_cast<float>(steps))
{}

void NumberTween::Update()
{
    if (stepsLeft > 1) {
        value += increment;
        stepsLeft -= 1;
        onUpdate(value, index);
        index += 1;
    } else if (stepsLeft == 1) {
        value = end;
        stepsLeft = 0;
        onUpdate(value, index);
        index += 1;
        if (onComplete)
            onComplete();
    }
}

Vector3Tween::Vector3Tween(const Vector3& start, const Vector3& end_, int32_t steps, UpdateFunction onUpdate_)
    : current(start), end(end_), stepsLeft(steps), onUpdate(std::move(onUpdate_)),
      delta((end_ - start) * (1.0f / static_cast<float>(steps)))
{}

void Vector3Tween::Update()
{
    if (stepsLeft > 1) {
        stepsLeft -= 1;
        current += delta;
        onUpdate(current);
    } else if (stepsLeft == 1) {
        stepsLeft = 0;
        current = end;
        onUpdate(current);
        if (onComplete)
            onComplete();
    }
}

} // namespace mirefell::Math
