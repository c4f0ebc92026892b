#!/usr/bin/env python3
"""Checks that a class declares at most a given number of methods.

Usage: check_class_size.py HEADER CLASS MAX

Counts the functions the class body declares (constructors, destructor,
overrides and templates included; inline bodies count once), not those of
classes nested in it.
"""
import re
import sys


def class_body(text, name):
    match = re.search(r"\bclass\s+" + re.escape(name) + r"\b[^;{]*\{", text)
    if match is None:
        return None
    depth, start = 1, match.end()
    for i in range(start, len(text)):
        if text[i] == "{":
            depth += 1
        elif text[i] == "}":
            depth -= 1
            if depth == 0:
                return text[start:i]
    return None


def flatten(body):
    """The body with every inner {...} block replaced by ';'."""
    out, depth = [], 0
    for ch in body:
        if ch == "{":
            if depth == 0:
                out.append(";")
            depth += 1
        elif ch == "}":
            depth -= 1
        elif depth == 0:
            out.append(ch)
    return "".join(out)


def declares_function(statement):
    statement = re.sub(r"^\s*(public|protected|private)(\s+slots)?\s*:", "", statement).strip()
    # Access labels may stand before the declaration on its own line.
    statement = re.sub(r"^(\s*(public|protected|private|signals)(\s+slots)?\s*:\s*)+", "",
                       statement).strip()
    paren = statement.find("(")
    if paren < 0 or statement.startswith(("using ", "typedef ", "friend class")):
        return False
    before = statement[:paren]
    # "std::function<void(int)> m_f": the parenthesis is in a template argument.
    if before.count("<") > before.count(">"):
        return False
    # A data member with a parenthesised initialiser: "int m_x = f(1)".
    if "=" in before:
        return False
    return re.search(r"[\w~>\]=]\s*$", before) is not None


def main():
    if len(sys.argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    header, name, limit = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with open(header, encoding="utf-8") as f:
        text = f.read()
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    body = class_body(text, name)
    if body is None:
        print(f"{header}: no class {name}")
        return 1
    # Nested classes and structs are counted on their own, not here.
    body = re.sub(r"\b(class|struct)\s+\w+[^;{]*\{", "{", body)
    count = sum(declares_function(s) for s in flatten(body).split(";"))
    print(f"{name} declares {count} methods (at most {limit})")
    return 0 if count <= limit else 1


if __name__ == "__main__":
    sys.exit(main())
