#!/usr/bin/python3
"""End to end: the real game in a virtual X server.

First checks that with no display at all the game exits quietly with status
0 instead of crashing. Then starts Xvfb, launches the game, finds its window titled "Cindervale", checks
that Escape does not close it, saves a screenshot of the title and one of a
game started with Enter, then asks the window to
close the way a window manager's close button does (WM_DELETE_WINDOW) and
expects a clean exit with status 0.

usage: window_test.py <cindervale executable> <output folder>
"""

import os
import shutil
import struct
import subprocess
import sys
import time
import zlib

from Xlib import X, display, protocol


def fail(msg):
    print("FAIL:", msg, flush=True)
    sys.exit(1)


def free_display_number():
    for n in range(90, 140):
        if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"):
            return n
    fail("no free X display number")


def wait_for(predicate, timeout, step=0.1):
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return None


def find_window(dpy, title):
    def walk(win):
        try:
            name = win.get_wm_name()
        except Exception:
            name = None
        if name == title:
            return win
        try:
            children = win.query_tree().children
        except Exception:
            return None
        for child in children:
            found = walk(child)
            if found is not None:
                return found
        return None
    return walk(dpy.screen().root)


def save_png(path, width, height, rgb_rows):
    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + row for row in rgb_rows)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 6))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def screenshot(dpy, win, path):
    geom = win.get_geometry()
    image = win.get_image(0, 0, geom.width, geom.height, X.ZPixmap, 0xFFFFFFFF)
    data = image.data
    stride = len(data) // geom.height
    rows = []
    distinct = set()
    for y in range(geom.height):
        line = data[y * stride:(y * stride) + geom.width * 4]
        row = bytearray()
        for x in range(0, geom.width * 4, 4):
            b, g, r = line[x], line[x + 1], line[x + 2]
            row += bytes((r, g, b))
            if y % 16 == 0 and x % 64 == 0:
                distinct.add((r, g, b))
        rows.append(bytes(row))
    save_png(path, geom.width, geom.height, rows)
    return len(distinct)


def tap_key(name, env):
    """Holds the key for a few frames: a press and release that both land in
    one frame's event poll would show as held-and-released, never pressed."""
    subprocess.run(["xdotool", "keydown", name], env=env, check=True, timeout=10)
    time.sleep(0.15)
    subprocess.run(["xdotool", "keyup", name], env=env, check=True, timeout=10)


def send_close_request(dpy, win):
    wm_protocols = dpy.intern_atom("WM_PROTOCOLS")
    wm_delete = dpy.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(
        window=win, client_type=wm_protocols, data=(32, [wm_delete, X.CurrentTime, 0, 0, 0]))
    win.send_event(event, event_mask=X.NoEventMask)
    dpy.flush()


def check_quiet_exit_without_display(exe, outdir):
    """With no X server at all the game must give up quietly, not crash."""
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    with open(os.path.join(outdir, "no_display.log"), "w") as log:
        try:
            status = subprocess.run([exe], env=env, stdout=log, stderr=subprocess.STDOUT,
                                    timeout=30).returncode
        except subprocess.TimeoutExpired:
            fail("without a display the game hung instead of exiting")
    if status != 0:
        fail(f"without a display the game exited with status {status}")


def main():
    if len(sys.argv) != 3:
        fail(__doc__)
    exe, outdir = sys.argv[1], sys.argv[2]
    os.makedirs(outdir, exist_ok=True)
    check_quiet_exit_without_display(exe, outdir)
    for tool in ("Xvfb", "xdotool"):
        if shutil.which(tool) is None:
            fail(f"{tool} is not installed (scripts/setup-deps.sh installs it)")

    n = free_display_number()
    disp = f":{n}"
    xvfb = subprocess.Popen(["Xvfb", disp, "-screen", "0", "1280x720x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    game = None
    try:
        if not wait_for(lambda: os.path.exists(f"/tmp/.X11-unix/X{n}"), 10):
            fail("Xvfb did not start")
        env = dict(os.environ, DISPLAY=disp, LIBGL_ALWAYS_SOFTWARE="1")
        log = open(os.path.join(outdir, "game.log"), "w")
        game = subprocess.Popen([exe], env=env, stdout=log, stderr=subprocess.STDOUT)
        dpy = display.Display(disp)

        win = wait_for(lambda: find_window(dpy, "Cindervale"), 30, 0.25)
        if win is None:
            fail("no window titled 'Cindervale' appeared")
        time.sleep(1.5)  # let a few frames render

        xenv = dict(os.environ, DISPLAY=disp)
        subprocess.run(["xdotool", "windowfocus", "--sync", str(win.id)], env=xenv, check=False,
                       timeout=10)
        tap_key("Escape", xenv)
        time.sleep(1.0)
        if game.poll() is not None:
            fail(f"Escape closed the game (status {game.returncode})")

        title_path = os.path.join(outdir, "title.png")
        if not wait_for(lambda: screenshot(dpy, win, title_path) >= 3, 30, 0.5):
            fail("the window stayed blank")

        # Enter starts a game; its world replaces the title on screen. A loaded
        # machine renders slowly in software, so allow it time.
        tap_key("Return", xenv)
        with open(os.path.join(outdir, "title.png"), "rb") as f:
            title_png = f.read()
        play_path = os.path.join(outdir, "play.png")

        def picture_changed():
            if game.poll() is not None:
                fail(f"the game ended after starting a new game (status {game.returncode})")
            screenshot(dpy, win, play_path)
            with open(play_path, "rb") as f:
                return f.read() != title_png
        if not wait_for(picture_changed, 30, 0.5):
            fail("Enter on the title did not change the picture")

        # A key cracks the egg; once hatched, the dragon walks right on D.
        time.sleep(0.5)
        tap_key("k", xenv)
        time.sleep(3.0)
        screenshot(dpy, win, play_path)
        with open(play_path, "rb") as f:
            hatched_png = f.read()
        subprocess.run(["xdotool", "keydown", "d"], env=xenv, check=True, timeout=10)
        time.sleep(1.5)
        subprocess.run(["xdotool", "keyup", "d"], env=xenv, check=True, timeout=10)
        walk_path = os.path.join(outdir, "walk.png")
        screenshot(dpy, win, walk_path)
        with open(walk_path, "rb") as f:
            if f.read() == hatched_png:
                fail("holding D after the hatching did not change the picture")
        if game.poll() is not None:
            fail(f"the game ended while walking (status {game.returncode})")

        send_close_request(dpy, win)
        try:
            status = game.wait(timeout=20)
        except subprocess.TimeoutExpired:
            fail("the game did not exit after a close request")
        if status != 0:
            fail(f"the game exited with status {status}")
        print("ok: window opened, survived Escape, closed with status 0;"
              f" screenshot in {os.path.join(outdir, 'title.png')}")
    finally:
        if game is not None and game.poll() is None:
            game.kill()
        xvfb.terminate()
        try:
            xvfb.wait(timeout=5)
        except subprocess.TimeoutExpired:
            xvfb.kill()


if __name__ == "__main__":
    main()
