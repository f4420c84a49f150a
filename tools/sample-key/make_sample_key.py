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

  TREES.HIS  Sample history list. Lines ending in CR LF, each an action
             character ('+' present, '-' absent, ' ' list only) followed by
             the state number counted from 1.

  *.TXT      The notes files named in TREES.TAX: plain ASCII text lines
             ending in CR LF.

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
        elif name in ("title", "taxa", "characters", "scores", "history"):
            if name in seen:
                fail("section @%s given twice" % name)
            seen[name] = lines
        else:
            fail("unknown section @%s" % name)
    for name in ("title", "taxa", "characters", "scores", "history"):
        if name not in seen:
            fail("missing section @%s" % name)

    title = [t for _, t in strip_blank_edges(seen["title"])]
    taxa = parse_taxa(seen["taxa"])
    chars = parse_characters(seen["characters"])
    scores = parse_scores(seen["scores"], taxa, chars)

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
    return files, taxa, states, matrix, history, remaining


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
        files, taxa, states, matrix, history, remaining = build(
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
    print("history: %s -> %s" % (
        " ".join("%s%d" % (a.strip() or "_", s + 1) for a, s in history),
        taxa[remaining[0]]["name"]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
