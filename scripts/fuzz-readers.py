#!/usr/bin/env python3
"""Feeds hostile variants of the package's example data files to the checker, the solvers and
the viewer, and lists every run that ends in a signal, runs away, or answers with a number
that is not finite while reporting success.

    scripts/fuzz-readers.py PACKAGE_DIR [--cases N] [--seed S] [--viewer] [--vosher]
                            [--gmshin] [--only REGEX] [--keep DIR]

PACKAGE_DIR is a built package directory (build/package, or build-asan/package for the
sanitizers). Every variant the checker accepts goes to the solvers of its problem type (JSON
mode); with --viewer, the solved ones also open in the viewer offscreen for a few seconds;
with --vosher, hostile meshes go into copies of the meshed types' examples, where a refusal
must leave the file as it was and what is written must pass the checker; with --gmshin,
hostile Gmsh meshes (the import's test meshes and the shipped example) go through Gmshin, which
must refuse them with status 1 or write a file that passes the checker.
Faulty variants are copied into --keep (default fuzz-findings/) with a line saying what
happened, so that each can be run again by hand.
"""
import argparse
import json
import math
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

# Problem number -> (solvers of the d file, solvers of the p file); the numbers the catalogue
# of the solver programs gives.
SOLVERS = {
    1: (["Dorvan"], []), 2: (["Kelmis"], []), 3: (["Rabeno"], []), 4: (["Sutalo"], ["Mirbek"]),
    5: (["Pelgon"], []), 6: (["Tavrin"], []), 7: (["Hosken"], ["Quendo"]), 8: (["Lirtag"], []),
    9: (["Omberi"], []), 10: (["Zuntel"], []), 11: (["Frelam"], []), 12: (["Gimbro"], []),
    13: (["Nuvast"], ["Yerdol"]), 14: (["Clobin"], []), 15: (["Wempel"], []),
    16: (["Brasko"], []), 17: (["Fentar"], []), 21: (["Pomrak"], []), 22: (["Sarvel"], []),
    23: (["Tekru"], []), 24: (["Ulvant"], []), 25: (["Jastro"], []), 26: (["Rendup"], []),
    27: (["Zorbek"], []),
}
EXTREMES = ["0", "-0", "-1", "1e308", "-1e308", "1.79e308", "1e-308", "1e-320", "1e200", "1e100",
            "1e-100", "1e-150", "1e150", "2147483647", "4294967296", "1e15", "nan", "inf",
            "0.5", "999999999999", "-2147483648", "1e-7"]
NUMBER = re.compile(r"(?<![\w.])[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?(?![\w.])")
TIME_LIMIT = 30
MEMORY_LIMIT_KB = 4_000_000


def decode(data):
    return data.decode("cp1251", errors="replace")


def item_lines(lines):
    return [i for i, line in enumerate(lines) if line.lstrip().startswith("#")]


def numbers_in(line):
    # The item number itself ("#  3") is left alone: the checker refuses a wrong one at once.
    matches = list(NUMBER.finditer(line))
    return matches[1:] if line.lstrip().startswith("#") else matches


