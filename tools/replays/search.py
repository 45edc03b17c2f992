#!/usr/bin/env python3
"""Finds scripts for replay tests by playing the simulator.

A small beam search: the script grows one second at a time with random arrow
presses, and the candidates that survive longest are kept. Used to make the
scripts in tests/replays; the search is seeded, so it finds the same ones again.

usage: search.py SIM ASSETS_DIR TARGET_SECONDS [SEED]
Prints the script of the first candidate that lives TARGET_SECONDS, and for
every hazard the first script seen that ended on it (as comments).
"""
import json
import os
import random
import subprocess
import sys

KEYS = ["up", "down", "left", "right"]
TRIES = 8
BEAM = 6
LOOKAHEAD = 4


def play(sim, assets, script, until_ms):
    out = subprocess.run([sim, "--until", str(until_ms)], input=script, text=True,
                         capture_output=True, cwd=assets, check=True).stdout
    first_hit = None
    end = None
    for line in out.splitlines():
        ev = json.loads(line)
        if "hit" in ev and first_hit is None:
            first_hit = ev
        if "end" in ev:
            end = ev
    return first_hit, end


def main():
    sim, assets, target = os.path.abspath(sys.argv[1]), sys.argv[2], int(sys.argv[3])
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    beam = [""]
    enders = {}
    for second in range(target):
        grown = []
        for base in beam:
            for _ in range(TRIES):
                extra = base
                t = second * 1000 + rng.randrange(0, 1000, 50)
                extra += f"{t} {rng.choice(KEYS)}\n"
                # Look a few seconds ahead so the beam does not walk into a trap.
                hit, end = play(sim, assets, extra, (second + LOOKAHEAD) * 1000)
                if hit:
                    enders.setdefault(hit["hit"], extra)
                    continue
                grown.append(extra)
        if not grown:
            grown = beam
        rng.shuffle(grown)
        beam = grown[:BEAM]
    print(beam[0], end="")
    for name, script in sorted(enders.items()):
        print(f"# ends on {name}: " + script.replace("\n", "; "))


if __name__ == "__main__":
    main()
