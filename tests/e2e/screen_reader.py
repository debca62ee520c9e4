"""A short game by keys, played by ear: every step waits for what the screen reader Orca
said, read from the speech server's transcript (one utterance a line). The automatic
layout's new caption, the level, then shots at the computer's field until a ship is sunk;
each outcome of either side and each change of the turn must be said exactly once. Then
the player's own field is read in the battle, and Enter on a cell fired at before is
refused as a click is, twice, the window getting the keys back after the box by itself.
usage: screen_reader.py WINDOW_ID TRANSCRIPT"""
import re
import subprocess
import sys
import time

WINDOW, TRANSCRIPT = sys.argv[1:3]
LETTERS = "АБВГДЕЖЗИК"
NEWS = "notification "  # Orca's name for the role, in its own (C) locale
heard_upto = 0  # utterances already looked at by wait_for


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    print("last words heard:\n  " + "\n  ".join(utterances()[-12:]), file=sys.stderr)
    sys.exit(1)


def utterances():
    with open(TRANSCRIPT, encoding="utf-8", errors="replace") as spoken:
        return [line.rstrip("\n") for line in spoken]


def wait_for(pattern, seconds, what):
    """The first new utterance matching pattern; later searches start after it."""
    global heard_upto
    wanted = re.compile(pattern)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        lines = utterances()
        for number in range(heard_upto, len(lines)):
            match = wanted.search(lines[number])
            if match:
                heard_upto = number + 1
                return match
        time.sleep(0.1)
    fail(f"not heard within {seconds} s: {what}")


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=True)


def name(row, column):
    return f"{LETTERS[column - 1]}{row}"


def spoken_count(text):
    return sum(1 for line in utterances() if line == text)


# The window gets the keys once; after that only the game gives them back.
subprocess.run(["xdotool", "windowfocus", "--sync", WINDOW], check=True)
keys("Tab")
wait_for(r"^Расставить автоматически push button", 30, "the first stop, a button")
keys("Return")
wait_for(r"^notification Поменять расстановку\.$", 30, "the button's new caption")
keys("Tab", "Return")
wait_for(r"^Легкий push button", 30, "the first level button after the layout was accepted")
keys("Return")
wait_for(r"^notification Ваш ход\.$", 30, "the player's turn when the battle opens")

# Hunting: a hit is followed along its line until the ship sinks; before that, every
# other cell of the field. A sunk ship's ring is known to be water and never fired at.
known = {}  # (row, column) -> "miss", "hit" or "sunk"
cursor = [1, 1]
told = []  # every piece of news, as spoken


def open_hits():
    return [cell for cell, state in known.items() if state == "hit"]


def next_target():
    hits = open_hits()
    if hits:
        rows = {row for row, _ in hits}
        columns = {column for _, column in hits}
        if len(hits) > 1 and len(rows) == 1:
            (row,) = rows
            candidates = [(row, min(columns) - 1), (row, max(columns) + 1)]
        elif len(hits) > 1:
            (column,) = columns
            candidates = [(min(rows) - 1, column), (max(rows) + 1, column)]
        else:
            (row, column), = hits
            candidates = [(row, column + 1), (row + 1, column), (row, column - 1), (row - 1, column)]
    else:
        every = [(row, column) for row in range(1, 11) for column in range(1, 11)]
        candidates = [cell for cell in every if sum(cell) % 2 == 0] + every
    for cell in candidates:
        if 1 <= cell[0] <= 10 and 1 <= cell[1] <= 10 and cell not in known:
            return cell
    fail("no cell left to fire at")


def sink(last):
    ship, todo = set(), [last]
    while todo:
        cell = todo.pop()
        if cell in ship or known.get(cell) not in ("hit", "sunk"):
            continue
        ship.add(cell)
        todo += [(cell[0] + dr, cell[1] + dc) for dr, dc in ((0, 1), (1, 0), (0, -1), (-1, 0))]
    for row, column in ship:
        known[(row, column)] = "sunk"
        for ring in [(row + dr, column + dc) for dr in (-1, 0, 1) for dc in (-1, 0, 1)]:
            known.setdefault(ring, "miss")


def aim(row, column):
    moves = (["Down"] * (row - cursor[0]) + ["Up"] * (cursor[0] - row)
             + ["Right"] * (column - cursor[1]) + ["Left"] * (cursor[1] - column))
    cursor[:] = [row, column]
    if moves:
        keys(*moves)


def computers_turn():
    while True:
        match = wait_for(r"^notification (Выстрел противника, [А-К]\d{1,2}: "
                         r"(мимо\. Ваш ход|попадание|корабль потоплен))\.$",
                         60, "the computer's shot")
        told.append(match.group(1))
        if match.group(2).startswith("мимо"):
            return match.group(1)


outcomes = set()
last_computer_shot = None
while not {"мимо. Ход компьютера", "попадание", "корабль потоплен"} <= outcomes:
    row, column = next_target()
    aim(row, column)
    keys("Return")
    match = wait_for(rf"^notification ({name(row, column)}: "
                     r"(мимо\. Ход компьютера|попадание|корабль потоплен))\.$",
                     30, f"the outcome of the shot at {name(row, column)}")
    told.append(match.group(1))
    outcome = match.group(2)
    outcomes.add(outcome)
    print(f"heard: {match.group(1)}")
    if outcome.startswith("мимо"):
        known[(row, column)] = "miss"
        last_computer_shot = computers_turn()
        print(f"heard: {last_computer_shot}")
    else:
        known[(row, column)] = "hit"
        if outcome == "корабль потоплен":
            sink((row, column))
for news in told + ["Поменять расстановку", "Ваш ход"]:
    if spoken_count(NEWS + news + ".") != 1:
        fail(f"\"{news}\" was said {spoken_count(NEWS + news + '.')} times, not once")
if last_computer_shot is None:
    fail("the computer never fired")

# The player's own field, the stop after the computer's: the computer's last shot is read
# off its cell.
target = re.match(r"Выстрел противника, ([А-К])(\d{1,2})", last_computer_shot)
keys("Tab")
first = wait_for(r"^А1: (вода|корабль|мимо|попадание) push button", 30,
                 "the player's own field in the battle, at its cursor cell А1")
wait_for(r"^ваше поле\.$", 30, "the name of the player's field")
moves = ["Right"] * LETTERS.index(target.group(1)) + ["Down"] * (int(target.group(2)) - 1)
if moves:
    keys(*moves)
    wait_for(rf"^{target.group(1)}{target.group(2)}: мимо push button", 30,
             "the cell of the computer's last shot, a miss, on the player's field")
elif first.group(1) != "мимо":
    fail(f"А1, the computer's last shot, is read as \"{first.group(1)}\"")
# Only read: Enter there says the last news once more.
keys("Return")
wait_for(rf"^{NEWS}{re.escape(told[-1])}\.$", 30, "the last news again, Enter on the player's field")

# Back to the computer's field, where the cursor stayed on the last shot: Enter is refused
# as a click is, and again after the box was answered, with no help from outside.
keys("shift+Tab")
for attempt in (1, 2):
    keys("Return")
    wait_for(r"^Уже попадали\.$", 30, f"the refusal, time {attempt}")
    wait_for(r"^ОК push button", 30, "the box's button")
    keys("Return")
    wait_for(r"push button\.$", 30, "the focus back on a cell after the box")

for number, line in enumerate(utterances()[:-1]):
    if re.match(r"^[А-К]\d{1,2}: корабль push button", line) \
            and utterances()[number + 1] == "поле противника.":
        fail(f"a ship of the computer was told: {line}")
print(f"passed: {len(told)} pieces of news, each said once")
