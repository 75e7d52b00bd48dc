"""Runs the solver program unattended on each solving file in a scratch folder,
reads its "Shell_Results.vtu" with meshio and compares it with the run's text
files: the nodes and quads of "Shell_AverageStrs.txt", the displacements of
"Node_Dis.txt", and at every node the averaged stresses of the first element
corner there. Also checks that "Reactions.txt" finds equilibrium.

usage: check_result_files.py TREVAMIC SOLVING_FILE...
"""
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

import meshio
import numpy as np


def node_displacements(path):
    rows = [line.split(":")[1].split() for line in path.read_text().splitlines()[1:]]
    return np.array(rows, dtype=float)


def contour_file(path):
    lines = path.read_text().splitlines()
    npoin = int(lines[0].split("=")[1])
    nelem = int(lines[1].split("=")[1])
    points = np.array([l.split(",") for l in lines[2:2 + npoin]], dtype=float)
    elements, top, bottom = [], [], []
    for e in range(nelem):
        block = lines[2 + npoin + 9 * e:2 + npoin + 9 * (e + 1)]
        elements.append([int(v) for v in block[0].split(",")])
        top.append([[float(v) for v in block[1 + 2 * k].split(",")] for k in range(4)])
        bottom.append([[float(v) for v in block[2 + 2 * k].split(",")] for k in range(4)])
    return points, np.array(elements), np.array(top), np.array(bottom)


def first_corner_values(elements, per_corner, npoin):
    """The values of the first element corner at each node (element order)."""
    values = np.zeros((npoin, per_corner.shape[2]))
    seen = np.zeros(npoin, dtype=bool)
    for e, nodes in enumerate(elements):
        for k, n in enumerate(nodes):
            if not seen[n]:
                values[n], seen[n] = per_corner[e, k], True
    return values


class Mismatch(Exception):
    pass


def expect_equal(name, actual, expected):
    if actual.shape != expected.shape or not np.array_equal(actual, expected):
        worst = np.max(np.abs(actual - expected)) if actual.shape == expected.shape else None
        raise Mismatch(f"{name}: VTU differs from the text files (shapes {actual.shape} and "
                       f"{expected.shape}, largest difference {worst})")


def main(folder):
    mesh = meshio.read(folder / "Shell_Results.vtu")
    points, elements, top, bottom = contour_file(folder / "Shell_AverageStrs.txt")
    displacements = node_displacements(folder / "Node_Dis.txt")
    npoin = len(points)

    expect_equal("points", mesh.points, points)
    quads = [block.data for block in mesh.cells if block.type == "quad"]
    if len(mesh.cells) != 1 or len(quads) != 1:
        raise Mismatch(f"expected one block of quads, found {[b.type for b in mesh.cells]}")
    expect_equal("connectivity", quads[0], elements)
    expect_equal("Displacement", mesh.point_data["Displacement"], displacements[:, 0:3])
    expect_equal("Rotation", mesh.point_data["Rotation"], displacements[:, 3:6])
    # The contour file holds SX SY SZ TXY TXZ TYZ SE; VTK orders XX YY ZZ XY YZ XZ.
    vtk_order = [0, 1, 2, 3, 5, 4]
    for surface, per_corner in (("Top", top), ("Bottom", bottom)):
        at_nodes = first_corner_values(elements, per_corner, npoin)
        expect_equal(f"{surface}Stress", mesh.point_data[f"{surface}Stress"],
                     at_nodes[:, vtk_order])
        expect_equal(f"{surface}Se", mesh.point_data[f"{surface}Se"].reshape(-1), at_nodes[:, 6])
    for name in ("Material", "Thickness", "TopSeCentre", "BottomSeCentre"):
        values = mesh.cell_data[name][0].reshape(-1)
        if values.shape != (len(elements),) or not np.all(np.isfinite(values)):
            raise Mismatch(f"cell data {name}: {values.shape} values for {len(elements)} elements")
    if not np.all(mesh.cell_data["Thickness"][0] > 0):
        raise Mismatch("cell data Thickness: not every thickness is positive")

    reactions = (folder / "Reactions.txt").read_text()
    if "\nEquilibrium is met:" not in reactions:
        raise Mismatch("Reactions.txt does not find equilibrium:\n" + reactions)
    return f"{npoin} nodes and {len(elements)} quads agree with the text files"


def run_solver(trevamic, solving_file, folder):
    shutil.copy(solving_file, folder / "shell_fem_solving.txt")
    run = subprocess.run([trevamic], cwd=folder, stdin=subprocess.DEVNULL,
                         capture_output=True, text=True)
    if run.returncode != 0:
        raise Mismatch(f"solver failed with exit code {run.returncode}:\n{run.stdout}{run.stderr}")


if __name__ == "__main__":
    trevamic, failed = Path(sys.argv[1]).resolve(), False
    for solving_file in sys.argv[2:]:
        with tempfile.TemporaryDirectory() as scratch:
            try:
                run_solver(trevamic, Path(solving_file), Path(scratch))
                print(f"{solving_file}: {main(Path(scratch))}")
            except Mismatch as problem:
                print(f"{solving_file}: {problem}")
                failed = True
    sys.exit(1 if failed else 0)
