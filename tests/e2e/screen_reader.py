"""A game by keys, played by ear: every step waits for what the screen reader Orca had said,
and the pace is measured, from the speech server's log, which has each utterance's text and
when it began and ended or was cut off.

The fleet is placed by hand, a refusal and each ship told. Then a patient player, who lets
every piece of news be said in full before the next key, fires until the computer has had
its turn several times (to the end of the game with E2E_WHOLE_GAME=1): each outcome must be
short, and the turn coming back must be heard in full soon after it came back (at the level
E2E_LEVEL, 1 by default). Then a brisk player cuts the computer's news off with keys and hears
the last turns again with R. Last, the state key, an unused key, the player's own field and a
refused shot.
usage: screen_reader.py WINDOW_ID SPEECH_SERVER_LOG"""
import html
import os
import re
import statistics
import subprocess
import sys
import time

WINDOW, LOG = sys.argv[1:3]
WHOLE = os.environ.get("E2E_WHOLE_GAME") == "1"
LEVEL = int(os.environ.get("E2E_LEVEL", "1"))  # 1 to 3
LETTERS = ["А", "бэ", "вэ", "Г", "Д", "Е", "Ж", "З", "И", "К"]
TICK = 1.5  # the computer's pace, seconds a shot
heard_upto = 0  # utterances already looked at by wait_for


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    print("last words heard:\n  " + "\n  ".join(utterances()[-12:]), file=sys.stderr)
    sys.exit(1)


ENTRY = re.compile(r"^\[(\w+ \w+ +\d+ [\d:]+ \d+) : (\d+)\] speechd: +", re.M)
INCOMING = re.compile(r"^Incoming text: \|(.*)\|$", re.S)
log_read = 0  # bytes of the server's log read so far
log_rest = ""  # the last entry read, which may not be whole yet
spans = []  # [text, start, end or None, cut] of each utterance given to the voice, in order
pending_text = ""


def read_log():
    """Reads what the speech server has logged since the last call: each utterance's text (an
    entry before its start), its start, whether it was stopped, and its end."""
    global log_read, log_rest, pending_text
    with open(LOG, "rb") as log:
        log.seek(log_read)
        data = log.read()
    log_read += len(data)
    text = log_rest + data.decode("utf-8", errors="replace")
    starts = [match.start() for match in ENTRY.finditer(text)]
    log_rest = text[starts[-1]:] if starts else text
    for begin, end in zip(starts, starts[1:]):
        stamp = ENTRY.match(text, begin)
        when = time.mktime(time.strptime(" ".join(stamp.group(1).split()),
                                         "%a %b %d %H:%M:%S %Y")) + int(stamp.group(2)) / 1e6
        what = text[stamp.end():end].rstrip("\n")
        incoming = INCOMING.match(what)
        if incoming:
            # Orca's SSML: word marks, the speak element
            plain = re.sub(r"<[^>]*>", "", incoming.group(1))
            pending_text = " ".join(html.unescape(plain).split())
        elif what.startswith("Module speak!"):
            spans.append([pending_text, when, None, False])
            pending_text = ""  # a key's echo comes without one
        elif what.startswith("Module stop!") and spans and spans[-1][2] is None:
            spans[-1][3] = True
        elif what.startswith("finished getting data") and spans and spans[-1][2] is None:
            spans[-1][2] = when


def utterances():
    """What the voice was given to say, one utterance each, as the server's log has it."""
    read_log()
    return [span[0] for span in spans]


def voiced():
    """Each utterance's [start, end or None, cut], in the order of utterances()."""
    read_log()
    return [span[1:] for span in spans]


def wait_for(pattern, seconds, what):
    """The first new utterance matching pattern, and its number; later searches start after it."""
    global heard_upto
    wanted = re.compile(pattern)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        lines = utterances()
        for number in range(heard_upto, len(lines)):
            match = wanted.search(lines[number])
            if match:
                heard_upto = number + 1
                return match, number
        time.sleep(0.05)
    fail(f"not heard within {seconds} s: {what}")


def heard_in_full(number, seconds, what, strict=True):
    """Waits until utterance number has ended; its end, or a failure if it was cut off
    (unless not strict: Orca on a loaded machine may handle a key twice, the second time late,
    and cut off what followed the key)."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        spans = voiced()
        if len(spans) > number and spans[number][1] is not None:
            if spans[number][2] and strict:
                fail(f"cut off before it was heard in full: {what}")
            return spans[number][1]
        time.sleep(0.05)
    fail(f"not heard to its end within {seconds} s: {what}")


def silence(seconds=30):
    """Waits until everything said so far has been said to its end."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        spans = voiced()
        if len(spans) >= len(utterances()) and all(span[1] is not None for span in spans):
            return
        time.sleep(0.05)
    fail("the screen reader never fell silent")


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=True)


