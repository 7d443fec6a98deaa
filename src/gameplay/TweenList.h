// TweenList: the owner's ordered list of running tweens, updated once per
// step.
//
// Callbacks may change the list while it is being updated:
// - a tween added during Update (typically by an onComplete that chains the
//   next motion) joins the end of the list and receives its first Update in
//   the next pass, so a chain delivers exactly one value per step;
// - Clear during Update retires every tween present; the one whose callback
//   is running is destroyed only after the pass, and none of them is updated
//   again. Tweens added after that Clear survive.
// A finished tween stays one more pass and is removed at the start of its
// next turn, without another call.
#pragma once

#include <memory>
#include <vector>

#include "gameplay/Tween.h"

namespace mirefell
{

class TweenList
{
public:
    TweenList() { tweens.reserve(16); }

    // Appends a tween; the list owns it.
    void Add(std::unique_ptr<Math::ITween> tween);
    void Update();
    // Destroys every tween, finished or not, without running any callback.
    void Clear();

    size_t Size() const { return tweens.size(); }
    bool IsEmpty() const { return tweens.empty(); }

private:
    std::vector<std::unique_ptr<Math::ITween>> tweens;
    std::vector<std::unique_ptr<Math::ITween>> retired; // cleared mid-pass, destroyed after it
    bool updating = false;
};

} // namespace mirefell
