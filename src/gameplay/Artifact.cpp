#include "gameplay/Artifact.h"

namespace mirefell
{

Artifact::Artifact()
{
    category = ItemCategory::Artifact;
    width = 2;
    height = 2;
}

} // namespace mirefell
