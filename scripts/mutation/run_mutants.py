#!/usr/bin/env python3
"""Mutation campaign runner.

Usage: run_mutants.py TREE BUILD_DIR [IDS...] [--name NAME] [--mutants FILE] [--no-baseline]
                      [--check-only]

For every mutant of the mutants file (default: mutants.json beside this script) whose "find"
text occurs exactly once in TREE/<file>, the runner applies the replacement, builds
(`cmake --build BUILD_DIR -j2`), runs `ctest --test-dir BUILD_DIR -j2 --timeout 300` with
QT_QPA_PLATFORM=offscreen, and restores the file byte for byte (always: also on build errors,
exceptions, Ctrl-C and SIGTERM). Each mutant ends as
    caught        some test failed that passed on the unmutated tree,
    survived      every test passed,
    build-failed  the mutated tree did not build,
    skipped       the find text does not occur exactly once (reported before the run).
Results go to BUILD_DIR/../mutant_results_<NAME>.json, the ctest/build output of each mutant to
BUILD_DIR/mutant_logs_<NAME>/.

The build dir is configured once if it has no CMakeCache.txt:
    cmake -S TREE -B BUILD_DIR -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
"""

import argparse
import datetime
import hashlib
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
BUILD_JOBS = "2"
TEST_JOBS = "2"
TEST_TIMEOUT = "300"
STATUSES = ("caught", "survived", "build-failed", "skipped")


class Terminated(Exception):
    """Raised by the SIGTERM handler so that the restore in `finally` runs."""


def on_sigterm(signum, frame):  # noqa: ARG001 - signal handler signature
    raise Terminated()


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def log(text=""):
    print(text, flush=True)


def run(command, log_path, env=None, append=False):
    """Runs `command`, writing its combined output to `log_path`; returns (rc, output, seconds)."""
    started = time.monotonic()
    with open(log_path, "a" if append else "w", encoding="utf-8", errors="replace") as out:
        out.write("$ " + " ".join(command) + "\n")
        out.flush()
        proc = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env)
        text = proc.stdout.decode("utf-8", errors="replace")
        out.write(text)
        out.write("\n[exit code %d]\n" % proc.returncode)
    return proc.returncode, text, time.monotonic() - started


# --- mutants --------------------------------------------------------------------------------

def load_mutants(path):
    with open(path, encoding="utf-8") as f:
        mutants = json.load(f)
    seen = set()
    for m in mutants:
        for key in ("id", "file", "find", "replace", "why"):
            if key not in m:
                raise SystemExit("mutant %r lacks %r" % (m.get("id", "?"), key))
        if m["id"] in seen:
            raise SystemExit("duplicate mutant id %s" % m["id"])
        if "\n" in m["find"] or "\n" in m["replace"]:
            raise SystemExit("mutant %s: find/replace must be one line" % m["id"])
        if m["find"] == m["replace"]:
            raise SystemExit("mutant %s: replacement equals the find text" % m["id"])
        seen.add(m["id"])
    return mutants


def check_mutant(tree, m):
    """Returns None when the mutant can be applied, else the reason it cannot."""
    path = os.path.join(tree, m["file"])
    if not os.path.isfile(path):
        return "file not found"
    with open(path, "rb") as f:
        text = f.read()
    count = text.count(m["find"].encode("utf-8"))
    if count != 1:
        return "find text occurs %d times" % count
    return None


# --- backups: a crashed run can be mended by the next one --------------------------------------

def backup_dir(build_dir):
    return os.path.join(build_dir, "mutant_backup")


def restore_leftovers(tree, build_dir):
    """Restores files a previous, killed run left mutated (their backups are still there)."""
    root = backup_dir(build_dir)
    restored = []
    if not os.path.isdir(root):
        return restored
    for folder, _, files in os.walk(root):
        for name in files:
            backup = os.path.join(folder, name)
            relative = os.path.relpath(backup, root)
            shutil.copyfile(backup, os.path.join(tree, relative))
            os.remove(backup)
            restored.append(relative)
    shutil.rmtree(root, ignore_errors=True)
    return restored


class AppliedMutant:
    """Context manager: applies one mutant and always puts the original bytes back."""

    def __init__(self, tree, build_dir, mutant):
        self.path = os.path.join(tree, mutant["file"])
        self.backup = os.path.join(backup_dir(build_dir), mutant["file"])
        self.mutant = mutant
        self.original = None

    def __enter__(self):
        # No signal may land between writing the mutant and entering the `with` body.
        blocked = signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM})
        try:
            with open(self.path, "rb") as f:
                self.original = f.read()
            os.makedirs(os.path.dirname(self.backup), exist_ok=True)
            shutil.copyfile(self.path, self.backup)
            mutated = self.original.replace(self.mutant["find"].encode("utf-8"),
                                            self.mutant["replace"].encode("utf-8"), 1)
            with open(self.path, "wb") as f:
                f.write(mutated)
        finally:
            signal.pthread_sigmask(signal.SIG_SETMASK, blocked)
        return self

    def __exit__(self, *exc):
        # Signals are held off while the file is written back.
        blocked = signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM})
        try:
            with open(self.path, "wb") as f:
                f.write(self.original)
            with open(self.path, "rb") as f:
                if sha256(f.read()) != sha256(self.original):
                    raise RuntimeError("could not restore " + self.path)
            os.remove(self.backup)
        finally:
            signal.pthread_sigmask(signal.SIG_SETMASK, blocked)
        return False


