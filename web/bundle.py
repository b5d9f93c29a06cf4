#!/usr/bin/env python3
"""Puts the page into one file: its styles, its script, the worker's script with the
WebAssembly inside it, and the English of korvane-sheet's texts. Written whole or not at all."""

import argparse
import json
import os
import re
import sys
import tempfile
import xml.etree.ElementTree as ElementTree


def translations(ts_file):
    """Every finished translation of the window's texts, keyed by the Chinese source."""
    found = {}
    for message in ElementTree.parse(ts_file).getroot().iter("message"):
        source = message.findtext("source")
        translation = message.find("translation")
        if source is None or translation is None or translation.get("type") in (
            "unfinished",
            "obsolete",
            "vanished",
        ):
            continue
        if translation.text:
            found[source] = translation.text
    return found


def script_text(text, what):
    # Inside a <script> element, only "</script" could end it early.
    if re.search(r"</script", text, re.IGNORECASE):
        sys.exit(f"bundle.py: {what} contains </script, which would end its element")
    return text


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--core", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--scripts", nargs="+", required=True)
    parser.add_argument("--translations", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    def read(name):
        with open(os.path.join(args.page, name), encoding="utf-8") as file:
            return file.read()

    with open(args.core, encoding="utf-8") as file:
        core = file.read()
    english = json.dumps(translations(args.translations), ensure_ascii=False, sort_keys=True)
    with open(args.data, encoding="utf-8") as file:
        data = json.dumps(json.load(file), ensure_ascii=False)
    parts = {
        "{{VERSION}}": args.version,
        "{{STYLE}}": read("page.css"),
        "{{WORKER}}": script_text(
            core + "\n" + read("painter.js") + "\n" + read("worker.js"), "the worker"
        ),
        "{{ENGLISH}}": english.replace("</", "<\\/"),
        "{{FORM}}": data.replace("</", "<\\/"),
        "{{SCRIPT}}": script_text(
            "\n".join(read(name) for name in ["painter.js"] + args.scripts), "the page's script"
        ),
    }
    page = read("index.html")
    # One pass, so that nothing put in is read again as a placeholder.
    page = re.sub(r"\{\{[A-Z]+\}\}", lambda match: parts[match.group(0)], page)

    directory = os.path.dirname(os.path.abspath(args.out))
    handle, temporary = tempfile.mkstemp(prefix=".korvane-", suffix=".html", dir=directory)
    try:
        with os.fdopen(handle, "w", encoding="utf-8") as file:
            file.write(page)
            file.flush()
            os.fsync(file.fileno())
        os.chmod(temporary, 0o644)
        os.replace(temporary, args.out)
    except BaseException:
        os.unlink(temporary)
        raise


if __name__ == "__main__":
    main()
