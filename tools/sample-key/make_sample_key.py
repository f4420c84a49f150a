#!/usr/bin/env python3
"""Build the VORN sample key "Trees of Western and Central Europe".

Reads trees.txt (next to this script) and writes the key files into an output
directory, by default keys/ in the repository root:

  TREES.DES  Title page. Text lines in Windows-1252, each ending in CR LF.

  TREES.TAX  One 40-byte record per taxon, no header, no line ends. The text
             "Scientific name[/Common name][|PICTURE][>NOTES.TXT]" is
             left-aligned and padded with blanks (0x20).

  TREES.CHR  One 80-byte record per state, blank-padded, no line ends. Each
             text reads "Character: state".

  TREES.DAT  The matrix. One 40-byte record per state, in the order of
             TREES.CHR. Byte t is the code of taxon t: '+' has the state,
             '-' lacks it, '*' variable, '?' unknown. Bytes after the last
             taxon are blanks, so the size is 40 * number of states.

  TREES.IND  The index to the states. Lines ending in CR LF: first
             "COLUMNS WIDTH GAP" (width and gap in characters); then per
             column a heading line, a line with the number of its entries,
             and per entry an entry line (two leading blanks, the text, and
             "|PICTURE" for an entry with a picture) followed by a line with
             its states counted from 1: "FIRST LAST" for one range, or
             "-N" and N pairs "FIRST LAST" for N ranges.

  TREES.HIS  Sample history list. Lines ending in CR LF, each an action
             character ('+' present, '-' absent, ' ' list only) followed by
             the state number counted from 1.

  *.TXT      The notes files named in TREES.TAX: plain ASCII text lines
             ending in CR LF.

The pictures named by the taxa and the index (NAME.JPG, the name in upper
case) are drawn by the vorn-make-key-pictures tool; this script only warns
when one is missing from the output directory. The numbered GIF pictures
(QROB01.GIF, FAGUS01.GIF and FAGUS03.GIF with a gap, ...) are made from them
once by make_gifs.sh beside this script, with ImageMagick.

The output depends only on trees.txt, so every run gives identical files.
The script stops with an error if any record is too long, contains a byte
outside printable ASCII, if two taxa cannot be told apart, or if the sample
history does not narrow the key down to exactly one taxon.

Usage: make_sample_key.py [OUTPUT_DIR]
"""

import os
import sys
import textwrap

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
SOURCE = os.path.join(HERE, "trees.txt")
BASENAME = "TREES"

TAXON_RECORD = 40
STATE_RECORD = 80
MATRIX_RECORD = 40
MAX_TITLE_LINES = 23
NOTES_WIDTH = 72
CODES = "+-*?"
# Limits of the program's index table, and the room the index window may take
# on a 1280 x 800 screen (its client area, in pixels).
MAX_INDEX_ENTRIES = 201
MAX_INDEX_RANGES = 6
INDEX_CHAR_PIXELS = 6
MAX_INDEX_WINDOW = (1200, 560)
ACTIONS = {"present": "+", "absent": "-", "list": " "}


class KeyError_(Exception):
    pass


def fail(msg):
    raise KeyError_(msg)


def printable_ascii(text, what):
    for ch in text:
        if not (0x20 <= ord(ch) <= 0x7E):
            fail("%s: character %r is not printable ASCII" % (what, ch))


# ---------------------------------------------------------------- parsing

def read_sections(path):
    """Split the source into (name, argument, [(lineno, text), ...])."""
    sections = []
    current = None
    with open(path, encoding="utf-8") as f:
        for lineno, raw in enumerate(f, 1):
            line = raw.rstrip("\r\n").rstrip()
            if line.startswith("#"):
                continue
            if line.startswith("@"):
                parts = line[1:].split(None, 1)
                current = (parts[0], parts[1].strip() if len(parts) > 1 else "", [])
                sections.append(current)
                continue
            if current is None:
                if line:
                    fail("line %d: text before the first section" % lineno)
                continue
            current[2].append((lineno, line))
    return sections


def strip_blank_edges(lines):
    while lines and not lines[0][1]:
        lines = lines[1:]
    while lines and not lines[-1][1]:
        lines = lines[:-1]
    return lines


