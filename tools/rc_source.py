"""What the resource script res/ovelo.rc declares, its names resolved through res/resource.h,
its own definitions and the project's version: the dialog templates, the string table, the
toolbar layout, the version block's values and the names of all resources."""
import re

import project

RES = project.ROOT / "res"
RT_ICON_GROUP, RT_BITMAP, RT_DIALOG, RT_STRING, RT_VERSION, RT_MANIFEST = 14, 2, 5, 6, 16, 24

# The few system names the script uses.
SYSTEM = {"IDOK": 1, "WS_VISIBLE": 0x10000000, "VS_VERSION_INFO": 1, "RT_MANIFEST": RT_MANIFEST,
          "CREATEPROCESS_MANIFEST_RESOURCE_ID": 1}
VERSION_MACROS = {"OVELO_PRODUCT_NAME": f'"{project.PRODUCT_NAME}"',
                  "OVELO_VERSION_NUMBERS": ", ".join(map(str, project.VERSION_NUMBERS)),
                  "OVELO_VERSION_TEXT": f'"{project.VERSION_TEXT}"',
                  "OVELO_VERSION_LINE": f'"Ovelo Version {project.VERSION}"'}
TOKEN = re.compile(r'"(?:[^"]|"")*"|0[xX][0-9a-fA-F]+|-?\d+|\w+|\|')


def _lines(path):
    for line in path.read_text().splitlines():
        line = line.split("//")[0].strip()
        if line:
            yield line


def _definitions():
    names = dict(VERSION_MACROS)
    for path in (RES / "resource.h", RES / "ovelo.rc"):
        for line in _lines(path):
            parts = line.split(None, 2)
            if parts[0] == "#define" and len(parts) == 3:
                names[parts[1]] = parts[2]
    return names


class Script:
    def __init__(self):
        self.names = _definitions()
        self.lines = [l for l in _lines(RES / "ovelo.rc") if not l.startswith("#")]

    def value(self, text):
        """A string, or a number: an OR of numbers and names, NOT removing bits."""
        tokens = TOKEN.findall(text)
        if len(tokens) == 1 and tokens[0].startswith('"'):
            return tokens[0][1:-1].replace('""', '"')
        number, remove = 0, False
        for token in tokens:
            if token == "|":
                continue
            if token == "NOT":
                remove = True
                continue
            if token in SYSTEM:
                part = SYSTEM[token]
            elif token in self.names:
                part = self.value(self.names[token])
                if isinstance(part, str):
                    return part
            else:
                part = int(token, 0)
            number = number & ~part if remove else number | part
            remove = False
        return number

    def expand(self, text):
        """text with each defined name replaced by its definition, strings left alone."""
        def replace(token):
            word = token[0]
            return self.expand(self.names[word]) if word in self.names else word
        return re.sub(r'"(?:[^"]|"")*"|\b[A-Za-z_]\w*\b', replace, text)

    def values(self, text):
        """The comma-separated values of text, strings kept whole."""
        parts = re.findall(r'(?:"(?:[^"]|"")*"|[^,])+', self.expand(text))
        return [self.value(part) for part in parts]

    def block(self, start):
        """The lines between BEGIN and its END after line index start (nested blocks kept)."""
        depth, body = 0, []
        for line in self.lines[start + 1:]:
            if line == "BEGIN":
                depth += 1
                if depth == 1:
                    continue
            elif line == "END":
                depth -= 1
                if depth == 0:
                    return body
            if depth > 0:
                body.append(line)
        return body

    def dialog(self, name):
        """The template as check-resources compares it: header fields and the items."""
        start = next(i for i, l in enumerate(self.lines)
                     if re.match(rf"{name}\s+DIALOG(EX)?\s", l))
        extended = " DIALOGEX " in self.lines[start]
        d = {"rect": tuple(self.values(self.lines[start].split(None, 2)[2])), "exstyle": 0,
             "menu": None, "class": None}
        for line in self.lines[start + 1:self.lines.index("BEGIN", start)]:
            key, rest = line.split(None, 1)
            if key == "STYLE":
                d["style"] = self.value(rest)
            elif key == "EXSTYLE":
                d["exstyle"] = self.value(rest)
            elif key == "CAPTION":
                d["title"] = self.value(rest)
            elif key == "FONT":
                font = self.values(rest)
                d["font"] = (font[0], font[1]) if not extended else \
                    (font[0], font[2], font[3], font[4], font[1])
        if extended:
            d["helpid"] = 0
        d["items"] = []
        for line in self.block(start):
            text, iid, cls, style, *rect = self.values(line.split(None, 1)[1])
            d["items"].append((iid, cls, text or None, style, tuple(rect)))
        return d

    def strings(self):
        start = self.lines.index("STRINGTABLE")
        return {self.value(line.split(None, 1)[0]): self.value(line.split(None, 1)[1])
                for line in self.block(start)}

    def toolbar(self, name):
        start = next(i for i, l in enumerate(self.lines) if l.startswith(name + " "))
        return self.values(" ".join(self.block(start)))

    def version(self):
        """(file version numbers, product version numbers, {string name: value})."""
        start = next(i for i, l in enumerate(self.lines) if " VERSIONINFO" in l)
        fixed = {}
        for line in self.lines[start + 1:self.lines.index("BEGIN", start)]:
            key, rest = line.split(None, 1)
            if key in ("FILEVERSION", "PRODUCTVERSION"):
                fixed[key] = self.values(rest)
        strings = {}
        for line in self.block(start):
            found = re.match(r'VALUE\s+("[^"]*")\s*,\s*(.*)', line)
            if found and found[1] != '"Translation"':
                strings[self.value(found[1])] = self.value(found[2])
        return tuple(fixed["FILEVERSION"]), tuple(fixed["PRODUCTVERSION"]), strings

    def resource_names(self):
        """(type, id) of every resource the script makes, the icons' images aside."""
        kinds = {"ICON": RT_ICON_GROUP, "BITMAP": RT_BITMAP, "DIALOG": RT_DIALOG,
                 "DIALOGEX": RT_DIALOG, "VERSIONINFO": RT_VERSION}
        found = {(RT_STRING, sid // 16 + 1) for sid in self.strings()}
        for line in self.lines:
            words = re.match(r"(\w+)\s+(\w+)\b", line)
            if not words or not (words[1] in self.names or words[1] in SYSTEM):
                continue
            if words[2] in kinds:
                found.add((kinds[words[2]], self.value(words[1])))
            elif words[2] in self.names or words[2] in SYSTEM:  # a type by its number
                found.add((self.value(words[2]), self.value(words[1])))
        return found
