// TweenList: the per-step walk over the running tweens, safe against
// callbacks that add tweens or clear the list.
#include "gameplay/TweenList.h"

#include <algorithm>

namespace mirefell
{

void TweenList::Add(std::unique_ptr<Math::ITween> tween)
{
    tweens.push_back(std::move(tween));
}

void TweenList::Update()
{
    updating = true;
    // The count is taken first: tweens added by callbacks wait for the next
    // pass. Indexes, not iterators, because callbacks may grow the vector.
    const size_t count = tweens.size();
    for (size_t i = 0; i < count; ++i) {
        if (!tweens[i]) // cleared by a callback earlier in this pass
            continue;
        if (tweens[i]->IsFinished()) {
            tweens[i].reset();
            continue;
        }
        tweens[i]->Update();
    }
    updating = false;
    tweens.erase(std::remove(tweens.begin(), tweens.end(), nullptr), tweens.end());
    retired.clear();
}

void TweenList::Clear()
{
    if (!updating) {
        tweens.clear();
        return;
    }
    // Mid-pass: the running tween must outlive its own callback.
    for (auto& tween : tweens)
        if (tween)
            retired.push_back(std::move(tween));
}

} // namespace mirefell
