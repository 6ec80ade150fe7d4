#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the throughput script and its translations for the peer calculators.

One seeded stream of statements is built as small expression trees and written four times:
  tarvin.txt   the calculator's own syntax, one statement a line
  bc.txt       for bc -l: every statement in parentheses, so bc prints its value
  python.py    for python3: each statement followed by a print of its target, compiled and
               run in blocks of lines (compiling a module of a million statements at once
               takes gigabytes of memory)
  muparser.txt for the muparser harness: one expression a line, the value printed by the harness
Every program thus prints one value per statement, in the same order, so the outputs can be
compared line by line before anything is timed.

The mix: plain assignments, precedence, function calls, updates of counters (x=x+1, x+=1),
comparisons and logic. Only constructs that every peer computes the same way are used:
no "%" or backslash (their meaning is the calculator's own), "^" only with the exponents 2 and
3 (bc takes integer exponents only, and the peers group "^" from the right), no number with an
exponent (bc reads none), no division by anything that can be zero, no quotient in a
comparison, real constants exact in binary (see EXACT_FRACTIONS), and function arguments
inside each function's domain. The argument of "ena" is a sum of a few bases over 100, so it
stays small: a product there overflows the double (python3 then stops with an error) and makes
bc -l compute a number of thousands of digits, which takes minutes a line. The calculator's
leading minus negates the whole right side; the peers get it as -( ... ). Its "!" is the
peers' (x==0), its "&" and "|" their logical and/or of two operands compared with zero, with
every binary operation fully parenthesised for them.

Usage: generate_script.py OUTPUT_DIR [LINES] [SEED]
"""

import os
import random
import sys

# Levels of the calculator's binary operators; every one groups from the left.
LEVELS = {'<': 0, '>': 0, '<=': 0, '>=': 0, '==': 0, '!=': 0,
          '|': 1, '&': 2, '+': 3, '-': 3, '*': 4, '/': 4, '^': 5}
COMPARISONS = ('<', '>', '<=', '>=', '==', '!=')

# The calculator's function names and each peer's name for the same function.
FUNCTIONS = {
    'sin': ('sin', 's', 'sin'),
    'cos': ('cos', 'c', 'cos'),
    'kor': ('sqrt', 'sqrt', 'sqrt'),
    'abs': ('abs', 'ab', 'abs'),
    'ena': ('exp', 'e', 'exp'),
    'ln': ('log', 'l', 'ln'),
    'atg': ('atan', 'a', 'atan'),
}
PYTHON, BC, MUPARSER = 0, 1, 2

# Variables that plain assignments set to constants; results computed from them; counters.
BASES = ['a', 'b', 'd', 'f', 'g', 'k', 'm', 'p']
RESULTS = ['c', 'h', 'q', 'r', 's', 'u', 'v', 'w', 'ans']
COUNTERS = ['x', 'y', 'n', 'z']

# Fractions of the real constants: each is exact in binary, so sums and products of the
# constants are exact in doubles as in bc's decimals, and a comparison of two such values has
# the same outcome in every program. (With 7.14, 7.14*3==21.42 is true in decimal and false in
# binary; a quotient is rounded in binary and cut off in bc, so no comparison holds one.)
EXACT_FRACTIONS = ['125', '25', '375', '5', '625', '75', '875']

BC_PROLOGUE = "define ab(x) { if (x < 0) return (-x); return (x); }\n"
# The statements follow the prologue as comment lines, which it compiles and runs in blocks.
PYTHON_PROLOGUE = """import sys
from math import sin, cos, sqrt, exp, log, atan
def run(block):
    exec(compile(''.join(block), 'python.py', 'exec'), globals())
block = []
for line in open(__file__):
    if line.startswith('#'):
        block.append(line[1:])
        if len(block) == 10000:
            run(block)
            block = []
run(block)
sys.exit(0)
"""


class Num:
    def __init__(self, text):
        self.text = text


class Var:
    def __init__(self, name):
        self.name = name


class Bin:
    def __init__(self, op, left, right):
        self.op, self.left, self.right = op, left, right


class Call:
    def __init__(self, function, argument):
        self.function, self.argument = function, argument


class Not:
    def __init__(self, operand):
        self.operand = operand


class Neg:
    def __init__(self, operand):
        self.operand = operand


def tarvin(node):
    """The calculator's text with only the parentheses its precedence needs."""
    if isinstance(node, Num):
        return node.text
    if isinstance(node, Var):
        return node.name
    if isinstance(node, Call):
        return node.function + '(' + tarvin(node.argument) + ')'
    if isinstance(node, Not):
        inner = tarvin(node.operand)
        atomic = isinstance(node.operand, (Num, Var, Call))
        return '!' + (inner if atomic else '(' + inner + ')')
    if isinstance(node, Neg):
        return '-' + tarvin(node.operand)
    level = LEVELS[node.op]
    left, right = tarvin(node.left), tarvin(node.right)
    if isinstance(node.left, Neg) or (isinstance(node.left, Bin) and LEVELS[node.left.op] < level):
        left = '(' + left + ')'
    if isinstance(node.right, Neg) or (isinstance(node.right, Bin) and
                                       LEVELS[node.right.op] <= level):
        right = '(' + right + ')'
    return left + node.op + right


def peer(node, kind):
    """A peer's text, every operation in parentheses."""
    if isinstance(node, Num):
        return node.text
    if isinstance(node, Var):
        return node.name
    if isinstance(node, Call):
        return FUNCTIONS[node.function][kind] + '(' + peer(node.argument, kind) + ')'
    if isinstance(node, Not):
        inner = '(' + peer(node.operand, kind) + '==0)'
        return '+' + inner if kind == PYTHON else inner
    if isinstance(node, Neg):
        return '(-(' + peer(node.operand, kind) + '))'
    left, right = peer(node.left, kind), peer(node.right, kind)
    op = node.op
    if op == '^':
        return '(' + left + ('**' if kind == PYTHON else '^') + right + ')'
    if op in ('&', '|'):
        if kind == PYTHON:
            joint = '&' if op == '&' else '|'
            return '+((' + left + '!=0)' + joint + '(' + right + '!=0))'
        return '(' + left + ('&&' if op == '&' else '||') + right + ')'
    if op in COMPARISONS and kind == PYTHON:
        return '+(' + left + op + right + ')'
    return '(' + left + op + right + ')'


class Mix:
    def __init__(self, seed):
        self.random = random.Random(seed)

    def pick(self, choices):
        return self.random.choice(choices)

    def constant(self):
        if self.random.random() < 0.6:
            return Num(str(self.random.randint(1, 99)))
        return Num('%d.%s' % (self.random.randint(0, 20), self.pick(EXACT_FRACTIONS)))

    def small(self):
        return Num(str(self.random.randint(2, 9)))

    def base(self):
        return Var(self.pick(BASES))

    def operand(self):
        return self.base() if self.random.random() < 0.75 else self.small()

    def arithmetic(self, terms, operators=('+', '-', '*', '*', '/')):
        """A chain of + - * over bases and small constants, and a division by a base."""
        node = self.operand()
        for _ in range(terms):
            op = self.pick(operators)
            right = self.base() if op == '/' else self.operand()
            node = Bin(op, node, right)
        return node

    def additive(self, terms):
        """A chain of + and - over bases and small constants: bounded by the bases' size."""
        node = self.operand()
        for _ in range(terms):
            node = Bin(self.pick(['+', '-']), node, self.operand())
        return node

    def function_argument(self, function):
        if function == 'ena':
            return Bin('/', self.additive(self.random.randint(1, 3)), Num('100'))
        inner = self.arithmetic(self.random.randint(1, 3))
        if function == 'kor':
            return Call('abs', inner)
        if function == 'ln':
            return Bin('+', Call('abs', inner), Num('1'))
        return inner

    def call(self):
        function = self.pick(list(FUNCTIONS))
        return Call(function, self.function_argument(function))


def plain(mix):
    return Var(mix.pick(BASES)), '=', mix.constant()


def precedence(mix):
    node = mix.arithmetic(mix.random.randint(3, 6))
    if mix.random.random() < 0.2:
        node = Bin('*', Bin('+', mix.base(), mix.operand()), mix.operand())
    if mix.random.random() < 0.15:
        node = Bin('+', node, Bin('^', mix.base(), Num(mix.pick(['2', '3']))))
    if mix.random.random() < 0.1:
        node = Neg(node)
    return Var(mix.pick(RESULTS)), '=', node


def functions(mix):
    if mix.random.random() < 0.1:
        a, c = mix.base(), mix.base()
        inner = Bin('-', Bin('^', a, Num('2')), Bin('*', Bin('*', Num('4'), a), c))
        node = Bin('+', Call('sin', a), Bin('*', Call('cos', c), Call('kor', Call('abs', inner))))
    elif mix.random.random() < 0.3:
        node = Bin(mix.pick(['+', '-', '*']), mix.call(), mix.operand())
    else:
        node = Bin(mix.pick(['+', '-', '*']), mix.call(), mix.call())
    return Var(mix.pick(RESULTS)), '=', node


def update(mix):
    counter = Var(mix.pick(COUNTERS))
    step = Num(str(mix.random.randint(1, 3)))
    form = mix.random.randint(0, 3)
    if form == 0:
        return counter, '=', Bin('+', counter, step)
    if form == 1:
        return counter, '=', Bin('-', counter, step)
    if form == 2:
        return counter, '+=', step
    return counter, '-=', step


def logic(mix):
    def comparison():
        exact = mix.arithmetic(mix.random.randint(0, 2), ('+', '-', '*'))
        return Bin(mix.pick(COMPARISONS), exact, mix.operand())
    form = mix.random.randint(0, 5)
    if form in (0, 5):
        node = comparison()
    elif form == 1:
        node = Bin(mix.pick(['&', '|']), comparison(), comparison())
        if mix.random.random() < 0.5:
            node = Bin(mix.pick(['&', '|']), node, comparison())
    elif form == 2:
        node = Not(mix.base())
    elif form == 3:
        node = Bin(mix.pick(['&', '|']), mix.base(), Not(mix.operand()))
    else:
        node = Bin(mix.pick(COMPARISONS), Bin('+', mix.base(), mix.small()), mix.base())
    return Var(mix.pick(RESULTS)), '=', node


# Weights of the statement kinds; they set the mix and, with it, the mean line length.
KINDS = [(plain, 13), (precedence, 26), (functions, 33), (update, 13), (logic, 15)]


def prologue():
    """Every name the mix reads, given a value first, so no peer reads an unknown name."""
    statements = [(Var(name), '=', Num(str(index + 2))) for index, name in enumerate(BASES)]
    statements += [(Var(name), '=', Num('0')) for name in COUNTERS + RESULTS]
    return statements


def statements(count, seed):
    mix = Mix(seed)
    kinds = [kind for kind, _ in KINDS]
    weights = [weight for _, weight in KINDS]
    for statement in prologue():
        yield statement
    for _ in range(count - len(prologue())):
        yield mix.random.choices(kinds, weights)[0](mix)


def peer_statement(target, operator, node, kind):
    name = target.name
    right = peer(node, kind)
    if kind == MUPARSER:
        if operator != '=':
            right = '(' + name + operator[0] + right + ')'
        return name + '=' + right
    if kind == PYTHON:
        # One line a statement, behind a comment mark: the prologue runs the lines.
        return '#' + name + operator + right + '; print(' + name + ')'
    return '(' + name + operator + right + ')'


def write(directory, count, seed):
    os.makedirs(directory, exist_ok=True)
    paths = {name: os.path.join(directory, name)
             for name in ('tarvin.txt', 'bc.txt', 'python.py', 'muparser.txt')}
    files = {name: open(path, 'w') for name, path in paths.items()}
    files['bc.txt'].write(BC_PROLOGUE)
    files['python.py'].write(PYTHON_PROLOGUE)
    total = 0
    for target, operator, node in statements(count, seed):
        line = target.name + operator + tarvin(node)
        total += len(line)
        files['tarvin.txt'].write(line + '\n')
        files['bc.txt'].write(peer_statement(target, operator, node, BC) + '\n')
        files['python.py'].write(peer_statement(target, operator, node, PYTHON) + '\n')
        files['muparser.txt'].write(peer_statement(target, operator, node, MUPARSER) + '\n')
    for handle in files.values():
        handle.close()
    return total / count


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1000000
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 20261208
    mean = write(sys.argv[1], count, seed)
    print('%.1f' % mean)


if __name__ == '__main__':
    main()
