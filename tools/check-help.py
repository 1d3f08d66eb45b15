#!/usr/bin/env python3
"""Checks the manual and help pages in docs/ that are copied beside Quillory.exe.

Usage: check-help.py REPOSITORY_ROOT

Fails (exit 1, one line per fault) when
- a page the program opens by name (a "Name.html" string in app/, ui/ or
  core/) is missing from docs/;
- a page declares no charset, or its bytes are not text in that charset;
- an element is left open or closed without being opened (the pages are
  written with every element closed, so any browser reads them alike);
- a relative link or image names a file that is not in docs/, or a #anchor
  names no id (or <a name>) of its page;
- a page's visible text shows a menu accelerator mark such as "(&P)";
- a page does not link the contents (Kadrel.html), or the contents do not
  link every page;
- a page uses a script.
"""

import html.parser
import os
import re
import sys
import urllib.parse

CONTENTS = "Kadrel.html"
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}
# Python's names for the charsets the pages may declare. Browsers read a
# page labelled Shift_JIS as Windows code page 932.
CODECS = {"shift_jis": "cp932", "windows-31j": "cp932", "utf-8": "utf-8"}


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.ids = set()
        self.links = []  # (href, line)
        self.text = []  # (visible text, line)
        self.faults = []
        self.open = []  # (tag, line)
        self.scripts = False
        self.hidden = 0  # inside <style> or <script>

    def handle_starttag(self, tag, attrs):
        self.element(tag, attrs, closed=False)

    def handle_startendtag(self, tag, attrs):
        self.element(tag, attrs, closed=True)

    def element(self, tag, attrs, closed):
        line = self.getpos()[0]
        values = dict(attrs)
        if "id" in values:
            self.ids.add(values["id"])
        if tag == "a" and "name" in values:
            self.ids.add(values["name"])
        for name in ("href", "src"):
            if values.get(name) is not None and tag in ("a", "img", "link", "area", "iframe", "frame"):
                self.links.append((values[name], line))
        if tag == "script" or any(name.startswith("on") for name in values):
            self.scripts = True
        if tag in ("script", "style"):
            self.hidden += 1
        if tag not in VOID and not closed:
            self.open.append((tag, line))

    def handle_endtag(self, tag):
        line = self.getpos()[0]
        if tag in ("script", "style"):
            self.hidden -= 1
        if tag in VOID:
            return
        if not self.open or self.open[-1][0] != tag:
            expected = self.open[-1] if self.open else None
            self.faults.append(
                f"line {line}: </{tag}> closes "
                + (f"<{expected[0]}> of line {expected[1]}" if expected else "nothing"))
            # Recover at the matching element, if any, so one slip is reported once.
            for i in range(len(self.open) - 1, -1, -1):
                if self.open[i][0] == tag:
                    del self.open[i:]
                    break
            return
        self.open.pop()

    def handle_data(self, data):
        if not self.hidden:
            self.text.append((data, self.getpos()[0]))


def declared_charset(raw):
    match = re.search(rb'<meta\s+charset="?([A-Za-z0-9_-]+)"?', raw[:1024], re.IGNORECASE)
    if not match:
        match = re.search(rb'<meta[^>]+content="[^"]*charset=([A-Za-z0-9_-]+)', raw[:1024], re.IGNORECASE)
    return match.group(1).decode("ascii").lower() if match else None


def pages_the_program_opens(root):
    names = set()
    pattern = re.compile(r'"([A-Za-z0-9_]+\.html)"')
    for folder in ("app", "ui", "core"):
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in files:
                if name.endswith((".cpp", ".h", ".rc")):
                    with open(os.path.join(base, name), encoding="utf-8", errors="replace") as source:
                        names.update(pattern.findall(source.read()))
    return names


def check(root):
    docs = os.path.join(root, "docs")
    names = sorted(name for name in os.listdir(docs) if name.endswith(".html"))
    faults = []
    pages = {}
    for name in sorted(pages_the_program_opens(root)):
        if name not in names:
            faults.append(f"docs/{name}: the program opens this page but it does not exist")
    for name in names:
        with open(os.path.join(docs, name), "rb") as page_file:
            raw = page_file.read()
        charset = declared_charset(raw)
        if charset not in CODECS:
            faults.append(f"docs/{name}: no charset or an unknown one declared ({charset})")
            continue
        try:
            text = raw.decode(CODECS[charset], errors="strict")
        except UnicodeDecodeError as error:
            faults.append(f"docs/{name}: not {charset} text at byte {error.start}")
            continue
        page = Page()
        page.feed(text)
        page.close()
        pages[name] = page
        faults += [f"docs/{name}: {fault}" for fault in page.faults]
        faults += [f"docs/{name}: line {line}: <{tag}> is never closed" for tag, line in page.open]
        if page.scripts:
            faults.append(f"docs/{name}: uses a script")
        for data, line in page.text:
            for mark in re.finditer(r"\(&[^)]*\)?", data):
                faults.append(f"docs/{name}: line {line}: shows {mark.group(0)!r} (a menu accelerator mark)")
    for name, page in pages.items():
        targets = set()
        for href, line in page.links:
            parts = urllib.parse.urlsplit(href)
            if parts.scheme or parts.netloc:
                continue  # not part of the manual
            target = urllib.parse.unquote(parts.path) or name
            if "/" in target or "\\" in target:
                faults.append(f"docs/{name}: line {line}: {href} leaves the pages' folder")
                continue
            if target not in names:
                faults.append(f"docs/{name}: line {line}: {href} names no page ({target} is missing)")
                continue
            targets.add(target)
            anchor = urllib.parse.unquote(parts.fragment)
            if anchor and target in pages and anchor not in pages[target].ids:
                faults.append(f"docs/{name}: line {line}: {href} names no anchor of {target}")
        if name != CONTENTS and CONTENTS not in targets:
            faults.append(f"docs/{name}: does not link the contents ({CONTENTS})")
        page.targets = targets
    if CONTENTS not in pages:
        faults.append(f"docs/{CONTENTS}: missing")
    else:
        for name in names:
            if name != CONTENTS and name not in pages[CONTENTS].targets:
                faults.append(f"docs/{CONTENTS}: the contents do not link {name}")
    return faults


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    faults = check(sys.argv[1])
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} fault(s) in the help pages")
        return 1
    print("help pages: links, anchors and texts are fine")
    return 0


if __name__ == "__main__":
    sys.exit(main())
