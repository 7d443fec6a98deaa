#!/usr/bin/env python3
"""Writes testmap.json, the hand-made test map described in README.md.

The layout lives here in compact form; run this script after changing it and
commit both files. Output is deterministic.
"""
import json
import os

WHITE = 0xFFFFFF
GREY = 0x808080


def rect(x0, y0, x1, y1):
    # Counter-clockwise in the map plane, so floors face up and ceilings down.
    return [{"x": x0, "y": y0}, {"x": x1, "y": y0}, {"x": x1, "y": y1}, {"x": x0, "y": y1}]


def sector(sid, box, floor, ceil, **extra):
    points = rect(*box)
    record = {
        "id": sid,
        "vertices": points,
        "indices": [0, 1, 2, 0, 2, 3],
        "floorBottomY": floor - 8,
        "floorTopY": floor,
        "ceilBottomY": ceil,
        "ceilTopY": ceil + 8,
        "ceiling": True,
        "door": False,
        "doorMaxHeight": 0,
        "elevator": False,
        "elevatorMaxHeight": 0,
        "floorTexId": "floor_stone",
        "ceilTexId": "ceiling_plain",
        "sideTexId": "",
        "lightLevel": 7,
        "lightColor": WHITE,
        "collisionVertices": points,
        "collisionIndices": [0, 1, 2, 0, 2, 3],
        "useVertexColors": False,
        "ceilingCatColor": GREY,
        "teleportInID": 0,
        "teleportOutID": 0,
    }
    record.update(extra)
    return record


segments = []


def wall(start, end, bottom, top, sector_id, tex="wall_brick", seg_type=0, seg_id=None):
    # The room lies to the right of start -> end (walls run clockwise around
    # their room), so the wall's normal (dy, -dx) points into the room.
    sx, sy = start
    ex, ey = end
    segments.append({
        "id": seg_id if seg_id is not None else len(segments) + 1,
        "start": {"x": sx, "y": sy},
        "end": {"x": ex, "y": ey},
        "type": seg_type,
        "bottomY": bottom,
        "topY": top,
        "sectorId": sector_id,
        "texId": tex,
        # start-top, end-top, end-bottom, start-bottom
        "vertices": [{"x": sx, "y": top, "z": sy}, {"x": ex, "y": top, "z": ey},
                     {"x": ex, "y": bottom, "z": ey}, {"x": sx, "y": bottom, "z": sy}],
        "indices": [0, 1, 2, 2, 3, 0],
        "bottomRightIndex": 2,
        "lightColor": WHITE,
    })


# Room A (sector 1): start room, 0..128 x 0..128, floor 0, ceiling 128.
wall((0, 0), (0, 128), 0, 128, 1)
wall((0, 128), (128, 128), 0, 128, 1)
wall((128, 128), (128, 80), 0, 128, 1)
wall((128, 80), (128, 48), 96, 128, 1)  # lintel over door 2
wall((128, 48), (128, 0), 0, 128, 1)
wall((128, 0), (0, 0), 0, 128, 1)
# Door 2 jambs.
wall((144, 48), (128, 48), 0, 96, 2, "door_frame")
wall((128, 80), (144, 80), 0, 96, 2, "door_frame")
# Room B (sector 3): hall, 144..288 x 0..128, floor 0, ceiling 160.
wall((144, 0), (144, 48), 0, 160, 3)
wall((144, 48), (144, 80), 96, 160, 3)  # lintel over door 2
wall((144, 80), (144, 128), 0, 160, 3)
wall((144, 128), (200, 128), 0, 160, 3)
wall((200, 128), (232, 128), 0, 160, 3, "switch_off", seg_type=5, seg_id=100)  # the switch
wall((232, 128), (288, 128), 0, 160, 3)
wall((288, 128), (288, 96), 0, 160, 3)
wall((288, 96), (288, 32), 160, 192, 3)  # lintel over the elevator alcove
wall((288, 32), (288, 0), 0, 160, 3)
wall((288, 0), (144, 0), 0, 160, 3)
# Elevator shaft (sector 4), 288..320 x 32..96.
wall((320, 32), (288, 32), -64, 192, 4)
wall((288, 96), (320, 96), -64, 192, 4)
wall((288, 32), (288, 96), -64, 0, 4)  # below the hall's floor
wall((320, 96), (320, 32), -64, 64, 4)  # the step up to the ledge
# Room C (sector 5): ledge, 320..448 x 0..128, floor 64, ceiling 192.
wall((320, 0), (320, 32), 64, 192, 5)
wall((320, 96), (320, 128), 64, 192, 5)
wall((320, 128), (448, 128), 64, 192, 5)
wall((448, 128), (448, 80), 64, 192, 5)
wall((448, 80), (448, 48), 160, 192, 5)  # lintel over door 6
wall((448, 48), (448, 0), 64, 192, 5)
wall((448, 0), (320, 0), 64, 192, 5)
# Door 6 jambs.
wall((464, 48), (448, 48), 64, 160, 6, "door_frame")
wall((448, 80), (464, 80), 64, 160, 6, "door_frame")
# Closet (sector 7), 464..528 x 32..96, floor 64, ceiling 160.
wall((464, 32), (464, 48), 64, 160, 7)
wall((464, 80), (464, 96), 64, 160, 7)
wall((464, 96), (528, 96), 64, 160, 7)
wall((528, 96), (528, 32), 64, 160, 7)
wall((528, 32), (464, 32), 64, 160, 7)