def mutate(text, rng):
    lines = text.split("\r\n") if "\r\n" in text else text.split("\n")
    items = item_lines(lines)
    if not items:
        return text, "no items"
    kind = rng.choice(["extreme", "extreme", "extreme", "scale", "copy", "swap", "many"])
    if kind in ("extreme", "many"):
        count = 1 if kind == "extreme" else rng.randint(2, 6)
        done = []
        for _ in range(count):
            i = rng.choice(items)
            found = numbers_in(lines[i])
            if not found:
                continue
            m = rng.choice(found)
            value = rng.choice(EXTREMES)
            lines[i] = lines[i][:m.start()] + value + lines[i][m.end():]
            done.append(f"line {i + 1}: {m.group()} -> {value}")
        what = "; ".join(done)
    elif kind == "scale":
        # Scale every number of one table (coordinates, loads or materials) at once.
        start = rng.choice(items)
        factor = rng.choice(["1e-150", "1e150", "1e-30", "1e30", "1e-300"])
        i = start
        while i < len(lines) and not lines[i].lstrip().startswith(("*", "&")):
            if lines[i].lstrip().startswith("#"):
                parts = []
                last = 0
                for m in numbers_in(lines[i]):
                    parts.append(lines[i][last:m.start()])
                    parts.append(repr(float(m.group()) * float(factor)))
                    last = m.end()
                parts.append(lines[i][last:])
                lines[i] = "".join(parts)
            i += 1
        what = f"table of line {start + 1} scaled by {factor}"
    elif kind == "copy":
        # One item given the values of another of its table: an element or node twice.
        a = rng.choice(items)
        same = [b for b in items if b != a and abs(b - a) < 40]
        if not same:
            return "\r\n".join(lines), "nothing to copy"
        b = rng.choice(same)
        head_a = re.match(r"\s*#\s*\d+", lines[a])
        head_b = re.match(r"\s*#\s*\d+", lines[b])
        if head_a and head_b:
            lines[a] = head_a.group() + lines[b][head_b.end():]
        what = f"line {a + 1} given the values of line {b + 1}"
    else:
        a, b = rng.sample(items, 2) if len(items) > 1 else (items[0], items[0])
        fa, fb = numbers_in(lines[a]), numbers_in(lines[b])
        if not fa or not fb:
            return "\r\n".join(lines), "nothing to swap"
        ma, mb = rng.choice(fa), rng.choice(fb)
        va, vb = ma.group(), mb.group()
        lines[a] = lines[a][:ma.start()] + vb + lines[a][ma.end():]
        if a == b:
            fb = numbers_in(lines[b])
            if not fb:
                return "\r\n".join(lines), "nothing to swap"
            mb = rng.choice(fb)
        lines[b] = lines[b][:mb.start()] + va + lines[b][mb.end():]
        what = f"lines {a + 1} and {b + 1}: {va} <-> {vb}"
    return "\r\n".join(lines), f"{kind}: {what}"


def run(command, cwd, timeout=TIME_LIMIT, env=None):
    wrapped = ["bash", "-c", f"ulimit -v {MEMORY_LIMIT_KB}; exec \"$@\"", "run", *command]
    started = time.monotonic()
    try:
        done = subprocess.run(wrapped, cwd=cwd, capture_output=True, timeout=timeout, env=env)
        return done.returncode, done.stdout, done.stderr, time.monotonic() - started
    except subprocess.TimeoutExpired:
        return None, b"", b"", time.monotonic() - started


def non_finite(value):
    if isinstance(value, float):
        return not math.isfinite(value)
    if isinstance(value, dict):
        return any(non_finite(v) for v in value.values())
    if isinstance(value, list):
        return any(non_finite(v) for v in value)
    return value is None


def judge_solver(rc, out, err):
    if rc is None:
        return "runs away (over %d s)" % TIME_LIMIT
    if rc < 0 or rc >= 128:
        return f"ends by signal (status {rc}): {decode(err)[-300:]}"
    text = decode(out)
    if rc == 0:
        if re.search(r"\b(nan|inf|-nan)\b", text, re.IGNORECASE):
            return "exit 0 with nan or inf in its answer"
        for line in text.splitlines():
            try:
                if non_finite(json.loads(line)):
                    return "exit 0 with a null or non-finite value in its JSON"
            except ValueError:
                pass
        if "Open MPI" in decode(err) or "slots" in decode(err):
            return "exit 0 with MPI's own text on standard error"
    if rc not in (0, 1, 2, 3, 4):
        return f"unexpected exit status {rc}"
    return None


def record(keep, totals, source, name, text):
    """Keeps a faulty variant as `name` with a line saying what happened to it."""
    totals["findings"] += 1
    shutil.copy(source, keep / name)
    with open(keep / "findings.txt", "a", encoding="utf-8") as log:
        log.write(f"{name}: {text}\n")
    print(f"{name}: {text}", flush=True)


def mesh_of(text):
    """The mesh file the mesher would write for a data file's own tables 4 and 5."""
    lines = text.replace("\r\n", "\n").split("\n")
    out, table = ["Mesh of 1 regions"], None
    for line in lines:
        head = re.match(r"\s*\*(\d+)", line)
        if head:
            table = int(head.group(1))
            if table in (4, 5):
                out.append(line)
            continue
        if table in (4, 5) and line.lstrip().startswith("#"):
            values = line.split()
            if table == 5:
                # Element items: the four corners (a triangle repeats its last), material
                # and section.
                numbers = values[2:]
                while len(numbers) < 6:
                    numbers.append(numbers[-1] if len(numbers) < 4 else "1")
                line = f"#{values[1]:>3} " + " ".join(f"{v:>5}" for v in numbers[:6])
            out.append(line)
    out.append("&")
    return "\r\n".join(out) + "\r\n"


