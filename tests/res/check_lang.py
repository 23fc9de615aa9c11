#!/usr/bin/python3
"""Checks the language files against the resource scripts they translate.

Usage: check_lang.py <res folder> [<built Lang folder>]

The program looks every text up by section and key in the language file and keeps its built-in
English text where a key is missing or empty, so a broken language file does not fail: it just
shows English, a wrong text or a garbled one. Each check below names the fault it catches.
Standard library only; shares no code with the program.
"""

import pathlib
import re
import sys

# Templates that re-apply their language to all descendants while these child templates are
# inside them: a key of the parent's section equal to a child's control id would overwrite that
# child's text (or its content) at every language switch.
HOSTED_CHILDREN = {"IDD_MANAGER": ["IDD_PLAYER", "IDD_TRACK_PANEL", "IDD_START_GUIDE"]}
# The menu whose top-level pop-ups are looked up as item_1, item_2, ...
MENU_BAR = "IDR_MANAGER_MENU"
TRANSLATIONS = {"lang_deu.ini": "cp1252", "lang_jpn.utf-8.ini": "utf-8"}
PRINTF = re.compile(r"%(?:%|[-+ #0]*(?:\*|\d+)?(?:\.(?:\*|\d+))?"
                    r"(?:hh|h|ll|l|I64|L|z|j|t)?[diouxXeEfgGaAcsSpn])")
TEXT_CONTROLS = {"LTEXT", "RTEXT", "CTEXT", "PUSHBUTTON", "DEFPUSHBUTTON", "PUSHBOX", "CHECKBOX",
                 "AUTOCHECKBOX", "RADIOBUTTON", "AUTORADIOBUTTON", "STATE3", "AUTO3STATE", "GROUPBOX"}
NO_TEXT_CONTROLS = {"EDITTEXT", "COMBOBOX", "LISTBOX", "SCROLLBAR", "ICON"}

faults = []


def fault(where, text):
    faults.append(f"{where}: {text}")


# ---- Resource scripts ----------------------------------------------------------------------

def read_ids(res):
    ids = {"IDOK": 1, "IDCANCEL": 2, "IDC_STATIC": -1}
    for header in sorted((res / "ids").glob("*.h")):
        for name, value in re.findall(r"^#define\s+(\w+)\s+(\S+)\s*$", header.read_text("ascii"), re.M):
            try:
                number = int(value, 0)
            except ValueError:
                continue
            # One name, one number: a second, different definition would compile the script with
            # one value and the code with the other, depending on the include order.
            if name in ids and ids[name] != number:
                fault(header.name, f"{name} defined twice with different values")
            ids[name] = number
    return ids


def strip_comments(text):
    out, i, in_string = [], 0, False
    while i < len(text):
        c = text[i]
        if in_string:
            out.append(c)
            if c == '"':
                if text[i + 1:i + 2] == '"':
                    out.append('"')
                    i += 1
                else:
                    in_string = False
        elif c == '"':
            in_string = True
            out.append(c)
        elif text.startswith("//", i):
            while i < len(text) and text[i] != "\n":
                i += 1
            continue
        elif text.startswith("/*", i):
            end = text.index("*/", i + 2)
            out.append("\n" * text.count("\n", i, end))
            i = end + 2
            continue
        else:
            out.append(c)
        i += 1
    return "".join(out)