def parse_taxa(lines):
    taxa = []
    for lineno, line in lines:
        if not line:
            continue
        code, rest = line.split(None, 1)
        fields = [x.strip() for x in rest.split(";")]
        if len(fields) != 4:
            fail("line %d: expected 'CODE name ; common ; picture ; notes'" % lineno)
        name, common, picture, notes = [("" if x == "-" else x) for x in fields]
        if not name:
            fail("line %d: missing scientific name" % lineno)
        for label, value in (("scientific name", name), ("common name", common)):
            for bad in "/|>":
                if bad in value:
                    fail("line %d: %s contains %r" % (lineno, label, bad))
        for label, value in (("picture", picture), ("notes", notes)):
            for bad in "/|> ":
                if bad in value:
                    fail("line %d: %s name contains %r" % (lineno, label, bad))
        if any(t["code"] == code for t in taxa):
            fail("line %d: taxon code %s used twice" % (lineno, code))
        taxa.append(dict(code=code, name=name, common=common,
                         picture=picture, notes=notes, line=lineno))
    return taxa


def parse_characters(lines):
    chars = []
    for lineno, line in lines:
        if not line:
            continue
        key, text = line.split(None, 1)
        if line[0].isspace():
            if not chars:
                fail("line %d: state before any character" % lineno)
            if any(k == key for k, _ in chars[-1]["states"]):
                fail("line %d: state key %s used twice" % (lineno, key))
            chars[-1]["states"].append((key, text.strip()))
        else:
            if any(c["key"] == key for c in chars):
                fail("line %d: character key %s used twice" % (lineno, key))
            chars.append(dict(key=key, name=text.strip(), states=[], line=lineno))
    for c in chars:
        if len(c["states"]) < 2:
            fail("line %d: character %s needs at least two states"
                 % (c["line"], c["key"]))
    return chars


def parse_scores(lines, taxa, chars):
    """Return {taxon code: {char key: {state key: code}}}."""
    codes = {t["code"] for t in taxa}
    by_key = {c["key"]: c for c in chars}
    scores = {}
    current = None
    for lineno, line in lines:
        if not line:
            continue
        items = line.split()
        if not line[0].isspace():
            current = items.pop(0)
            if current not in codes:
                fail("line %d: unknown taxon %s" % (lineno, current))
            if current in scores:
                fail("line %d: taxon %s scored twice" % (lineno, current))
            scores[current] = {}
        elif current is None:
            fail("line %d: continuation line before any taxon" % lineno)
        for item in items:
            if "=" not in item:
                fail("line %d: expected char=state, got %r" % (lineno, item))
            ckey, value = item.split("=", 1)
            if ckey not in by_key:
                fail("line %d: unknown character %s" % (lineno, ckey))
            if ckey in scores[current]:
                fail("line %d: character %s scored twice for %s"
                     % (lineno, ckey, current))
            skeys = [k for k, _ in by_key[ckey]["states"]]
            cell = {}
            if value == "?":
                cell = {k: "?" for k in skeys}
            else:
                for part in value.split(","):
                    code = "+"
                    if part[-1:] in ("*", "?"):
                        part, code = part[:-1], part[-1]
                    if part not in skeys:
                        fail("line %d: character %s has no state %s"
                             % (lineno, ckey, part))
                    if part in cell:
                        fail("line %d: state %s=%s listed twice"
                             % (lineno, ckey, part))
                    cell[part] = code
            scores[current][ckey] = cell
    missing = codes - set(scores)
    if missing:
        fail("no scores for taxa: %s" % ", ".join(sorted(missing)))
    return scores


def index_range(item, chars, lineno):
    """One range of 1-based state numbers from an index item."""
    first_of, last_of, number = {}, {}, {}
    n = 1
    for c in chars:
        first_of[c["key"]] = n
        for skey, _ in c["states"]:
            number[(c["key"], skey)] = n
            n += 1
        last_of[c["key"]] = n - 1

    def char(key):
        if key not in first_of:
            fail("line %d: unknown character %s" % (lineno, key))
        return key

    def state(ckey, skey):
        if (ckey, skey) not in number:
            fail("line %d: character %s has no state %s" % (lineno, ckey, skey))
        return number[(ckey, skey)]

    if ".." in item:
        a, b = item.split("..", 1)
        first, last = first_of[char(a)], last_of[char(b)]
    elif "=" in item:
        ckey, states = item.split("=", 1)
        char(ckey)
        a, _, b = states.partition("-")
        first, last = state(ckey, a), state(ckey, b or a)
    else:
        first, last = first_of[char(item)], last_of[char(item)]
    if first > last:
        fail("line %d: range %s runs backwards" % (lineno, item))
    return first, last


