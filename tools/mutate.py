#!/usr/bin/env python3
"""Mutation testing of the window-free rule files against the native rule tests.

Every candidate is a one-line change (relational, arithmetic and logical operators swapped, a negation
dropped, an integer constant moved by one, a boolean return flipped, a statement dropped). The candidates
are shuffled with the seed and the first COUNT are tried, so a smaller sample with the same seed is a
prefix of a larger one. Each mutant is written into the source, rebuilt incrementally in the native build
folder and run with a time limit; the source is always restored. A mutant that does not compile is not
counted. Prints the score per file and every survivor; exits 1 when the score is below --threshold.

usage: tools/mutate.py [--threshold PERCENT] [--build DIR] [COUNT] [SEED]
"""
import argparse
import os
import random
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FILES = [
    "dialogs/print/PrintModeRules.cpp",
    "dialogs/print/PrintConfirmRules.cpp",
    "dialogs/print/MultiStepTextRules.cpp",
    "dialogs/ink/CutInkRowRules.cpp",
    "dialogs/ink/SwitchInkOrderRules.cpp",
    "dialogs/ink/InkChannelSwitchRules.cpp",
    "dialogs/ink/EclosionRules.cpp",
    "dialogs/info/VersionTreeRules.cpp",
    "common/controls/PropertyGridRules.cpp",
    "common/controls/XListCellRules.cpp",
    "common/LanguageSectionRules.cpp",
]

# Binary operators, each with what it becomes; the look-arounds keep compound tokens (<<, ->, ++, +=, &&...)
# and template brackets out.
SWAPS = [
    (r"(?<![<>=!\-])<=(?![<=>])", ["<", ">"]),
    (r"(?<![<>=!\-])>=(?![<=>])", [">", "<"]),
    (r"(?<![<>\-\w:])\s<\s(?![<=])", [" <= ", " > "]),
    (r"(?<![<>\-])\s>\s(?![>=])", [" >= ", " < "]),
    (r"==", ["!="]),
    (r"!=", ["=="]),
    (r"&&", ["||"]),
    (r"\|\|", ["&&"]),
    (r"(?<=\s)\+(?=\s)", ["-"]),
    (r"(?<=\s)-(?=\s)", ["+"]),
    (r"(?<=\s)\*(?=\s)", ["/"]),
    (r"(?<=\s)/(?=\s)", ["*"]),
    (r"(?<=\s)%(?=\s)", ["*"]),
    (r"\+=", ["-="]),
    (r"-=", ["+="]),
    (r"\+\+", ["--"]),
    (r"(?<![\w)\]])--", ["++"]),
]
NEGATION = re.compile(r"!(?=[\w(])")
INTEGER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)(?![\w.])")
RETURN_BOOL = re.compile(r"\breturn (true|false);")
# Statements whose loss compiles: calls, assignments, increments, break/continue.
DROPPABLE = re.compile(r"^\s*(?:[\w.\->\[\]()*]+\s*(?:[-+*/|&]?=|\+\+|--)|\+\+|--|break;|continue;|[\w.\->]+\()")


def masked(line):
    """The line with string and character literals and a trailing comment blanked out."""
    out = re.sub(r'L?"(?:\\.|[^"\\])*"', lambda m: " " * len(m.group()), line)
    out = re.sub(r"[uL]?'(?:\\.|[^'\\])*'", lambda m: " " * len(m.group()), out)
    cut = out.find("//")
    return out if cut < 0 else out[:cut] + " " * (len(out) - cut)


def candidates(rel):
    result = []
    with open(os.path.join(ROOT, rel), encoding="utf-8") as f:
        lines = f.read().split("\n")
    for n, line in enumerate(lines, 1):
        text = masked(line)
        stripped = text.strip()
        if not stripped or stripped.startswith(("#", "//", "namespace", "}")) or "static_assert" in text:
            continue

        def add(start, end, new):
            result.append((rel, n, line, line[:start] + new + line[end:]))

        for pattern, news in SWAPS:
            # Text is joined with +; its - would not compile.
            if pattern.startswith("(?<=\\s)") and 'L"' in line:
                continue
            for m in re.finditer(pattern, text):
                for new in news:
                    add(m.start(), m.end(), new)
        for m in NEGATION.finditer(text):
            if text[m.start() + 1:].startswith("="):
                continue
            add(m.start(), m.end(), "")
        for m in INTEGER.finditer(text):
            value = int(m.group(), 0)
            for moved in (value + 1, value - 1):
                if moved >= 0:
                    add(m.start(), m.end(), hex(moved) if m.group().lower().startswith("0x") else str(moved))
        for m in RETURN_BOOL.finditer(text):
            add(m.start(1), m.end(1), "false" if m.group(1) == "true" else "true")
        if DROPPABLE.match(text) and stripped.endswith(";") and not stripped.startswith("return"):
            indent = line[: len(line) - len(line.lstrip())]
            add(0, len(line), indent + ";")
    return result


