#!/usr/bin/env python3
"""Mutation run: applies each mutant of mutants.txt to src/, rebuilds, runs the test programs
until one fails, and always puts the file back. How to run it and add a mutant: docs/TESTING.md.
  nice -n 19 tests/mutation/run-mutants.py [--rest] [--build DIR] [--tests app,link] [ids...]"""
import argparse, json, os, re, shutil, signal, subprocess, sys, tempfile, time
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parents[1]
TEST_ORDER = ["core", "config", "editors", "selection", "history", "diagnostics", "app", "link"]


def read_mutants(path):
    mutants = []
    for number, line in enumerate(path.read_text().splitlines(), 1):
        if line.strip() and not line.lstrip().startswith("#"):
            fields = [f.strip() for f in re.split(r"(?<!\\) \| ", f" {line} ")]
            if len(fields) != 5:
                sys.exit(f"{path.name}:{number}: want 5 fields, found {len(fields)}")
            fields[2:4] = [re.sub(r"\\([|n\\])", lambda m: {"n": "\n"}.get(m[1], m[1]), f) for f in fields[2:4]]
            mutants.append(dict(zip(["id", "file", "original", "replacement", "note"], fields)))
    if len({m["id"] for m in mutants}) != len(mutants):
        sys.exit("mutant ids are not unique")
    return mutants


def run(cmd, timeout=None, **kw):
    """Runs cmd in its own process group: (exit code, or None on time-out; output)."""
    p = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, start_new_session=True, **kw)
    try:
        out = p.communicate(timeout=timeout)[0]
        return p.returncode, out
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        return None, p.communicate()[0]
    except BaseException:  # Ctrl-C: the test programs go too
        os.killpg(p.pid, signal.SIGKILL)
        raise


def run_test(build, name, timeout):
    """Builds one test program and runs it through ctest: 'pass', 'fail', 'timeout' or 'nobuild'."""
    code, out = run(["ninja", "-C", str(build), f"test_{name}"])
    if code != 0:
        return "nobuild", out
    with tempfile.TemporaryDirectory(prefix="orvane-mutation-") as runtime:
        os.chmod(runtime, 0o700)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=runtime)
        code, out = run(["ctest", "--test-dir", str(build), "--stop-on-failure", "-E", "package", "-L", f"^{name}$",
                         "--timeout", str(timeout), "--output-on-failure"], timeout=timeout + 30, env=env)
    return ("timeout" if code is None or "***Timeout" in out else "pass" if code == 0 else "fail"), out


def code_commit():
    """The last commit that changed the program or its tests: results and timings stay valid
    while only this tool or the documents change."""
    cmd = ["git", "-C", str(ROOT), "rev-list", "-1", "HEAD", "--", ".", ":(exclude)tests/mutation", ":(exclude)docs"]
    return subprocess.run(cmd, capture_output=True, text=True).stdout.strip()


def try_mutant(m, build, seconds):
    """Applies m, runs the programs (the mutated folder's first, then the quickest), puts m back."""
    path = ROOT / m["file"]
    text = path.read_text()
    if text.count(m["original"]) != 1:
        return dict(result="bad-original", test="", seconds=0)
    folder = m["file"].split("/")[1]
    order = sorted(seconds, key=lambda t: (t != folder, seconds[t]))
    start, result, test = time.monotonic(), "missed", ""
    try:
        path.write_text(text.replace(m["original"], m["replacement"]))
        for name in order:
            outcome, out = run_test(build, name, max(60, 3 * seconds[name]))
            if outcome == "nobuild":
                result = "did-not-build"
                break
            if outcome != "pass":
                failed = re.search(r"^FAIL!\s*:\s*([^\s(]+)", out, re.M)  # the first failing test function
                result = "caught" if outcome == "fail" else "timed-out"
                test = name + (f" ({failed[1]})" if failed else "")
                break
    finally:
        path.write_text(text)
        if subprocess.run(["git", "-C", str(ROOT), "diff", "--quiet", "--", m["file"]]).returncode:
            sys.exit(f"could not restore {m['file']}: check it with git diff")
    return dict(result=result, test=test, seconds=round(time.monotonic() - start))


