#!/usr/bin/env python3
"""Adds or updates keys of a language pack (UTF-16LE with BOM, section LANG), keeping the file's order.

    tools/langpack.py Lang/Chs/Pivora.ini "English key" "Translation" ["English key" "Translation" ...]
    tools/langpack.py Lang/Chs/Pivora.ini --list
"""
import sys


def read(path):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except FileNotFoundError:
        return ["[LANG]"]
    text = data.decode("utf-16")
    return [line for line in text.replace("\r\n", "\n").split("\n") if line != ""]


def write(path, lines):
    with open(path, "wb") as f:
        f.write(b"\xff\xfe")
        f.write(("\r\n".join(lines) + "\r\n").encode("utf-16-le"))


def main(argv):
    path = argv[1]
    lines = read(path)
    if argv[2:] == ["--list"]:
        for line in lines:
            print(line)
        return 0
    pairs = argv[2:]
    if len(pairs) % 2:
        print("keys and translations come in pairs", file=sys.stderr)
        return 2
    for key, value in zip(pairs[0::2], pairs[1::2]):
        if "=" in key:
            print("a key cannot hold '=': " + key, file=sys.stderr)
            return 2
        entry = key + "=" + value
        for i, line in enumerate(lines):
            if line.split("=", 1)[0].lower() == key.lower():
                lines[i] = entry
                break
        else:
            lines.append(entry)
    write(path, lines)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
