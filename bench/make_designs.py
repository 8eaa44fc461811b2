#!/usr/bin/env python3
"""Writes a file of mixed designs for timing tremira-calc: make_designs.py FILE [COUNT].

Most lines complete (rod and toroidal cores, both materials, typed and empty core
sections); some are refused (low current, high induction, voltage order) and some end in
an error (bad number, overflow, zero induction), in a fixed pseudo-random order.
"""
import random
import sys


def design(rng):
    kind = rng.random()
    mains = rng.choice(["220", "230", "380", "127"])
    output = str(rng.randint(48, 80))
    current = str(rng.randint(30, 250))
    section = rng.choice(["", "", "", "0", f"{rng.randint(20, 120)},{rng.randint(0, 99)}"])
    materials = ["Медь", "Алюминий"]
    core = rng.choice(["Стержневой", "Тор"])
    induction = rng.choice(["1,42", "1,2", "1,5", "1,35"])
    if kind < 0.08:
        current = str(rng.randint(1, 24))
    elif kind < 0.12:
        induction = "1,9"
    elif kind < 0.15:
        output = mains
    elif kind < 0.18:
        induction = "0,0"
    elif kind < 0.20:
        mains = "40000"
    elif kind < 0.22:
        current = "1,2,3"
    return ";".join([mains, output, current, section, rng.choice(materials), rng.choice(materials), core, induction])


def main():
    path = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
    rng = random.Random(20261207)
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write("# mains;output;current;section;material I;material II;core;induction\n")
        for _ in range(count):
            out.write(design(rng) + "\n")


if __name__ == "__main__":
    main()
