#!/usr/bin/python3
# What a screen reader finds: the editor on its simulated controller under
# Xvfb, read through AT-SPI (pyatspi) as Orca reads it, in English and Chinese.
# Each language runs in a D-Bus session of its own with no accessibility bus
# yet; the editor starts first, the client 1.5 s later (docs/TESTING.md), and
# the editor must be in the AT-SPI desktop within 2 s of its window. The tree
# names the 16 pads and 4 knobs of the bank shown (and of bank B once chosen)
# and the 6 transport buttons, with their values; a knob value stepped by
# keyboard is seen changed, and the status line's news comes as an alert.
#   atspi_tree.py EDITOR
import os
import subprocess
import sys
import tempfile
import time

# The language as the settings file keeps it, and the names spoken.
LANGUAGES = {
    "en": ("English", "Pad %s", "Knob %s", "%s note",
           ["Previous button", "Stop button", "Next button", "Record button", "Start button", "Repeat button"]),
    "zh": ("\\x7b80\\x4f53\\x4e2d\\x6587", "打击垫 %s", "旋钮 %s", "%s 音符",
           ["上一个按钮", "停止按钮", "下一个按钮", "录音按钮", "播放按钮", "循环按钮"]),
}


def fail(message):
    sys.exit("FAIL: " + message)


def poll(what, seconds):
    deadline = time.monotonic() + seconds
    while not (found := what()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return found


def controls(node, found=None):
    """Every showing named control and panel under node: name -> (role, description)."""
    import pyatspi
    found = {} if found is None else found
    for child in filter(None, node):
        if child.getState().contains(pyatspi.STATE_SHOWING) and child.name:
            found.setdefault(child.name, (child.getRoleName(), child.description))
        controls(child, found)
    return found


def check_bank(app, lang, bank):
    _, pad, knob, note, buttons = LANGUAGES[lang]
    wanted = [pad % f"{bank}{i}" for i in range(1, 17)] + [knob % f"{bank}{i}" for i in range(1, 5)] + buttons
    shown = poll(lambda: (s := controls(app)) and all(n in s for n in wanted) and s, 5) or controls(app)
    if missing := [n for n in wanted if n not in shown]:
        fail(f"{lang} bank {bank} lacks {missing}")
    for i in range(1, 17):
        role, value = shown.get(note % (pad % f"{bank}{i}"), ("", ""))
        if role != "text" or not value.split(",")[0].isdigit() or "," not in value:
            fail(f"{lang}: pad {bank}{i}'s note reads {role} {value!r}")
    return shown


def run(editor, lang, root):
    for sub in ("config/Korvel", "data", "run"):
        os.makedirs(os.path.join(root, sub), 0o700)
    with open(os.path.join(root, "config/Korvel/korvelMavu.conf"), "w") as f:
        f.write(f"[General]\nLanguage={LANGUAGES[lang][0]}\n")
    display = os.pipe()
    # -noreset: the window searches below come and go as clients, and a server
    # resetting after the last of them refuses the editor's first connection.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(display[1]), "-screen", "0", "1400x1000x24", "-nolisten",
                             "tcp", "-noreset"], pass_fds=[display[1]], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(display[1])
    app = None
    try:
        number = os.fdopen(display[0]).readline().strip()
        if not number:
            fail(f"{lang}: Xvfb did not start (exit status {xvfb.wait()})")
        env = dict(os.environ, DISPLAY=":" + number, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_CONFIG_HOME=root + "/config", XDG_DATA_HOME=root + "/data", XDG_RUNTIME_DIR=root + "/run")
        env.pop("QT_QPA_PLATFORM", None)
        started = time.monotonic()
        with open(os.path.join(root, "editor.log"), "w") as log:
            app = subprocess.Popen([editor, "--simulator", "--update-port", root + "/update"], env=env,
                                   stdout=log, stderr=subprocess.STDOUT)
        xdotool = lambda *args: subprocess.run(["xdotool", *args], env=env, capture_output=True,
                                               text=True).stdout.split()
        # A sanitized build on a busy machine may take long to show it; the 2 s count from then.
        window = poll(lambda: app.poll() is not None or xdotool("search", "--onlyvisible", "--pid", str(app.pid)), 60)
        if not window or app.poll() is not None:
            with open(os.path.join(root, "editor.log")) as printed:
                fail(f"{lang}: no window (editor exit status {app.poll()}, DISPLAY {env['DISPLAY']!r}):\n"
                     + printed.read()[-3000:])
        shown_at = time.monotonic()
        # The client's first call starts the accessibility bus; Qt's bridge must be up by then.
        time.sleep(max(0.0, started + 1.5 - time.monotonic()))
        import pyatspi
        desktop = lambda: next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "korvel-mavu"), None)
        found = poll(desktop, 5)
        if not found or time.monotonic() - shown_at > 2.0 + 1.5:
            fail(f"{lang}: not in the AT-SPI desktop within 2 s of the window")
        check_bank(found, lang, "A")
        xdotool("windowfocus", "--sync", window[-1], "key", "ctrl+2")
        shown = check_bank(found, lang, "B")
        field = next(n for n in shown if n.startswith(LANGUAGES[lang][2] % "B1") and shown[n][0] == "text")
        stepped = str(int(shown[field][1]) + 1)
        xdotool("key", "--delay", "80", "Tab", "Tab", "Tab", "Up")  # bank tabs, the knob's number, a step up
        if not poll(lambda: controls(found).get(field, ("", ""))[1] == stepped, 3):
            fail(f"{lang}: {field} reads {controls(found).get(field)}, not {stepped}")
        alerts = [c.name for c in found[0] if c and c.getRoleName() == "alert"]
        if not alerts or "1" not in alerts[0]:
            fail(f"{lang}: no alert of the change: {alerts}")
        print(f"ok {lang}: {len(shown)} names read, {field} stepped to {stepped}")
    finally:
        # The editor first, while its display is still there.
        stuck = []
        for process in filter(None, (app, xvfb)):
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                stuck.append(process.args[0])
        if stuck:
            fail(f"{lang}: {stuck} did not end within 10 s of SIGTERM")


if __name__ == "__main__":
    if len(sys.argv) == 2:
        for language in LANGUAGES:
            if subprocess.run(["dbus-run-session", "--", sys.executable, __file__, sys.argv[1], language]).returncode:
                sys.exit(1)
    else:
        with tempfile.TemporaryDirectory() as folder:
            run(sys.argv[1], sys.argv[2], folder)