# --- build and tests -------------------------------------------------------------------------

def configure_if_needed(tree, build_dir, log_path):
    if os.path.isfile(os.path.join(build_dir, "CMakeCache.txt")):
        return True
    log("configuring %s" % build_dir)
    rc, _, _ = run(["cmake", "-S", tree, "-B", build_dir, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], log_path)
    return rc == 0


def build(build_dir, log_path, append=False):
    rc, _, seconds = run(["cmake", "--build", build_dir, "-j" + BUILD_JOBS], log_path,
                         append=append)
    return rc == 0, seconds


FAILED_LINE = re.compile(r"^\s*\d+\s+-\s+(.+?)\s+\(([^()]*)\)\s*$")


def test_executables(build_dir):
    """Maps each ctest test name to the executable (or script) that runs it."""
    proc = subprocess.run(["ctest", "--test-dir", build_dir, "--show-only=json-v1"],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    mapping = {}
    try:
        for test in json.loads(proc.stdout.decode("utf-8", errors="replace"))["tests"]:
            command = test.get("command") or []
            exe = os.path.basename(command[0]) if command else "?"
            if exe.startswith("cmake") and "-P" in command:
                exe = "cmake -P " + os.path.basename(command[command.index("-P") + 1])
            mapping[test["name"]] = exe
    except (ValueError, KeyError):
        pass
    return mapping


def run_tests(build_dir, log_path):
    """Runs ctest; returns (all passed, {failed test: reason}, ran anything, seconds)."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    rc, text, seconds = run(["ctest", "--test-dir", build_dir, "-j" + TEST_JOBS,
                             "--timeout", TEST_TIMEOUT, "--output-on-failure"],
                            log_path, env=env, append=True)
    failed = {}
    in_list = False
    for line in text.splitlines():
        if line.startswith("The following tests FAILED:"):
            in_list = True
            continue
        if in_list:
            match = FAILED_LINE.match(line)
            if match:
                failed[match.group(1)] = match.group(2)
            elif line.strip():
                in_list = False
    ran = "tests passed" in text or bool(failed)
    if rc != 0 and not failed:
        failed["<ctest>"] = "exit code %d" % rc
    return rc == 0, failed, ran, seconds


# --- the run ---------------------------------------------------------------------------------

def git_state(tree):
    status = subprocess.run(["git", "-C", tree, "status", "--porcelain"],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    diff = subprocess.run(["git", "-C", tree, "diff", "--stat"],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    lines = status.stdout.decode("utf-8", errors="replace").splitlines()
    tracked_changes = [line for line in lines if not line.startswith("??")]
    return {
        "status": lines,
        "diff_stat": diff.stdout.decode("utf-8", errors="replace").strip(),
        "clean": not tracked_changes and not diff.stdout.strip(),
    }


def describe(failed, executables, limit=4):
    by_exe = {}
    for name in sorted(failed):
        by_exe.setdefault(executables.get(name, "?"), []).append(name)
    parts = []
    for exe, names in sorted(by_exe.items()):
        shown = ", ".join(names[:limit]) + (" +%d" % (len(names) - limit) if len(names) > limit
                                            else "")
        parts.append("%s: %s" % (exe, shown))
    return "; ".join(parts)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("tree")
    parser.add_argument("build_dir")
    parser.add_argument("ids", nargs="*", help="mutant ids to run (default: all)")
    parser.add_argument("--name", default="run", help="results name (default: run)")
    parser.add_argument("--mutants", default=os.path.join(HERE, "mutants.json"))
    parser.add_argument("--no-baseline", action="store_true",
                        help="skip the test run of the unmutated tree")
    parser.add_argument("--check-only", action="store_true",
                        help="only check that every find text occurs exactly once")
    args = parser.parse_args()

    tree = os.path.abspath(args.tree)
    build_dir = os.path.abspath(args.build_dir)
    results_path = os.path.join(os.path.dirname(build_dir),
                                "mutant_results_%s.json" % args.name)
    log_dir = os.path.join(build_dir, "mutant_logs_%s" % args.name)
    signal.signal(signal.SIGTERM, on_sigterm)

    mutants = load_mutants(args.mutants)
    if args.ids:
        known = {m["id"] for m in mutants}
        unknown = [i for i in args.ids if i not in known]
        if unknown:
            raise SystemExit("unknown mutant ids: " + " ".join(unknown))
        mutants = [m for m in mutants if m["id"] in set(args.ids)]

    os.makedirs(build_dir, exist_ok=True)
    os.makedirs(log_dir, exist_ok=True)
    leftovers = restore_leftovers(tree, build_dir)
    for relative in leftovers:
        log("restored %s from the backup of an interrupted run" % relative)

    # Every find text is checked before anything is built.
    results = []
    runnable = []
    for m in mutants:
        problem = check_mutant(tree, m)
        if problem:
            log("%-4s skipped       %-38s %s" % (m["id"], m["file"], problem))
            results.append({"id": m["id"], "file": m["file"], "why": m["why"],
                            "status": "skipped", "reason": problem})
        else:
            runnable.append(m)

    if args.check_only:
        log("%d of %d mutants can be applied" % (len(runnable), len(mutants)))
        return 0 if len(runnable) == len(mutants) else 1

    started = datetime.datetime.now().isoformat(timespec="seconds")
    setup_log = os.path.join(log_dir, "baseline.log")
    if not configure_if_needed(tree, build_dir, setup_log):
        raise SystemExit("configuring failed, see " + setup_log)
    ok, _ = build(build_dir, setup_log, append=True)
    if not ok:
        raise SystemExit("the unmutated tree does not build, see " + setup_log)
    executables = test_executables(build_dir)
    baseline_failed = {}
    if not args.no_baseline:
        passed, baseline_failed, _, seconds = run_tests(build_dir, setup_log)
        log("baseline: %d tests, %s (%.0f s)" % (
            len(executables), "all passed" if passed else
            "FAILING: " + describe(baseline_failed, executables), seconds))

    interrupted = False
    try:
        for m in runnable:
            mutant_log = os.path.join(log_dir, m["id"] + ".log")
            entry = {"id": m["id"], "file": m["file"], "why": m["why"],
                     "find": m["find"], "replace": m["replace"], "log": mutant_log}
            with AppliedMutant(tree, build_dir, m):
                built, build_seconds = build(build_dir, mutant_log)
                entry["build_seconds"] = round(build_seconds, 1)
                if not built:
                    entry["status"] = "build-failed"
                else:
                    _, failed, _, test_seconds = run_tests(build_dir, mutant_log)
                    entry["test_seconds"] = round(test_seconds, 1)
                    new = {k: v for k, v in failed.items() if k not in baseline_failed}
                    entry["status"] = "caught" if new else "survived"
                    entry["failed_tests"] = [
                        {"name": k, "executable": executables.get(k, "?"), "result": v}
                        for k, v in sorted(new.items())]
            results.append(entry)
            detail = describe({t["name"]: 1 for t in entry.get("failed_tests", [])}, executables)
            log("%-4s %-13s %-38s %s" % (m["id"], entry["status"], m["file"], detail))
    except (KeyboardInterrupt, Terminated):
        interrupted = True
        log("interrupted: the mutated file has been restored")
    finally:
        # The tree is built back to its unmutated state, so the build dir matches the sources.
        if runnable:
            build(build_dir, setup_log, append=True)

    order = {m["id"]: i for i, m in enumerate(load_mutants(args.mutants))}
    results.sort(key=lambda r: order.get(r["id"], 0))
    summary = {s: sum(1 for r in results if r["status"] == s) for s in STATUSES}
    state = git_state(tree)
    report = {
        "name": args.name,
        "tree": tree,
        "build_dir": build_dir,
        "mutants_file": os.path.abspath(args.mutants),
        "started": started,
        "finished": datetime.datetime.now().isoformat(timespec="seconds"),
        "interrupted": interrupted,
        "baseline_failures": baseline_failed,
        "summary": summary,
        "tree_clean": state["clean"],
        "git_status": state["status"],
        "git_diff_stat": state["diff_stat"],
        "mutants": results,
    }
    with open(results_path, "w", encoding="utf-8") as f:
        json.dump(report, f, indent=2, ensure_ascii=False)
        f.write("\n")

    log()
    log("summary: %d caught, %d survived, %d build-failed, %d skipped (of %d)" % (
        summary["caught"], summary["survived"], summary["build-failed"], summary["skipped"],
        len(results)))
    survivors = [r["id"] for r in results if r["status"] == "survived"]
    if survivors:
        log("survived: " + " ".join(survivors))
    log("tree %s: git status --porcelain -> %s" % (
        "clean" if state["clean"] else "CHANGED",
        "; ".join(state["status"]) if state["status"] else "(nothing)"))
    log("results: " + results_path)
    return 1 if interrupted or not state["clean"] else 0


if __name__ == "__main__":
    sys.exit(main())
