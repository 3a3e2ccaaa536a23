#!/usr/bin/python3
"""The same linear-elastic truss system as `kvrtool solve`, solved with SciPy
for comparison: reads a truss file, assembles the stiffness matrix of the free
displacements, solves it with scipy.sparse.linalg.spsolve and recovers the
member forces. Prints the best time of several runs of assembly, solution and
forces (the file read excluded, as in `make bench`).

usage: bench/solve_scipy.py FILE.kvr [RUNS]
Needs python3-numpy and python3-scipy; not part of the build or the tests.
"""
import struct
import sys
import time

import numpy as np
import scipy.sparse as sparse
import scipy.sparse.linalg as linalg


def read_truss(path):
    data = open(path, "rb").read()
    _, nodes, members = struct.unpack_from("<3h", data, 0)
    node_table = np.frombuffer(data, "<f4", 6 * (nodes + 1), 6).reshape(6, nodes + 1)
    offset = 6 + 24 * (nodes + 1)
    member_table = np.frombuffer(data, "<f4", 9 * (members + 1), offset).reshape(9, members + 1)
    return node_table[:, 1:].astype(float), member_table[:, 1:].astype(float)


def solve(node_table, member_table):
    x, y, load, support = node_table[1], node_table[2], node_table[4], node_table[5]
    n = len(x)
    held = np.zeros(2 * n, bool)
    held[0::2] = support == 1
    held[1::2] = (support == 1) | (support == 2)
    index = np.full(2 * n, -1)
    index[~held] = np.arange(np.count_nonzero(~held))

    first, second = member_table[1].astype(int) - 1, member_table[2].astype(int) - 1
    dx, dy = x[second] - x[first], y[second] - y[first]
    length = np.hypot(dx, dy)
    c, s = dx / length, dy / length
    k = member_table[3] * member_table[4] / length  # E (kN/mm2) x A (mm2) / L (m): kN/m
    dofs = np.stack([2 * first, 2 * first + 1, 2 * second, 2 * second + 1], axis=1)
    g = np.stack([-c, -s, c, s], axis=1)
    rows = np.repeat(index[dofs], 4, axis=1).ravel()
    cols = np.tile(index[dofs], (1, 4)).ravel()
    values = (k[:, None, None] * g[:, :, None] * g[:, None, :]).ravel()
    keep = (rows >= 0) & (cols >= 0)
    size = np.count_nonzero(~held)
    stiffness = sparse.csc_matrix((values[keep], (rows[keep], cols[keep])), shape=(size, size))

    f = np.zeros(2 * n)
    f[1::2] = load
    u = np.zeros(2 * n)
    u[~held] = linalg.spsolve(stiffness, f[~held])
    elongation = c * (u[2 * second] - u[2 * first]) + s * (u[2 * second + 1] - u[2 * first + 1])
    return u, k * elongation


def main():
    path = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    node_table, member_table = read_truss(path)
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        u, forces = solve(node_table, member_table)
        best = min(best, time.perf_counter() - start)
    print(f"{path}: {node_table.shape[1]} nodes, {member_table.shape[1]} members: "
          f"best of {runs}: {best * 1000:.2f} ms; largest |force| {np.abs(forces).max():.6g} kN, "
          f"largest |uy| {np.abs(u[1::2]).max() * 1000:.6g} mm")


if __name__ == "__main__":
    main()
