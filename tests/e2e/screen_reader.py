"""What a screen reader finds in the running game over AT-SPI: the window's controls by
their Russian names, the name of the cell that gets the focus, and the spoken outcome of a
shot of each side. The computer's ships are never named.
usage: screen_reader.py WINDOW_ID  (keys go to that X window through xdotool)"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

WINDOW = sys.argv[1]
heard = []  # (event type, source name, text), in order


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def pump(seconds, until=lambda: False):
    deadline = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < deadline and not until():
        while context.iteration(False):
            pass
        time.sleep(0.02)
    return until()


def keys(*names):
    subprocess.run(["xdotool", "windowfocus", WINDOW], check=False)
    subprocess.run(["xdotool", "key", "--delay", "60", *names], check=True)


def listen(event):
    try:
        source = event.source.name
    except Exception:  # an object gone meanwhile
        source = ""
    text = event.any_data if isinstance(event.any_data, str) else ""
    heard.append((event.type, source, text))


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "seabattle":
            return app
    return None


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


app = None
deadline = time.monotonic() + 20
while app is None and time.monotonic() < deadline:
    app = application()
    time.sleep(0.2)
if app is None:
    fail("no application named seabattle on the accessibility bus")

names = {}
cells = []
for node in walk(app):
    names.setdefault(node.name, node.getRoleName())
    if re.fullmatch(r"[А-К]\d{1,2}: .+", node.name or ""):
        cells.append((node.name, node.description))
print(f"{len(names)} names, {len(cells)} cells")
for name, role in [("Расставить автоматически", None), ("Расставить корабли самому", None),
                   ("Статистика", None), ("Разметка сетки", "check box"),
                   ("Музыка", "check box"), ("Объемный вид", "check box"),
                   ("Счет", "check box"), ("Ход игры", None)]:
    if name not in names:
        fail(f"no control named \"{name}\" in the tree")
    if role and role not in names.values():
        fail(f"no control of the role {role}")
if len(cells) != 200:
    fail(f"{len(cells)} cells named with a coordinate, expected 200")
if sum(1 for name, description in cells if name.endswith(": не обстреляна")) != 100:
    fail("the computer's field should show 100 cells \"не обстреляна\"")

pyatspi.Registry.registerEventListener(
    listen, "object:state-changed:focused", "object:property-change:accessible-name")
# An automatic layout, accepted, the first level: the focus then goes to the computer's field.
keys("Tab", "Return", "Tab", "Return", "Return")
focused = lambda: any(t.startswith("object:state-changed:focused") and s == "А1: не обстреляна"
                      for t, s, _ in heard)
if not pump(15, focused):
    fail(f"the focus on the computer's cell А1 was not heard; heard: {heard[-8:]}")
print("focus heard on \"А1: не обстреляна\"")

own = re.compile(r"^[А-К]\d{1,2}: (мимо|попадание|корабль потоплен)")
theirs = re.compile(r"^Выстрел противника, [А-К]\d{1,2}: (мимо|попадание|корабль потоплен)")
said = lambda pattern: [s for t, s, _ in heard if "accessible-name" in t and pattern.match(s)]
keys("Return")
# Hits keep the turn; go on along the row until a miss hands it over.
for column in range(9):
    if not pump(10, lambda: len(said(own)) > column):
        fail(f"no outcome heard after shot {column + 1}; heard: {heard[-8:]}")
    if "Ход компьютера" in said(own)[-1]:
        break
    keys("Right", "Return")
print("player's shots heard: " + "; ".join(said(own)))
if not pump(20, lambda: said(theirs)):
    fail(f"the computer's shot was not heard; heard: {heard[-8:]}")
print("computer's shot heard: " + said(theirs)[0])
for node in walk(app):
    if (node.description == "поле противника") and "корабль" in node.name \
            and "потоплен" not in node.name:
        fail(f"a computer's cell tells a ship: {node.name}")
print("passed")
