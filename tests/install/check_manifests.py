#!/usr/bin/env python3
"""Checks the manifests scripts/package wrote against the schemas scoop and
winget publish (kept in tests/install/schemas/, see its README), and that
every hash in them is the hash of the file built.

    tests/install/check_manifests.py build/packages
"""

import hashlib
import json
import os
import sys

import jsonschema
import yaml

HERE = os.path.dirname(os.path.abspath(__file__))
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def schema(name):
    with open(os.path.join(HERE, "schemas", name), encoding="utf-8-sig") as file:
        return json.load(file)


def validate(what, document, schema_name):
    validator = jsonschema.Draft7Validator(
        schema(schema_name), format_checker=jsonschema.Draft7Validator.FORMAT_CHECKER
    )
    for error in sorted(validator.iter_errors(document), key=str):
        path = "/".join(str(part) for part in error.absolute_path)
        fail(f"{what}: {path or '(top)'}: {error.message}")


def sha256(path):
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


def check_hash(what, packages, url, hash_text):
    name = url.rsplit("/", 1)[-1]
    path = os.path.join(packages, name)
    if not os.path.isfile(path):
        fail(f"{what}: {name}, which it names, was not built")
    elif hash_text.lower() != sha256(path):
        fail(f"{what}: the hash of {name} is not that of the file built")


def check_scoop(packages):
    path = os.path.join(packages, "scoop", "quorlith.json")
    with open(path, encoding="utf-8") as file:
        manifest = json.load(file)
    validate("scoop", manifest, "scoop.schema.json")
    for bits, entry in manifest.get("architecture", {}).items():
        check_hash(f"scoop {bits}", packages, entry["url"], entry["hash"])
    # Scoop makes a folder of a persisted name that neither place holds yet;
    # the manifest must have put the settings file there before.
    persisted = manifest.get("persist")
    if persisted != "Quorlith.ini" or "Quorlith.ini" not in manifest.get("pre_install", ""):
        fail("scoop: Quorlith.ini is not persisted as a file")


def check_winget(packages):
    folder = os.path.join(packages, "winget")
    found = 0
    for root, _, files in os.walk(folder):
        for name in sorted(files):
            with open(os.path.join(root, name), encoding="utf-8") as file:
                manifest = yaml.safe_load(file)
            kind = manifest.get("ManifestType")
            version = manifest.get("ManifestVersion")
            schema_name = f"manifest.{kind}.{version}.json"
            if not os.path.isfile(os.path.join(HERE, "schemas", schema_name)):
                fail(f"winget {name}: no schema {schema_name} to check it against")
                continue
            found += 1
            validate(f"winget {name}", manifest, schema_name)
            for installer in manifest.get("Installers", []):
                check_hash(
                    f"winget {name}",
                    packages,
                    installer["InstallerUrl"],
                    installer["InstallerSha256"],
                )
    if found != 3:
        fail(f"winget: {found} manifests instead of version, default locale and installer")


def main():
    packages = sys.argv[1]
    check_scoop(packages)
    check_winget(packages)
    if failures:
        sys.exit(1)
    print("ok: the scoop and winget manifests follow their schemas and name the files built")


if __name__ == "__main__":
    main()
