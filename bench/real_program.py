#!/usr/bin/env python3
"""The real program under an X server of its own (Xvfb), as a user runs it, for bench/idle-cpu,
bench/spin-frames, bench/start-up and bench/quit. Each measure is printed beside its reference,
measured in the same run. The machine's load is printed too: other programs slow both alike, but
the spread grows.

real_program.py BUILD idle  FOLDER...   CPU of the program left alone, after its scan and count
real_program.py BUILD spin  FOLDER...   frames while the ring spins (a middle-button drag)
real_program.py BUILD start FOLDER...   start-up to the first frame
real_program.py BUILD quit  FOLDER...   from File > Quit (Alt+F4) to the end of the process: at rest,
                                        in the middle of the scan, in the middle of the count of a
                                        folder read from the disk

ORBIVANE_BEFORE=path/to/orbivane runs another build beside (idle and quit only: an older build
writes no frame statistics)."""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RECENT = ("\n\nAPPEARANCE {\n  MAXIMIZE       FALSE\n  LEFT           100\n  TOP            80\n"
          "  WIDTH          1024\n  HEIGHT         768\n}\n\nFOLDERS {\n}\n\n")
# A scan or a count keeps a core busy, but on a machine shared with builds it may get well under half
# of one; a program at rest takes under 1 %. Rest is two windows in a row under this.
SETTLED_PERCENT = 10.0
LONGEST_SETTLE = 900.0


def load():
    return open("/proc/loadavg").read().split()[0]


class Display:
    """An X server of our own, for the run."""

    def __enter__(self):
        self.read, write = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                        "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            number += os.read(self.read, 16)
        os.environ["DISPLAY"] = ":" + number.decode().strip()
        return self

    def __exit__(self, *_):
        self.server.terminate()
        self.server.wait()
        os.close(self.read)


def make_home(work, folder, texture_cache=None):
    """A program folder of its own: the shipped pictures, lists and settings, one ring on `folder`;
    its texture cache is `texture_cache` when given (shared by the homes of a run)."""
    home = tempfile.mkdtemp(dir=work)
    os.symlink(os.path.join(ROOT, "data", "textures"), os.path.join(home, "textures"))
    if texture_cache:
        os.symlink(texture_cache, os.path.join(home, "texture-cache"))
    for name in ("views.ini", "favorites.ini"):
        shutil.copy(os.path.join(ROOT, "data", name), home)
    settings = open(os.path.join(ROOT, "data", "orbivane.ini")).read().splitlines()
    chosen = {"InitialRingMode": "2", "InitialRingFolder": folder.rstrip("/") + "/", "CreateRingForHDD": "0"}
    with open(os.path.join(home, "orbivane.ini"), "w") as out:
        for line in settings:
            key = line.split("=", 1)[0]
            out.write(f"{key}={chosen[key]}\n" if key in chosen else line + "\n")
    with open(os.path.join(home, "recent.ini"), "w") as out:
        out.write(RECENT)
    return home


def ticks(pid):
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def cpu_percent(pids, seconds):
    hz = os.sysconf("SC_CLK_TCK")
    before = [ticks(pid) for pid in pids]
    time.sleep(seconds)
    return [100.0 * (ticks(pid) - b) / (hz * seconds) for pid, b in zip(pids, before)]


def frame_lines(path):
    try:
        return [tuple(float(x) for x in line.split()) for line in open(path) if line.strip()]
    except FileNotFoundError:
        return []


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], capture_output=True, text=True).stdout.strip()