def run(cmd, timeout, cwd=None):
    """(exit status, output); 124 when the time ran out."""
    proc = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out.decode(errors="replace")
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.communicate()
        return 124, ""


def test_command(binary):
    # Without address-space randomisation where the machine allows it, as ctest runs the tests.
    arch = os.uname().machine
    if subprocess.run(["setarch", arch, "-R", "true"], capture_output=True).returncode == 0:
        return ["setarch", arch, "-R", binary, "--gtest_brief=1"]
    return [binary, "--gtest_brief=1"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("count", nargs="?", type=int, default=150)
    parser.add_argument("seed", nargs="?", type=int, default=1)
    parser.add_argument("--threshold", type=float, default=0.0)
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "native"))
    args = parser.parse_args()

    build = ["cmake", "--build", args.build]
    if not os.path.exists(os.path.join(args.build, "build.ninja")):
        subprocess.run(["cmake", "-S", os.path.join(ROOT, "tests", "native"), "-B", args.build, "-G", "Ninja"],
                       check=True, stdout=subprocess.DEVNULL)
    if run(build, 1800)[0] != 0:
        sys.exit("the unmutated rules do not build")
    command = test_command(os.path.join(args.build, "native_rules"))
    started = time.monotonic()
    status, out = run(command, 600)
    if status != 0:
        sys.exit("the native tests fail without a mutant:\n" + out)
    # Generous for the sanitizers, short enough that a mutant stuck in a loop costs little.
    limit = max(10.0, 5 * (time.monotonic() - started))

    pool = [c for rel in FILES for c in candidates(rel)]
    random.Random(args.seed).shuffle(pool)
    sample = pool[: args.count]
    originals = {}
    per_file = {rel: [0, 0] for rel in FILES}  # killed, compiled
    survivors = []

    def restore(*_):
        for rel, text in originals.items():
            with open(os.path.join(ROOT, rel), "w", encoding="utf-8") as f:
                f.write(text)
        originals.clear()

    signal.signal(signal.SIGTERM, lambda *_: (restore(), sys.exit(1)))
    print(f"{len(sample)} of {len(pool)} candidate mutants, seed {args.seed}, time limit {limit:.0f} s")
    try:
        for k, (rel, n, before, after) in enumerate(sample, 1):
            path = os.path.join(ROOT, rel)
            with open(path, encoding="utf-8") as f:
                original = f.read()
            originals[rel] = original
            lines = original.split("\n")
            assert lines[n - 1] == before
            lines[n - 1] = after
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            if run(build, 600)[0] != 0:
                verdict = "does not compile"
            else:
                verdict = "killed" if run(command, limit)[0] != 0 else "SURVIVED"
                per_file[rel][1] += 1
                if verdict == "killed":
                    per_file[rel][0] += 1
                else:
                    survivors.append((rel, n, before.strip(), after.strip()))
            restore()
            print(f"[{k}/{len(sample)}] {verdict:16} {rel}:{n}", flush=True)
    finally:
        restore()
        run(build, 1800)

    killed = sum(v[0] for v in per_file.values())
    compiled = sum(v[1] for v in per_file.values())
    print("\nscore per file (killed / compiling mutants)")
    for rel, (k, c) in per_file.items():
        if c:
            print(f"  {rel:42} {k:3} / {c:3}  {100 * k / c:5.1f} %")
    score = 100 * killed / compiled if compiled else 100.0
    print(f"  {'all':42} {killed:3} / {compiled:3}  {score:5.1f} %")
    if survivors:
        print("\nsurvivors")
        for rel, n, before, after in survivors:
            print(f"  {rel}:{n}\n    - {before}\n    + {after}")
    if score < args.threshold:
        print(f"\nmutation score {score:.1f} % is below {args.threshold:g} %")
        sys.exit(1)


if __name__ == "__main__":
    main()