def fuzz_vosher(example, package, rng, cases, keep, env, totals):
    """Hostile meshes into a copy of the data file: a refusal leaves the file as it was, and
    what Vosher writes the checker accepts."""
    original = example.read_bytes()
    mesh = mesh_of(decode(original))
    for case in range(cases):
        text, what = mutate(mesh, rng)
        with tempfile.TemporaryDirectory() as scratch:
            data = Path(scratch) / example.name
            data.write_bytes(original)
            meshfile = Path(scratch) / "mesh.d13"
            meshfile.write_bytes(text.encode("cp1251", errors="replace"))
            totals["runs"] += 1
            rc, out, err, _ = run([str(package / "Vosher"), str(data), str(meshfile)], scratch,
                                  env=env)
            fault = None
            if rc is None or rc < 0 or rc >= 128:
                fault = "Vosher " + (judge_solver(rc, out, err) or "")
            elif rc != 0 and data.read_bytes() != original:
                fault = f"Vosher refused (status {rc}) but changed the data file"
            elif rc == 0:
                totals["accepted"] += 1
                crc, cout, _, _ = run([str(package / "Tolvik"), str(data)], scratch, env=env)
                # Items Vosher removed, and materials or sections the mesh names that the
                # file has yet to get, are the user's to give after meshing.
                todo = re.search(r"has no items|needs at least|go only up to", decode(cout))
                if crc != 0 and not todo:
                    fault = "Vosher wrote a file the checker refuses: " + decode(cout).strip()
            if fault:
                record(keep, totals, meshfile, f"{example.stem}_mesh_{case}.d13",
                       f"into {example.name}: {what}: {fault}")


# Gmsh meshes of the import's tests and the shipped example, and the type each goes into.
GMSH_TYPES = {"tri": "d59", "quad": "d60", "tet": "d67", "hex": "d67", "prism": "d67",
              "line": "d55", "plate": "d63", "bracket": "d59"}


def mutate_binary(data, rng):
    """A binary mesh with bytes changed, a count made huge, or its end cut off."""
    data = bytearray(data)
    kind = rng.choice(["flip", "huge", "cut"])
    at = rng.randrange(len(data))
    if kind == "flip":
        data[at] = rng.randrange(256)
    elif kind == "huge":
        data[at:at + 8] = rng.choice([2**31, 2**60, 2**64 - 1]).to_bytes(8, "little")
    else:
        del data[at:]
    return bytes(data), f"{kind} at byte {at}"


def mutate_mesh_text(text, rng):
    """An ASCII mesh with a number made extreme, a line dropped or doubled, or its end cut off."""
    lines = text.split("\n")
    i = rng.randrange(len(lines))
    kind = rng.choice(["extreme", "extreme", "drop", "double", "cut"])
    found = list(NUMBER.finditer(lines[i]))
    if kind == "extreme" and found:
        m = rng.choice(found)
        value = rng.choice(EXTREMES + ["-1", "9", "77", "99999999999"])
        lines[i] = lines[i][:m.start()] + value + lines[i][m.end():]
        return "\n".join(lines), f"line {i + 1}: {m.group()} -> {value}"
    if kind == "drop":
        del lines[i]
    elif kind == "double":
        lines.insert(i, lines[i])
    else:
        lines = lines[:i]
    return "\n".join(lines), f"{kind} line {i + 1}"


