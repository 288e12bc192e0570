"""The program's name and version, read from the project line of CMakeLists.txt, which is
their one place: the build gives them to the version block, the About box and the help page."""
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent


def _project():
    text = (ROOT / "CMakeLists.txt").read_text()
    found = re.search(r'project\(\s*\w+\s+VERSION\s+([\d.]+)\s+DESCRIPTION\s+"([^"]*)"', text)
    if not found:
        raise SystemExit("CMakeLists.txt: no project(NAME VERSION ... DESCRIPTION ...) line")
    return found[1], found[2]


VERSION, PRODUCT_NAME = _project()
# The forms the version block and the About box write it in.
VERSION_NUMBERS = tuple(int(n) for n in VERSION.split("."))
VERSION_TEXT = ", ".join(str(n) for n in VERSION_NUMBERS)
