// ItemDrawing: how an inventory item looks wherever it is drawn (on the
// inventory grid and under the mouse while it is dragged): its icon over its
// w x h cells, the white corner brackets of an equipped weapon or an active
// artifact, and the ammunition count in the bottom-left corner. Each takes
// the painter, the screen point of the item's top-left corner and the item;
// the cell size is the painter's unit. Inside the painter's batch.
#pragma once

#include <cstdint>

#include "platform/math/Vector.h"

namespace mirefell
{

class Item;
class Painter;

// The texture named by the item's id ("item_placeholder" when it has none),
// stretched over its cells, untinted.
void DrawItemIcon(Painter& painter, Vector2 position, const Item& item);
// Eight white bars, two at each corner of the item's cells.
void DrawEquippedMarker(Painter& painter, Vector2 position, const Item& item);
// The decimal count in the small font on a black strip 20 pixels high along
// the bottom of the item's cells.
void DrawAmmoCount(Painter& painter, Vector2 position, const Item& item, int32_t count);

} // namespace mirefell
