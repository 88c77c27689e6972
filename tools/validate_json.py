#!/usr/bin/python3
"""validate_json.py SCHEMA FILE: checks the JSON document FILE against the
JSON Schema SCHEMA (draft 2020-12) with the Debian package python3-jsonschema,
without any network. Exit status 0 when it is valid, 1 when it is not (each
error on standard error with its place in the document), 2 when a file
cannot be read or is not JSON."""
import json
import sys

import jsonschema


def main(argv):
    if len(argv) != 3:
        print("usage: validate_json.py SCHEMA FILE", file=sys.stderr)
        return 2
    try:
        with open(argv[1], encoding="utf-8") as f:
            schema = json.load(f)
        with open(argv[2], encoding="utf-8") as f:
            document = json.load(f)
    except (OSError, ValueError) as e:
        print(f"validate_json.py: {e}", file=sys.stderr)
        return 2
    validator = jsonschema.Draft202012Validator(schema)
    validator.check_schema(schema)
    errors = sorted(validator.iter_errors(document), key=lambda e: list(e.absolute_path))
    for error in errors[:20]:
        place = "/".join(str(p) for p in error.absolute_path) or "(the document)"
        print(f"{argv[2]}: {place}: {error.message}", file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
