#!/usr/bin/env python3
"""kvrtool solve's stated accuracy against a 60-digit solution.

Writes trusses whose nodes crowd together in clusters (members a
millionth of the others' length beside them), solves each with
`kvrtool solve` (the summary for the accuracy, --csv for the numbers),
solves the same truss in mpmath at 60 digits from the file's exact Single
values, and checks every printed displacement, reaction and force against
it: within the printed accuracy, allowing for the accuracy's own rounding
to two digits and the number's to the digits printed; and the accuracy not
absurdly loose, within 1e6 of the error the printed numbers have.

usage: accuracy_reference.py KVRTOOL [SEED...]
Exit status 0 when every number holds, 1 when one does not, 77 (skipped)
without mpmath.
"""
import math
import os
import random
import re
import struct
import subprocess
import sys
import tempfile

try:
    import mpmath
except ImportError:
    print("skipped: python3-mpmath is not installed")
    sys.exit(77)

mpmath.mp.dps = 60
PIN, ROLLER = 1.0, 2.0
# 8 and 37 printed errors 1.7 and 1.4 times their stated accuracy before it
# counted the rounding of the solution in the wider arithmetic and of its
# printing.
SEEDS = [1, 7, 8, 37]


def single(value):
    return struct.unpack('<f', struct.pack('<f', value))[0]


def clustered_truss(seed):
    """A strip of triangles between two chords, its panel points in clusters
    of three within a hundredth of a millimetre of each other; pin and
    roller at the bottom ends, random downward loads on the top, random E
    and A."""
    rnd = random.Random(seed)
    centres = sorted(rnd.uniform(0, 12) for _ in range(4))
    xs = sorted(c + rnd.uniform(0, 1e-5) for c in centres for _ in range(3))
    panels = len(xs) - 1
    nodes = [(single(x), 0.0, 0.0, 0.0) for x in xs]
    nodes += [(single(x + rnd.uniform(-2e-6, 2e-6)), single(rnd.uniform(0.8, 1.2)), single(-rnd.uniform(1, 20)), 0.0) for x in xs]
    nodes[0] = nodes[0][:3] + (PIN,)
    nodes[panels] = nodes[panels][:3] + (ROLLER,)
    bottom, top = (lambda i: i + 1), (lambda i: panels + 2 + i)
    joined = []
    for i in range(panels):
        joined += [(bottom(i), bottom(i + 1)), (top(i), top(i + 1)), (bottom(i), top(i + 1))]
    joined += [(bottom(i), top(i)) for i in range(panels + 1)]
    members = [(a, b, single(rnd.uniform(70, 210)), single(10 ** rnd.uniform(1, 3))) for a, b in joined]
    return nodes, members


def write_truss(path, nodes, members):
    def table(rows, columns):
        return b''.join(struct.pack('<f', 0.0 if r == 0 else rows[r - 1].get(c, 0.0))
                        for c in range(columns) for r in range(len(rows) + 1))
    node_rows = [{1: x, 2: y, 4: load, 5: support} for x, y, load, support in nodes]
    member_rows = [{1: float(a), 2: float(b), 3: e, 4: area} for a, b, e, area in members]
    with open(path, 'wb') as f:
        f.write(struct.pack('<hhh', max(len(nodes), len(members)), len(nodes), len(members)))
        f.write(table(node_rows, 6) + table(member_rows, 9))


def reference(nodes, members):
    """Displacements (m), reactions and member forces (kN) at 60 digits."""
    free = {}
    for n, (_, _, _, support) in enumerate(nodes, 1):
        for d, held in enumerate((support == PIN, support in (PIN, ROLLER))):
            if not held:
                free[(n, d)] = len(free)
    stiffness = mpmath.zeros(len(free), len(free))
    loads = mpmath.zeros(len(free), 1)
    for n, (_, _, load, _) in enumerate(nodes, 1):
        if (n, 1) in free:
            loads[free[(n, 1)]] = mpmath.mpf(load)
    bars = []
    for a, b, e, area in members:
        dx = mpmath.mpf(nodes[b - 1][0]) - mpmath.mpf(nodes[a - 1][0])
        dy = mpmath.mpf(nodes[b - 1][1]) - mpmath.mpf(nodes[a - 1][1])
        length = mpmath.sqrt(dx * dx + dy * dy)
        g = {(a, 0): -dx / length, (a, 1): -dy / length, (b, 0): dx / length, (b, 1): dy / length}
        k = mpmath.mpf(e) * mpmath.mpf(area) / length
        bars.append((k, g))
        for p, gp in g.items():
            for q, gq in g.items():
                if p in free and q in free:
                    stiffness[free[p], free[q]] += k * gp * gq
    u = mpmath.lu_solve(stiffness, loads)
    moved = lambda slot: u[free[slot]] if slot in free else mpmath.mpf(0)
    forces = [k * sum(gp * moved(p) for p, gp in g.items()) for k, g in bars]
    held = {}
    for n, (_, _, load, _) in enumerate(nodes, 1):
        held[(n, 0)], held[(n, 1)] = mpmath.mpf(0), mpmath.mpf(load)
    for force, (_, g) in zip(forces, bars):
        for p, gp in g.items():
            held[p] -= force * gp  # a member in tension pulls each end towards the other
    reactions = {slot: -value for slot, value in held.items() if slot not in free}
    return moved, reactions, forces