def name(row, column):
    return f"{LETTERS[column - 1]} {row}"


SHOT = r"(мимо|ранил|убил \w+)"


def patient_key(*names):
    silence()
    keys(*names)


def tab_to(pattern, what):
    """Tab until the stop matching pattern is said, as a player listening does: on a loaded
    machine Orca and Qt may now and then handle one key twice."""
    for _ in range(15):
        keys("Tab")
        stop, _ = wait_for(r"(push button|check box)", 30, f"a stop on the way to {what}")
        if re.search(pattern, stop.string):
            return
    fail(f"Tab never came to {what}")


# After the first ship at A 1 to A 4: vertical ships from row 1 in every other column, then
# from row 7 back to the left.
NEXT_SHIPS = [["Right"], ["Right", "Right"], ["Right", "Right"], ["Right", "Right"],
              ["Down"] * 6, ["Left", "Left"], ["Left", "Left"], ["Left", "Left"],
              ["Left", "Left"]]
# What the placement and the battle's opening are heard as, in the game's two languages
# (E2E_LANG=en: a player whose desktop speaks English).
WORDS = {
    "ru": {"auto": "Расставить автоматически", "by hand": "Расставить корабли самому",
           "own field": "ваше поле", "first ship": "четырёхпалубный вертикально",
           "to A 4": "до А 4", "off field": "Нельзя, не помещается",
           "first placed": "Поставлен четырёхпалубный А 1, А 4\\. трёхпалубный вертикально",
           "touches": "Нельзя, рядом корабль", "placed": "^Поставлен ",
           "stands": "Флот расставлен. Выберите уровень",
           "levels": ["Лёгкий", "Средний", "Сложный"],
           "opening": "Ваш ход\\. R повтор, S счёт"},
    "en": {"auto": "Deploy the fleet at random", "by hand": "Deploy the ships by hand",
           "own field": "your field", "first ship": "battleship vertical",
           "to A 4": "to eh 4", "off field": "Cannot, it does not fit",
           "first placed": "battleship placed at eh 1, eh 4\\. cruiser vertical",
           "touches": "Cannot, too close to a ship", "placed": " placed at ",
           "stands": "Fleet deployed. Choose a level",
           "levels": ["Easy", "Medium", "Hard"],
           "opening": "Your turn\\. R repeat, S score"},
}[os.environ.get("E2E_LANG", "ru")]


def placed_by_ear():
    """The fleet placed by hand and the level chosen, from what is heard: a refusal with its
    reason, then the ten ships, each told with its cells. The battle's opening, and its number."""
    # The window gets the keys once; after that only the game gives them back.
    subprocess.run(["xdotool", "windowfocus", "--sync", WINDOW], check=True)
    tab_to(rf"^{WORDS['auto']} push button", "the first stop, a button")
    tab_to(rf"^{WORDS['by hand']} push button", "the button to place by hand")
    keys("Return")
    wait_for(rf"^{WORDS['own field']}\.?$", 30, "the player's field named as the keys come to it")
    wait_for(rf"^{WORDS['first ship']}\.?$", 30, "the ship to place and its direction")
    wait_for(rf"^{WORDS['to A 4']}\.?$", 30, "the cells the ship would take")
    keys(*["Down"] * 7)
    wait_for(rf"^{WORDS['off field']}\.?$", 30, "a ship that would run off the field")
    patient_key("Return")
    wait_for(rf"^{WORDS['off field']}\.?$", 30, "Enter where the ship would run off the field")
    keys(*["Up"] * 7)
    patient_key("Return")
    wait_for(rf"^{WORDS['first placed']}\.?$", 30,
             "the first ship placed, with its cells, and the next")
    keys("Right")
    wait_for(rf"^{WORDS['touches']}\.?$", 30, "a ship that would touch another")
    for step in NEXT_SHIPS:
        keys(*step)
        patient_key("Return")
        placed, _ = wait_for(WORDS["placed"], 30, "a ship placed")
    if WORDS["stands"] not in placed.string:
        fail(f"the fleet standing is not told with the last ship: {placed.string}")
    wait_for(rf"^{WORDS['levels'][0]} push button", 30, "the first level, said with its ё")
    if LEVEL > 1:
        tab_to(f"^{WORDS['levels'][LEVEL - 1]} push button", "the level")
    patient_key("Return")
    return wait_for(rf"^{WORDS['opening']}\.?$", 30, "the battle's first turn")[1]


