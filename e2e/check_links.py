#!/usr/bin/env python3
"""Compiles projects with every shipped template and checks the output.

    check_links.py SCRIVLET TEMPLATES_DIR WORK_DIR PROJECT...

A PROJECT is a .vbp or .vbg file, or a folder searched for them. Every
project is compiled with every *.scvt of TEMPLATES_DIR into a folder of its
own below WORK_DIR; then every file written is checked:

  - a local link (HTML href and src, Markdown link, RTF hyperlink, HTML Help
    contents and project entries) names a file that exists and, with a
    fragment, an anchor that the file defines;
  - no "$NAME$" of the template language is left in the text;
  - no list heading is followed by an empty list.

A corpus folder named VBCorLib is documented with '' blocks; a scratch copy
with those lines turned into '** is compiled instead, so that its thousands
of comments reach the pages.

Prints every fault and exits 1 when there is one.
"""
import os
import re
import shutil
import subprocess
import sys
import urllib.parse

LEFT_MACRO = re.compile(rb"\$[A-Z][A-Z0-9]*(?:-[A-Z0-9]+)+\$")
HTML_LINK = re.compile(rb"""<(?:a|link|script|img)\b[^>]*?\b(?:href|src)="([^"]*)\"""", re.I)
HTML_ANCHOR = re.compile(rb"""\b(?:id|name)="([^"]*)\"""", re.I)
HHC_LOCAL = re.compile(rb"""<param name="Local" value="([^"]*)">""", re.I)
MD_LINK = re.compile(rb"\]\(<([^>]*)>\)|\]\(([^)<\s]+)\)")
RTF_LINK = re.compile(rb'HYPERLINK \\\\l "([^"]*)"')
RTF_BOOKMARK = re.compile(rb"\\bkmkstart ([^}]*)\}")
# A heading, then a list or table with nothing in it.
EMPTY_HTML_LIST = re.compile(
    rb"<h[1-6][^>]*>[^<]*</h[1-6]>\s*"
    rb"(?:<ul[^>]*>\s*</ul>|<ol[^>]*>\s*</ol>|<table[^>]*>\s*(?:<thead>.*?</thead>\s*)?<tbody>\s*</tbody>)",
    re.S)
EMPTY_MD_LIST = re.compile(rb"\n\*\*[^*\n]+\*\*\n\n(?=\*\*|#|<a id=|\Z)")


def html_anchors(text):
    return {urllib.parse.unquote(a.decode("latin-1")) for a in HTML_ANCHOR.findall(text)}


def is_local(target):
    return not re.match(r"^[a-zA-Z][a-zA-Z0-9+.-]*:", target) and not target.startswith("//")