def kvrtool(tool, *arguments):
    run = subprocess.run([tool, *arguments], capture_output=True, text=True, env=dict(os.environ, LC_ALL='C'))
    if run.returncode != 0:
        raise RuntimeError(f"kvrtool {' '.join(arguments)}: status {run.returncode}: {run.stderr.strip()}")
    return run.stdout


def accuracy_of(summary):
    line = re.search(r'^accuracy: displacements within (\S+) mm, reactions within (\S+) kN, forces within (\S+) kN', summary, re.M)
    return {kind: float(value) for kind, value in zip(('displacement', 'reaction', 'force'), line.groups())}


def allowed(printed, accuracy):
    """What a printed number may differ from the exact one by: its accuracy,
    printed to two digits; half a unit of the last digit printed (the place
    of the accuracy, or the 17th digit); a number printed as 0 is within its
    accuracy of the value, itself within the accuracy of 0."""
    accuracy *= 1.05
    if float(printed) == 0:
        return 2 * accuracy
    last = 10.0 ** max(math.floor(math.log10(accuracy)), math.floor(math.log10(abs(float(printed)))) - 16)
    return accuracy + last / 2


def check(tool, seed, folder):
    nodes, members = clustered_truss(seed)
    path = os.path.join(folder, f'clustered{seed}.kvr')
    write_truss(path, nodes, members)
    accuracy = accuracy_of(kvrtool(tool, 'solve', path))
    node_table, member_table = kvrtool(tool, 'solve', path, '--csv').strip().split('\n\n')
    moved, reactions, forces = reference(nodes, members)
    faults, errors = [], {'displacement': 0.0, 'reaction': 0.0, 'force': 0.0}

    def compare(kind, what, printed, exact, scale=1):
        error = abs(mpmath.mpf(printed) - exact * scale)
        errors[kind] = max(errors[kind], float(error))
        if error > allowed(printed, accuracy[kind]):
            faults.append(f"{what}: printed {printed}, exact {mpmath.nstr(exact * scale, 20)}, "
                          f"error {float(error):.3g} beyond the accuracy {accuracy[kind]:g}")

    for row in node_table.split('\n')[1:]:
        n, ux, uy, rx, ry = row.split(',')
        n = int(n)
        compare('displacement', f'node {n} ux', ux, moved((n, 0)), 1000)
        compare('displacement', f'node {n} uy', uy, moved((n, 1)), 1000)
        for d, printed in enumerate((rx, ry)):
            compare('reaction', f"node {n} r{'xy'[d]}", printed, reactions.get((n, d), mpmath.mpf(0)))
    for row in member_table.split('\n')[1:]:
        m, force, _ = row.split(',')
        compare('force', f'member {m}', force, forces[int(m) - 1])

    largest = max(abs(moved(slot)) for slot in [(n, d) for n in range(1, len(nodes) + 1) for d in (0, 1)]) * 1000
    floor = max(errors['displacement'], 2.0 ** -53 * float(largest))
    if accuracy['displacement'] > 1e6 * floor:
        faults.append(f"displacements within {accuracy['displacement']:g} mm, more than 1e6 times their error {floor:.3g}")
    return faults, accuracy, errors


def main():
    tool, seeds = sys.argv[1], [int(s) for s in sys.argv[2:]] or SEEDS
    failed = False
    with tempfile.TemporaryDirectory() as folder:
        for seed in seeds:
            faults, accuracy, errors = check(tool, seed, folder)
            print(f"truss {seed}: accuracy {accuracy}, largest errors {({k: float(f'{v:.3g}') for k, v in errors.items()})}")
            for fault in faults:
                print(f"  FAIL {fault}")
            failed = failed or bool(faults)
    sys.exit(1 if failed else 0)


if __name__ == '__main__':
    main()