def statements(path):
    """Logical lines with their line numbers: a line ending in ',' or '|' goes on in the next."""
    pending, start = "", 0
    for number, line in enumerate(strip_comments(path.read_text("ascii")).splitlines(), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if not pending:
            start = number
        pending = f"{pending} {line}" if pending else line
        if not pending.endswith((",", "|")):
            yield start, pending
            pending = ""
    if pending:
        yield start, pending


def split_args(text):
    args, current, in_string = [], "", False
    i = 0
    while i < len(text):
        c = text[i]
        if c == '"':
            if in_string and text[i + 1:i + 2] == '"':
                current += '""'
                i += 2
                continue
            in_string = not in_string
        if c == "," and not in_string:
            args.append(current.strip())
            current = ""
        else:
            current += c
        i += 1
    args.append(current.strip())
    return args


def rc_string(token):
    """The text of an rc string literal, its escapes applied."""
    if not (token.startswith('"') and token.endswith('"')):
        return None
    body, out, i = token[1:-1], "", 0
    while i < len(body):
        c = body[i]
        if c == '"' and body[i + 1:i + 2] == '"':
            out += '"'
            i += 2
        elif c == "\\" and i + 1 < len(body):
            escapes = {"n": "\n", "t": "\t", "0": "\0", "\\": "\\", '"': '"'}
            out += escapes.get(body[i + 1], "\\" + body[i + 1])
            i += 2
        else:
            out += c
            i += 1
    return out


def resolve(token, ids, where):
    token = token.strip()
    if re.fullmatch(r"-?(0x[0-9a-fA-F]+|\d+)L?", token):
        return int(token.rstrip("L"), 0)
    if token in ids:
        return ids[token]
    fault(where, f"unknown id {token}")
    return None


class Template:
    def __init__(self, name, number, where):
        self.name, self.number, self.where = name, number, where
        self.caption = None
        self.texts = {}  # control id -> text, for controls that show one
        self.controls = set()  # every control id


class Menu:
    def __init__(self, name, number):
        self.name, self.number = name, number
        self.bar_popups = []  # texts of the top-level pop-ups, in order
        self.commands = []  # (command id, text, where)


def parse_scripts(paths, ids):
    templates, menus, strings, dlginit = {}, {}, {}, []
    for path in paths:
        lines = list(statements(path))
        i = 0
        while i < len(lines):
            number, line = lines[i]
            where = f"{path.name}:{number}"
            words = line.split()
            if words[0] == "STRINGTABLE":
                i += 2  # BEGIN
                while lines[i][1] != "END":
                    n, entry = lines[i]
                    key, _, text = entry.partition(" ")
                    string_id = resolve(key.rstrip(","), ids, f"{path.name}:{n}")
                    if string_id in strings:
                        fault(f"{path.name}:{n}", f"string {string_id} defined twice")
                    strings[string_id] = (rc_string(text.strip().lstrip(",").strip()), f"{path.name}:{n}")
                    i += 1
                i += 1
            elif len(words) >= 2 and words[1] == "DIALOGEX":
                template = Template(words[0], resolve(words[0], ids, where), where)
                templates[template.number] = template
                i += 1
                while lines[i][1] != "BEGIN":
                    if lines[i][1].startswith("CAPTION"):
                        template.caption = rc_string(lines[i][1][len("CAPTION"):].strip())
                    i += 1
                i += 1
                while lines[i][1] != "END":
                    n, control = lines[i]
                    parse_control(template, control, ids, f"{path.name}:{n}")
                    i += 1
                i += 1
            elif len(words) == 2 and words[1] == "MENU":
                menu = Menu(words[0], resolve(words[0], ids, where))
                menus[menu.number] = menu
                i = parse_menu(menu, lines, i + 1, ids, path, 0)
            elif len(words) == 2 and words[1] == "RT_DLGINIT_ID":
                i += 2
                while lines[i][1] != "END":
                    dlginit.append((lines[i][0], lines[i][1], path))
                    i += 1
                i += 1
                if not dlginit:
                    fault(where, "empty initialisation data")
            else:
                fault(where, f"statement not understood: {line[:60]}")
                i += 1
    return templates, menus, strings, dlginit


def parse_control(template, control, ids, where):
    keyword, _, rest = control.partition(" ")
    args = split_args(rest.strip())
    if keyword in NO_TEXT_CONTROLS:
        control_id = resolve(args[1] if keyword == "ICON" else args[0], ids, where)
        text = ""
    elif keyword in TEXT_CONTROLS or keyword == "CONTROL":
        text, control_id = rc_string(args[0]), resolve(args[1], ids, where)
        if keyword == "CONTROL" and re.search(r"\bSS_(ICON|BITMAP)\b", args[3]):
            text = ""  # names a picture, not a text
    else:
        fault(where, f"control statement not understood: {keyword}")
        return
    if control_id is None:
        return
    # Two controls under one id: the window can reach only one of them.
    if control_id in template.controls and control_id != -1:
        fault(where, f"control id {control_id} used twice in {template.name}")
    template.controls.add(control_id)
    if text:
        # One key per control id: two texts under one id cannot both be translated.
        if control_id in template.texts:
            fault(where, f"control {control_id} of {template.name} carries a second text")
        template.texts[control_id] = (text, where)


def parse_menu(menu, lines, i, ids, path, depth):
    assert lines[i][1] == "BEGIN"
    i += 1
    while lines[i][1] != "END":
        n, line = lines[i]
        where = f"{path.name}:{n}"
        keyword, _, rest = line.partition(" ")
        if keyword == "POPUP":
            if depth == 0:
                menu.bar_popups.append(rc_string(rest.strip()))
            i = parse_menu(menu, lines, i + 1, ids, path, depth + 1)
            continue
        if keyword == "MENUITEM" and rest.strip() != "SEPARATOR":
            text, command = split_args(rest.strip())
            menu.commands.append((resolve(command, ids, where), rc_string(text), where))
        i += 1
    return i + 1


def check_dlginit(records, ids):
    """A byte count that does not match its text shifts every later record: the combo box then
    lists garbage, or the reader runs past the end of the resource."""
    for number, line, path in records:
        where = f"{path.name}:{number}"
        args = split_args(line)
        if args[-1:] != ["0"]:
            fault(where, "initialisation data must end with a 0")
        args = args[:-1]
        if len(args) % 4:
            fault(where, "initialisation data not in records of four values")
            continue
        for record in range(0, len(args), 4):
            control, message, length, text = args[record:record + 4]
            text = rc_string(text)
            if message != "DLGINIT_COMBO_ADDSTRING" or text is None or resolve(control, ids, where) is None:
                fault(where, f"initialisation record {record // 4 + 1} not understood")
            elif not text.endswith("\0"):
                fault(where, f"initialisation text {text!r} must end in \\0")
            elif int(length.rstrip("L"), 0) != len(text.encode("ascii")):
                fault(where, f"byte count {length} for the {len(text)} bytes of {text!r}")


# ---- Language files ------------------------------------------------------------------------

class LangFile:
    def __init__(self, path, encoding):
        self.path, self.sections = path, {}
        raw = path.read_bytes()
        try:
            text = raw.decode(encoding)
        except UnicodeDecodeError as error:
            fault(path.name, f"not in {encoding}: {error}")
            text = raw.decode(encoding, "replace")
        if encoding == "cp1252" and any(b >= 0x80 for b in raw):
            # Saved as UTF-8 by mistake: every umlaut shows as two wrong characters.
            try:
                raw.decode("utf-8")
                fault(path.name, "looks like UTF-8; the program reads it in code page 1252")
            except UnicodeDecodeError:
                pass
        if encoding == "ascii" and any(b >= 0x80 for b in raw):
            fault(path.name, "English file must be plain ASCII: it is read in any system code page")
        if text.startswith("\ufeff"):
            fault(path.name, "starts with a byte-order mark, which becomes part of the first section name")
        section = None
        for number, line in enumerate(text.splitlines(), 1):
            where = f"{path.name}:{number}"
            stripped = line.strip()
            if not stripped or stripped.startswith(";"):
                continue
            if stripped.startswith("["):
                name = stripped[1:stripped.index("]")] if "]" in stripped else None
                if name is None:
                    fault(where, "unclosed section name")
                    continue
                # The reader takes the first of two equal sections; the second is never read.
                if name.upper() in self.sections:
                    fault(where, f"section [{name}] appears twice")
                section = self.sections.setdefault(name.upper(), {"name": name, "keys": {}})
                continue
            if section is None or "=" not in line:
                fault(where, "line outside a section or without '='")
                continue
            key, _, value = line.partition("=")
            key = key.strip()
            if key.upper() in section["keys"]:
                fault(where, f"key {key} appears twice in [{section['name']}]; only the first counts")
                continue
            # The reader drops blanks around a value and one pair of enclosing quotes.
            if value != value.strip():
                fault(where, f"blanks around the value of {key} are lost when it is read")
            value = value.strip()
            if len(value) >= 2 and value[0] == value[-1] == '"':
                fault(where, f"the quotes around the value of {key} are lost when it is read")
            section["keys"][key.upper()] = (key, value, where)

    def get(self, section, key):
        entry = self.sections.get(section.upper(), {"keys": {}})["keys"].get(str(key).upper())
        return entry

    def items(self):
        for section in self.sections.values():
            for key, value, where in section["keys"].values():
                yield section["name"], key, value, where


def ini_text(text):
    """The language-file form of a program text: line feeds and tabs as two-character escapes."""
    return text.replace("\n", "\\n").replace("\t", "\\t")


def check_english(eng, templates, menus, strings):
    # Every built-in string must be in the English file, word for word: the English file is the
    # model every translator works from, and a stale text there spreads to every translation.
    for string_id, (text, where) in strings.items():
        entry = eng.get("STRING", string_id)
        if entry is None:
            fault(where, f"string {string_id} missing from [STRING] of lang_eng.ini")
        elif entry[1] != ini_text(text):
            fault(entry[2], f"string {string_id} differs from the program's text {ini_text(text)!r}")
    for section, key, value, where in eng.items():
        if section.upper() == "STRING" and (not key.isdigit() or int(key) not in strings):
            fault(where, f"[STRING] {key} is no string of the program")

    # Every template's caption and every control text: a control missing here stays English in
    # every language built from this file.
    sections_expected = set()
    for template in templates.values():
        section = f"DIALOG_IDD_{template.number}"
        sections_expected.add(section.upper())
        if template.caption:
            entry = eng.get(section, "title")
            if entry is None:
                fault(template.where, f"[{section}] title missing from lang_eng.ini")
            elif entry[1] != ini_text(template.caption):
                fault(entry[2], f"[{section}] title differs from the template's {template.caption!r}")
        for control_id, (text, where) in template.texts.items():
            entry = eng.get(section, control_id)
            if entry is None:
                fault(where, f"[{section}] {control_id} ({text!r}) missing from lang_eng.ini")
            elif entry[1] != text.replace("\n", "\\n"):
                fault(entry[2], f"[{section}] {control_id} differs from the template's {text!r}")
        # A key that names no text control of the template is a typing error: it translates nothing.
        for key, value, where in eng.sections.get(section.upper(), {"keys": {}})["keys"].values():
            if key.lower() == "title":
                if not template.caption:
                    fault(where, f"[{section}] has a title but the template has no caption")
            elif not key.isdigit() or int(key) not in template.texts:
                fault(where, f"[{section}] {key} is no text control of template {template.number}")
    for section in eng.sections.values():
        name = section["name"].upper()
        if name.startswith("DIALOG_IDD_") and name not in sections_expected:
            fault(f"lang_eng.ini [{section['name']}]", "no template has this number")

    # Menus: one key per command id, so one command must read the same in every menu.
    commands = {}
    for menu in menus.values():
        for command, text, where in menu.commands:
            if command in commands and commands[command][0] != text:
                fault(where, f"command {command} reads {text!r} here and {commands[command][0]!r} "
                             f"at {commands[command][1]}; a language file can hold only one text")
            commands.setdefault(command, (text, where))
    for command, (text, where) in commands.items():
        entry = eng.get("MENU", command)
        if entry is None:
            fault(where, f"[MENU] {command} ({text!r}) missing from lang_eng.ini")
        elif entry[1] != ini_text(text):
            fault(entry[2], f"[MENU] {command} differs from the menu's {ini_text(text)!r}")
    bar = next((m for m in menus.values() if m.name == MENU_BAR), None)
    bar_keys = set()
    if bar is None:
        fault("dialogs", f"menu {MENU_BAR} not found")
    else:
        for position, text in enumerate(bar.bar_popups, 1):
            bar_keys.add(f"ITEM_{position}")
            entry = eng.get("MENU", f"item_{position}")
            if entry is None:
                fault("lang_eng.ini", f"[MENU] item_{position} ({text!r}) missing")
            elif entry[1] != ini_text(text):
                fault(entry[2], f"[MENU] item_{position} differs from the pop-up's {text!r}")
    for key, value, where in eng.sections.get("MENU", {"keys": {}})["keys"].values():
        if key.upper() not in bar_keys and (not key.isdigit() or int(key) not in commands):
            fault(where, f"[MENU] {key} is no command of any menu")

    # The Language menu lists a file by this name; a file without it is left out of the menu.
    if not (eng.get("General", "Language") or (None, ""))[1]:
        fault("lang_eng.ini", "[General] Language missing")


def check_hosted(templates):
    by_name = {t.name: t for t in templates.values()}
    for parent_name, children in HOSTED_CHILDREN.items():
        parent = by_name.get(parent_name)
        if parent is None:
            continue
        keys = set(parent.texts)
        for child_name in children:
            child = by_name.get(child_name)
            if child is None:
                fault("dialogs", f"template {child_name} not found")
                continue
            for control_id in sorted(keys & child.controls):
                fault(child.where, f"control {control_id} of {child_name} also carries a text of "
                                   f"{parent_name}, which re-applies its texts to all its descendants")


def check_translation(eng, other):
    for section, key, value, where in eng.items():
        entry = other.get(section, key)
        if entry is None:
            # A missing key shows the English text in the middle of a translated window.
            fault(other.path.name, f"[{section}] {key} missing")
            continue
        translated = entry[1]
        if value and not translated:
            fault(entry[2], f"[{section}] {key} is empty, so the English text shows")
        # A conversion added, lost or reordered makes the program print the wrong value, or read
        # a number as a string and crash.
        if PRINTF.findall(value) != PRINTF.findall(translated):
            fault(entry[2], f"[{section}] {key}: conversions {PRINTF.findall(translated)} "
                            f"instead of {PRINTF.findall(value)}")
        # A menu item's accelerator column follows the tab.
        if ("\\t" in value) != ("\\t" in translated):
            fault(entry[2], f"[{section}] {key}: the tab before the shortcut must stay")
    for section, key, value, where in other.items():
        if eng.get(section, key) is None:
            fault(where, f"[{section}] {key} is not in lang_eng.ini: a stale or mistyped key")


def check_japanese_escapes(raw, name):
    """A Shift_JIS character whose second byte is the backslash, followed by n or t, would be
    taken for the line-feed or tab escape and lose its second byte."""
    i = 0
    while i < len(raw):
        b = raw[i]
        if 0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC:
            if raw[i + 1:i + 2] == b"\\" and raw[i + 2:i + 3] in (b"n", b"t"):
                line = raw.count(b"\n", 0, i) + 1
                fault(f"{name}:{line}", "a double-byte character ending in a backslash before n or t")
            i += 2
        else:
            i += 1


def check_japanese(lang, built):
    source = lang / "lang_jpn.utf-8.ini"
    text = source.read_text("utf-8")
    try:
        encoded = text.encode("cp932")
    except UnicodeEncodeError as error:
        # The build's conversion stops at a character code page 932 does not have.
        fault(source.name, f"a character without a code in code page 932: {error}")
        return
    # Without a built folder, the bytes the build would write.
    check_japanese_escapes(encoded, source.name)
    if built is None:
        return
    shipped = built / "lang_jpn.ini"
    if not shipped.exists():
        fault(str(shipped), "not built")
        return
    try:
        if shipped.read_bytes().decode("cp932") != text:
            fault(shipped.name, "differs from its UTF-8 source: the build did not convert it again")
    except UnicodeDecodeError as error:
        fault(shipped.name, f"not in code page 932: {error}")


def check_lookup(lang, built):
    lookup = LangFile(lang / "language_lookup.ini", "ascii")
    entries = lookup.sections.get("LANGUAGE", {"keys": {}})["keys"].values()
    if not entries:
        fault("language_lookup.ini", "no [LANGUAGE] entries")
    files = {"lang_eng.ini", "lang_deu.ini", "lang_jpn.ini"}
    expected = {0x0407: "lang_deu.ini", 0x0807: "lang_deu.ini", 0x0C07: "lang_deu.ini",
                0x1007: "lang_deu.ini", 0x1407: "lang_deu.ini", 0x0411: "lang_jpn.ini",
                0x0409: "lang_eng.ini"}
    seen = {}
    for key, value, where in entries:
        # The program asks for "0x%04X" (the reader ignores case): a key without the leading
        # zeros is never found.
        if not re.fullmatch(r"0[xX][0-9A-Fa-f]{4}", key):
            fault(where, f"key {key} is not written as 0x%04X")
            continue
        language = int(key, 16)
        seen[language] = value
        if value.lower() not in files:
            fault(where, f"{value} is no language file of the program")
        elif language & 0x3FF == 0x09 and value.lower() != "lang_eng.ini":
            fault(where, f"English {key} points at {value}")
    for language, name in expected.items():
        if seen.get(language, "").lower() != name:
            fault("language_lookup.ini", f"0x{language:04X} should choose {name}")
    if built is not None:
        for name in files | {"language_lookup.ini"}:
            if not (built / name).exists():
                fault(str(built), f"{name} is not beside the program")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    res = pathlib.Path(sys.argv[1])
    built = pathlib.Path(sys.argv[2]) if len(sys.argv) == 3 else None
    lang = res / "lang"

    ids = read_ids(res)
    scripts = sorted((res / "dialogs").glob("*.rc"))
    main_script = (res / "Quaverlane.rc").read_text("ascii")
    for script in scripts:
        # A script the main one does not include never reaches the program.
        if f'#include "dialogs/{script.name}"' not in main_script:
            fault("Quaverlane.rc", f"does not include dialogs/{script.name}")
    templates, menus, strings, dlginit = parse_scripts(scripts + [res / "strings.rc"], ids)
    check_dlginit(dlginit, ids)

    eng = LangFile(lang / "lang_eng.ini", "ascii")
    check_english(eng, templates, menus, strings)
    check_hosted(templates)
    for name, encoding in TRANSLATIONS.items():
        other = LangFile(lang / name, encoding)
        check_translation(eng, other)
        if not (other.get("General", "Language") or (None, ""))[1]:
            fault(name, "[General] Language missing")
    check_japanese(lang, built)
    check_lookup(lang, built)

    for line in faults:
        print(line)
    print(f"{len(templates)} templates, {len(menus)} menus, {len(strings)} strings, "
          f"{sum(1 for _ in eng.items())} English keys: {len(faults)} faults")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
