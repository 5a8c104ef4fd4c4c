#!/usr/bin/python3
"""Frame rate of a real game, under Xvfb with Mesa's software OpenGL, read
from Mesa's own frame counter (the Gallium HUD, dumped to files instead of
drawn).

Starts a virtual X server, starts the game, waits on the title, presses Enter
and samples the frames per second of the play frames that follow. By default
the game is the ordinary one, whose camera stays in the cave at the start of
the world. With --fight the game is asked (CINDERVALE_START=formation) to
stand the dragon in front of the first formation of knights in the
grassland, and the tool holds the mouse button over the knights so that the
dragon spits at them while they attack. Prints the median, the lowest and
the highest one-second sample for the title and for play, and saves a
screenshot of the play frame. With --runs N it does all that N times, each
in a fresh X server and game, and ends with the median over the runs'
medians.

usage: frame_rate.py [--fight] [--runs N] <cindervale executable> [play seconds] [screenshot.png]
"""

import os
import select
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import zlib

from Xlib import X, display


def start_xvfb():
    """A virtual X server on a display number it picks itself, so that tools
    running side by side never share one; returns the process and display."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x720x24",
                             "-nolisten", "tcp"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    ready, _, _ = select.select([read_end], [], [], 10)
    while ready:
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
        if number.endswith(b"\n"):
            break
        ready, _, _ = select.select([read_end], [], [], 10)
    os.close(read_end)
    if not number.strip():
        xvfb.kill()
        sys.exit("Xvfb did not start")
    return xvfb, ":" + number.decode().strip()


def read_samples(path):
    try:
        with open(path) as f:
            return [float(line) for line in f if line.strip()]
    except FileNotFoundError:
        return []


def wait_for_window(env, timeout):
    end = time.time() + timeout
    while time.time() < end:
        found = subprocess.run(["xdotool", "search", "--name", "^Cindervale$"], env=env,
                               capture_output=True, text=True)
        if found.returncode == 0 and found.stdout.strip():
            return found.stdout.split()[0]
        time.sleep(0.2)
    return None


def save_screen(disp, path):
    dpy = display.Display(disp)
    root = dpy.screen().root
    geom = root.get_geometry()
    data = root.get_image(0, 0, geom.width, geom.height, X.ZPixmap, 0xFFFFFFFF).data
    stride = len(data) // geom.height
    raw = bytearray()
    for y in range(geom.height):
        line = data[y * stride:y * stride + geom.width * 4]
        raw += b"\x00"
        for x in range(0, geom.width * 4, 4):
            raw += bytes((line[x + 2], line[x + 1], line[x]))

    def chunk(kind, body):
        c = struct.pack(">I", len(body)) + kind + body
        return c + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", geom.width, geom.height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 6)))
        f.write(chunk(b"IEND", b""))


def summary(name, samples):
    if not samples:
        return f"{name}: no samples"
    return (f"{name}: median {statistics.median(samples):.1f} fps"
            f" (min {min(samples):.1f}, max {max(samples):.1f}, {len(samples)} one-second samples)")


def measure(exe, play_seconds, shot, fight):
    """One run; returns the play samples."""
    xvfb, disp = start_xvfb()
    game = None
    dump = tempfile.mkdtemp(prefix="cindervale-fps-")
    try:
        xenv = dict(os.environ, DISPLAY=disp)
        genv = dict(xenv, LIBGL_ALWAYS_SOFTWARE="1", GALLIUM_HUD="fps", GALLIUM_HUD_VISIBLE="false",
                    GALLIUM_HUD_PERIOD="1", GALLIUM_HUD_DUMP_DIR=dump)
        if fight:
            genv["CINDERVALE_START"] = "formation"
        with open(os.path.join(dump, "game.log"), "w") as log:
            game = subprocess.Popen([exe], env=genv, stdout=log, stderr=subprocess.STDOUT)
        win = wait_for_window(xenv, 30)
        if win is None:
            sys.exit("no window titled 'Cindervale' appeared")
        time.sleep(4)
        title = read_samples(os.path.join(dump, "fps"))
        subprocess.run(["xdotool", "windowfocus", "--sync", win], env=xenv, check=False)
        subprocess.run(["xdotool", "keydown", "Return"], env=xenv, check=True)
        time.sleep(0.15)
        subprocess.run(["xdotool", "keyup", "Return"], env=xenv, check=True)
        if fight:
            # Right of the dragon, over the knights: it spits at them.
            subprocess.run(["xdotool", "mousemove", "--window", win, "720", "420"], env=xenv, check=True)
            subprocess.run(["xdotool", "mousedown", "1"], env=xenv, check=True)
        time.sleep(2)
        skip = len(read_samples(os.path.join(dump, "fps")))
        time.sleep(play_seconds)
        play = read_samples(os.path.join(dump, "fps"))[skip:]
        if shot:
            save_screen(disp, shot)
        # The first sample also spans the start-up.
        print(summary("title", title[1:]))
        print(summary("play in a grassland fight" if fight else "play in the cave", play))
        return play
    finally:
        if game is not None and game.poll() is None:
            game.terminate()
            try:
                game.wait(timeout=10)
            except subprocess.TimeoutExpired:
                game.kill()
        xvfb.terminate()
        try:
            xvfb.wait(timeout=5)
        except subprocess.TimeoutExpired:
            xvfb.kill()
        shutil.rmtree(dump, ignore_errors=True)


def main():
    args = sys.argv[1:]
    fight = "--fight" in args
    args = [a for a in args if a != "--fight"]
    runs = 1
    if "--runs" in args:
        at = args.index("--runs")
        if at + 1 >= len(args):
            sys.exit(__doc__)
        runs = int(args[at + 1])
        del args[at:at + 2]
    if not args or runs < 1:
        sys.exit(__doc__)
    exe = os.path.abspath(args[0])
    play_seconds = int(args[1]) if len(args) > 1 else 10
    shot = args[2] if len(args) > 2 else None
    for tool in ("Xvfb", "xdotool"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is not installed")
    medians = []
    for _ in range(runs):
        play = measure(exe, play_seconds, shot, fight)
        if play:
            medians.append(statistics.median(play))
    if runs > 1:
        if not medians:
            sys.exit("no run gave samples")
        listed = ", ".join(f"{m:.1f}" for m in sorted(medians))
        print(f"median over {len(medians)} runs: {statistics.median(medians):.1f} fps (run medians {listed})")


if __name__ == "__main__":
    main()