opening = placed_by_ear()
if os.environ.get("E2E_LANG") == "en":
    # In English, the state and no Russian word: the rest of the game is the same in both.
    patient_key("s")
    wait_for(r"^Your turn\. Hits, yours 0, the computer's 0\. The enemy has 1 battleship, "
             r"2 cruisers, 3 destroyers, 4 submarines\. You have 1 battleship", 30, "the state")
    russian = [line for line in utterances() if re.search("[\u0400-\u04ff]", line)]
    if russian:
        fail("Russian words heard: " + " | ".join(russian))
    sys.exit(0)
said = heard_in_full(opening, 30, "the battle's first \"Ваш ход\"") - voiced()[opening][0]
# The voice must take as long as a real one, or the pace measured below means nothing.
if said < 1:
    fail(f"the voice said \"{utterances()[opening]}\" in {said:.2f} s: is espeak-ng working?")

# Hunting: a hit is followed along its line until the ship sinks; before that, every
# other cell of the field. A sunk ship's ring is known to be water and never fired at.
known = {}  # (row, column) -> "miss", "hit" or "sunk"
cursor = [1, 1]
own_words = []  # words of each of the player's outcomes
turn_back = []  # seconds from the turn coming back to "Ваш ход" heard in full
computer_turns = 0
last_computer_cell = None


def next_target():
    hits = [cell for cell, state in known.items() if state == "hit"]
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


def aim(row, column, press):
    moves = (["Down"] * (row - cursor[0]) + ["Up"] * (cursor[0] - row)
             + ["Right"] * (column - cursor[1]) + ["Left"] * (cursor[1] - column))
    cursor[:] = [row, column]
    if moves:
        press(*moves)


def fire(press):
    """One shot at the next target; the outcome and when Enter was pressed."""
    row, column = next_target()
    aim(row, column, press)
    press("Return")
    pressed = time.time()
    match, number = wait_for(rf"^{name(row, column)} {SHOT}\.?$", 30,
                             f"the outcome of the shot at {name(row, column)}")
    outcome = match.group(1)
    known[(row, column)] = "miss" if outcome == "мимо" else "hit"
    if outcome.startswith("убил"):
        sink((row, column))
    return outcome, number, pressed


# The computer's shots are worded as what befell the player's ship.
COMPUTER_SHOT = re.compile(r"^()([А-Кбэв]+ \d+) (мимо|ранен|убит \w+)(, ваш ход)?\.?$")


def computers_news():
    """The computer's news of one turn, up to the turn coming back or the game lost: the
    utterances' numbers and matches, and whether the game was lost."""
    told = []
    while True:
        match, number = wait_for(COMPUTER_SHOT.pattern + r"|Вы проиграли", 60,
                                 "the computer's next shot")
        if match.group(0).startswith("Вы проиграли"):
            return told, True
        shot = COMPUTER_SHOT.match(utterances()[number])
        told.append((number, shot))
        if shot.group(4):
            return told, False


game_over = False
while not game_over and (WHOLE or computer_turns < 6 or "sunk" not in known.values()):
    outcome, number, pressed = fire(patient_key)
    heard_in_full(number, 30, f"the outcome \"{outcome}\"", strict=False)
    own_words.append(len(utterances()[number].split()))
    if len([state for state in known.values() if state in ("hit", "sunk")]) == 20:
        wait_for(r"Вы выиграли", 60, "the player's win")
        game_over = True
    elif outcome == "мимо":
        told, game_over = computers_news()
        if not game_over:
            back = heard_in_full(told[-1][0], 60, "the turn coming back")
            turn_back.append(back - (pressed + TICK * len(told)))
            start = voiced()[told[-1][0]][0]
            print(f"  the computer's {len(told)} shot(s): its last news began "
                  f"{start - pressed:.2f} s after Enter and took {back - start:.2f} s")
            computer_turns += 1
            last_computer_cell = told[-1][1].group(2)
print(f"patient player: {len(own_words)} shots, {computer_turns} turns of the computer")
print(f"  words of the player's own outcome: median {statistics.median(own_words)}, "
      f"max {max(own_words)}")
print(f"  the turn back heard in full after it came back: median "
      f"{statistics.median(turn_back):.2f} s, max {max(turn_back):.2f} s")
if statistics.median(own_words) > 6:
    fail("the player's own outcome takes more than six words")
