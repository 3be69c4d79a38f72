#!/usr/bin/env python3
"""Markdown as GitHub and site generators read it.

    markdown_sites.py SCRIVLET SOURCE_DIR WORK_DIR

1. A copy of the example whose comments hold accented letters in the
   project's code page (Windows-1252) compiles with markdown.scvt into a
   file of valid UTF-8 that shows those letters, as does VbPeg, one class
   of which is saved as UTF-8 and another holds Windows-1252 bytes.
2. The example compiles with markdown-pages.scvt into one file per page,
   and MkDocs builds a site from it, strictly (no warning), with a
   mkdocs.yml written beside the output folder; the accented letters reach
   the site.

MkDocs is Debian's mkdocs; the test exits 77 (skipped) without it.
"""
import os
import shutil
import subprocess
import sys

ACCENTED_1252 = "Caf\xe9 cr\xe8me, na\xefve \u20ac".encode("cp1252")
ACCENTED_UTF8 = ACCENTED_1252.decode("cp1252").encode("utf-8")


def compile_project(scrivlet, project, template, out):
    shutil.rmtree(out, ignore_errors=True)
    run = subprocess.run([scrivlet, "compile", project, "--quiet", "--template",
                          template, "--output", out],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if run.returncode != 0:
        raise SystemExit(f"compile of {project} failed:\n{run.stdout.decode('latin-1')}")


def accented_example(source, work):
    """The example with an accented sentence in the Calculator's comment."""
    copy = os.path.join(work, "Calc")
    shutil.rmtree(copy, ignore_errors=True)
    shutil.copytree(os.path.join(source, "examples", "Calc"), copy)
    path = os.path.join(copy, "Calculator.cls")
    with open(path, "rb") as f:
        text = f.read()
    marker = b"' Applies an operation to the current result and an operand."
    if marker not in text:
        raise SystemExit("the example's Calculator.Apply comment has changed")
    text = text.replace(marker, marker + b" " + ACCENTED_1252 + b".")
    with open(path, "wb") as f:
        f.write(text)
    return os.path.join(copy, "Calc.vbp")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def utf8_faults(path):
    try:
        read(path).decode("utf-8")
        return []
    except UnicodeDecodeError as e:
        return [f"{path} is not UTF-8: {e}"]


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    scrivlet, source, work = sys.argv[1:]
    os.makedirs(work, exist_ok=True)
    templates = os.path.join(source, "templates")
    faults = []

    project = accented_example(source, work)
    single = os.path.join(work, "single")
    compile_project(scrivlet, project, os.path.join(templates, "markdown.scvt"), single)
    md = os.path.join(single, "Calc.md")
    faults += utf8_faults(md)
    if ACCENTED_UTF8 not in read(md):
        faults.append(f"{md} does not hold the accented comment in UTF-8")

    vbpeg = os.path.join(source, "..", "shared", "corpora", "VbPeg", "src", "vbPeg.vbp")
    if os.path.exists(vbpeg):
        peg = os.path.join(work, "vbpeg")
        compile_project(scrivlet, vbpeg, os.path.join(templates, "markdown.scvt"), peg)
        for name in os.listdir(peg):
            if name.endswith(".md"):
                faults += utf8_faults(os.path.join(peg, name))

    mkdocs = shutil.which("mkdocs") or "/usr/bin/mkdocs"
    if not os.path.exists(mkdocs):
        print("mkdocs is not installed")
        for fault in faults:
            print(fault)
        return 1 if faults else 77
    site_root = os.path.join(work, "site")
    shutil.rmtree(site_root, ignore_errors=True)
    os.makedirs(site_root)
    docs = os.path.join(site_root, "Scriv")
    compile_project(scrivlet, project, os.path.join(templates, "markdown-pages.scvt"), docs)
    for name in os.listdir(docs):
        if name.endswith(".md"):
            faults += utf8_faults(os.path.join(docs, name))
    # The lines the README shows.
    with open(os.path.join(site_root, "mkdocs.yml"), "w") as f:
        f.write("site_name: Calc\ndocs_dir: Scriv\nuse_directory_urls: false\n")
    run = subprocess.run([mkdocs, "build", "--strict", "--quiet"], cwd=site_root,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if run.returncode != 0:
        faults.append("mkdocs build failed:\n" + run.stdout.decode("utf-8", "replace"))
    else:
        page = os.path.join(site_root, "site", "Calculator-Apply.html")
        if not os.path.exists(page):
            faults.append("the site has no page Calculator-Apply.html")
        elif ACCENTED_UTF8 not in read(page):
            faults.append("the site's page does not show the accented comment")
        elif b'href="IOperation-Apply.html"' not in read(page):
            faults.append("the site's page does not link to IOperation-Apply.html")

    for fault in faults:
        print(fault)
    print(f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