class Checker:
    def __init__(self):
        self.faults = []
        self.anchor_cache = {}

    def fault(self, where, what):
        self.faults.append(f"{where}: {what}")

    def anchors_of(self, path):
        if path not in self.anchor_cache:
            with open(path, "rb") as f:
                text = f.read()
            if path.lower().endswith(".rtf"):
                found = {b.decode("latin-1").strip() for b in RTF_BOOKMARK.findall(text)}
            else:
                found = html_anchors(text)
            self.anchor_cache[path] = found
        return self.anchor_cache[path]

    def check_target(self, page, raw):
        target = raw.decode("latin-1").replace("&amp;", "&")
        if not target or not is_local(target):
            return
        path, _, fragment = target.partition("#")
        path = urllib.parse.unquote(path)
        fragment = urllib.parse.unquote(fragment)
        folder = os.path.dirname(page)
        full = os.path.normpath(os.path.join(folder, path)) if path else page
        if not os.path.isfile(full):
            self.fault(page, f"link to a missing file: {target}")
            return
        if fragment and fragment not in self.anchors_of(full):
            self.fault(page, f"link to a missing anchor: {target}")

    def check_file(self, page):
        with open(page, "rb") as f:
            text = f.read()
        lower = page.lower()
        for m in LEFT_MACRO.finditer(text):
            self.fault(page, f"macro left in the text: {m.group(0).decode('latin-1')}")
        if lower.endswith((".htm", ".html", ".hhc", ".hhk")):
            for raw in HTML_LINK.findall(text):
                self.check_target(page, raw)
            for raw in HHC_LOCAL.findall(text):
                self.check_target(page, raw)
            for m in EMPTY_HTML_LIST.finditer(text):
                self.fault(page, "empty list under " + m.group(0)[:60].decode("latin-1"))
        elif lower.endswith(".md"):
            for m in MD_LINK.finditer(text):
                self.check_target(page, m.group(1) or m.group(2))
            for m in EMPTY_MD_LIST.finditer(text):
                self.fault(page, "empty list under " + m.group(0).strip().decode("latin-1"))
        elif lower.endswith(".rtf"):
            bookmarks = self.anchors_of(page)
            for raw in RTF_LINK.findall(text):
                name = raw.decode("latin-1")
                if name not in bookmarks:
                    self.fault(page, f"link to a missing bookmark: {name}")
        elif lower.endswith(".hhp"):
            for line in text.split(b"\r\n"):
                m = re.match(rb"^IDH_\d+=(.*)$", line)
                if m:
                    self.check_target(page, m.group(1))

    def check_folder(self, folder):
        for root, _, files in os.walk(folder):
            for name in sorted(files):
                if name.lower().endswith((".htm", ".html", ".md", ".rtf", ".hhc", ".hhk", ".hhp")):
                    self.check_file(os.path.join(root, name))


def projects_in(path):
    if os.path.isfile(path):
        return [path]
    found = []
    for root, dirs, files in os.walk(path):
        dirs.sort()
        for name in sorted(files):
            if name.lower().endswith((".vbp", ".vbg")):
                found.append(os.path.join(root, name))
    return found


def with_documentation_blocks(corpus, scratch):
    """A copy of `corpus` whose lines that are exactly '' open '** blocks."""
    copy = os.path.join(scratch, os.path.basename(corpus.rstrip("/")))
    if os.path.exists(copy):
        return copy
    shutil.copytree(corpus, copy)
    for root, _, files in os.walk(copy):
        for name in files:
            if not name.lower().endswith((".cls", ".bas", ".frm", ".ctl")):
                continue
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                lines = f.read().split(b"\n")
            changed = [re.sub(rb"^(\s*)''(\r?)$", rb"\1'**\2", line) for line in lines]
            if changed != lines:
                with open(path, "wb") as f:
                    f.write(b"\n".join(changed))
    return copy


def main():
    if len(sys.argv) < 5:
        print(__doc__)
        return 2
    scrivlet, templates, work = sys.argv[1:4]
    sources = sys.argv[4:]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    scratch = os.path.join(work, "sources")
    os.makedirs(scratch)
    projects = []
    for source in sources:
        if not os.path.exists(source):
            continue
        if os.path.isdir(source) and os.path.basename(source.rstrip("/")) == "VBCorLib":
            source = with_documentation_blocks(source, scratch)
        projects.extend(projects_in(source))
    template_files = sorted(f for f in os.listdir(templates) if f.endswith(".scvt"))
    checker = Checker()
    compiled = 0
    for number, project in enumerate(projects):
        for template in template_files:
            out = os.path.join(work, f"{number:02d}-{os.path.splitext(template)[0]}")
            run = subprocess.run(
                [scrivlet, "compile", project, "--quiet", "--template",
                 os.path.join(templates, template), "--output", out],
                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
            if run.returncode != 0 or not os.path.isdir(out):
                checker.fault(project, f"{template}: compile failed ({run.returncode}):\n"
                              + run.stdout.decode("latin-1")[-2000:])
                continue
            compiled += 1
            checker.check_folder(out)
    for fault in checker.faults[:200]:
        print(fault)
    print(f"{compiled} compiles, {len(checker.faults)} faults")
    return 1 if checker.faults else 0


if __name__ == "__main__":
    sys.exit(main())
