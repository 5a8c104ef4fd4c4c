#!/usr/bin/python3
"""Time from a command to the game's title on screen, under Xvfb with Mesa's
software OpenGL.

Runs the command (./play.sh on a fresh clone, or the executable itself) in a
virtual X server and reports when the window titled "Cindervale" appeared
and when its title picture was first drawn (several colours in the window).
The game is then closed.

usage: start_time.py <command> [argument...]
"""

import os
import shutil
import subprocess
import sys
import time

from Xlib import X, display


def free_display_number():
    for n in range(200, 250):
        if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"):
            return n
    sys.exit("no free X display number")


def find_window(dpy, title):
    for child in dpy.screen().root.query_tree().children:
        try:
            if child.get_wm_name() == title:
                return child
            for grandchild in child.query_tree().children:
                if grandchild.get_wm_name() == title:
                    return grandchild
        except Exception:
            continue
    return None


def colours_in(win):
    try:
        geom = win.get_geometry()
        data = win.get_image(0, 0, geom.width, geom.height, X.ZPixmap, 0xFFFFFFFF).data
    except Exception:  # not mapped yet
        return 0
    stride = len(data) // geom.height
    seen = set()
    for y in range(0, geom.height, 16):
        for x in range(0, geom.width * 4, 64):
            i = y * stride + x
            seen.add(bytes(data[i:i + 3]))
    return len(seen)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    if shutil.which("Xvfb") is None:
        sys.exit("Xvfb is not installed")
    n = free_display_number()
    disp = f":{n}"
    xvfb = subprocess.Popen(["Xvfb", disp, "-screen", "0", "1280x720x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    game = None
    try:
        end = time.time() + 10
        while not os.path.exists(f"/tmp/.X11-unix/X{n}") and time.time() < end:
            time.sleep(0.05)
        dpy = display.Display(disp)
        env = dict(os.environ, DISPLAY=disp, LIBGL_ALWAYS_SOFTWARE="1")
        start = time.time()
        game = subprocess.Popen(sys.argv[1:], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        win = None
        while win is None:
            if game.poll() is not None:
                sys.exit(f"the command ended (status {game.returncode}) before a window appeared")
            win = find_window(dpy, "Cindervale")
            if win is None:
                time.sleep(0.05)
        window_at = time.time() - start
        while colours_in(win) < 3:
            time.sleep(0.05)
        title_at = time.time() - start
        print(f"window after {window_at:.2f} s, title drawn after {title_at:.2f} s")
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


if __name__ == "__main__":
    main()