def fuzz_gmshin(package, rng, cases, keep, env, totals):
    """Hostile Gmsh meshes: Gmshin refuses them (status 1) or writes a file the checker takes."""
    root = Path(__file__).resolve().parent.parent
    meshes = sorted((root / "tests/gmshin/data").glob("*.msh"))
    meshes += sorted((root / "package/examples").glob("*.msh"))
    for mesh in meshes:
        extension = next((v for k, v in GMSH_TYPES.items() if mesh.name.startswith(k)), "d59")
        original = mesh.read_bytes()
        binary = b"\n4.1 1 8" in original[:40] or b"\n2.2 1 8" in original[:40]
        for case in range(cases):
            if binary:
                data, what = mutate_binary(original, rng)
            else:
                text, what = mutate_mesh_text(decode(original), rng)
                data = text.encode("cp1251", errors="replace")
            with tempfile.TemporaryDirectory() as scratch:
                source = Path(scratch) / mesh.name
                source.write_bytes(data)
                target = Path(scratch) / f"model.{extension}"
                totals["runs"] += 1
                rc, out, err, _ = run([str(package / "Gmshin"), str(source), str(target)],
                                      scratch, env=env)
                fault = None
                if rc is None or rc < 0 or rc >= 128:
                    fault = "Gmshin " + (judge_solver(rc, out, err) or "")
                elif rc not in (0, 1):
                    fault = f"Gmshin ends with status {rc}: {decode(err)[-300:]}"
                elif rc == 1 and target.exists():
                    fault = "Gmshin refused the mesh but wrote the data file"
                elif rc == 0:
                    totals["accepted"] += 1
                    crc, cout, _, _ = run([str(package / "Tolvik"), str(target)], scratch,
                                          env=env)
                    # Without a group map the template's supports, which named its own
                    # nodes, are gone: they are the user's to give.
                    todo = re.search(r"has no items", decode(cout))
                    if crc != 0 and not todo:
                        fault = "Gmshin wrote a file the checker refuses: " + decode(cout).strip()
                if fault:
                    record(keep, totals, source, f"{mesh.stem}_{case}.msh", f"{what}: {fault}")
        print(f"{mesh.name}: done", file=sys.stderr, flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("package")
    parser.add_argument("--cases", type=int, default=200, help="variants per example file")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--viewer", action="store_true")
    parser.add_argument("--keep", default="fuzz-findings")
    parser.add_argument("--only", default="", help="a regular expression of example names")
    parser.add_argument("--vosher", action="store_true",
                        help="also hostile meshes into the examples of the meshed types")
    parser.add_argument("--gmshin", action="store_true",
                        help="also hostile Gmsh meshes through the Gmsh import")
    args = parser.parse_args()
    package = Path(args.package).resolve()
    keep = Path(args.keep).resolve()
    keep.mkdir(parents=True, exist_ok=True)
    rng = random.Random(args.seed)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
               ASAN_OPTIONS="detect_leaks=0:abort_on_error=1",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
    examples = sorted(p for p in package.iterdir()
                      if re.fullmatch(r".+\.[dp]\d\d", p.name) and re.search(args.only, p.name))
    totals = {"runs": 0, "accepted": 0, "findings": 0}
    for example in examples:
        number = int(example.suffix[2:])
        solvers = SOLVERS.get(number, ([], []))[example.suffix[1] == "p"]
        original = decode(example.read_bytes())
        for case in range(args.cases):
            text, what = mutate(original, rng)
            with tempfile.TemporaryDirectory() as scratch:
                data = Path(scratch) / example.name
                data.write_bytes(text.encode("cp1251", errors="replace"))
                totals["runs"] += 1
                rc, out, err, _ = run([str(package / "Tolvik"), str(data)], scratch, env=env)
                fault = None
                if rc is None or rc < 0 or rc >= 128:
                    fault = "Tolvik " + (judge_solver(rc, out, err) or "")
                elif rc == 0:
                    totals["accepted"] += 1
                    for solver in solvers:
                        src, sout, serr, _ = run([str(package / solver), "--json", str(data)],
                                                 scratch, env=env)
                        verdict = judge_solver(src, sout, serr)
                        if verdict:
                            fault = f"{solver} {verdict}"
                            break
                        if args.viewer and src == 0:
                            vrc, _, verr, _ = run([str(package / "Pantex"), str(data), "R"],
                                                  scratch, timeout=4, env=env)
                            if vrc is not None and (vrc < 0 or vrc >= 128):
                                fault = f"Pantex ends by signal ({vrc}): {decode(verr)[-300:]}"
                if fault:
                    record(keep, totals, data, f"{example.stem}_{case}{example.suffix}",
                           f"{what}: {fault}")
        if args.vosher and example.suffix[1] == "d" and number in (9, 10, 11, 13, 16):
            fuzz_vosher(example, package, rng, args.cases, keep, env, totals)
        print(f"{example.name}: done", file=sys.stderr, flush=True)
    if args.gmshin:
        fuzz_gmshin(package, rng, args.cases, keep, env, totals)
    print(f"{totals['runs']} variants, {totals['accepted']} accepted by the checker, "
          f"{totals['findings']} findings (in {keep})")
    return 1 if totals["findings"] else 0


if __name__ == "__main__":
    sys.exit(main())
