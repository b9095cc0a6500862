"""A long run of random play through every scene, headless, in a scratch copy
of the runtime directory: the game from the title (stage select, stages,
menus, fades, score resets) and the editor (placing, loading, saving). Prints
the figures; fails on a crash, an assertion or memory that grows after the
first tenth of the run by more than the allowed noise.

    soak.py HARNESS RUNTIME [FRAMES] [SEED]"""
import collections
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

# Growth of resident memory from the end of the warm-up (the first tenth) to
# the settled level of the last tenth (its median) that still counts as noise,
# in KiB: the allocator keeps some pages of a peak, and the editor's solver
# peaks whenever it meets a stage with many positions. A leak grows on and on.
ALLOWED_GROWTH_KIB = 16 * 1024


def soak(harness, runtime, frames, seed, scene):
    work = pathlib.Path(tempfile.mkdtemp())
    try:
        data = work / "runtime"
        shutil.copytree(runtime, data)
        # Under AddressSanitizer freed memory waits in a quarantine that would
        # read as growth here; use-after-free is the rest of the suite's job.
        env = dict(os.environ)
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":quarantine_size_mb=0"
        started = time.monotonic()
        run = subprocess.run([harness, "--data", str(data), "--headless", "--frames", str(frames), "--scene", scene,
                              "--random-keys", str(seed), "--memory-log", str(work / "memory.txt"),
                              "--trace", str(work / "trace.jsonl")], capture_output=True, text=True, env=env)
        seconds = time.monotonic() - started
        scenes = collections.Counter()
        changes = 0
        previous = None
        last = -1
        with open(work / "trace.jsonl") as trace:
            for line in trace:
                state = json.loads(line)
                scenes[state["scene"]] += 1
                changes += previous is not None and state["scene"] != previous
                previous = state["scene"]
                last = state["frame"]
        memory = [tuple(map(int, line.split())) for line in open(work / "memory.txt")]
        saved = len(list((data / "Resource" / "BData").glob("Stage*.txt")))
        return run, seconds, scenes, changes, last, memory, saved
    finally:
        shutil.rmtree(work)


def main():
    harness, runtime = sys.argv[1], sys.argv[2]
    frames = int(sys.argv[3]) if len(sys.argv) > 3 else 200000
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else 1
    failed = False
    for scene in ("title", "edit"):
        run, seconds, scenes, changes, last, memory, saved = soak(harness, runtime, frames, seed, scene)
        warm = frames // 10
        after = [kib for frame, kib in memory if frame >= warm]
        last_tenth = sorted(kib for frame, kib in memory if frame >= frames - warm)
        settled = last_tenth[len(last_tenth) // 2] if last_tenth else 0
        growth = settled - after[0] if after else 0
        visited = ", ".join(f"{name} {count}" for name, count in sorted(scenes.items()))
        print(f"{scene}: {last + 1} frames in {seconds:.1f} s, exit status {run.returncode}; "
              f"frames per scene: {visited}; {changes} scene changes; {saved} stages saved")
        print(f"  resident memory at frame {warm}: {after[0] if after else '?'} KiB, in the last tenth: {settled} KiB "
              f"(median), most after frame {warm}: {max(after) if after else '?'} KiB "
              f"(growth {growth} KiB, allowed {ALLOWED_GROWTH_KIB})")
        if run.returncode != 0 or last + 1 != frames:
            print(run.stdout[-2000:], run.stderr[-2000:])
            failed = True
        if growth > ALLOWED_GROWTH_KIB:
            failed = True
    print("FAILED" if failed else "ok")
    sys.exit(1 if failed else 0)


main()