sectors = [
    sector(1, (0, 0, 128, 128), 0, 128),
    sector(2, (128, 48, 144, 80), 0, 96, door=True, doorMaxHeight=88, sideTexId="door_metal"),
    sector(3, (144, 0, 288, 128), 0, 160, lightLevel=6),
    sector(4, (288, 32, 320, 96), 0, 192, elevator=True, elevatorMaxHeight=64, sideTexId="elevator_side",
           useVertexColors=True, lightColor=0xC0A080),
    sector(5, (320, 0, 448, 128), 64, 192, lightLevel=8),
    sector(6, (448, 48, 464, 80), 64, 160, door=True, doorMaxHeight=88, sideTexId="door_red", key=1),
    sector(7, (464, 32, 528, 96), 64, 160, lightLevel=4),
]


def entity(eid, code, x, y, height, rotation=0, **extra):
    record = {"id": eid, "pos": {"x": x, "y": y}, "type": code, "y": height, "isStatic": False,
              "rotation": rotation}
    record.update(extra)
    return record


entities = [
    entity(1, "MK", 32, 96, 0),
    entity(2, "AM", 96, 96, 0),
    entity(3, "N", 216, 64, 0, 180),
    entity(4, "P", 176, 24, 0, lootTableId=1),
    entity(5, "A", 256, 112, 0),
    entity(6, "RK", 400, 112, 64),
    entity(7, "E", 400, 32, 64, 90),
    entity(8, "L", 496, 64, 64),
    entity(9, "AM", 304, 64, 0),  # rides the elevator
]

areas = [
    {"name": "ledge", "id": 1, "start": {"x": 320, "y": 0}, "end": {"x": 448, "y": 128}},
    {"name": "closet", "id": 2, "start": {"x": 464, "y": 32}, "end": {"x": 528, "y": 96}},
]

lights = [
    {"id": 1, "yOffset": 64, "pos": {"x": 64, "y": 64}, "lightColor": 0xFFE0C0},
    {"id": 2, "yOffset": 80, "pos": {"x": 216, "y": 64}, "lightColor": 0xFFFFFF},
    {"id": 3, "yOffset": 64, "pos": {"x": 384, "y": 64}, "lightColor": 0xC0C0FF},
    {"id": 4, "yOffset": 48, "pos": {"x": 496, "y": 64}, "lightColor": 0xFF4040},
]

document = {
    "name": "testmap",
    "playerStartPosition": {"x": 32, "y": 32},
    "sectorLinks": [1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7],
    "hasScript": False,
    "layerObjects": {"0": segments, "2": sectors, "3": entities, "4": areas, "5": lights},
}

path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "testmap.json")
# One record per line keeps the file readable and its diffs small.
lines = ["{"]
for key in ("name", "playerStartPosition", "sectorLinks", "hasScript"):
    lines.append(f" {json.dumps(key)}: {json.dumps(document[key])},")
lines.append(' "layerObjects": {')
layer_keys = list(document["layerObjects"])
for n, key in enumerate(layer_keys):
    records = document["layerObjects"][key]
    lines.append(f"  {json.dumps(key)}: [")
    lines += [f"   {json.dumps(r)}" + ("," if i + 1 < len(records) else "") for i, r in enumerate(records)]
    lines.append("  ]" + ("," if n + 1 < len(layer_keys) else ""))
lines += [" }", "}"]
with open(path, "w", newline="\n") as out:
    out.write("\n".join(lines) + "\n")
