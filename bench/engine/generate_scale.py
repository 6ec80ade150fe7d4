#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the variables-scale script and its translations for the peer calculators.

V distinct names (v0 ... v<V-1>) are each set once, in a seeded shuffled order, to a constant
that is exact in binary; then STATEMENTS statements of the form t=a*0.5+b*0.25 follow, with t,
a and b drawn from the V names. The same lines are written three times:
  tarvin.txt  the calculator's own syntax
  bc.txt      for bc -l: every statement in parentheses, so bc prints its value
  python.py   for python3: each statement followed by a print of its target, run in blocks by
              the prologue of the throughput script
Every program thus prints one value per line, so the outputs can be compared line by line.

Usage: generate_scale.py OUTPUT_DIR VARIABLES [STATEMENTS] [SEED]
"""

import os
import random
import sys

from generate_script import PYTHON_PROLOGUE


def lines(variables, statements, seed):
    """The script's lines in the calculator's syntax: the settings, then the statements."""
    generator = random.Random(seed)
    order = list(range(variables))
    generator.shuffle(order)
    for number in order:
        yield 'v%d=%d.5' % (number, number % 1000)
    for _ in range(statements):
        t, a, b = (generator.randrange(variables) for _ in range(3))
        yield 'v%d=v%d*0.5+v%d*0.25' % (t, a, b)


def write(directory, variables, statements, seed):
    os.makedirs(directory, exist_ok=True)
    with open(os.path.join(directory, 'tarvin.txt'), 'w') as tarvin, \
            open(os.path.join(directory, 'bc.txt'), 'w') as bc, \
            open(os.path.join(directory, 'python.py'), 'w') as python:
        python.write(PYTHON_PROLOGUE)
        for line in lines(variables, statements, seed):
            target = line[:line.index('=')]
            tarvin.write(line + '\n')
            bc.write('(' + line + ')\n')
            python.write('#' + line + '; print(' + target + ')\n')


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    variables = int(sys.argv[2])
    statements = int(sys.argv[3]) if len(sys.argv) > 3 else 200000
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else 20261209
    write(sys.argv[1], variables, statements, seed)


if __name__ == '__main__':
    main()