def baseline(build, programs):
    """Durations of the unmutated test programs (each must pass), kept per commit."""
    path, head = build / "mutation-baseline.json", code_commit()
    kept = json.loads(path.read_text()) if path.exists() else {}
    if kept.get("commit") == head and set(programs) <= set(kept["seconds"]):
        return {p: kept["seconds"][p] for p in programs}
    seconds = {}
    for name in programs:
        start = time.monotonic()
        outcome, out = run_test(build, name, 1800)
        if outcome != "pass":
            sys.exit(f"the unmutated test program {name} does not pass ({outcome}):\n{out[-3000:]}")
        seconds[name] = round(time.monotonic() - start)
        print(f"baseline {name}: {seconds[name]} s", flush=True)
    path.write_text(json.dumps(dict(commit=head, seconds=seconds)))
    return seconds


def write_table(mutants, results, path, seconds):
    lines = [f"{'id':<24} {'result':<13} {'time':>6}  {'test':<40} note"]
    done = [(m, results[m["id"]]) for m in mutants if m["id"] in results]
    lines += [f"{m['id']:<24} {r['result']:<13} {r['seconds']:>5}s  {r['test']:<40} {m['note']}" for m, r in done]
    count = {}
    for _, r in done:
        count[r["result"]] = count.get(r["result"], 0) + 1
    lines.append(f"caught {count.get('caught', 0) + count.get('timed-out', 0)} of {len(done)} ("
                 + ", ".join(f"{k} {v}" for k, v in sorted(count.items())) + f"); {len(mutants) - len(done)} of "
                 f"{len(mutants)} not run; {sum(r['seconds'] for _, r in done)} s in all, {seconds} s this run")
    path.write_text("\n".join(lines) + "\n")
    print("\n".join(lines))


def interrupted(*_):
    raise KeyboardInterrupt  # the file under test is put back on the way out


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("ids", nargs="*", help="mutant ids (default: all)")
    ap.add_argument("--build", default="build-mutation", help="build folder (default build-mutation)")
    ap.add_argument("--rest", action="store_true", help="only the mutants not yet in the results file")
    ap.add_argument("--tests", default=",".join(TEST_ORDER), help="the test programs to run, separated by commas")
    args = ap.parse_args()
    os.chdir(ROOT)
    if subprocess.run(["git", "status", "--porcelain", "--", "src"], capture_output=True, text=True).stdout.strip():
        sys.exit("src/ has uncommitted changes: commit or stash them first")
    mutants = read_mutants(HERE / "mutants.txt")
    by_id = {m["id"]: m for m in mutants}
    programs = [t for t in args.tests.split(",") if t]
    for kind, unknown in ("mutant ids", set(args.ids) - set(by_id)), ("test programs", set(programs) - set(TEST_ORDER)):
        if unknown:
            sys.exit(f"unknown {kind}: " + " ".join(sorted(unknown)))
    signal.signal(signal.SIGTERM, interrupted)
    build = ROOT / args.build
    if not (build / "build.ninja").exists():  # file by file: a mutant recompiles its own file, not a batch
        launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
        subprocess.run(["cmake", "-S", ".", "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                        "-DORVANE_UNITY_BUILD=OFF", *launcher], check=True)
    subprocess.run(["ninja", "-C", str(build)], check=True)
    results_path, head = build / "mutation-results.json", code_commit()
    saved = json.loads(results_path.read_text()) if results_path.exists() else {}
    results = saved.get("mutants", {}) if saved.get("commit") == head else {}  # from another commit: stale
    chosen = [by_id[i] for i in args.ids] if args.ids else mutants  # in the order asked for
    chosen = [m for m in chosen if not (args.rest and m["id"] in results)]
    seconds, started = baseline(build, programs), time.monotonic()
    for n, m in enumerate(chosen, 1):
        results[m["id"]] = r = try_mutant(m, build, seconds)
        results_path.write_text(json.dumps(dict(commit=head, mutants=results), indent=1))
        print(f"[{n}/{len(chosen)}] {m['id']:<24} {r['result']:<13} {r['seconds']:>5} s  {r['test']}", flush=True)
    write_table(mutants, results, build / "mutation-results.txt", round(time.monotonic() - started))


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        sys.exit("stopped; the file under test was put back")