class Program:
    def __init__(self, binary, home, stats=None, extra_environment=None):
        self.stats = stats
        if stats and os.path.exists(stats):
            os.remove(stats)  # the lines of a run before are not this run's
        command = [binary] + (["--frame-stats", stats] if stats else [])
        environment = dict(os.environ, ORBIVANE_HOME=home, **(extra_environment or {}))
        self.started = time.perf_counter()
        self.process = subprocess.Popen(command, env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def window(self):
        for _ in range(3000):
            found = xdotool("search", "--onlyvisible", "--pid", str(self.process.pid), "--name", "^Orbivane")
            if found:
                return found.splitlines()[0]
            time.sleep(0.02)
        raise RuntimeError("the program shows no window")

    def first_frame(self):
        """Seconds from the start to the first frame line."""
        while not frame_lines(self.stats):
            if self.process.poll() is not None:
                raise RuntimeError("the program ended before its first frame")
            time.sleep(0.002)
        return time.perf_counter() - self.started

    def settle(self):
        """Waits until the scan and the count have ended: the program stays below SETTLED_PERCENT.
        The seconds it took."""
        start = time.time()
        quiet = 0
        while time.time() < start + LONGEST_SETTLE:
            quiet = quiet + 1 if cpu_percent([self.process.pid], 2.0)[0] < SETTLED_PERCENT else 0
            if quiet == 2:
                return time.time() - start
        raise RuntimeError("the program never came to rest")

    def quit(self):
        """Seconds from Alt+F4 (File > Quit) to the end of the process."""
        window = self.window()
        xdotool("windowfocus", "--sync", window)
        start = time.perf_counter()
        xdotool("key", "--window", window, "alt+F4")
        self.process.wait(timeout=600)
        return time.perf_counter() - start

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def binaries(build):
    found = [("now", os.path.join(build, "bin", "orbivane"))]
    if os.environ.get("ORBIVANE_BEFORE"):
        found.append(("before", os.environ["ORBIVANE_BEFORE"]))
    return found


def entries(folder):
    return sum(1 for _ in os.scandir(folder))


def idle(build, folders, work):
    seconds = 10
    print(f"idle CPU over {seconds} s after the scan and the count (load {load()})")
    print(f"  {'Xvfb alone':52}{'':10}{cpu_percent([display_pid()], seconds)[0]:8.2f} % Xvfb")
    for folder in folders:
        runs = binaries(build) + [("now, every frame drawn", binaries(build)[0][1])]
        settled = 0.0
        for name, binary in runs:
            every = {"ORBIVANE_DRAW_EVERY_FRAME": "1"} if "every frame" in name else None
            program = Program(binary, make_home(work, folder), extra_environment=every)
            program.window()
            if every:
                time.sleep(settled + 2.0)  # it never rests: as long as the same program took to
            else:
                took = program.settle()
                settled = took if name == "now" else settled
            time.sleep(3)
            own, server = cpu_percent([program.process.pid, display_pid()], seconds)
            program.end()
            label = f"a ring on {entries(folder):,} files, {name}"
            print(f"  {label:52}{own:8.2f} %{server:8.2f} % Xvfb   (goal < 1 %)")


def display_pid():
    return DISPLAY.server.pid


def fill_reference(build, size):
    out = subprocess.run([os.path.join(build, "bench", "orbivane_fill_reference"), size], capture_output=True,
                         text=True, check=True).stdout
    return float(out)


def view_size(window):
    """The view's size: the window's less its menu and status bars (the GL view is the widest child)."""
    geometry = xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=") for line in geometry.splitlines())
    return int(values["WIDTH"]), int(values["HEIGHT"]) - 25 - 19


def spin(build, folders, work):
    print(f"frames while the ring spins (a middle-button drag), wall ms from the frame's start to its swap (load {load()})")
    for folder in folders:
        stats = os.path.join(work, "frames.txt")
        program = Program(os.path.join(build, "bin", "orbivane"), make_home(work, folder), stats)
        window = program.window()
        program.settle()
        width, height = view_size(window)
        xdotool("windowfocus", "--sync", window)
        xdotool("mousemove", "--window", window, str(width // 2), str(height // 2 + 25))
        before = len(frame_lines(stats))
        steps = []
        for direction in ("4", "-4"):
            steps += ["mousemove_relative", "--", direction, "0", "sleep", "0.02"] * 150
        xdotool("mousedown", "2", *steps, "mouseup", "2")
        time.sleep(1.0)
        frames = frame_lines(stats)[before:]
        program.end()
        fill = fill_reference(build, f"{width}x{height}")
        times = sorted(ms for ms, _ in frames)
        if not times:
            print(f"  {folder}: no frames were drawn")
            continue
        median = statistics.median(times)
        p95 = times[min(len(times) - 1, int(0.95 * len(times)))]
        floor = max(50.0, fill)
        elements = int(frames[-1][1])
        print(f"  {entries(folder):>9,} files: {len(times)} frames, median {median:6.1f} ms, 95th {p95:6.1f} ms,"
              f" longest {times[-1]:6.1f} ms; {elements:,} elements drawn")
        print(f"  {'':17}fill {fill:5.1f} ms: median {median / floor:4.2f} x, 95th {p95 / floor:4.2f} x"
              f" max(50 ms, fill)")


def start(build, folders, work):
    runs = 5
    print(f"start-up to the first frame, medians of {runs} (load {load()})")
    bare = os.path.join(build, "bench", "orbivane_bare_qt_window")
    orbivane = os.path.join(build, "bin", "orbivane")
    stats = os.path.join(work, "frames.txt")
    # A user's program folder holds the textures compressed at earlier starts: the fresh folder of
    # each start shares one texture cache, filled by a start that is not counted.
    texture_cache = os.path.join(work, "texture-cache")
    os.makedirs(texture_cache, exist_ok=True)
    warm_up = Program(orbivane, make_home(work, folders[0], texture_cache), stats)
    warm_up.first_frame()
    warm_up.end()
    for folder in folders:
        took = {"bare": [], "now": []}
        for _ in range(runs):
            bare_stats = os.path.join(work, "bare.txt")
            if os.path.exists(bare_stats):
                os.remove(bare_stats)
            started = time.perf_counter()
            reference = subprocess.Popen([bare, bare_stats])
            while not frame_lines(bare_stats):
                time.sleep(0.002)
            took["bare"].append(time.perf_counter() - started)
            reference.kill()
            reference.wait()
            program = Program(orbivane, make_home(work, folder, texture_cache), stats)
            took["now"].append(program.first_frame())
            program.end()
        bare_ms = statistics.median(took["bare"]) * 1000
        now_ms = statistics.median(took["now"]) * 1000
        print(f"  {entries(folder):>9,} entries: {now_ms:7.0f} ms; bare Qt window {bare_ms:5.0f} ms:"
              f" {now_ms / bare_ms:4.2f} x (goal <= 1.5 x; a million entries within 1 s)")


def drop_page_cache():
    """Empties the page cache, so that the folder is read from the disk (needs root)."""
    return subprocess.run("sync && echo 3 > /proc/sys/vm/drop_caches", shell=True,
                          stderr=subprocess.DEVNULL).returncode == 0


def quit(build, folders, work):
    print(f"quit (Alt+F4) to the end of the process (load {load()})")
    for folder in folders:
        for name, binary in binaries(build):
            for moment in ("at rest", "mid-scan", "mid-count, cold cache"):
                if moment.endswith("cold cache") and not drop_page_cache():
                    print(f"  {moment}: not measured (emptying the page cache needs root)")
                    continue
                program = Program(binary, make_home(work, folder))
                program.window()
                if moment == "at rest":
                    program.settle()
                else:
                    time.sleep(0.5 if moment == "mid-scan" else 8.0)
                took = program.quit()
                label = f"a ring on {entries(folder):,} files, {moment}, {name}"
                print(f"  {label:56}{took * 1000:8.0f} ms (goal < 1 s beyond saving the settings)")


def main():
    global DISPLAY
    build, what, folders = sys.argv[1], sys.argv[2], sys.argv[3:]
    with tempfile.TemporaryDirectory() as work, Display() as DISPLAY:
        {"idle": idle, "spin": spin, "start": start, "quit": quit}[what](build, folders, work)


if __name__ == "__main__":
    main()