def parse_index(arg, lines, chars):
    """Return (width, gap, [(heading, [(text, picture, [(first, last)])])])."""
    try:
        width, gap = [int(x) for x in arg.split()]
    except ValueError:
        fail("@index needs a column width and a gap")
    columns = []
    for lineno, line in lines:
        if not line:
            continue
        if line.startswith("=="):
            heading = line[2:].strip()
            if not heading:
                fail("line %d: empty heading" % lineno)
            columns.append((heading, []))
            continue
        if not columns:
            fail("line %d: index entry before the first heading" % lineno)
        entries = columns[-1][1]
        if line[0].isspace():
            if not entries:
                fail("line %d: continuation before any entry" % lineno)
            items = line.split()
        else:
            if ":" not in line:
                fail("line %d: expected 'Text[|PICTURE] : items'" % lineno)
            label, rest = line.split(":", 1)
            text, _, picture = label.strip().partition("|")
            if not text:
                fail("line %d: index entry without a text" % lineno)
            printable_ascii(text + picture, "index entry %r" % text)
            if len(text) > width - 2:
                fail("line %d: %r is too long for a %d-character button"
                     % (lineno, text, width))
            entries.append((text, picture, []))
            items = rest.split()
        for item in items:
            entries[-1][2].append(index_range(item, chars, lineno))
    if not columns:
        fail("@index has no columns")
    total = sum(len(entries) for _, entries in columns)
    if total > MAX_INDEX_ENTRIES:
        fail("index has %d entries, at most %d allowed"
             % (total, MAX_INDEX_ENTRIES))
    for heading, entries in columns:
        if not entries:
            fail("index column %s has no entries" % heading)
        for text, _, ranges in entries:
            if not 1 <= len(ranges) <= MAX_INDEX_RANGES:
                fail("index entry %r has %d ranges, want 1 to %d"
                     % (text, len(ranges), MAX_INDEX_RANGES))
    size = index_window_size(width, gap, columns)
    if size[0] > MAX_INDEX_WINDOW[0] or size[1] > MAX_INDEX_WINDOW[1]:
        fail("the index window would be %d x %d pixels, at most %d x %d allowed"
             % (size + MAX_INDEX_WINDOW))
    return width, gap, columns


def index_window_size(width, gap, columns):
    """The client size of the index window, as the program lays it out."""
    w, g = width * INDEX_CHAR_PIXELS, gap * INDEX_CHAR_PIXELS
    deepest = max(len(entries) for _, entries in columns)
    return (10 + len(columns) * (w + g) - g + 10, 30 + deepest * 26)


def index_file(width, gap, columns):
    lines = ["%d %d %d" % (len(columns), width, gap)]
    for heading, entries in columns:
        lines.append(heading)
        lines.append("%d" % len(entries))
        for text, picture, ranges in entries:
            lines.append("  " + text + ("|" + picture if picture else ""))
            if len(ranges) == 1:
                lines.append("%d %d" % ranges[0])
            else:
                lines.append(" ".join(["-%d" % len(ranges)] +
                                      ["%d %d" % r for r in ranges]))
    return b"".join(line.encode("ascii") + b"\r\n" for line in lines)


def parse_history(lines, state_index):
    history = []
    for lineno, line in lines:
        if not line:
            continue
        parts = line.split()
        if len(parts) != 2 or parts[0] not in ACTIONS:
            fail("line %d: expected 'present|absent|list char=state'" % lineno)
        ref = parts[1].replace("=", ":", 1)
        if ref not in state_index:
            fail("line %d: unknown state %s" % (lineno, parts[1]))
        history.append((ACTIONS[parts[0]], state_index[ref]))
    return history


# ---------------------------------------------------------------- building

