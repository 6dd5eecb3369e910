"""Drives Pigmora through AT-SPI only, as a screen reader would: every control of the main
window, the picker window, the palette, judging and desktop-wide key windows has its role and a
name of its own, and its Press or Toggle action runs its command. Arguments: the program, the
file its output goes to."""
import subprocess
import sys
import time

import pyatspi

EXE, LOG = sys.argv[1], sys.argv[2]


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def until(probe, what, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        try:
            value = probe()
        except Exception:  # an object that went away while it was read
            value = None
        if value:
            return value
        time.sleep(0.05)
    fail("timed out waiting for " + what)


def descendants(acc):
    for child in acc:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def role(acc):
    return acc.getRoleName()


def actions(acc):
    try:
        act = acc.queryAction()
    except NotImplementedError:
        return {}
    return {act.getName(i): i for i in range(act.nActions)}


def do(acc, name):
    acts = actions(acc)
    if name not in acts:
        fail("%s '%s' has no %s action (it has %s)" % (role(acc), acc.name, name, list(acts)))
    acc.queryAction().doAction(acts[name])


def text(acc):
    t = acc.queryText()
    return t.getText(0, t.characterCount)


def set_text(acc, value):
    acc.queryEditableText().setTextContents(value)


def checked(acc):
    return acc.getState().contains(pyatspi.STATE_CHECKED)


def clipboard():
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True, text=True).stdout


def named(window, role_name, name):
    for acc in descendants(window):
        if role(acc) == role_name and acc.name == name:
            return acc
    fail("no %s named '%s' in '%s'" % (role_name, name, window.name))


def check_names(window, roles):
    """Every object of the window with one of the roles has a non-empty name no other has."""
    seen = {}
    for acc in descendants(window):
        if role(acc) not in roles:
            continue
        if not acc.name:
            fail("a %s in '%s' has no name" % (role(acc), window.name))
        if acc.name in seen:
            fail("two objects in '%s' are named '%s'" % (window.name, acc.name))
        seen[acc.name] = acc
    return seen


