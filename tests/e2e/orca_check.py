"""Runs the screen reader with its speech logged, drives Pigmora with keys only (xdotool) and
checks what the screen reader would have said after each step. Arguments: the program, a scratch
folder (the screen reader's settings and log, the program's output go there)."""
import json
import os
import re
import subprocess
import sys
import time

EXE, TMP = sys.argv[1], sys.argv[2]
LOG = os.path.join(TMP, "orca.log")
PREFS = os.path.join(TMP, "orca-prefs")


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    print("--- what the screen reader said last:", file=sys.stderr)
    for line in spoken()[-40:]:
        print("  " + line, file=sys.stderr)
    sys.exit(1)


def spoken(start=0):
    """What the screen reader said, one utterance a line, from the byte offset on."""
    try:
        with open(LOG, "rb") as f:
            f.seek(start)
            data = f.read().decode("utf-8", "replace")
    except FileNotFoundError:
        return []
    return re.findall(r"SPEECH OUTPUT: '(.*?)'", data)


def log_size():
    try:
        return os.path.getsize(LOG)
    except FileNotFoundError:
        return 0


def say_after(keys, wanted, what, window=None, seconds=15):
    """Presses the keys (in the window named by the pattern, else wherever the focus is) and waits
    until something said since matches the pattern; returns all that was said since."""
    start = log_size()
    key(keys, window)
    end = time.time() + seconds
    while time.time() < end:
        said = spoken(start)
        if any(re.search(wanted, s) for s in said):
            time.sleep(0.3)  # what follows at once
            return spoken(start)
        time.sleep(0.1)
    fail("after %s Orca did not say %s (/%s/); it said %s" % (keys, what, wanted, spoken(start)))


def key(keys, window=None):
    if window:
        subprocess.run(["xdotool", "search", "--onlyvisible", "--name", window, "windowfocus", "--sync"],
                       check=False, stderr=subprocess.DEVNULL)
    for k in keys.split():
        if k.startswith("type:"):
            subprocess.run(["xdotool", "type", "--delay", "30", k[5:]], check=False)
        else:
            subprocess.run(["xdotool", "key", "--clearmodifiers", k], check=False)
        time.sleep(0.15)


