#!/usr/bin/env python3
"""Finds a script that survives TARGET seconds, by depth-first search.

Each second gets one random move (or none); a move is kept when the ship still
lives LOOKAHEAD seconds later, and when no move works the search steps back a
second and tries another there. Seeded, so it finds the same script again.

usage: survive.py SIM ASSETS_DIR TARGET_SECONDS [SEED]
"""
import json
import os
import random
import subprocess
import sys

MOVES = ["up", "down", "left", "right", None]
TRIES = 10
LOOKAHEAD = 4


def lives(sim, assets, lines, until_s):
    out = subprocess.run([sim, "--until", str(until_s * 1000)], input="".join(lines), text=True,
                         capture_output=True, cwd=assets, check=True).stdout
    return '"hit"' not in out


def main():
    sim, assets, target = os.path.abspath(sys.argv[1]), sys.argv[2], int(sys.argv[3])
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    chosen = []   # one list of lines per second
    tried = [0]   # attempts made at each depth
    while len(chosen) < target:
        depth = len(chosen)
        if tried[depth] >= TRIES:
            if not chosen:
                sys.exit("no script found")
            chosen.pop()
            tried.pop()
            continue
        tried[depth] += 1
        move = rng.choice(MOVES)
        step = [f"{depth * 1000 + rng.randrange(0, 1000, 50)} {move}\n"] if move else []
        prefix = [l for s in chosen for l in s] + step
        if lives(sim, assets, prefix, depth + LOOKAHEAD):
            chosen.append(step)
            tried.append(0)
    sys.stdout.write("".join(l for s in chosen for l in s))


if __name__ == "__main__":
    main()
