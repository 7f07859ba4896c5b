#!/usr/bin/env python3
"""Writes the shipped light-frame database (resources/db/lightlayer_v1.data).

For every built-in lighting mode of the shipped layouts (attribute without the
user-light bit 0x100 and the music bit 0x200) it records preview frames: one
brightness byte per key, keys in the layout's key-list order, frames one after
another. The on-screen keyboard draws each key's outline with that byte as its
alpha, so every effect is an animation of brightness over the key positions.

All models share one file and frames are chosen by mode number alone, so every
layout must list the same keys in the same order; the tool refuses otherwise.

Usage: generate_light_frames.py <resources folder>
"""
import math
import os
import random
import sqlite3
import sys
import xml.etree.ElementTree as ET

FRAMES = 32  # one cycle of every animated effect
FLOOR = 24   # dimmest outline, so the keyboard never vanishes from the preview

# The schema the program creates for a missing file, byte for byte.
SCHEMA = [
    "CREATE TABLE IF NOT EXISTS t_default_light_frames(frames_id INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t  light_id INTEGER, frameIndex INTEGER, key_value INTEGER, rgb_value INTEGER)",
    "CREATE TABLE IF NOT EXISTS t_light_frames(frames_id INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t  light_id INTEGER, frameIndex INTEGER, key_value INTEGER, rgb_value INTEGER)",
    "CREATE INDEX IF NOT EXISTS light_frames_index ON t_light_frames(light_id)",
]


def read_layout(path):
    root = ET.parse(path).getroot()
    modes = [(int(i.get("mode")), int(i.get("attribute"))) for i in root.find("light").findall("info")]
    board = root.find("Keyboard")
    width, height = int(board.get("width")), int(board.get("height"))
    keys = []
    for k in board.find("KeyItems").findall("key"):
        x, y, w, h = (int(v) for v in k.get("rect").split("#"))
        keys.append((int(k.get("code"), 16), (x + w / 2) / width, (y + h / 2) / height))
    return modes, keys


def level(v):
    return max(FLOOR, min(255, int(round(FLOOR + (255 - FLOOR) * v))))


def band(d, width):
    """1 at distance 0, falling smoothly to 0 at `width`."""
    return math.exp(-(d / width) ** 2 * 3)


def static(keys, f):
    return [255 for _ in keys]


def breathing(keys, f):
    v = 0.5 - 0.5 * math.cos(2 * math.pi * f / FRAMES)
    return [level(v) for _ in keys]


def wave(keys, f):
    # A bright band travels left to right across the key columns.
    head = f / FRAMES * 1.4 - 0.2
    return [level(band(x - head, 0.12)) for _, x, _y in keys]


def ripple(keys, f):
    # A ring grows from the centre of the keyboard.
    radius = f / FRAMES * 0.75
    return [level(band(math.hypot((x - 0.5) * 2.6, y - 0.5) / 1.3 - radius, 0.08)) for _, x, y in keys]


def scan(keys, f):
    # A bright row sweeps from the top row to the bottom row.
    head = f / FRAMES * 1.4 - 0.2
    return [level(band(y - head, 0.14)) for _, _x, y in keys]


def radar(keys, f):
    # A beam turns around the centre, fading behind it.
    angle = 2 * math.pi * f / FRAMES
    out = []
    for _, x, y in keys:
        a = math.atan2(y - 0.5, (x - 0.5) * 3.2)
        behind = (angle - a) % (2 * math.pi)
        out.append(level(max(0.0, 1 - behind / 1.6)))
    return out


def rain(keys, f):
    # Drops fall down the key columns, each column at its own phase.
    rng = random.Random(7)
    phases = {}
    out = []
    for _, x, y in keys:
        column = round(x * 22)
        if column not in phases:
            phases[column] = rng.random()
        head = ((f / FRAMES + phases[column]) % 1.0) * 1.5 - 0.25
        d = head - y
        out.append(level(band(d, 0.18) if d >= 0 else band(d, 0.05)))
    return out


def twinkle(keys, f):
    # Single keys flash up and fade out at random, repeating every cycle.
    rng = random.Random(11)
    out = []
    for _ in keys:
        start = rng.randrange(FRAMES)
        age = (f - start) % FRAMES
        out.append(level(max(0.0, 1 - age / 6)) if age < 6 else FLOOR)
    return out


EFFECTS = {1: (static, 1), 2: (breathing, FRAMES), 3: (wave, FRAMES), 4: (ripple, FRAMES),
           5: (rain, FRAMES), 6: (radar, FRAMES), 7: (twinkle, FRAMES), 8: (scan, FRAMES)}
EXTRA = [breathing, wave, ripple, rain, radar, twinkle, scan]  # for modes beyond the table


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    resources = sys.argv[1]
    config = ET.parse(os.path.join(resources, "config.xml")).getroot()
    layouts = [k.get("layout_file") for k in config.find("device.info").findall("keyboard")]
    modes, keys = set(), None
    for name in layouts:
        layout_modes, layout_keys = read_layout(os.path.join(resources, "layouts", name + ".xml"))
        if keys is not None and [k[0] for k in keys] != [k[0] for k in layout_keys]:
            sys.exit("layout %s lists other keys than the first layout; frames are shared by mode number" % name)
        keys = keys or layout_keys
        modes |= {m for m, attribute in layout_modes if attribute & 0x300 == 0}

    out = os.path.join(resources, "db", "lightlayer_v1.data")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    if os.path.exists(out):
        os.remove(out)
    db = sqlite3.connect(out)
    for statement in SCHEMA:
        db.execute(statement)
    # Rows go in frame by frame, keys in list order: reads by mode return them so.
    for mode in sorted(modes):
        effect, count = EFFECTS.get(mode, (EXTRA[mode % len(EXTRA)], FRAMES))
        for f in range(count):
            for (code, _x, _y), value in zip(keys, effect(keys, f)):
                db.execute("INSERT INTO t_light_frames(light_id, frameIndex, key_value, rgb_value) VALUES (?, ?, ?, ?)",
                           (mode, f, code, value))
    db.commit()
    db.execute("VACUUM")
    db.close()
    print("wrote %s: modes %s, %d keys" % (out, sorted(modes), len(keys)))


if __name__ == "__main__":
    main()