def until(probe, what, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        value = probe()
        if value:
            return value
        time.sleep(0.1)
    fail("timed out waiting for " + what)


# Orca itself, with its debug file written line by line instead of in blocks, so that what it
# says can be read while it runs.
LINE_BY_LINE = """
import builtins, runpy, sys
log = sys.argv[sys.argv.index("--debug-file") + 1]
real_open = builtins.open
def line_open(file, mode="r", *args, **kwargs):
    if file == log and "w" in mode:
        return real_open(file, mode, buffering=1)
    return real_open(file, mode, *args, **kwargs)
builtins.open = line_open
sys.argv[0] = "/usr/bin/orca"
runpy.run_path("/usr/bin/orca", run_name="__main__")
"""

# The screen reader's settings: speech on (so that it generates every utterance) but with no
# speech server to hand it to, no braille, no key echo, no tutorial hints.
os.makedirs(PREFS, exist_ok=True)
quiet = {"speechServerFactory": "", "speechFactoryModules": [], "enableBraille": False,
         "enableBrailleMonitor": False, "enableSpeechMonitor": False, "enableKeyEcho": False,
         "enableEchoByCharacter": False, "enableEchoByWord": False, "enableTutorialMessages": False,
         "enableMnemonicSpeaking": False, "enablePositionSpeaking": False, "enableSound": False}
with open(os.path.join(PREFS, "user-settings.conf"), "w") as f:
    json.dump({"general": dict(quiet), "profiles": {"default": {"profile": ["Default", "default"], **quiet}},
               "pronunciations": {}, "keybindings": {}}, f)

env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
program = subprocess.Popen([EXE], stdout=open(os.path.join(TMP, "app.log"), "w"), stderr=subprocess.STDOUT, env=env)
orca = None
try:
    until(lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Pigmora$"],
                                 capture_output=True).stdout, "the main window")
    orca = subprocess.Popen(["/usr/bin/python3", "-c", LINE_BY_LINE, "--replace", "-u", PREFS, "--debug-file", LOG],
                            stdout=subprocess.DEVNULL, stderr=open(os.path.join(TMP, "orca.err"), "w"))
    until(lambda: "ORCA: Starting ATSPI registry" in open(LOG, errors="replace").read() if os.path.exists(LOG) else False,
          "the screen reader to start", 30)
    time.sleep(1)

    colour = r"#[0-9A-F]{6}\b"

    # A pasted colour is said.
    subprocess.run(["xclip", "-selection", "clipboard"], input=b"#350ABF", check=True)
    say_after("ctrl+shift+v", r"#350ABF", "the pasted colour", "^Pigmora$")

    # The percentage fields by their unit, the pigment box by its state; Space toggles it.
    said = say_after("Tab", r"0-100%", "the first percentage field with its unit")
    if not any("Red" in s for s in said):
        fail("the first percentage field is not said as red: %s" % said)
    for _ in range(6):
        key("Tab")
    time.sleep(0.5)
    say_after("space", r"\bchecked\b", "the pigment box checked")
    said = say_after("space", r"not checked", "the pigment box unchecked")

    # The HTML field read back with Alt+H: the new colour is said.
    key("Tab Tab Tab ctrl+a type:#123456")
    say_after("alt+h", r"#123456", "the colour read back from the HTML field")

    # A random colour is said; a copy is confirmed.
    said = say_after("ctrl+1", r"Colour " + colour, "a random colour")
    said = say_after("ctrl+shift+h", r"Copied " + colour, "the HTML copy")

    # The command menu is said when it opens, with the entry it starts on.
    said = say_after("F10", r"Paste colour|srgb", "the command menu's first entry")
    key("Escape")

    # The Notations window is announced when its key opens it.
    say_after("ctrl+shift+n", r"Pigmora Notations", "the Notations window", "^Pigmora$")
    key("ctrl+shift+n", "^Pigmora Notations$")  # its own key closes it again
    time.sleep(0.5)

    # The picker: the field says its colour as the arrows move its marker, the strip its value
    # in degrees; OK's colour is said back in the main window.
    say_after("ctrl+shift+p", r".", "the picker", "^Pigmora$")
    time.sleep(0.5)
    for _ in range(25):
        said = say_after("Tab", r".", "the next control")
        if any("color chooser" in s.lower() or "colour field" in s.lower() for s in said):
            break
    else:
        fail("Tab never reached the colour field")
    said = say_after("Right", r"Colour " + colour, "the field's colour")
    field_colour = re.search(colour, " ".join(said)).group(0)
    for _ in range(25):
        said = say_after("Tab", r".", "the next control")
        if any("slider" in s.lower() or "colour strip" in s.lower() for s in said):
            break
    else:
        fail("Tab never reached the colour strip")
    said = say_after("Up", r"^\d+$", "the strip's value")
    value = int(next(s for s in said if re.match(r"^\d+$", s)))
    if not 0 <= value <= 360:
        fail("the strip says %d, not degrees" % value)
    say_after("Return", r"Colour " + colour, "the picker's colour taken")

    # The eyedropper: the magnifier says the colour under it as the arrows move it, and the
    # colour taken with Return is said.
    said = say_after("ctrl+shift+e", colour, "the magnifier's colour", "^Pigmora$")
    said = say_after("Right", colour, "the magnifier's colour after a move")
    under = re.findall(colour, " ".join(said))[-1]
    said = say_after("Return", r"Colour " + under, "the taken colour")

    # One SIGTERM, as at the end of the session, ends the program with its settings stored, also
    # after the Notations window's history key and a copy with the screen reader listening.
    ini = os.path.join(os.path.dirname(EXE), "pigmora.ini")
    if os.path.exists(ini):
        os.remove(ini)
    for keys in ("ctrl+shift+n", "alt+y", "ctrl+shift+h"):
        key(keys)
        time.sleep(0.5)
    program.terminate()
    try:
        status = program.wait(10)
    except subprocess.TimeoutExpired:
        fail("one SIGTERM did not end the program")
    if status != 0 or not os.path.exists(ini):
        fail("after SIGTERM the exit status is %d and the settings are %s" % (status, "stored" if os.path.exists(ini) else "lost"))
    print("Orca said:\n  " + "\n  ".join(spoken()))
finally:
    if orca and orca.poll() is None:
        orca.terminate()
        try:
            orca.wait(5)
        except subprocess.TimeoutExpired:
            orca.kill()
    if program.poll() is None:
        program.kill()