def app_of(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


program = subprocess.Popen([EXE], stdout=open(LOG, "w"), stderr=subprocess.STDOUT)
try:
    app = until(lambda: app_of(program.pid), "the program on the accessibility bus", 20)
    main = until(lambda: next((w for w in app if w is not None and w.name == "Pigmora"), None), "the main window")
    if role(main) != "frame":
        fail("the main window is a %s, not a frame" % role(main))

    controls = check_names(main, {"push button", "check box", "text"})
    roles = [role(a) for a in controls.values()]
    if roles.count("push button") != 20 or roles.count("text") != 12 or roles.count("check box") != 1:
        fail("expected 20 buttons, 12 fields and 1 check box, found %s" % sorted(roles))
    for name, acc in controls.items():
        wanted = {"push button": "Press", "check box": "Toggle"}.get(role(acc))
        if wanted and wanted not in actions(acc):
            fail("'%s' has no %s action" % (name, wanted))

    swatch = named(main, "label", "Current colour: #98B5D1")
    if text(swatch) != "#98B5D1":
        fail("the swatch reads '%s'" % text(swatch))
    pov = controls["POV-Ray colour"]
    html = controls["HTML (RGB)"]
    # A label would be said in place of the name, unit and all.
    labels = [r.getTarget(0).name for r in controls["Red 0-100%"].getRelationSet()
              if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    if labels:
        fail("'Red 0-100%%' is labelled by %s" % labels)

    # Each button runs its command: the fields or the clipboard change.
    do(controls["repre: Show again (repre)"], "Press")
    until(lambda: text(pov) == "rgb <0.596, 0.71, 0.82>", "repre to fill the fields")
    for button, wanted in [("rgb: Copy rgb (POV-Ray)", "rgb <0.596, 0.71, 0.82>"),
                           ("HTML: Copy HTML", "#98B5D1"),
                           ("Delphi: Copy Delphi constant", "$00D1B598"),
                           ("rgbf: Copy rgbf (with filter)", "rgbf <0.596, 0.71, 0.82, 0>"),
                           ("rgbt: Copy rgbt (with transmit)", "rgbt <0.596, 0.71, 0.82, 0>")]:
        do(controls[button], "Press")
        until(lambda: clipboard() == wanted, "'%s' to copy '%s' (clipboard: '%s')" % (button, wanted, clipboard()))

    box = controls["pigment"]
    # Its role says that it can be checked (Qt 6.4's bridge passes no "checkable" state on);
    # "checked" comes and goes with it.
    do(box, "Toggle")
    until(lambda: checked(box) and text(pov).startswith("pigment{"), "the pigment box to wrap the notation")
    do(box, "Toggle")
    until(lambda: not checked(box) and text(pov).startswith("rgb <"), "the pigment box to unwrap it")

    set_text(html, "#123456")
    do(controls["RGB: Restore from HTML (RGB)"], "Press")
    until(lambda: text(swatch) == "#123456" and text(controls["Red 0-255"]) == "18", "the HTML field read back")
    until(lambda: swatch.name == "Current colour: #123456", "the swatch's name to say the new colour (it says '%s')" % swatch.name)
    set_text(controls["Green 0-255"], "200")
    do(controls["0-255: Restore from 0-255"], "Press")
    until(lambda: text(swatch) == "#12C856", "the 0-255 fields read back")
    do(controls["ra1: Random colour (ra1)"], "Press")
    until(lambda: text(swatch) != "#12C856", "a random colour")
    do(controls["clear: Clear the fields"], "Press")
    until(lambda: text(pov) == "" and text(html) == "", "the fields cleared")
    set_text(controls["Japanese text"], "A")
    do(controls["J to Hex: Japanese to escapes (J to Hex)"], "Press")
    until(lambda: text(controls["Escapes"]) == "\\u0041" and clipboard() == "\\u0041", "the escapes")
    set_text(controls["Escapes"], "\\u0042")
    do(controls["restore: Escapes to Japanese"], "Press")
    until(lambda: text(controls["Japanese text"]) == "B", "the escapes read back")

    # The picker window: every control named, modes chosen by their radio buttons, a cell
    # selected, OK takes its colour.
    do(controls["(Photoshop): (Photoshop) colour picker"], "Press")
    picker = until(lambda: next((w for w in app if w is not None and w.name not in ("Pigmora", "")), None),
                   "the picker window")
    until(lambda: len([a for a in descendants(picker) if role(a) == "list item"]) == 28, "the 28 palette cells")
    picked = check_names(picker, {"push button", "radio button", "text", "slider", "color chooser", "list",
                                  "list item", "label", "panel", "filler"})
    radios = [a for a in picked.values() if role(a) == "radio button"]
    if len(radios) != 6:
        fail("the picker has %d radio buttons" % len(radios))
    for choice in ("green", "B: brightness, 0-100%"):
        do(picked[choice], "Toggle")
        until(lambda: [r.name for r in radios if checked(r)] == [choice],
              "'%s' alone to be chosen (chosen: %s)" % (choice, [r.name for r in radios if checked(r)]))
    strip = picked["Colour strip"]
    if strip.queryValue().maximumValue != 100:
        fail("in the brightness mode the strip runs to %s, not to 100%%" % strip.queryValue().maximumValue)
    cells = [a for a in descendants(picked["Temporary palette"]) if role(a) == "list item"]
    do(cells[0], "Press")
    until(lambda: cells[0].getState().contains(pyatspi.STATE_SELECTED), "the first cell selected")
    until(lambda: text(picked["Red 0-255"]) == "255" and text(picked["Green 0-255"]) == "0", "the cell's colour in the edits")
    if not picked.get("Pick from screen"):
        fail("the pipette has no name")
    do(picked["OK"], "Press")
    until(lambda: text(swatch) == "#FF0000", "the picker's colour taken")

    # The Notations window, opened from the keyboard: every row (24 notations and the alpha) a named
    # text with a named Copy button that copies it, the contrast figures readable, and the
    # history's swatches pressable.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Pigmora$", "windowfocus", "--sync",
                    "key", "--clearmodifiers", "ctrl+shift+n"], check=False)
    notations = until(lambda: next((w for w in app if w is not None and w.name == "Pigmora Notations"), None),
                      "the Notations window")
    shown = [a for a in descendants(notations) if a.getState().contains(pyatspi.STATE_SHOWING)]
    rows = {a.name: a for a in shown if role(a) == "text"}
    buttons = {a.name: a for a in shown if role(a) == "push button"}
    if len(rows) != 25 or any(not name for name in rows):
        fail("the Notations window shows %d named rows: %s" % (len(rows), sorted(rows)))
    for name in rows:
        if "Copy " + name not in buttons or "Press" not in actions(buttons["Copy " + name]):
            fail("the row '%s' has no Copy button to press" % name)
    oklch = rows["CSS oklch()"]
    do(buttons["Copy CSS oklch()"], "Press")
    until(lambda: clipboard() == text(oklch) and text(oklch).startswith("oklch("), "the oklch row copied")
    if not any(role(a) == "label" and a.name.startswith("on white #FFFFFF: ") for a in shown):
        fail("no contrast figures against white")
    swatches = [b for name, b in buttons.items() if name.startswith("#")]
    if len(swatches) < 2:
        fail("the history shows %d swatches" % len(swatches))
    chosen = swatches[1].name
    do(swatches[1], "Press")
    until(lambda: text(swatch) == chosen, "the history's colour %s made current" % chosen)

    # The palette window, opened from the keyboard: every control named (captions without their
    # mnemonic marks), the current colour added by pressing its button, shown as a named swatch
    # in the named list, and removed again.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Pigmora$", "windowfocus", "--sync",
                    "key", "--clearmodifiers", "ctrl+shift+a"], check=False)
    palette = until(lambda: next((w for w in app if w is not None and w.name == "Pigmora Palette"), None),
                    "the palette window")
    named_controls = check_names(palette, ("push button", "combo box", "spin button", "progress bar"))
    named_controls["Palette colours"] = named(palette, "list", "Palette colours")
    # Qt names a combo box by its current entry; its caption is the label beside it.
    if [role(a) for a in descendants(palette)].count("combo box") != 3:
        fail("the palette window has no make, gamut and space choices")
    for name in ("Add current colour", "Remove", "Move earlier", "Move later", "Make current", "Add to palette",
                 "Take colours from an image", "Cancel", "Import", "Export", "Palette colours", "Scale 50-950", "sRGB",
                 "oklab", "Steps", "How many", "Taking colours from the image"):
        if name not in named_controls:
            fail("the palette window has no control named '%s': %s" % (name, sorted(named_controls)))
    for name in ("Palette name", "Colour name"):
        named(palette, "text", name)
    swatch_list = named_controls["Palette colours"]
    current = text(swatch)
    do(named_controls["Add current colour"], "Press")
    items = until(lambda: [a for a in descendants(swatch_list) if role(a) == "list item"] or None, "a swatch in the palette")
    if len(items) != 1 or current.lower() not in items[0].name.lower():
        fail("the palette shows %s after adding %s" % ([a.name for a in items], current))
    do(named_controls["Remove"], "Press")
    until(lambda: not [a for a in descendants(swatch_list) if role(a) == "list item"], "the swatch removed")

    # The magnifier of the screen pick, opened from the keyboard: a named window that says the
    # colour under the pointer, whose Press takes that colour.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Pigmora$", "windowfocus", "--sync",
                    "key", "--clearmodifiers", "ctrl+shift+e"], check=False)
    magnifier = until(lambda: next((w for w in app if w is not None and w.name == "Pick from screen"
                                    and w.getState().contains(pyatspi.STATE_SHOWING)), None), "the magnifier")
    if role(magnifier) != "frame" or not {"Press", "Cancel"} <= set(actions(magnifier)):
        fail("the magnifier is a %s with actions %s" % (role(magnifier), actions(magnifier)))
    said = until(lambda: magnifier.description if magnifier.description.startswith("#") else None,
                 "the magnifier to say its colour")
    do(magnifier, "Press")
    until(lambda: text(swatch) == said, "the magnifier's colour %s taken (swatch: %s)" % (said, text(swatch)))

    # The judging window, opened from the keyboard: four named sliders with their values that a
    # screen reader can set, named spin boxes, the target list, and the button that makes the
    # nearest passing colour current.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Pigmora$", "windowfocus", "--sync",
                    "key", "--clearmodifiers", "ctrl+shift+i"], check=False)
    judge = until(lambda: next((w for w in app if w is not None and w.name == "Pigmora Judge"), None),
                  "the judging window")
    judged = check_names(judge, {"slider", "spin button", "push button", "combo box"})
    sliders = {n: a for n, a in judged.items() if role(a) == "slider"}
    if sorted(sliders) != ["Alpha", "Chroma", "Hue", "Lightness"]:
        fail("the judging window's sliders are %s" % sorted(sliders))
    for name in ("Lightness value", "Chroma value", "Hue value", "Alpha value", "Severity of the anomalies"):
        if name not in judged or role(judged[name]) != "spin button":
            fail("no spin button named '%s'" % name)
    # Qt names a list box by its chosen entry on this platform; its caption reaches the screen
    # reader through the label that names it.
    targets = [a for a in judged.values() if role(a) == "combo box"]
    if len(targets) != 1 or targets[0].name != "WCAG AA (4.5)":
        fail("the target list is %s" % [a.name for a in targets])
    captions = [r.getTarget(0).name for r in targets[0].getRelationSet()
                if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    if not any("Target on the comparison colour" in c for c in captions):
        fail("the target list is labelled by %s" % captions)
    lightness = sliders["Lightness"].queryValue()
    if lightness.maximumValue != 1 or lightness.minimumValue != 0:
        fail("lightness runs %s-%s" % (lightness.minimumValue, lightness.maximumValue))
    before = text(swatch)
    lightness.currentValue = 0.65
    until(lambda: abs(lightness.currentValue - 0.65) < 1e-9 and text(swatch) != before,
          "the lightness set to 0.65 to change the colour (swatch %s)" % text(swatch))
    mid = text(swatch)
    use = judged["Use the nearest passing colour"]
    until(lambda: use.getState().contains(pyatspi.STATE_ENABLED), "a colour to fix at lightness 0.65 on white")
    do(use, "Press")
    until(lambda: text(swatch) != mid and lightness.currentValue < 0.65,
          "the nearest passing colour taken (swatch %s, lightness %s)" % (text(swatch), lightness.currentValue))

    # The desktop-wide key's settings, opened from the keyboard: its check boxes, key editor, list
    # and buttons named, the check box's state and Toggle, and Cancel closing it.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Pigmora$", "windowfocus", "--sync",
                    "key", "--clearmodifiers", "ctrl+shift+r"], check=False)
    keys = until(lambda: next((w for w in app if w is not None and w.name == "Desktop-wide key"
                               and w.getState().contains(pyatspi.STATE_SHOWING)), None), "the desktop-wide key's settings")
    key_controls = check_names(keys, {"check box", "push button", "combo box"})
    for name in ("Pick from screen with a desktop-wide key", "Keep an icon in the tray; Pigmora runs on when its window closes",
                 "OK", "Cancel"):
        if name not in key_controls:
            fail("the desktop-wide key's settings have no control named '%s': %s" % (name, sorted(key_controls)))
    if not any(n.startswith("Default (") for n in key_controls):
        fail("the desktop-wide key's settings have no Default button: %s" % sorted(key_controls))
    if not any(a.name == "Key" for a in descendants(keys)) or not any(a.name == "Key state" for a in descendants(keys)):
        fail("the desktop-wide key's editor or its state line has no name")
    notation = [a for a in key_controls.values() if role(a) == "combo box"]
    labels = [r.getTarget(0).name for a in notation for r in a.getRelationSet()
              if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    if len(notation) != 1 or not any("Copy as" in c for c in labels):
        fail("the desktop-wide key's notation list is labelled by %s" % labels)
    key_on = key_controls["Pick from screen with a desktop-wide key"]
    was = key_on.getState().contains(pyatspi.STATE_CHECKED)
    do(key_on, "Toggle")
    until(lambda: key_on.getState().contains(pyatspi.STATE_CHECKED) != was, "the desktop-wide key's box toggled")
    do(key_controls["Cancel"], "Press")
    until(lambda: not keys.getState().contains(pyatspi.STATE_SHOWING), "the desktop-wide key's settings to close")

    # A message box comes and goes by its button.
    do(controls["about"], "Press")
    box = until(lambda: next((w for w in app if w is not None and role(w) in ("dialog", "alert")
                              and any(a.name == "Pigmora ver1.11" for a in descendants(w))), None), "the About box")
    do(next(a for a in descendants(box) if role(a) == "push button"), "Press")
    until(lambda: all(w is None or w.name == "Pigmora" or role(w) not in ("dialog", "alert") for w in app),
          "the About box to close")

    do(controls["Exit"], "Press")
    try:
        status = program.wait(10)
    except subprocess.TimeoutExpired:
        fail("Exit did not end the program")
    if status != 0:
        fail("exit status %d" % status)
finally:
    if program.poll() is None:
        program.kill()