# How soon the turn back is heard depends on the machine's load as much as on the game (Orca and
# the speech server lag behind a busy machine): a figure to read, within 3 s (median) and 6 s at
# most on a quiet machine, not a verdict. What is said and in what order is checked above.
if statistics.median(turn_back) > 3 or max(turn_back) > 6:
    print("  note: the turn back came later than on a quiet machine (median 3 s, 6 s at most)")
if WHOLE:
    if game_over:
        keys("Return")  # the box of the game's end; the keys go back to the window after it
        wait_for(r"push button\.$", 30, "the focus back on a cell after the box")
    sys.exit(0)

# A brisk player: keys right after a miss cut off the computer's news as it comes; R says
# the player's turn and the computer's reply again, once the turn is back.
outcome = None
while outcome != "мимо":
    outcome, _, _ = fire(keys)
first_of_turn = heard_upto
deadline = time.monotonic() + 60
while True:
    if time.monotonic() > deadline:
        fail("the computer's turn never came back")
    # Away and back: the cursor stays on the cell fired at, whatever edge it is on.
    keys(*(["Right", "Left"] if cursor[1] == 1 else ["Left", "Right"]), "r")
    _, number = wait_for(r"Ваши выстрелы ", 30, "the last turns again")
    if re.match(r"^Ваши выстрелы .*\. Компьютер .*Ваш ход\.?$", utterances()[number]):
        break
repeated = utterances()[number]
heard_in_full(number, 30, "the last turns again")
timing = voiced()
live = [(n, line) for n, line in enumerate(utterances()[first_of_turn:number], first_of_turn)
        if COMPUTER_SHOT.match(line)]
in_full = [line for n, line in live if n < len(timing) and not timing[n][2]]
shots = len(re.search(r"Компьютер (.*)", repeated).group(1).split(", "))
for _, line in live:
    shot = COMPUTER_SHOT.match(line)
    if f"{shot.group(2)} {shot.group(3)}" not in repeated:
        fail(f"\"{line}\", said as it came, is missing from the turns said again: {repeated}")
if len(in_full) >= shots:
    fail("the brisk player's keys cut none of the computer's news off: nothing to say again")
last_computer_cell = re.findall(r"([А-Кбэв]+ \d+) (мимо|ранен|убит)",
                                repeated.split("Компьютер ")[1])[-1][0]
print(f"brisk player: {len(in_full)} of the computer's {shots} shots heard as they came; "
      f"again with R: {repeated}")

# The state, an unused key, the player's own field and a refused shot.
keys("s")
wait_for(r"^Ваш ход\. Попадания, ваши \d+, компьютера \d+\. У противника .+\. У вас .+", 30,
         "the state of the game")
keys("x")
wait_for(r"^Не используется\. Tab, стрелки, Enter, R повтор, S счёт", 30, "an unused key")
keys("Tab")
wait_for(r"^ваше поле\.?$", 30, "the player's field named as the keys come to it")
first, _ = wait_for(r"^([А-Кбэв]+) (\d+) (вода|корабль|мимо|ранен|убит|пусто, рядом убитый) "
                    r"push button", 30, "the player's own field, at its cursor cell")
target = re.match(r"([А-Кбэв]+) (\d+)", last_computer_cell)
rows = int(target.group(2)) - int(first.group(2))
columns = LETTERS.index(target.group(1)) - LETTERS.index(first.group(1))
moves = ["Down"] * rows + ["Up"] * -rows + ["Right"] * columns + ["Left"] * -columns
if moves:
    keys(*moves)
    wait_for(rf"^{last_computer_cell} мимо push button", 30,
             "the cell of the computer's last shot, a miss, on the player's field")
keys("Return")
wait_for(r"^Ваши выстрелы .*Компьютер .*Ваш ход\.?$", 30,
         "the last turns again, Enter on the player's field")
keys("shift+Tab")
wait_for(r"^поле противника\.?$", 30, "the computer's field named as the keys come back to it")
for attempt in (1, 2):
    keys("Return")
    _, said = wait_for(r"^Уже попадали\.$", 30, f"the refusal, time {attempt}")
    _, button = wait_for(r"^ОК push button", 30, "the box's button")
    print(f"the refusal's box heard as: {' | '.join(utterances()[said - 1:button + 1])}")
    keys("Return")
    wait_for(r"push button\.$", 30, "the focus back on a cell after the box")

lines = utterances()
for line in lines:
    if line.startswith("notification"):
        fail(f"news said with the role's name before it: {line}")
    if re.match(r"^(Компьютер |[А-Кбэв]+ \d+ ).*:", line):
        fail(f"a colon in the news, which the voice reads aloud: {line}")
print("passed")
