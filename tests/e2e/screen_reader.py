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
if names.get("А1: не обстреляна") != "push button" or names.get("Статистика") != "push button":
    fail("the cells and the text buttons should be buttons to a screen reader")
if len(cells) != 200:
    fail(f"{len(cells)} cells named with a coordinate, expected 200")
if sum(1 for name, description in cells if name.endswith(": не обстреляна")) != 100:
    fail("the computer's field should show 100 cells \"не обстреляна\"")

# The live region, found by its name before the battle.
news = next(node for node in walk(app) if node.name == "Ход игры")
enemy = {node.name.split(":")[0]: node for node in walk(app)
         if node.description == "поле противника" and re.fullmatch(r"[А-К]\d{1,2}: .+", node.name)}

pyatspi.Registry.registerEventListener(
    listen, "object:state-changed:focused", "object:property-change:accessible-name")
# An automatic layout, accepted, the first level: the focus then goes to the computer's field.
keys("Tab", "Return", "Tab", "Return", "Return")
focused = lambda: any(t.startswith("object:state-changed:focused") and s == "А1: не обстреляна"
                      for t, s, _ in heard)
if not pump(15, focused):
    fail(f"the focus on the computer's cell А1 was not heard; heard: {heard[-8:]}")
print("focus heard on \"А1: не обстреляна\"")

LETTERS = "АБВГДЕЖЗИК"
heard_name = lambda text: any("accessible-name" in t and s == text for t, s, _ in heard)
at = [1, 1]


def aim(row, column):
    moves = ["Down"] * (row - at[0]) + ["Right"] * (column - at[1]) + ["Left"] * (at[1] - column)
    at[:] = [row, column]
    if moves:
        keys(*moves)


# Snaking through the untried cells until a miss hands the turn over; hits keep it.
order = [(r, c) for r in range(1, 11) for c in (range(1, 11) if r % 2 else range(10, 0, -1))]
told = []
for row, column in order:
    coordinate = f"{LETTERS[column - 1]}{row}"
    if not enemy[coordinate].name.endswith("не обстреляна"):
        continue
    aim(row, column)
    keys("Return")
    outcome = re.compile(f"^{coordinate}: (мимо. Ход компьютера|попадание|корабль потоплен)$")
    if not pump(10, lambda: outcome.match(news.name) and heard_name(news.name)):
        fail(f"no outcome of the shot at {coordinate} heard; news \"{news.name}\", heard: {heard[-6:]}")
    told.append(news.name)
    if news.name.endswith("Ход компьютера"):
        break
print("player's shots heard: " + "; ".join(told))
theirs = re.compile(r"^Выстрел противника, [А-К]\d{1,2}: (мимо|попадание|корабль потоплен)")
if not pump(20, lambda: theirs.match(news.name) and heard_name(news.name)):
    fail(f"the computer's shot was not heard; news \"{news.name}\", heard: {heard[-6:]}")
print("computer's shot heard: " + news.name)
for node in walk(app):
    if (node.description == "поле противника") and "корабль" in node.name \
            and "потоплен" not in node.name:
        fail(f"a computer's cell tells a ship: {node.name}")
print("passed")