def build(sections):
    seen = {}
    notes_text = {}
    for name, arg, lines in sections:
        if name == "notes":
            if not arg:
                fail("@notes needs a file name")
            if arg in notes_text:
                fail("notes %s given twice" % arg)
            notes_text[arg] = lines
        elif name == "index":
            if name in seen:
                fail("section @index given twice")
            seen[name] = lines
            index_arg = arg
        elif name in ("title", "taxa", "characters", "scores", "history"):
            if name in seen:
                fail("section @%s given twice" % name)
            seen[name] = lines
        else:
            fail("unknown section @%s" % name)
    for name in ("title", "taxa", "characters", "scores", "index", "history"):
        if name not in seen:
            fail("missing section @%s" % name)

    title = [t for _, t in strip_blank_edges(seen["title"])]
    taxa = parse_taxa(seen["taxa"])
    chars = parse_characters(seen["characters"])
    scores = parse_scores(seen["scores"], taxa, chars)
    index = parse_index(index_arg, seen["index"], chars)

    # Flatten the states in character order.
    states = []          # (char key, state key, text)
    state_index = {}     # "char:state" -> 0-based index
    for c in chars:
        for skey, stext in c["states"]:
            state_index["%s:%s" % (c["key"], skey)] = len(states)
            states.append((c["key"], skey, "%s: %s" % (c["name"], stext)))

    if not taxa or len(taxa) > MATRIX_RECORD:
        fail("need 1 to %d taxa, have %d" % (MATRIX_RECORD, len(taxa)))

    # matrix[s][t]
    matrix = []
    for ckey, skey, _ in states:
        row = []
        for t in taxa:
            row.append(scores[t["code"]].get(ckey, {}).get(skey, "-"))
        matrix.append(row)

    history = parse_history(seen["history"], state_index)

    files = {}

    # Title page.
    if len(title) > MAX_TITLE_LINES:
        fail("title page has %d lines, at most %d allowed"
             % (len(title), MAX_TITLE_LINES))
    try:
        files[BASENAME + ".DES"] = b"".join(
            line.encode("cp1252") + b"\r\n" for line in title)
    except UnicodeEncodeError as e:
        fail("title page: %s" % e)

    # Taxa.
    out = bytearray()
    for t in taxa:
        text = t["name"]
        if t["common"]:
            text += "/" + t["common"]
        if t["picture"]:
            text += "|" + t["picture"]
        if t["notes"]:
            text += ">" + t["notes"]
        printable_ascii(text, "taxon %s" % t["code"])
        if len(text) > TAXON_RECORD:
            fail("taxon record %r is %d bytes, at most %d allowed"
                 % (text, len(text), TAXON_RECORD))
        out += text.ljust(TAXON_RECORD).encode("ascii")
    files[BASENAME + ".TAX"] = bytes(out)

    # States.
    out = bytearray()
    for _, _, text in states:
        printable_ascii(text, "state %r" % text)
        if len(text) > STATE_RECORD:
            fail("state text %r is %d bytes, at most %d allowed"
                 % (text, len(text), STATE_RECORD))
        out += text.ljust(STATE_RECORD).encode("ascii")
    files[BASENAME + ".CHR"] = bytes(out)

    # Matrix.
    out = bytearray()
    for row in matrix:
        assert all(code in CODES for code in row)
        out += "".join(row).ljust(MATRIX_RECORD).encode("ascii")
    files[BASENAME + ".DAT"] = bytes(out)

    # Index.
    files[BASENAME + ".IND"] = index_file(*index)

    # Sample history.
    files[BASENAME + ".HIS"] = b"".join(
        ("%s%d\r\n" % (action, s + 1)).encode("ascii") for action, s in history)

    # Notes files.
    wanted = {t["notes"] for t in taxa if t["notes"]}
    for name in sorted(set(notes_text) - wanted):
        fail("notes %s is not used by any taxon" % name)
    for name in sorted(wanted):
        if name not in notes_text:
            fail("no @notes section for %s" % name)
        paragraph = " ".join(t for _, t in notes_text[name] if t).strip()
        printable_ascii(paragraph, "notes %s" % name)
        lines = textwrap.wrap(paragraph, NOTES_WIDTH,
                              break_long_words=False, break_on_hyphens=False)
        if not 3 <= len(lines) <= 10:
            fail("notes %s has %d lines, want 3 to 10" % (name, len(lines)))
        files[name] = b"".join(l.encode("ascii") + b"\r\n" for l in lines)

    check_separation(taxa, matrix)
    remaining = check_history(taxa, matrix, history)
    return files, taxa, states, matrix, history, remaining, index


