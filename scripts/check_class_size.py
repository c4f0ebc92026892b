#!/usr/bin/env python3
"""Checks that classes declare at most a given number of methods.

Usage: check_class_size.py HEADER CLASS MAX
       check_class_size.py --tree MAX ALLOWED_LIST FOLDER...

The first form checks one class. The second checks every class of the .h and
.cpp files git knows in the folders (their tests/ folders left out), except
those that ALLOWED_LIST names as "path|class", each with its reason.

Counts the functions the class body declares (constructors, destructor,
overrides, signals and templates included; inline bodies count once), not
those of classes nested in it.
"""
import os
import re
import subprocess
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


def without_comments(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def method_count(body):
    # Nested classes and structs are counted on their own, not here.
    body = re.sub(r"\b(class|struct)\s+\w+[^;{]*\{", "{", body)
    return sum(declares_function(s) for s in flatten(body).split(";"))


def check_one(header, name, limit):
    body = class_body(without_comments(header), name)
    if body is None:
        print(f"{header}: no class {name}")
        return 1
    count = method_count(body)
    print(f"{name} declares {count} methods (at most {limit})")
    return 0 if count <= limit else 1


def check_tree(limit, allowed_list, folders):
    with open(allowed_list, encoding="utf-8") as f:
        allowed = {line.split("#")[0].strip() for line in f} - {""}
    files = subprocess.run(["git", "ls-files", "--", *folders], capture_output=True,
                           text=True, check=True).stdout.split()
    faults, found = 0, set()
    for path in files:
        if not path.endswith((".h", ".cpp")) or "/tests/" in path or not os.path.exists(path):
            continue
        text = without_comments(path)
        for name in re.findall(r"\bclass\s+(\w+)\b[^;{(]*\{", text):
            body = class_body(text, name)
            count = method_count(body) if body is not None else 0
            if count <= limit:
                continue
            found.add(f"{path}|{name}")
            if f"{path}|{name}" not in allowed:
                print(f"{path}: {name} declares {count} methods (at most {limit})")
                faults += 1
    # A listed class that is no longer too large is said, not failed.
    for entry in sorted(allowed - found):
        print(f"note: {allowed_list}: {entry} is no longer over {limit} methods; take it out")
    if faults:
        print(f"{faults} class(es) over {limit} methods")
        return 1
    print(f"no class over {limit} methods but those listed")
    return 0


def main():
    if len(sys.argv) >= 5 and sys.argv[1] == "--tree":
        return check_tree(int(sys.argv[2]), sys.argv[3], sys.argv[4:])
    if len(sys.argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    return check_one(sys.argv[1], sys.argv[2], int(sys.argv[3]))


if __name__ == "__main__":
    sys.exit(main())
