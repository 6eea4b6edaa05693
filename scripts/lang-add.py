#!/usr/bin/env python3
"""Appends translations to a language file.

Reads UTF-8 lines "english<TAB>translation" from the files named (or standard input) and appends
each pair to the language file (default lang/chinese.lang) in its own format: UTF-16LE with a
byte-order mark, CR LF line ends, the English line followed by its translation. An English text
the file already holds is left as it is and reported; blank lines and lines starting with '#' are
skipped. Usage: scripts/lang-add.py [--lang FILE] [PAIRS.tsv ...]
"""
import argparse
import os
import sys


def read_lines(data: bytes):
    if data[:2] == b"\xff\xfe":
        data = data[2:]
    text = data.decode("utf-16-le")
    return text.split("\r\n") if text else []


def main() -> int:
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lang", default=os.path.join(root, "lang", "chinese.lang"))
    parser.add_argument("pairs", nargs="*")
    args = parser.parse_args()

    pairs = []
    sources = args.pairs or ["-"]
    for name in sources:
        stream = sys.stdin if name == "-" else open(name, encoding="utf-8")
        for number, raw in enumerate(stream, 1):
            line = raw.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.count("\t") != 1:
                print(f"{name}:{number}: expected 'english<TAB>translation'", file=sys.stderr)
                return 1
            english, translation = line.split("\t")
            if english != english.strip() or not translation.strip():
                print(f"{name}:{number}: blank translation or white space around the English text",
                      file=sys.stderr)
                return 1
            pairs.append((english, translation))

    data = open(args.lang, "rb").read() if os.path.exists(args.lang) else b""
    lines = read_lines(data)
    known = {line.strip() for line in lines[0::2]}
    added = []
    for english, translation in pairs:
        if english in known:
            print(f"already translated, left as it is: {english}", file=sys.stderr)
            continue
        known.add(english)
        added += [english, translation]
    if not added:
        return 0
    # Keep the pairs aligned: a file that ends without a line break gets one first.
    out = bytearray(data if data else b"\xff\xfe")
    body = out[2:].decode("utf-16-le")
    if body and not body.endswith("\r\n"):
        out += "\r\n".encode("utf-16-le")
    out += "\r\n".join(added).encode("utf-16-le") + "\r\n".encode("utf-16-le")
    tmp = args.lang + ".tmp"
    with open(tmp, "wb") as handle:
        handle.write(out)
    os.replace(tmp, args.lang)
    print(f"{len(added) // 2} translations added to {args.lang}", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