# ---------------------------------------------------------------- checks

def differences(matrix, a, b):
    """Number of states on which taxa a and b definitely differ."""
    return sum(1 for row in matrix
               if {row[a], row[b]} == {"+", "-"})


def check_separation(taxa, matrix):
    n = len(taxa)
    columns = {}
    for t in range(n):
        col = "".join(row[t] for row in matrix)
        if col in columns:
            fail("taxa %s and %s have identical codes"
                 % (taxa[columns[col]]["code"], taxa[t]["code"]))
        columns[col] = t
    for a in range(n):
        for b in range(a + 1, n):
            if differences(matrix, a, b) == 0:
                fail("taxa %s and %s cannot be told apart"
                     % (taxa[a]["code"], taxa[b]["code"]))


def matches(matrix, history, t):
    for action, s in history:
        code = matrix[s][t]
        if action == "+" and code == "-":
            return False
        if action == "-" and code == "+":
            return False
    return True


def check_history(taxa, matrix, history):
    remaining = [t for t in range(len(taxa)) if matches(matrix, history, t)]
    if len(remaining) != 1:
        fail("sample history leaves %d taxa: %s" % (
            len(remaining), ", ".join(taxa[t]["code"] for t in remaining)))
    return remaining


# ---------------------------------------------------------------- main

def main(argv):
    if len(argv) > 2 or (len(argv) == 2 and argv[1].startswith("-")):
        sys.stderr.write("usage: %s [OUTPUT_DIR]\n" % os.path.basename(argv[0]))
        return 2
    outdir = argv[1] if len(argv) == 2 else os.path.join(REPO, "keys")
    try:
        files, taxa, states, matrix, history, remaining, index = build(
            read_sections(SOURCE))
    except KeyError_ as e:
        sys.stderr.write("make_sample_key: error: %s\n" % e)
        return 1

    os.makedirs(outdir, exist_ok=True)
    for name in sorted(files):
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(files[name])

    n = len(taxa)
    cells = len(states) * n
    unknown = sum(row.count("?") for row in matrix)
    variable = sum(row.count("*") for row in matrix)
    pairs = [(differences(matrix, a, b), taxa[a]["code"], taxa[b]["code"])
             for a in range(n) for b in range(a + 1, n)]
    pairs.sort()
    print("wrote %d files to %s" % (len(files), outdir))
    print("taxa: %d, states: %d, characters: %d"
          % (n, len(states), len({s[0] for s in states})))
    print("cells: %d, variable: %d, unknown: %d (%.1f%%)"
          % (cells, variable, unknown, 100.0 * unknown / cells))
    print("closest pairs: " + ", ".join(
        "%s/%s %d" % (a, b, d) for d, a, b in pairs[:5]))
    width, gap, columns = index
    entries = [e for _, col in columns for e in col]
    print("index: %d columns of %d characters, gap %d, %d entries "
          "(%d with several ranges, %d with pictures), window %d x %d"
          % ((len(columns), width, gap, len(entries),
              sum(1 for e in entries if len(e[2]) > 1),
              sum(1 for e in entries if e[1]))
             + index_window_size(width, gap, columns)))
    pictures = [t["picture"] for t in taxa if t["picture"]]
    pictures += [e[1] for e in entries if e[1]]
    missing = [p.upper() + ".JPG" for p in pictures
               if not os.path.exists(os.path.join(outdir, p.upper() + ".JPG"))]
    if missing:
        sys.stderr.write("make_sample_key: note: pictures not yet drawn "
                         "(vorn-make-key-pictures): %s\n" % ", ".join(missing))
    print("history: %s -> %s" % (
        " ".join("%s%d" % (a.strip() or "_", s + 1) for a, s in history),
        taxa[remaining[0]]["name"]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
